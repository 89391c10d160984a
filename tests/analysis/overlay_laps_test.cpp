// The added laps of a Lap Overlay without a window: the list and its
// palette, the laps that cannot be drawn, the slip reference, each lap's
// values at a place of the x axis and the lines that show them.
#include <gtest/gtest.h>

#include "analysis/lap_readout.h"
#include "analysis/overlay_laps.h"
#include "analysis/overlay_slips.h"
#include "analysis/plot_building.h"
#include "analysis/x_axis.h"
#include "tests/analysis/fake_chart.h"
#include "tests/analysis/sample_data.h"
#include "ui/scripted_ui.h"

namespace kv::analysis {
namespace {

using chart::TPenStyle;

// Lap k (0-based) of a set runs over samples 100 (k + 1) … 100 (k + 1) + 99,
// where the sample data's lap distance climbs from 0 to 990 m: the lap times
// stay close enough to 10 s to keep the ranges.
LapRecord lap_record(std::size_t k, std::uint8_t session, float lap_time) {
  LapRecord r{};
  r.end_time = 10.0 * static_cast<double>(k + 2);
  r.lap = static_cast<std::uint8_t>(k + 1);
  r.lap_time = lap_time;
  r.lap_distance = 990;
  r.session = session;
  return r;
}

class OverlayLapsTest : public ::testing::Test {
 protected:
  OverlayLapsTest() {
    // A: two sessions of two laps each; B: one session of three laps.
    test::fill_dataset(log.dataset(kDataSetA), 600, 4);
    const std::array<float, 4> a_times = {10.04f, 10.02f, 9.98f, 10.03f};
    for (std::size_t k = 0; k < 4; ++k) log.dataset(kDataSetA).lap_table[k] = lap_record(k, k < 2 ? 1 : 2, a_times[k]);
    test::fill_dataset(log.dataset(kDataSetB), 350, 3, 100);
    const std::array<float, 3> b_times = {10.01f, 9.97f, 9.97f};
    for (std::size_t k = 0; k < 3; ++k) log.dataset(kDataSetB).lap_table[k] = lap_record(k, 1, b_times[k]);
    items = overlay_items(log);
    plot.settings.plot_mode = PlotMode::LapOverlay;
    plot.settings.x_channel = XChannel::Distance;
  }
  void rebuild_x() { change_x_axis(log, plot.settings, false, ui); }
  void show_only(std::initializer_list<Channel> channels) {
    plot.settings.channel_shown = {};
    for (Channel c : channels) plot.settings.channel_shown[static_cast<std::size_t>(index_of(c))] = true;
  }
  // Items: A's laps 0-3, then B's 4-6.
  void add(std::size_t item) { ASSERT_TRUE(add_extra_lap(plot, log, items[item])); }

