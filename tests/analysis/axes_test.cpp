// The x axis copy, the display mode, Match Window Scaling, the grid and the
// pointer units.
#include <gtest/gtest.h>

#include <clocale>
#include <cstdio>
#include <cstdlib>

#include "analysis/axis_controls.h"
#include "analysis/display_mode.h"
#include "analysis/plot_text.h"
#include "analysis/x_axis.h"
#include "tests/analysis/sample_data.h"
#include "tests/support/temp_dir.h"
#include "ui/scripted_ui.h"

namespace kv::analysis {
namespace {

using chart::TGridStyle;

class AxesTest : public ::testing::Test {
 protected:
  AxesTest() {
    test::fill_dataset(log.dataset(kDataSetA), 300, 3);
    test::fill_dataset(log.dataset(kDataSetB), 200);
  }
  XAxisView x_axis(XChannel x, bool feet = false) {
    settings.x_channel = x;
    return change_x_axis(log, settings, feet, ui);
  }
  LogState log;
  PlotSettings settings;
  ScriptedUi ui;
};

TEST_F(AxesTest, FeetApplyToTheDistanceCopyOnly) {
  const XAxisView view = x_axis(XChannel::Distance, true);
  EXPECT_EQ(view.caption, "Distance(ft)");
  const Dataset& a = log.dataset(kDataSetA);
  EXPECT_DOUBLE_EQ(a.ch_work.get(7), 70 * 3.281);
  EXPECT_DOUBLE_EQ(a.ch_odo.get(7), 70);
  EXPECT_EQ(log.dataset(kDataSetB).ch_work.NrOfElem(), 200);
  EXPECT_FALSE(view.stats_on);
  EXPECT_EQ(ui.max_busy_depth(), 1);
  EXPECT_EQ(ui.busy_depth(), 0);

  // Lap Overlay lines laps up on the distance into the lap, as held.
  settings.plot_mode = PlotMode::LapOverlay;
  EXPECT_EQ(x_axis(XChannel::Distance, true).caption, "Distance(ft)");
  EXPECT_DOUBLE_EQ(a.ch_work.get(107), 70);
  EXPECT_EQ(x_axis(XChannel::Distance, false).caption, "Distance(m)");
}

TEST_F(AxesTest, GearAndBrakeGoOntoTheXAxisUnscaled) {
  x_axis(XChannel::Gear);
  EXPECT_DOUBLE_EQ(log.dataset(kDataSetA).ch_work.get(1), 3);
  EXPECT_EQ(x_axis(XChannel::Brake).caption, "Brake %");
  EXPECT_DOUBLE_EQ(log.dataset(kDataSetB).ch_work.get(200), 1);
  // A shorter source shortens the copy.
  x_axis(XChannel::Time);
  log.dataset(kDataSetA).ch_time.setNrOfElem(10);
  x_axis(XChannel::Time);
  EXPECT_EQ(log.dataset(kDataSetA).ch_work.NrOfElem(), 10);
}

TEST_F(AxesTest, CaptionsFollowTheRecordedUnitsAndOnlyTimeHasStatistics) {
  log.shown_units.speed_in_mph = true;
  XAxisView speed = x_axis(XChannel::Speed);
  EXPECT_EQ(speed.caption, "Speed(MPH)");
  EXPECT_EQ(speed.unit_label, (std::pair<std::string, std::string>{"Label8", "(MPH)"}));
  log.shown_units = {};
  EXPECT_EQ(x_axis(XChannel::Speed).caption, "Speed(KMH)");
  EXPECT_EQ(x_axis(XChannel::OilPressure).caption, "Oil Pressure(Bar)");
  EXPECT_EQ(x_axis(XChannel::OilPressure).unit_label->second, "(Bar)");
  EXPECT_EQ(x_axis(XChannel::WaterTemp).caption, "Water Temp(degF)");
  EXPECT_EQ(x_axis(XChannel::WaterTemp).unit_label->first, "Label11");
  log.shown_units.temp_in_degc = true;
  EXPECT_EQ(x_axis(XChannel::OilTemp).caption, "Oil Temp(degC)");
  EXPECT_EQ(x_axis(XChannel::OilTemp).unit_label->second, "(degC)");
  const char* plain[] = {"RPM/100", "Fuel %", "Battery Volts", "Lap Number", "Lap Time"};
  const XChannel plain_x[] = {XChannel::Rpm, XChannel::Fuel, XChannel::Battery, XChannel::LapNumber,
                              XChannel::LapTime};
  for (int i = 0; i < 5; ++i) {
    const XAxisView view = x_axis(plain_x[i]);
    EXPECT_EQ(view.caption, plain[i]);
    EXPECT_FALSE(view.stats_on);
    EXPECT_FALSE(view.unit_label);
  }
  const XAxisView time = x_axis(XChannel::Time);
  EXPECT_EQ(time.caption, "Time(s)");
  EXPECT_TRUE(time.stats_on);
}

TEST_F(AxesTest, DisplayModeEnablesTheAxisControlsOnlyForTwoSetsInAllPlotData) {
  DisplayView view = change_display_mode(log, settings);
  EXPECT_TRUE(view.axis_controls_enabled);
  EXPECT_EQ(view.show_legend, (std::array<bool, 2>{true, true}));
  EXPECT_EQ(view.scales_visible[0], true);
  EXPECT_EQ(view.scales_visible[1], false);

  settings.b_on_second_axis = true;
  view = change_display_mode(log, settings);
  EXPECT_EQ(view.scales_visible[1], true);
  log.dataset(kDataSetA).decoded_valid = 0;
  view = change_display_mode(log, settings);
  EXPECT_FALSE(view.axis_controls_enabled);
  EXPECT_FALSE(view.scales_visible[0].has_value()) << "left as it was";
  EXPECT_EQ(view.show_legend, (std::array<bool, 2>{false, true}));

  log.dataset(kDataSetA).decoded_valid = 1;
  settings.plot_mode = PlotMode::LapOverlay;
  view = change_display_mode(log, settings);
  EXPECT_FALSE(view.axis_controls_enabled);
  EXPECT_EQ(view.scales_visible[1], false);
}

TEST_F(AxesTest, LapOverlayNeedsLapsAndAsksForThem) {
  EXPECT_TRUE(lap_overlay_allowed(log, ui));
  log.dataset(kDataSetA).packet_count[2] = 0;
  EXPECT_FALSE(lap_overlay_allowed(log, ui));
  PlotState plot;
  ask_for_laps_when_none_chosen(plot, ui);
  plot.extra_laps.push_back({});
  ask_for_laps_when_none_chosen(plot, ui);
  plot.extra_laps.clear();
  plot.overlay[1].chosen = true;
  ask_for_laps_when_none_chosen(plot, ui);
  EXPECT_EQ(ui.texts(), (std::vector<std::string>{"No Lap Data to View", "Select Laps to View from Lap Times Area"}));
  EXPECT_EQ(ui.messages()[0].kind, MsgKind::Information);
  EXPECT_EQ(ui.messages()[0].buttons, kOk);
}

TEST_F(AxesTest, MatchWindowScalingGivesLayer1TheSpansOfLayer2) {
  const LayerRange one{10, 5, 20, 105};
  const LayerRange two{-3, 200, 47, 260};
  EXPECT_FALSE(matched_layer1_range(log, settings, one, two, ui));
  settings.b_on_second_axis = true;
  log.dataset(kDataSetB).decoded_valid = 0;
  EXPECT_FALSE(matched_layer1_range(log, settings, one, two, ui));
  EXPECT_EQ(ui.texts(), (std::vector<std::string>{"Select Duel Axis Mode First", "No Data B File Loaded"}));
  log.dataset(kDataSetB).decoded_valid = 1;
  EXPECT_EQ(matched_layer1_range(log, settings, one, two, ui), (LayerRange{10, 5, 60, 65}));
  EXPECT_EQ(ui.messages().size(), 2u);
}

TEST_F(AxesTest, GridControlsMapOntoTheChartsGrid) {
  GridView grid = grid_view(settings);
  EXPECT_EQ(grid.style, TGridStyle::gsDotLines);
  EXPECT_EQ(grid.color, 0xC0C0C0u);
  EXPECT_EQ(grid.dx, 0);
  EXPECT_EQ(grid.layer, 1);
  settings.grid_lines = GridLines::VerticalOnly;
  settings.grid_dx = 1;
  settings.grid_dy = 4;
  grid = grid_view(settings);
  EXPECT_EQ(grid.style, TGridStyle::gsVertDotLines);
  EXPECT_EQ(grid.dx, 0.1);
  EXPECT_EQ(grid.dy, 1000);
  settings.grid_lines = GridLines::HorizontalOnly;
  EXPECT_EQ(grid_view(settings).style, TGridStyle::gsHorizDotLines);
  // "Axis 2" is trace set 2's layer: 2 only while B has its own axis.
  settings.grid_enable = GridEnable::Axis2;
  EXPECT_EQ(grid_view(settings).layer, 1);
  settings.b_on_second_axis = true;
  EXPECT_EQ(grid_view(settings).layer, 2);
  settings.grid_enable = GridEnable::Off;
  EXPECT_EQ(grid_view(settings).style, TGridStyle::gsNone);
  settings.grid_dx = 9;
  EXPECT_EQ(grid_view(settings).dx, 0) << "an unknown item is Auto";
}

TEST(PointerUnits, APositionInLayer2UnitsIsConvertedToLayer1) {
  const chart::ChartGeometry g;
  const chart::LayerMap one = chart::make_layer_map(g, 0, 100, 0, 10);
  const chart::LayerMap two = chart::make_layer_map(g, 50, 150, 1000, 2000);
  const DataPoint p = convert_layer_units(two, one, 100, 1500);
  EXPECT_NEAR(p.x, 50, 1e-9);
  EXPECT_NEAR(p.y, 5, 1e-9);
  const DataPoint same = convert_layer_units(one, one, 12.5, 3.25);
  EXPECT_NEAR(same.x, 12.5, 1e-9);
  EXPECT_NEAR(same.y, 3.25, 1e-9);
}

// A locale with a decimal comma, built for the test when the system has the
// sources; nothing when it cannot be made.
const char* comma_locale(const std::string& folder) {
  const std::string command =
      "localedef -c -i de_DE -f UTF-8 " + folder + "/de_DE.UTF-8 >/dev/null 2>&1";
  if (std::system(command.c_str()) != 0) return nullptr;
  ::setenv("LOCPATH", folder.c_str(), 1);
  return std::setlocale(LC_ALL, "de_DE.UTF-8");
}

TEST(PlotText, NumbersKeepTheirPointWhateverTheLocale) {
  EXPECT_EQ(fixed_text(12.25, 1), "12.2");
  EXPECT_EQ(fixed_text(-0.04, 1), "-0.0");
  EXPECT_EQ(fixed_text(1e20, 0), "100000000000000000000");
  kv::test::TempDir dir;
  if (comma_locale(dir.path().string()) == nullptr) GTEST_SKIP() << "no locale with a decimal comma";
  char printed[16];
  std::snprintf(printed, sizeof printed, "%.1f", 12.5);
  EXPECT_STREQ(printed, "12,5") << "the trap the plot texts avoid";
  EXPECT_EQ(fixed_text(12.5, 1), "12.5");
  std::setlocale(LC_ALL, "C");
  ::unsetenv("LOCPATH");
}

}  // namespace
}  // namespace kv::analysis
