// The plot window with its real controls and chart, offscreen.
#include <gtest/gtest.h>

#include <QApplication>
#include <QCheckBox>
#include <QComboBox>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QTabBar>

#include "analysis/plot_building.h"
#include "analysis/plot_window.h"
#include "app/program_state.h"
#include "analysis/radio_group.h"
#include "chart/colorpick.h"
#include "chart/plotchart.h"
#include "chart/plotchart_design.h"
#include "tests/analysis/sample_data.h"
#include "tests/support/temp_dir.h"
#include "ui/scripted_ui.h"
#include "tests/support/find_child.h"

namespace kv {
namespace {

using analysis::RadioGroup;

class PlotWindowTest : public ::testing::Test {
 protected:
  PlotWindowTest()
      : state(dir.path().string()), form({state.log, state.dialogs, state.distance_in_feet, state.config}, ui) {}
  ~PlotWindowTest() override { form.hide(); }

  template <typename T>
  T* find(const char* name) {
    return test::find_child<T>(form, name);
  }
  RadioGroup* group(const char* name) { return find<RadioGroup>(name); }
  QCheckBox* box(const char* name) { return find<QCheckBox>(name); }
  QString text(const char* name) { return find<QLineEdit>(name)->text(); }
  chart::TPlotChart& chart() { return form.chart(); }
  // Shows the window and forgets the message about the default configuration.
  void show() {
    form.show();
    ui.clear();
  }

  void load_both(long a_samples = 100, long b_samples = 200, long laps = 0) {
    analysis::test::fill_dataset(state.log.dataset(kDataSetA), a_samples, laps);
    analysis::test::fill_dataset(state.log.dataset(kDataSetB), b_samples, 0, 100);
    state.log.dataset(kDataSetA).name_text = "Memory A";
    state.log.dataset(kDataSetB).name_text = "run.kvl";
  }
  std::size_t items_on_layer(int layer) {
    std::size_t n = 0;
    for (const auto& item : chart().Items().items()) n += item.layer == layer ? 1 : 0;
    return n;
  }