  LogState log;
  PlotState plot;
  std::vector<OverlayItem> items;
  ScriptedUi ui;
};

TEST_F(OverlayLapsTest, SixLapsAtMostEachInAStyleOfItsOwnAndARemovedStyleIsReused) {
  for (std::size_t i = 0; i < 6; ++i) add(i);
  EXPECT_FALSE(add_extra_lap(plot, log, items[6])) << "a seventh lap";
  remove_extra_lap(plot, 2);
  EXPECT_FALSE(add_extra_lap(plot, log, items[0])) << "a lap added already";
  plot.overlay[0] = {*lap_selection(log, items[6]), true};
  EXPECT_FALSE(add_extra_lap(plot, log, items[6])) << "the lap of a selection";
  plot.overlay[0].chosen = false;
  remove_extra_lap(plot, 9);  // nothing to remove there
  ASSERT_EQ(plot.extra_laps.size(), 5u);
  add(6);
  ASSERT_EQ(plot.extra_laps.size(), 6u);
  EXPECT_EQ(plot.extra_laps.back().style, 2u) << "the removed lap's style";
  EXPECT_EQ(plot.extra_laps.back().lap.set_letter, "B");
  EXPECT_EQ(plot.extra_laps.back().lap.first_sample, 300);
  EXPECT_EQ(plot.extra_laps.back().lap.last_sample, 399);
  for (std::size_t a = 0; a < kMaxExtraLaps; ++a) {
    for (std::size_t b = a + 1; b < kMaxExtraLaps; ++b) {
      const LapStyle& x = extra_lap_palette()[a];
      const LapStyle& y = extra_lap_palette()[b];
      EXPECT_NE(x.colour, y.colour);
    }
  }
}

TEST_F(OverlayLapsTest, FastestOfEachSessionReplacesTheAddedLaps) {
  add(3);
  add_fastest_of_each_session(plot, log, items);
  ASSERT_EQ(plot.extra_laps.size(), 3u);
  EXPECT_EQ(lap_legend_text(plot.extra_laps[0].lap), "Log:1 Lap:2 Data:A Time: 10.02");
  EXPECT_EQ(lap_legend_text(plot.extra_laps[1].lap), "Log:2 Lap:3 Data:A Time: 9.98");
  EXPECT_EQ(lap_legend_text(plot.extra_laps[2].lap), "Log:1 Lap:2 Data:B Time: 9.97") << "a tie keeps the earlier";
}

TEST_F(OverlayLapsTest, ALapWithoutSamplesOrDistanceIsListedButNotDrawnAndSaysWhy) {
  add(0);
  add(6);  // B's third lap ends past B's 350 samples
  log.dataset(kDataSetA).lap_table[1].end_time = 0;  // no samples at all
  add(1);
  // A's fourth lap never leaves the line.
  for (long k = 400; k <= 499; ++k) log.dataset(kDataSetA).ch_lap_odo.set(k, 0);
  add(3);
  EXPECT_EQ(lap_problem(log, plot.extra_laps[0].lap), "");
  EXPECT_EQ(lap_problem(log, plot.extra_laps[1].lap),
            "Samples 300 to 399 are missing from Data B (it holds 350): not drawn");
  EXPECT_EQ(lap_problem(log, plot.extra_laps[2].lap), "The lap has zero length: not drawn");
  EXPECT_EQ(lap_problem(log, plot.extra_laps[3].lap), "The lap has zero length: not drawn");
  log.dataset(kDataSetA).decoded_valid = 0;
  EXPECT_EQ(lap_problem(log, plot.extra_laps[0].lap), "Data A holds no decoded log: not drawn");
  log.dataset(kDataSetA).decoded_valid = 1;

  // Only the good lap is drawn, and it alone sets layer 1's range.
  rebuild_x();
  show_only({Channel::Speed});
  test::FakeChart chart;
  reload_engine_data(chart, log, plot, ui);
  const auto drawn = chart.items().items();
  ASSERT_EQ(drawn.size(), 101u);
  EXPECT_EQ(chart.style_of(drawn[0]).color, extra_lap_palette()[0].colour);
  EXPECT_EQ(chart.style_of(drawn[0]).pen, extra_lap_palette()[0].pen);
  ASSERT_TRUE(plot.home(1).has_value());
  EXPECT_DOUBLE_EQ(plot.home(1)->x_high, widened_high(990));
  EXPECT_DOUBLE_EQ(plot.home(1)->y_high, widened_high(50 + 199));

  const std::vector<OverlaidLap> laps = overlaid_laps(log, plot);
  ASSERT_EQ(laps.size(), 4u);
  EXPECT_EQ(laps[1].name, "Add 2");
  EXPECT_FALSE(laps[1].drawn());
  EXPECT_EQ(overlay_slips(log, laps, std::nullopt, 1.0).reference, std::nullopt) << "one drawn lap: no slip";
}

TEST_F(OverlayLapsTest, TheReferenceIsTheChosenLapWhileItIsDrawnElseTheFastestRemaining) {
  plot.overlay[0] = {*lap_selection(log, items[0]), true};  // A lap 1, 10.04
  add(2);                                                    // A lap 3, 9.98
  add(5);                                                    // B lap 2, 9.97
  std::vector<OverlaidLap> laps = overlaid_laps(log, plot);
  ASSERT_EQ(laps.size(), 3u);
  EXPECT_EQ(slip_reference_index(laps, std::nullopt), 2u) << "the fastest by default";
  plot.slip_reference = key_of(laps[1].lap);
  EXPECT_EQ(slip_reference_index(laps, plot.slip_reference), 1u);

  const OverlaySlips slips = overlay_slips(log, laps, plot.slip_reference, 1.0);
  ASSERT_EQ(slips.curves.size(), 2u);
  EXPECT_EQ(slips.curves[0].lap, 0u);
  EXPECT_EQ(slips.curves[1].lap, 2u);
  EXPECT_EQ(slip_curve_of(slips, 1), nullptr) << "the reference has no slip of its own";

  remove_extra_lap(plot, 0);  // the reference goes
  EXPECT_EQ(plot.slip_reference, std::nullopt);
  laps = overlaid_laps(log, plot);
  EXPECT_EQ(slip_reference_index(laps, plot.slip_reference), 1u) << "B's lap, the fastest remaining";
  add(2);
  laps = overlaid_laps(log, plot);
  EXPECT_EQ(slip_reference_index(laps, plot.slip_reference), 1u) << "coming back does not make it the reference";
  plot.settings.plot_mode = PlotMode::AllPlotData;
  EXPECT_TRUE(overlaid_laps(log, plot).empty());
}

TEST_F(OverlayLapsTest, AReferenceThatLeavesTheOverlayIsForgottenAndDoesNotComeBackWithIt) {
  plot.overlay[0] = {*lap_selection(log, items[0]), true};  // A lap 1, 10.04
  plot.slip_reference = key_of(plot.overlay[0].lap);
  forget_reference_not_overlaid(plot);
  EXPECT_NE(plot.slip_reference, std::nullopt) << "still overlaid";

  plot.overlay[0] = {*lap_selection(log, items[1]), true};  // another lap in selection 1
  forget_reference_not_overlaid(plot);
  EXPECT_EQ(plot.slip_reference, std::nullopt);
  add(0);
  std::vector<OverlaidLap> laps = overlaid_laps(log, plot);
  EXPECT_EQ(slip_reference_index(laps, plot.slip_reference), 0u) << "A lap 2, 10.02, the fastest";

  plot.slip_reference = key_of(plot.extra_laps[0].lap);
  add_fastest_of_each_session(plot, log, items);  // replaces A lap 1
  EXPECT_EQ(plot.slip_reference, std::nullopt);
}

TEST_F(OverlayLapsTest, ValuesAreInterpolatedBetweenTheSamplesAroundTheLapDistance) {
  show_only({Channel::Rpm, Channel::Speed, Channel::Brake});
  add(0);  // samples 100 … 199 at 0, 10 … 990 m
  rebuild_x();
  const LapSelection& lap = plot.extra_laps[0].lap;
  ChannelValues v = lap_values_at(log, plot, lap, 455);
  ASSERT_EQ(v.size(), 3u);
  EXPECT_EQ(v[0].first, Channel::Rpm);
  EXPECT_NEAR(v[0].second, 20 + 145.5, 1e-9);
  EXPECT_NEAR(v[1].second, 50 + 145.5, 1e-9);
  EXPECT_NEAR(v[2].second, 100, 1e-9) << "brake in %";
  EXPECT_NEAR(lap_values_at(log, plot, lap, 0)[1].second, 150, 1e-9) << "the lap's first sample";
  EXPECT_NEAR(lap_values_at(log, plot, lap, 990)[1].second, 249, 1e-9) << "its last";
  EXPECT_TRUE(lap_values_at(log, plot, lap, 995).empty()) << "beyond the lap";
  EXPECT_TRUE(lap_values_at(log, plot, lap, -1).empty());

  // Where the car stood still and moved on, the first pass counts.
  log.dataset(kDataSetA).ch_work.set(146, 450);
  EXPECT_NEAR(lap_values_at(log, plot, lap, 450)[1].second, 195, 1e-9);
  EXPECT_NEAR(lap_values_at(log, plot, lap, 455)[1].second, 196.25, 1e-9) << "a quarter of 450 … 470 m";

  // Gear and brake change in steps: between two samples they read the nearer one.
  show_only({Channel::Gear, Channel::Brake});
  Dataset& a = log.dataset(kDataSetA);
  a.ch_gear.set(147, 3);
  a.ch_gear.set(148, 4);
  a.ch_brake.set(147, 1);
  a.ch_brake.set(148, 0);
  v = lap_values_at(log, plot, lap, 472);  // a fifth of 470 … 480 m
  ASSERT_EQ(v.size(), 2u);
  EXPECT_EQ(v[0].second, 3);
  EXPECT_EQ(v[1].second, 100);
  v = lap_values_at(log, plot, lap, 478);
  EXPECT_EQ(v[0].second, 4);
  EXPECT_EQ(v[1].second, 0);
  show_only({Channel::Rpm, Channel::Speed, Channel::Brake});

  // With Time on x: seconds since the lap's first sample.
  plot.settings.x_channel = XChannel::Time;
  rebuild_x();
  v = lap_values_at(log, plot, lap, 2.55);
  ASSERT_EQ(v.size(), 3u);
  EXPECT_NEAR(v[1].second, 50 + 125.5, 1e-6);
}

TEST_F(OverlayLapsTest, ReadoutAndMarkerLinesNameEachLapWithItsValuesAndSlip) {
  LapReading sel{"Sel 1", {{Channel::Rpm, 45.24}, {Channel::OilPressure, 3.0}}, std::nullopt, true};
  LapReading add1{"Add 1", {{Channel::Rpm, 44.0}, {Channel::OilPressure, 3.5}}, -0.234, false};
  EXPECT_EQ(reading_line(sel), "Sel 1: RPM/100 45.2  Oil P 3.0  Slip ref");
  EXPECT_EQ(reading_line(add1), "Add 1: RPM/100 44.0  Oil P 3.5  Slip: -0.23 s");
  EXPECT_EQ(reading_line({"Add 2", {}, std::nullopt, false}), "Add 2: -");
  add1.slip.reset();
  EXPECT_EQ(reading_line(add1), "Add 1: RPM/100 44.0  Oil P 3.5");

  const LapReading at1{"Add 1", {{Channel::Speed, 88.14}, {Channel::LapTime, 61.2}}, 0.5, false};
  const LapReading at2{"Add 1", {{Channel::Speed, 92.0}, {Channel::LapTime, 61.2}}, 0.25, false};
  EXPECT_EQ(marker_reading_line(at1, at2),
            "Add 1  Speed 88.1 / 92.0 / -3.9  Lap Time 61.20 / 61.20 / 0.00  Slip +0.50 / +0.25 / +0.25");
  const LapReading beyond{"Add 1", {}, std::nullopt, false};
  EXPECT_EQ(marker_reading_line(at1, beyond), "Add 1  Speed 88.1 / - / -  Lap Time 61.20 / - / -  Slip +0.50 / -");
}

TEST_F(OverlayLapsTest, TheReadoutAddsLinesPerLapOnDistanceAndTheAddedLapsOnTime) {
  show_only({Channel::Speed});
  plot.overlay[1] = {*lap_selection(log, items[4]), true};  // B lap 1, 10.01
  add(0);                                                    // A lap 1, 10.04
  rebuild_x();
  std::vector<OverlaidLap> laps = overlaid_laps(log, plot);
  OverlaySlips slips = overlay_slips(log, laps, std::nullopt, 1.0);
  std::vector<std::string> lines = overlay_readout_lines(log, plot, laps, slips, 455);
  ASSERT_EQ(lines.size(), 2u);
  // Both laps cover the same distances at the same sample times: A's lap
  // against B's (the faster) loses only the 0.03 s their recorded times differ.
  EXPECT_EQ(lines[0], "Sel 2: Speed 195.5  Slip ref") << "B's lap is the faster";
  EXPECT_EQ(lines[1], "Add 1: Speed 195.5  Slip: +0.03 s");

  plot.settings.x_channel = XChannel::Time;
  rebuild_x();
  laps = overlaid_laps(log, plot);
  slips = {};
  lines = overlay_readout_lines(log, plot, laps, slips, 2.0);
  ASSERT_EQ(lines.size(), 1u) << "the selections' lines stay as they were";
  EXPECT_EQ(lines[0], "Add 1 = Log:  1 Lap:  1 Data:A Time: 10.04");
  plot.settings.x_channel = XChannel::Rpm;
  EXPECT_TRUE(overlay_readout_lines(log, plot, laps, slips, 2.0).empty());
}

}  // namespace
}  // namespace kv::analysis
