// What the plot window keeps and what it sets up afresh while a user works in
// it: restoring it, changing the x channel or plot mode, opening it with a
// "default.cfg", loading a log from it and matching the two windows.
#include <gtest/gtest.h>

#include <QCheckBox>
#include <QComboBox>
#include <QLineEdit>
#include <QPushButton>
#include <QTableWidget>
#include <algorithm>
#include <filesystem>

#include "analysis/plot_files/cfg_format.h"
#include "analysis/plot_files/cfg_settings.h"
#include "analysis/plot_text.h"
#include "analysis/plot_window.h"
#include "analysis/radio_group.h"
#include "chart/plotchart.h"
#include "logdata/sample_time.h"
#include "tests/analysis/generated_logs.h"
#include "tests/analysis/lapped_window_fixture.h"
#include "tests/analysis/sample_data.h"
#include "tests/support/temp_dir.h"
#include "ui/scripted_ui.h"

namespace kv {
namespace {

using analysis::Channel;
using analysis::PlotSettings;

class PlotWindowSessionTest : public test::LappedPlotWindowTest {
 protected:
  QComboBox* x_axis() { return find<QComboBox>("ComboBox3"); }
  void click(const char* name) { find<QPushButton>(name)->click(); }
  void show() {
    form.show();
    ui.clear();  // the default configuration message
  }
  std::string cfg_path(const char* name) { return (std::filesystem::path(state.dialogs.plot_config.folder) / name).string(); }
  void write_cfg(const char* name, bool rpm_shown, int distance_unit) {
    PlotSettings s;
    s.channel_shown[static_cast<std::size_t>(analysis::index_of(Channel::Rpm))] = rpm_shown;
    s.distance_unit = distance_unit;
    test::write_file(cfg_path(name), plot_files::cfg_text(plot_files::cfg_lines_of(s)));
  }
};

TEST_F(PlotWindowSessionTest, RestoringFromMinimisedKeepsTheUsersWorkAndOnlyAnOpeningSetsUpAfresh) {
  show();
  group("RadioGroup10")->setItemIndex(1);  // markers on
  pick("ComboBox7", 1);                    // Lap Overlay of A's lap 2
  ASSERT_EQ(group("RadioGroup2")->itemIndex(), 1);
  click("ZoomIn");
  chart().SetCrossHairPos(1, 3, 40);
  group("RadioGroup14")->setItemIndex(3);  // Set Text
  form.get_cursor_position(true, {}, 2, 30);
  form.set_cursor_down();
  const double low = chart().Scale1X().RangeLow();
  const double high = chart().Scale1X().RangeHigh();
  const std::size_t items = chart().ItemCount();
  ui.clear();

  form.showMinimized();
  form.showNormal();
  EXPECT_TRUE(ui.texts().empty());
  EXPECT_EQ(chart().Scale1X().RangeLow(), low);
  EXPECT_EQ(chart().Scale1X().RangeHigh(), high);
  EXPECT_EQ(chart().ItemCount(), items);
  EXPECT_EQ(form.labels().label_count(), 2);
  EXPECT_EQ(find<QComboBox>("ComboBox7")->currentIndex(), 1);
  EXPECT_EQ(chart().CrossHairPosX(1), 3);

  // Opened again from the logger: set up afresh.
  click("BackToLogger");
  form.show();
  EXPECT_EQ(ui.texts(), std::vector<std::string>{"Pelmorix Default Configuration Loaded "});
  EXPECT_EQ(form.labels().label_count(), 1);
  EXPECT_EQ(find<QComboBox>("ComboBox7")->currentIndex(), -1);
}

TEST_F(PlotWindowSessionTest, MarkersGoBackToZeroOnANewXChannelAndOnEnteringLapOverlay) {
  show();
  group("RadioGroup10")->setItemIndex(1);
  chart().SetLayerRange(1, 18, 0, 19.2, 200);  // zoomed on Time
  chart().SetCrossHairPos(1, 18.635, 50);
  chart().SetCrossHairPos(2, 18.9, 60);
  emit chart().OnClick();
  EXPECT_EQ(text("NumEdit5"), "18.6");

  x_axis()->setCurrentIndex(1);  // Distance
  for (int m : {1, 2}) EXPECT_EQ(chart().CrossHairPosX(m), 0) << m;
  EXPECT_EQ(text("NumEdit5"), "0.0");
  EXPECT_EQ(text("NumEdit6"), "0.0");

  x_axis()->setCurrentIndex(0);
  chart().SetCrossHairPos(1, 30, 50);
  emit chart().OnClick();
  EXPECT_EQ(text("NumEdit5"), "30.0");
  pick("ComboBox5", 0);  // enters Lap Overlay
  EXPECT_EQ(chart().CrossHairPosX(1), 0);
  EXPECT_EQ(text("NumEdit5"), "0.0");
}

TEST_F(PlotWindowSessionTest, ADefaultCfgSetsTheXAxisListAndBringsBackFeet) {
  show();
  find<QCheckBox>("CheckBox1")->setChecked(false);  // every box unticked
  EXPECT_FALSE(x_axis()->isEnabled());
  form.hide();

  write_cfg("default.cfg", true, 1);  // RPM shown, Feet
  show();
  EXPECT_TRUE(x_axis()->isEnabled());
  EXPECT_EQ(group("RadioGroup11")->itemIndex(), 1);
  EXPECT_TRUE(state.distance_in_feet);
  x_axis()->setCurrentIndex(1);
  EXPECT_EQ(chart().Scale1X().Caption(), "Distance(ft)");
  EXPECT_DOUBLE_EQ(state.log.dataset(kDataSetA).ch_work.get(10), 100 * 3.281);

  // "Load Config" of a file that shows nothing and goes back to metres.
  write_cfg("none.cfg", false, 0);
  ui.queue_file(cfg_path("none.cfg"));
  click("BitBtn6");
  EXPECT_EQ(ui.texts(), std::vector<std::string>{"Config File Loaded"});
  EXPECT_FALSE(x_axis()->isEnabled());
  EXPECT_EQ(chart().Scale1X().Caption(), "Distance(m)");

  // A default.cfg that shows nothing leaves the list disabled at the show.
  form.hide();
  write_cfg("default.cfg", false, 0);
  find<QCheckBox>("CheckBox1")->setChecked(true);
  EXPECT_TRUE(x_axis()->isEnabled());
  form.hide();
  show();
  EXPECT_FALSE(x_axis()->isEnabled());
}

TEST_F(PlotWindowSessionTest, LoadingALogFromTheWindowRebuildsOnlyThatSetsLapTable) {
  Dataset& b = state.log.dataset(kDataSetB);
  analysis::test::fill_dataset(b, 600, 1, 100);
  b.lap_table[0] = {12.0, 1, 0.0f, 500.0f, 1, 0, {}};  // a lap time of 0
  form.show();
  const auto bad_laps = [&] {
    const std::vector<std::string> texts = ui.texts();
    return std::count(texts.begin(), texts.end(), "Bad Lap Time Data");
  };
  EXPECT_EQ(bad_laps(), 1);
  ui.clear();

  analysis::test::write_generated_log(dir.file("run.kvl"), {.pages = 200, .sessions = 2, .seed = 11});
  ui.queue_file(dir.file("run.kvl"));
  click("LoadDataSetA");
  ASSERT_EQ(state.log.dataset(kDataSetA).decoded_valid, 1);
  EXPECT_EQ(bad_laps(), 0);
  EXPECT_EQ(state.log.current_data_set, kDataSetA);
  const Dataset& a = state.log.dataset(kDataSetA);
  ASSERT_GT(a.lap_count(), 0);
  EXPECT_EQ(find<QTableWidget>("StringGrid1")->rowCount(), a.lap_count() + a.lap_table.back().session + 1);
  EXPECT_EQ(find<QTableWidget>("StringGrid2")->rowCount(), 3);  // B's, untouched
}

TEST_F(PlotWindowSessionTest, MatchWindowScalingRefreshesInWindowStatistics) {
  show();
  find<QCheckBox>("CheckBox12")->setChecked(true);  // B on its own axis
  find<QComboBox>("ComboBox4")->setCurrentIndex(1);           // speed, 50 + i
  group("RadioGroup13")->setItemIndex(1);                     // In Window
  EXPECT_EQ(text("Edit72"), "650.0");

  chart().SetLayerRange(2, 0, 0, 20, 1000);
  click("MatchWindowScaling");
  const std::int32_t last = sample_at(chart().Scale1X().RangeHigh());
  ASSERT_LT(last, 600);
  EXPECT_EQ(text("Edit72").toStdString(), analysis::fixed_text(50.0 + last, 1));
}

}  // namespace
}  // namespace kv