  test::TempDir dir;
  ScriptedUi ui;
  ProgramState state;
  TForm10 form;
};

TEST_F(PlotWindowTest, ControlsCarryTheirNamesCaptionsAndDefaults) {
  EXPECT_EQ(form.windowTitle(), "View Data");
  EXPECT_EQ(chart().objectName(), "PlotChart1");
  auto* left = find<QTabBar>("TabControl1");
  ASSERT_EQ(left->count(), 5);
  EXPECT_EQ(left->tabText(4), "Option");
  EXPECT_EQ(find<QTabBar>("TabControl2")->tabText(3), "Data B Notes");
  EXPECT_EQ(find<QGroupBox>("LoadPrint")->title(), "Load and Print Data");
  EXPECT_EQ(find<QGroupBox>("Cursor")->title(), "Markers, Labels and Statistics");
  EXPECT_EQ(find<QGroupBox>("DataBSetup")->title(), "Data B Notes and Car Setup");
  EXPECT_EQ(find<QPushButton>("BackToLogger")->text(), "Back to Logger");

  for (const auto& info : analysis::channel_catalogue()) {
    EXPECT_EQ(box(info.check_box)->text(), info.caption);
    EXPECT_EQ(box(info.check_box)->isChecked(), info.id == analysis::Channel::Rpm) << info.check_box;
    EXPECT_EQ(find<chart::TColorPick>(info.colour_b)->SelColor(), info.default_colour) << info.colour_b;
  }
  EXPECT_EQ(find<chart::TColorPick>("ColorPick8")->SelColor(), 12639424u);
  EXPECT_EQ(find<QLabel>("Label9")->text(), "(psi)");
  EXPECT_EQ(group("RadioGroup7")->title(), "Data A Line Type");
  EXPECT_EQ(group("RadioGroup7")->itemIndex(), 0);
  EXPECT_EQ(group("RadioGroup8")->itemIndex(), 1);
  EXPECT_EQ(find<QRadioButton>("RadioGroup8_2")->text(), "Points");
  EXPECT_TRUE(box("CheckBox13")->isChecked());
  EXPECT_TRUE(box("CheckBox14")->isChecked());
  auto* x_axis = find<QComboBox>("ComboBox3");
  ASSERT_EQ(x_axis->count(), 13);
  EXPECT_EQ(x_axis->itemText(10), "Battery Volts");
  EXPECT_EQ(x_axis->currentIndex(), 0);

  EXPECT_EQ(group("RadioGroup2")->title(), "Plot");
  EXPECT_EQ(find<QRadioButton>("RadioGroup2_1")->text(), "Lap Overlay");
  EXPECT_FALSE(box("CheckBox12")->isChecked());
  EXPECT_FALSE(box("CheckBox12")->isEnabled());
  EXPECT_EQ(box("CheckBox11")->text(), "Y-Axis AutoScale Select");
  EXPECT_TRUE(box("CheckBox11")->isChecked());
  EXPECT_FALSE(find<QPushButton>("MatchWindowScaling")->isEnabled());
  EXPECT_EQ(group("RadioGroup1")->itemCount(), 9);
  EXPECT_EQ(find<QRadioButton>("RadioGroup1_8")->text(), "Pan All Horiz Only");
  EXPECT_EQ(find<QRadioButton>("RadioGroup10_1")->text(), "On (Drag from left axis)");
  EXPECT_EQ(find<QComboBox>("ComboBox4")->currentText(), "RPM/100");
  EXPECT_EQ(find<QComboBox>("ComboBox4")->count(), 9);
  EXPECT_EQ(find<QRadioButton>("RadioGroup13_0")->text(), "All Data ");
  EXPECT_TRUE(box("CheckBox17")->isChecked());

  const char* units[][3] = {{"RadioGroup4", "Speed", "KMH"},
                            {"RadioGroup5", "Temperature", "degF"},
                            {"RadioGroup6", "Pressure", "Bar"},
                            {"RadioGroup11", "Distance", "Feet"}};
  for (const auto& u : units) {
    EXPECT_EQ(group(u[0])->title(), u[1]);
    EXPECT_EQ(group(u[0])->itemIndex(), 0);
    EXPECT_EQ(find<QRadioButton>((std::string(u[0]) + "_1").c_str())->text(), u[2]);
  }
  EXPECT_EQ(find<QRadioButton>("RadioGroup3_1")->text(), "Vertical Only ");
  EXPECT_EQ(group("RadioGroup9")->itemIndex(), 1);
  EXPECT_EQ(find<QComboBox>("ComboBox2")->itemText(1), "0.1");
  EXPECT_EQ(text("Edit148"), " No Data");
  EXPECT_FALSE(find<QWidget>("LegendA")->isVisibleTo(&form));
}

TEST_F(PlotWindowTest, TabStripsShowOnePanelEachAndResetTheZoomMode) {
  form.show();
  EXPECT_TRUE(find<QGroupBox>("LoadPrint")->isVisible());
  EXPECT_FALSE(find<QGroupBox>("Option")->isVisible());
  EXPECT_TRUE(find<QGroupBox>("PlotArea")->isVisible());
  group("RadioGroup1")->setItemIndex(3);
  find<QTabBar>("TabControl1")->setCurrentIndex(2);
  EXPECT_TRUE(find<QGroupBox>("ZoomPan")->isVisible());
  EXPECT_FALSE(find<QGroupBox>("LoadPrint")->isVisible());
  EXPECT_EQ(group("RadioGroup1")->itemIndex(), 0);
  EXPECT_EQ(chart().MouseAction(), chart::TMouseActMode::maDragCrossH);
  form.tabPlotOptions(9);
  EXPECT_TRUE(find<QGroupBox>("LoadPrint")->isVisible());
  find<QTabBar>("TabControl2")->setCurrentIndex(1);
  EXPECT_TRUE(find<QGroupBox>("LapArea")->isVisible());
  EXPECT_FALSE(find<QGroupBox>("PlotArea")->isVisible());
}

TEST_F(PlotWindowTest, ShowingDrawsBothDatasetsWithTheirLegends) {
  load_both();
  form.show();
  EXPECT_EQ(chart().ItemCount(), 101u + 201u);
  EXPECT_EQ(chart().Scale1X().Caption(), "Time(s)");
  EXPECT_EQ(chart().Scale2X().Caption(), "Time(s)");
  EXPECT_TRUE(chart().Scale1Y().Visible());
  EXPECT_FALSE(chart().Scale2Y().Visible());
  EXPECT_DOUBLE_EQ(chart().Scale1X().RangeHigh(), analysis::widened_high(20.0));
  EXPECT_EQ(chart().range_limits().x_low, -1e8);
  EXPECT_EQ(chart().range_limits().y_low, 0);
  EXPECT_TRUE(find<QWidget>("LegendA")->isVisible());
  EXPECT_TRUE(find<QWidget>("LegendB")->isVisible());
  EXPECT_EQ(text("Edit147"), "Memory A");
  EXPECT_EQ(text("Edit148"), "run.kvl");
  EXPECT_TRUE(box("CheckBox12")->isEnabled());
  EXPECT_TRUE(find<QPushButton>("RestoreOriginalScaling")->isEnabled());
  EXPECT_EQ(ui.busy_depth(), 0);
}

TEST_F(PlotWindowTest, DataBOnTheSecondAxisGetsItsOwnRedScalesAndGoesBack) {
  load_both();
  form.show();
  box("CheckBox12")->setChecked(true);
  EXPECT_EQ(items_on_layer(2), 201u);
  EXPECT_TRUE(chart().Scale2X().Visible());
  EXPECT_TRUE(chart().Scale2Y().Visible());
  EXPECT_EQ(chart().Scale2Y().ColorScale(), chart::clRed);
  EXPECT_EQ(chart().Scale2Y().ScaleLocation(), chart::TScaleLocation::slRight);
  EXPECT_DOUBLE_EQ(chart().Scale2Y().RangeLow(), 121);
  box("CheckBox12")->setChecked(false);
  EXPECT_EQ(items_on_layer(2), 0u);
  EXPECT_FALSE(chart().Scale2Y().Visible());
}

TEST_F(PlotWindowTest, MatchWindowScalingShowsTheNewRangeAtOnce) {
  load_both();
  show();
  auto* match = find<QPushButton>("MatchWindowScaling");
  match->click();
  EXPECT_EQ(ui.texts(), std::vector<std::string>{"Select Duel Axis Mode First"});
  box("CheckBox12")->setChecked(true);
  const QImage before = chart().ScreenImage().copy();
  const double x_low = chart().Scale1X().RangeLow();
  const double y_low = chart().Scale1Y().RangeLow();
  match->click();
  EXPECT_EQ(ui.texts().size(), 1u);
  EXPECT_DOUBLE_EQ(chart().Scale1X().RangeHigh(),
                   x_low + chart().Scale2X().RangeHigh() - chart().Scale2X().RangeLow());
  EXPECT_DOUBLE_EQ(chart().Scale1Y().RangeHigh(),
                   y_low + chart().Scale2Y().RangeHigh() - chart().Scale2Y().RangeLow());
  EXPECT_NE(chart().ScreenImage(), before);
}

TEST_F(PlotWindowTest, LapOverlayNeedsLapsAndThenAsksForThem) {
  load_both();
  show();
  group("RadioGroup2")->setItemIndex(1);
  EXPECT_EQ(ui.texts(), std::vector<std::string>{"No Lap Data to View"});
  EXPECT_EQ(group("RadioGroup2")->itemIndex(), 0);
  EXPECT_EQ(find<QLabel>("StaticText4")->text(), "Plot All");
  EXPECT_EQ(chart().ItemCount(), 302u);

  state.log.dataset(kDataSetA).packet_count[2] = 2;
  ui.clear();
  group("RadioGroup2")->setItemIndex(1);
  EXPECT_EQ(ui.texts(), std::vector<std::string>{"Select Laps to View from Lap Times Area"});
  EXPECT_EQ(find<QLabel>("StaticText4")->text(), "Lap Overlay");
  EXPECT_EQ(chart().ItemCount(), 0u);
  EXPECT_FALSE(box("CheckBox12")->isEnabled());
  group("RadioGroup2")->setItemIndex(0);
  EXPECT_EQ(chart().ItemCount(), 302u);
  EXPECT_EQ(find<QLabel>("Label121")->text(), "Data A");
}

TEST_F(PlotWindowTest, OnlyATimeAxisHasStatistics) {
  load_both();
  form.show();
  auto* stats = find<QComboBox>("ComboBox4");
  stats->setCurrentIndex(3);
  find<QComboBox>("ComboBox3")->setCurrentIndex(1);
  EXPECT_EQ(chart().Scale1X().Caption(), "Distance(m)");
  EXPECT_FALSE(stats->isEnabled());
  EXPECT_FALSE(group("RadioGroup12")->isEnabled());
  EXPECT_EQ(stats->currentText(), "RPM/100");
  EXPECT_DOUBLE_EQ(chart().Scale1X().RangeHigh(), analysis::widened_high(2000.0));
  find<QComboBox>("ComboBox3")->setCurrentIndex(0);
  EXPECT_TRUE(stats->isEnabled());
  EXPECT_TRUE(group("RadioGroup13")->isEnabled());
}

TEST_F(PlotWindowTest, LegendBoxAndOnBoxMirrorEachOther) {
  load_both();
  form.show();
  box("CheckBox8")->setChecked(false);
  EXPECT_FALSE(box("CheckBox13")->isChecked());
  EXPECT_FALSE(group("RadioGroup7")->isEnabled());
  EXPECT_EQ(chart().Items().style(chart().Items()[5].style).pen, chart::TPenStyle::psClear);
  EXPECT_EQ(chart().ItemCount(), 302u);
  box("CheckBox13")->setChecked(true);
  EXPECT_TRUE(box("CheckBox8")->isChecked());
  EXPECT_TRUE(group("RadioGroup7")->isEnabled());
  box("CheckBox1")->setChecked(false);
  EXPECT_FALSE(find<QComboBox>("ComboBox3")->isEnabled());
  EXPECT_EQ(chart().ItemCount(), 0u);
  box("CheckBox10")->setChecked(true);
  EXPECT_TRUE(find<QComboBox>("ComboBox3")->isEnabled());
}

TEST_F(PlotWindowTest, TheGridsLayerSurvivesReplotsAndThePointerArrivesInLayer1Units) {
  load_both();
  form.show();
  box("CheckBox12")->setChecked(true);
  group("RadioGroup9")->setItemIndex(2);
  EXPECT_EQ(chart().ActiveLayer(), 2);
  EXPECT_EQ(chart().GridStyle(), chart::TGridStyle::gsDotLines);
  find<QComboBox>("ComboBox3")->setCurrentIndex(2);
  EXPECT_EQ(chart().ActiveLayer(), 2);
  // The chart reports in the active layer's units: layer 2's x centre is
  // layer 1's x centre.
  const auto& x2 = chart().Scale2X();
  const auto& x1 = chart().Scale1X();
  const auto& y2 = chart().Scale2Y();
  const auto& y1 = chart().Scale1Y();
  form.get_cursor_position(true, {}, (x2.RangeLow() + x2.RangeHigh()) / 2, (y2.RangeLow() + y2.RangeHigh()) / 2);
  EXPECT_NEAR(form.plot_state().mouse_x, (x1.RangeLow() + x1.RangeHigh()) / 2, 0.01 * (x1.RangeHigh() - x1.RangeLow()));
  EXPECT_NEAR(form.plot_state().mouse_y, (y1.RangeLow() + y1.RangeHigh()) / 2, 0.01 * (y1.RangeHigh() - y1.RangeLow()));
  form.get_cursor_position(false, {}, 5, 5);
  EXPECT_EQ(form.plot_state().mouse_x, 0);
  group("RadioGroup9")->setItemIndex(0);
  EXPECT_EQ(chart().GridStyle(), chart::TGridStyle::gsNone);
}

TEST_F(PlotWindowTest, ACancelledOrRefusedLoadLeavesThePlotAlone) {
  load_both();
  show();
  chart().SetLayerRange(1, 5, 25, 6, 60);  // a zoomed view
  const std::size_t items = chart().ItemCount();
  form.loadDataSetB();  // dialog cancelled
  ui.queue_file(dir.file("missing.kvl"));
  form.loadDataSetA();
  EXPECT_EQ(ui.texts(), (std::vector<std::string>{"No Data Loaded", "Filename Does Not Exist, No Data Loaded"}));
  EXPECT_EQ(chart().ItemCount(), items);
  EXPECT_EQ(chart().Scale1X().RangeLow(), 5);
  EXPECT_EQ(chart().Scale1Y().RangeHigh(), 60);
  EXPECT_TRUE(find<QPushButton>("LoadDataSetA")->isEnabled());
}

TEST_F(PlotWindowTest, TheWindowStaysLockedAndOpenWhileALoadRuns) {
  load_both();
  form.show();
  bool locked = false;
  ui.on_message = [&](const RecordedMessage&) {
    locked = !find<QCheckBox>("CheckBox8")->isEnabled() && !find<QPushButton>("BackToLogger")->isEnabled();
    form.close();
  };
  form.loadDataSetA();  // cancelled: the message box comes while the load runs
  ui.on_message = nullptr;
  EXPECT_TRUE(locked);
  EXPECT_TRUE(form.isVisible());
  EXPECT_EQ(chart().ItemCount(), 302u);
  EXPECT_TRUE(find<QCheckBox>("CheckBox8")->isEnabled());
}

TEST_F(PlotWindowTest, BackToLoggerClearsTheChartAndReturns) {
  load_both();
  form.show();
  int back = 0;
  QObject::connect(&form, &TForm10::backRequested, [&] { ++back; });
  find<QPushButton>("BackToLogger")->click();
  EXPECT_EQ(back, 1);
  EXPECT_FALSE(form.isVisible());
  EXPECT_EQ(chart().ItemCount(), 0u);
  form.show();
  EXPECT_EQ(chart().ItemCount(), 302u);
  form.close();
  EXPECT_EQ(back, 2);
  EXPECT_EQ(chart().ItemCount(), 0u);
}

TEST_F(PlotWindowTest, TheChartGrowsWithTheWindow) {
  form.show();
  const QSize smallest = form.minimumSizeHint();
  form.resize(smallest);
  QApplication::processEvents();
  EXPECT_GE(chart().width(), chart::kPlotChartWidth);
  const int width = chart().width();
  form.resize(form.size() + QSize(300, 200));
  QApplication::processEvents();
  EXPECT_EQ(chart().width(), width + 300);
  EXPECT_GT(chart().height(), chart::kPlotChartHeight);
  EXPECT_EQ(chart().ScreenImage().width(), chart().width());
}

}  // namespace
}  // namespace kv
