// The download window against an emulated instrument carrying a generated log.
#include <gtest/gtest.h>

#include <QButtonGroup>
#include <QComboBox>
#include <QLineEdit>
#include <QProgressBar>
#include <QPushButton>
#include <QRadioButton>

#include "app/program_state.h"
#include "common/text_lines.h"
#include "emulator/log_generator.h"
#include "logdata/download_view.h"
#include "logdata/download_window.h"
#include "tests/support/emulator_fixture.h"
#include "tests/support/temp_dir.h"
#include "ui/scripted_ui.h"
#include "tests/support/find_child.h"

namespace kv {
namespace {

class DownloadWindowTest : public ::testing::Test {
 protected:
  DownloadWindowTest()
      : truth(emu::generate_log({.pages = 24, .sessions = 2, .seed = 11})),
        instrument(with_total(emu::with_log(truth), 1024)), state(dir.path().string()),
        form({state.log, state.serial, state.dialogs}, ui) {
    form.show();
  }

  static emu::Instrument with_total(emu::Instrument unit, std::uint16_t total) {
    unit.memory.total_pages = total;
    return unit;
  }

  template <typename T>
  T* find(const char* name) {
    return test::find_child<T>(form, name);
  }
  QString text(const char* name) { return find<QLineEdit>(name)->text(); }
  void click(const char* name) { find<QPushButton>(name)->click(); }
  void open_port() {
    form.change_serial_port(0);
    state.serial.serial_port.set_read_timeout_ms(test::kTestReadTimeoutMs);
  }

