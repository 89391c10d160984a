// Files handed to the program at start or dropped on a window load exactly
// as from their windows' Load buttons.
#include <gtest/gtest.h>

#include <QApplication>
#include <QDropEvent>
#include <QLineEdit>
#include <QMimeData>
#include <QPushButton>
#include <QUrl>

#include "analysis/plot_window.h"
#include "app/application.h"
#include "app/file_drop.h"
#include "app/main_menu.h"
#include "app/start_files.h"
#include "config/config_file.h"
#include "config/configure_window.h"
#include "emulator/log_generator.h"
#include "logdata/download_window.h"
#include "tests/support/emulator_fixture.h"
#include "tests/support/temp_dir.h"
#include "ui/scripted_ui.h"

namespace kv {
namespace {

TEST(StartFiles, LogsFillAThenBAndOtherKindsGoToTheirWindows) {
  const auto plan = plan_start_files({"day1.kvl", "/cfg/car.kvc", "day2.txt", "car.qsu", "day3.kvl", "b.kvc"}, "/home/me");
  EXPECT_EQ(plan.log_a, "/home/me/day1.kvl");
  EXPECT_EQ(plan.log_b, "/home/me/day2.txt");  // refused later by the log load's own check
  EXPECT_EQ(plan.config, "/cfg/car.kvc");
  EXPECT_EQ(plan.setup, "/home/me/car.qsu");
  EXPECT_EQ(plan.extra, (std::vector<std::string>{"/home/me/day3.kvl", "/home/me/b.kvc"}));
  EXPECT_FALSE(is_log_file_name("day.KVL"));
}

// One program run: its state, a scripted person and the windows.
struct Program {
  explicit Program(const std::string& folder) : state(folder), shell(state, ui) {}
  ScriptedUi ui;
  ProgramState state;
  Application shell;
};

class StartFilesTest : public ::testing::Test {
 protected:
  StartFilesTest() {
    // A log downloaded from the emulated instrument and saved as day.kvl.
    test::EmulatorFixture instrument(emu::with_log(emu::generate_log({.pages = 12, .seed = 3})));
    Program maker(dir.path().string());
    maker.shell.start();
    EXPECT_TRUE(instrument.open(maker.state.serial, maker.ui));
    maker.shell.download().findChild<QPushButton*>("BitBtn3")->click();
    maker.ui.queue_file(log);
    maker.shell.download().save_log_dataSetA();
    std::filesystem::create_directory(folder);
    std::string config_text;
    for (int i = 0; i < 52; ++i) config_text += config::config_file_line(static_cast<std::uint8_t>(i)) + "\r\n";
    test::write_file(config, config_text);
  }

  // The messages of loading `a` into A and `b` into B with the plot
  // window's Load buttons.
  std::vector<std::string> from_plot_buttons(const std::string& a, const std::string& b) {
    Program program(dir.path().string());
    program.shell.plot().show();
    program.ui.queue_file(a);
    program.shell.plot().loadDataSetA();
    program.ui.queue_file(b);
    program.shell.plot().loadDataSetB();
    return program.ui.texts();
  }

  test::TempDir dir;
  std::string log = dir.file("day.kvl");
  std::string absent = dir.file("absent.kvl");
  std::string folder = dir.file("folder.kvl");
  std::string config = dir.file("car.kvc");
};

TEST_F(StartFilesTest, LogsOpenThePlotWindowWithTheMessagesOfItsLoadButtons) {
  for (const auto& [a, b] : {std::pair{log, absent}, std::pair{folder, log}}) {
    Program program(dir.path().string());
    program.shell.start_with(plan_start_files({a, b}, ""));
    EXPECT_TRUE(program.shell.plot().isVisible());
    EXPECT_FALSE(program.shell.main_menu().isVisible());
    EXPECT_EQ(program.ui.texts(), from_plot_buttons(a, b));
    EXPECT_TRUE(program.ui.dialogs().empty()) << "no dialog is shown for a given file";
    const std::uint8_t loaded = a == log ? kDataSetA : kDataSetB;
    EXPECT_EQ(program.state.log.dataset(loaded).decoded_valid, 1);
    EXPECT_EQ(program.state.log.dataset(loaded).name_text, "day.kvl");
    EXPECT_EQ(program.state.log.dataset(loaded == kDataSetA ? kDataSetB : kDataSetA).name_text, "No Data");
  }
  EXPECT_EQ(from_plot_buttons(log, absent).back(), "Filename Does Not Exist, No Data Loaded");
}

TEST_F(StartFilesTest, AConfigurationOpensTheConfigureWindowLoadedAsFromItsButton) {
  Program button(dir.path().string());
  button.shell.configure().show();
  button.ui.queue_file(config);
  button.shell.configure().load_config_data();

  Program program(dir.path().string());
  program.shell.start_with(plan_start_files({config}, ""));
  EXPECT_TRUE(program.shell.configure().isVisible());
  EXPECT_EQ(program.ui.texts(), button.ui.texts());
  EXPECT_EQ(program.state.config.config_image, button.state.config.config_image);
  // A file that is refused still leaves a program to use.
  Program refused(dir.path().string());
  refused.shell.start_with(plan_start_files({dir.file("absent.kvc")}, ""));
  EXPECT_EQ(refused.ui.texts(), std::vector<std::string>{"Filename Does Not Exist, No Data Loaded"});
  EXPECT_TRUE(refused.shell.configure().isVisible());
}

void drop(QWidget& window, const std::string& path, double x) {
  QMimeData data;
  data.setUrls({QUrl::fromLocalFile(QString::fromStdString(path))});
  QDropEvent event(QPointF(x, 10), Qt::CopyAction, &data, Qt::LeftButton, Qt::NoModifier);
  // The application hands a drop only to the target of a drag in progress,
  // which a test cannot start: the window's filter gets it directly.
  for (QObject* child : window.children()) {
    if (auto* filter = dynamic_cast<LogFileDrop*>(child)) EXPECT_TRUE(filter->eventFilter(&window, &event));
  }
  QApplication::processEvents();
}

TEST_F(StartFilesTest, ALogDroppedOnAWindowLoadsIntoTheDataSetOfThatHalf) {
  Program program(dir.path().string());
  program.shell.plot().show();
  TForm10& plot = program.shell.plot();
  drop(plot, log, plot.width() * 0.75);
  EXPECT_EQ(program.state.log.dataset(kDataSetB).name_text, "day.kvl");
  EXPECT_EQ(program.state.log.dataset(kDataSetA).name_text, "No Data");
  drop(plot, log, 5);
  EXPECT_EQ(program.state.log.dataset(kDataSetA).name_text, "day.kvl");
  EXPECT_TRUE(program.ui.dialogs().empty());

  Program logger(dir.path().string());
  logger.shell.download().show();
  drop(logger.shell.download(), absent, 5);
  EXPECT_EQ(logger.ui.texts().back(), "Filename Does Not Exist, No Data Loaded");
  drop(logger.shell.download(), log, 5);
  EXPECT_EQ(logger.state.log.dataset(kDataSetA).name_text, "day.kvl");

  QMimeData other;
  other.setUrls({QUrl::fromLocalFile("/tmp/notes.txt"), QUrl("https://example.invalid/day.kvl")});
  EXPECT_EQ(dropped_log_file(other), std::nullopt);
}

}  // namespace
}  // namespace kv
