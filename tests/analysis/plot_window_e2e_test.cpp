// The program's windows end to end: download into A from the emulated
// instrument, save it, View Data, load the saved log into B, and back.
#include <gtest/gtest.h>

#include <algorithm>

#include <QCheckBox>
#include <QComboBox>
#include <QLineEdit>
#include <QPushButton>
#include <QTableWidget>

#include "analysis/plot_window.h"
#include "app/application.h"
#include "app/main_menu.h"
#include "chart/plotchart.h"
#include "emulator/log_generator.h"
#include "logdata/download_window.h"
#include "tests/support/emulator_fixture.h"
#include "tests/support/temp_dir.h"
#include "ui/scripted_ui.h"

namespace kv {
namespace {

template <typename T>
T* find(QWidget& window, const char* name) {
  auto* widget = window.findChild<T*>(name);
  EXPECT_NE(widget, nullptr) << name;
  return widget;
}

std::size_t items_on_layer(const chart::TPlotChart& chart, int layer) {
  std::size_t n = 0;
  for (const auto& item : chart.Items().items()) n += item.layer == layer ? 1 : 0;
  return n;
}

// The program started on an emulated instrument holding `truth`.
struct Workspace {
  explicit Workspace(const emu::GeneratedLog& truth) : instrument(emu::with_log(truth)), state(dir.path().string()),
                                                       shell(state, ui) {
    shell.start();
    find<QPushButton>(shell.main_menu(), "BitBtn2")->click();
  }
  // Downloads the instrument's memory into A from the download window.
  bool download_into_a() {
    if (!instrument.open(state.serial, ui)) return false;
    find<QPushButton>(shell.download(), "BitBtn3")->click();
    return true;
  }

  test::EmulatorFixture instrument;
  test::TempDir dir;
  ScriptedUi ui;
  ProgramState state;
  Application shell;
};

TEST(PlotWindowEndToEnd, DownloadIntoALoadTheSavedLogIntoBViewBothAndGoBack) {
  const auto truth = emu::generate_log({.pages = 40, .sessions = 2, .seed = 5});
  Workspace w(truth);
  auto& [instrument, dir, ui, state, shell] = w;
  TForm2& download = shell.download();
  ASSERT_TRUE(download.isVisible());
  ASSERT_TRUE(w.download_into_a());
  ASSERT_EQ(state.log.dataset(kDataSetA).decoded_valid, 1);
  const long samples = state.log.dataset(kDataSetA).sample_count();
  ASSERT_EQ(samples, static_cast<long>(truth.samples.size()));

  ui.queue_file(dir.file("first.kvl"));
  find<QPushButton>(download, "BitBtn5")->click();  // Save Data Set A

  find<QPushButton>(download, "BitBtn7")->click();  // View Data
  TForm10& plot = shell.plot();
  ASSERT_TRUE(plot.isVisible());
  EXPECT_FALSE(download.isVisible());
  const auto curve = static_cast<std::size_t>(samples + 1);
  EXPECT_EQ(plot.chart().ItemCount(), curve);
  EXPECT_FALSE(find<QCheckBox>(plot, "CheckBox12")->isEnabled());

  // The saved log loaded into B from the plot window joins at once.
  ui.queue_file(dir.file("first.kvl"));
  find<QPushButton>(plot, "LoadDataSetB")->click();
  EXPECT_EQ(plot.chart().ItemCount(), 2 * curve);
  EXPECT_TRUE(find<QCheckBox>(plot, "CheckBox12")->isEnabled());
  EXPECT_TRUE(find<QPushButton>(plot, "MatchWindowScaling")->isEnabled());
  EXPECT_EQ(find<QLineEdit>(plot, "Edit147")->text(), "Memory A");
  EXPECT_EQ(find<QLineEdit>(plot, "Edit148")->text(), "first.kvl");

  // Back in the logger, the same file into B again, and View Data once more.
  find<QPushButton>(plot, "BackToLogger")->click();
  ui.queue_file(dir.file("first.kvl"));
  find<QPushButton>(download, "BitBtn8")->click();  // Load Data Set B
  find<QPushButton>(download, "BitBtn7")->click();
  ASSERT_TRUE(plot.isVisible());
  EXPECT_EQ(plot.chart().ItemCount(), 2 * curve);

  // Speed too, B on its own axis.
  find<QCheckBox>(plot, "CheckBox2")->setChecked(true);
  find<QCheckBox>(plot, "CheckBox12")->setChecked(true);
  EXPECT_EQ(items_on_layer(plot.chart(), 1), 2 * curve);
  EXPECT_EQ(items_on_layer(plot.chart(), 2), 2 * curve);
  EXPECT_TRUE(plot.chart().Scale2Y().Visible());
  EXPECT_GT(plot.chart().Scale1X().RangeHigh(), 0.1 * static_cast<double>(samples));

  find<QPushButton>(plot, "BackToLogger")->click();
  EXPECT_FALSE(plot.isVisible());
  EXPECT_TRUE(download.isVisible());
  EXPECT_EQ(plot.chart().ItemCount(), 0u);
  EXPECT_EQ(ui.busy_depth(), 0);
}

// "%.2f" of a lap time logged in milliseconds and floored to 0.01 s.
QString hundredths(std::uint32_t ms) {
  const std::uint32_t cs = ms / 10;
  return QString("%1.%2").arg(cs / 100).arg(cs % 100, 2, 10, QChar('0'));
}

TEST(PlotWindowEndToEnd, TheLapTimesPageShowsExactlyTheLapsOfTheLog) {
  const auto truth = emu::generate_log({.pages = 400, .sessions = 3, .seed = 11});
  ASSERT_GE(truth.laps.size(), 4u);
  Workspace w(truth);
  auto& [instrument, dir, ui, state, shell] = w;
  ASSERT_TRUE(w.download_into_a());
  find<QPushButton>(shell.download(), "BitBtn7")->click();  // View Data

  const auto* grid = find<QTableWidget>(shell.plot(), "StringGrid1");
  std::vector<QStringList> laps;
  int end_rows = 0;
  for (int row = 1; row < grid->rowCount(); ++row) {
    const QString first = grid->item(row, 0)->text();
    if (first.startsWith("End Log")) {
      ++end_rows;
      continue;
    }
    laps.push_back({first, grid->item(row, 1)->text(), grid->item(row, 2)->text()});
  }
  ASSERT_EQ(laps.size(), truth.laps.size());
  EXPECT_EQ(end_rows, truth.sessions);
  for (std::size_t k = 0; k < laps.size(); ++k) {
    const emu::LapTruth& lap = truth.laps[k];
    EXPECT_EQ(laps[k], (QStringList{QString::number(lap.session), QString::number(lap.lap),
                                     hundredths(lap.lap_time_ms)}))
        << "lap " << k;
  }
  EXPECT_EQ(find<QComboBox>(shell.plot(), "ComboBox7")->count(), static_cast<int>(truth.laps.size()));
  const auto texts = ui.texts();
  EXPECT_EQ(std::count(texts.begin(), texts.end(), "Bad Lap Time Data"), 0);
}

}  // namespace
}  // namespace kv