  emu::GeneratedLog truth;
  test::TempDir dir;
  test::EmulatorFixture instrument;
  ScriptedUi ui;
  ProgramState state;
  TForm2 form;
};

TEST_F(DownloadWindowTest, ControlsCarryTheirCaptionsAndHints) {
  EXPECT_EQ(form.windowTitle(), "Log Analysis");
  EXPECT_EQ(form.size(), QSize(467, 487));
  EXPECT_EQ(find<QPushButton>("BitBtn3")->text(), "Download");
  EXPECT_EQ(find<QPushButton>("BitBtn3")->toolTip(), "Start the data download from the Korvanta.");
  EXPECT_EQ(find<QPushButton>("BitBtn14")->text(), "Edit Data B Notes");
  EXPECT_EQ(find<QPushButton>("BitBtn9")->toolTip(), "Help, having problems with the data download !");
  EXPECT_EQ(find<QComboBox>("ComboBox1")->currentText(), "A");
  EXPECT_EQ(text("Edit3"), "No Data");
  EXPECT_EQ(text("Edit4"), "No Data");
}

TEST_F(DownloadWindowTest, NoPortChosenChangesNothing) {
  click("BitBtn3");
  EXPECT_EQ(ui.texts(), std::vector<std::string>{"Select a free COM port"});
  EXPECT_EQ(state.log.datasets[0].memory_valid, 0);
  EXPECT_EQ(text("Edit1"), "");
  EXPECT_TRUE(instrument.emulator().traffic().commands.empty());
}

TEST_F(DownloadWindowTest, DownloadIntoAThenB) {
  open_port();
  int maximum = 0;
  bool locked = true;
  ui.on_pump = [&] {
    maximum = find<QProgressBar>("ProgressBar1")->maximum();
    locked = locked && !find<QPushButton>("BitBtn3")->isEnabled() && !find<QPushButton>("BitBtn1")->isEnabled() &&
             !find<QComboBox>("ComboBox1")->isEnabled();
  };
  click("BitBtn3");
  ui.on_pump = nullptr;
  const auto used_pages = instrument.emulator().instrument().memory.used_pages;
  EXPECT_EQ(maximum, used_pages + 1);
  EXPECT_TRUE(locked);
  EXPECT_TRUE(find<QPushButton>("BitBtn3")->isEnabled());
  EXPECT_EQ(ui.busy_depth(), 0);
  EXPECT_EQ(find<QProgressBar>("ProgressBar1")->value(), 0);
  const auto figures = memory_figures(state.log.memory);
  EXPECT_EQ(text("Edit1").toStdString(), figures.percent_text);
  EXPECT_EQ(text("Edit2"), "2");  // 1024 pages of 2048 bits
  EXPECT_EQ(find<QProgressBar>("ProgressBar2")->value(), figures.usage_bar);
  EXPECT_EQ(text("Edit3"), "Memory A");
  EXPECT_EQ(text("Edit4"), "No Data");
  const auto& a = state.log.datasets[0];
  EXPECT_EQ(a.decoded_valid, 1);
  EXPECT_EQ(a.sample_count(), static_cast<long>(truth.samples.size()));
  ASSERT_EQ(a.lap_count(), static_cast<long>(truth.laps.size()));
  for (std::size_t i = 0; i < truth.laps.size(); ++i) {
    EXPECT_EQ(a.lap_table[i].lap, truth.laps[i].lap);
    EXPECT_EQ(a.lap_table[i].session, truth.laps[i].session);
  }
  char processed[64];
  std::snprintf(processed, sizeof processed, "Processed %d bytes of Data", static_cast<int>(truth.used_bytes));
  EXPECT_EQ(ui.texts().back(), processed);

  find<QComboBox>("ComboBox1")->setCurrentIndex(1);
  click("BitBtn3");
  EXPECT_EQ(state.log.current_data_set, 2);
  EXPECT_EQ(text("Edit4"), "Memory B");
  EXPECT_EQ(state.log.datasets[1].sample_count(), a.sample_count());
}

TEST_F(DownloadWindowTest, CloseBoxWaitsForTheTransferToFinish) {
  open_port();
  int exits = 0;
  QObject::connect(&form, &TForm2::programExitRequested, [&] { ++exits; });
  ui.on_pump = [&] { form.close(); };
  click("BitBtn3");
  ui.on_pump = nullptr;
  EXPECT_EQ(exits, 0);
  EXPECT_TRUE(form.isVisible());
  EXPECT_EQ(text("Edit3"), "Memory A");
  form.close();
  EXPECT_EQ(exits, 1);
}

TEST_F(DownloadWindowTest, DumpSavesEightByteLinesAndKeepsNothing) {
  open_port();
  const std::string path = dir.file("dump");
  ui.queue_answer(kYes);  // "Dump Memory and Save to File ?"
  ui.queue_file(path);
  click("BitBtn2");
  EXPECT_EQ(ui.messages()[0].text, "Dump Memory and Save to File ?");
  EXPECT_EQ(ui.messages()[0].buttons, kYes | kCancel);
  EXPECT_EQ(ui.texts().back(), "File Saved OK");
  EXPECT_EQ(instrument.emulator().traffic().pages_served, 513);
  const auto lines = split_lines(test::read_file(path + ".kvl"));
  ASSERT_GT(lines.size(), 86u);
  EXPECT_EQ(lines[86].size(), 8u * 3 - 1);  // eight bytes, blank-separated
  EXPECT_EQ(lines.size(), 85u + 131072u / 8);
  ui.clear();
  click("BitBtn5");
  EXPECT_EQ(ui.texts(), std::vector<std::string>{"No Valid Data to Save"});
}

TEST_F(DownloadWindowTest, CancelledDumpDownloadsNothing) {
  open_port();
  ui.queue_answer(kCancel);
  click("BitBtn2");
  EXPECT_EQ(ui.texts(), std::vector<std::string>{"Dump Memory and Save to File ?"});
  EXPECT_TRUE(instrument.emulator().traffic().commands.empty());
}

TEST_F(DownloadWindowTest, ClearWithNoKeepsAndWithYesEmptiesTheFigures) {
  open_port();
  click("BitBtn3");
  ASSERT_FALSE(text("Edit1").isEmpty());
  ui.clear();
  ui.queue_answer(kNo);
  click("BitBtn10");
  EXPECT_EQ(ui.texts().back(), "Memory Not Cleared");
  EXPECT_FALSE(text("Edit1").isEmpty());
  ui.clear();
  click("BitBtn10");
  EXPECT_EQ(ui.texts().back(), "Memory Cleared for Next Data Log Session");
  EXPECT_EQ(text("Edit1"), "");
  EXPECT_EQ(text("Edit2"), "");
  EXPECT_EQ(find<QProgressBar>("ProgressBar2")->value(), 0);
  EXPECT_EQ(instrument.emulator().instrument().memory.used_pages, 0);
}

TEST_F(DownloadWindowTest, PortGroupShowsTheOpenedPort) {
  test::EmulatorFixture com3({}, 3);
  form.change_serial_port(2);
  EXPECT_EQ(state.serial.port_open, 1);
  form.hide();
  form.show();
  EXPECT_EQ(form.checked_port_item(), 2);
  EXPECT_TRUE(find<QRadioButton>("COM3")->isChecked());
}

TEST_F(DownloadWindowTest, ViewDataNeedsADecodedDatasetWithSamples) {
  int opened = 0;
  QObject::connect(&form, &TForm2::viewDataRequested, [&] { ++opened; });
  click("BitBtn7");
  EXPECT_EQ(ui.texts(), std::vector<std::string>{"No Korvanta Data Loaded"});
  state.log.datasets[1].decoded_valid = 1;
  click("BitBtn7");
  EXPECT_EQ(ui.texts().back(), "No Data Recorded");
  EXPECT_EQ(opened, 0);
  state.log.datasets[1].packet_count[1] = 5;  // only B decoded, with samples
  click("BitBtn7");
  EXPECT_EQ(opened, 1);
}

TEST_F(DownloadWindowTest, NotesButtonsSelectTheDatasetAndLeave) {
  std::vector<int> requested;
  QObject::connect(&form, &TForm2::notesRequested, [&](std::uint8_t which) { requested.push_back(which); });
  click("BitBtn14");
  EXPECT_EQ(state.log.current_data_set, 2);
  EXPECT_FALSE(form.isVisible());
  form.show();
  click("BitBtn11");
  EXPECT_EQ(requested, (std::vector<int>{2, 1}));
}

TEST(DownloadView, MemoryFiguresRoundTiesToEven) {
  MemoryStatus status;
  status.percent_used = 12.5;
  status.memory_size_mbit = 4;
  auto figures = memory_figures(status);
  EXPECT_EQ(figures.usage_bar, 12);
  EXPECT_EQ(figures.percent_text, "12.5");
  EXPECT_EQ(figures.size_text, "4");
  status.percent_used = 0.33;
  figures = memory_figures(status);
  EXPECT_EQ(figures.usage_bar, 0);
  EXPECT_EQ(figures.percent_text, "0.3");
  EXPECT_EQ(port_item_for(3), 2);
  EXPECT_EQ(port_item_for(0), -1);
  EXPECT_EQ(port_item_for(5), -1);
}

}  // namespace
}  // namespace kv
