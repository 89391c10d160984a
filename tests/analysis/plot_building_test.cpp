// Plot building against a chart without a window: curves, layers, home
// ranges and the re-plots.
#include <gtest/gtest.h>

#include "analysis/plot_building.h"
#include "analysis/x_axis.h"
#include "tests/analysis/fake_chart.h"
#include "tests/analysis/sample_data.h"
#include "ui/scripted_ui.h"

namespace kv::analysis {
namespace {

using chart::ItemKind;
using chart::TPenStyle;

class PlotBuildingTest : public ::testing::Test {
 protected:
  void show_only(std::initializer_list<Channel> channels) {
    plot.settings.channel_shown = {};
    for (Channel c : channels) plot.settings.channel_shown[static_cast<std::size_t>(index_of(c))] = true;
  }
  void show_all() { plot.settings.channel_shown.fill(true); }
  void rebuild_x() { change_x_axis(log, plot.settings, false, ui); }
  void reload() {
    rebuild_x();
    reload_engine_data(chart, log, plot, ui);
  }
  std::size_t items_on_layer(int layer) const {
    std::size_t n = 0;
    for (const auto& item : chart.items().items()) n += item.layer == layer ? 1 : 0;
    return n;
  }

  LogState log;
  PlotState plot;
  test::FakeChart chart;
  ScriptedUi ui;
};

TEST_F(PlotBuildingTest, GearAndBrakeAreScaledFromTheFirstSample) {
  test::fill_dataset(log.dataset(kDataSetA), 5);
  show_only({Channel::Gear, Channel::Brake});
  reload();
  const auto items = chart.items().items();
  ASSERT_EQ(items.size(), 2u * 6u);
  // Gear is drawn before brake; each curve: a move-to, then a draw-to per
  // sample starting again at the first.
  EXPECT_EQ(items[0].kind, ItemKind::MoveTo);
  EXPECT_DOUBLE_EQ(items[0].x, 0.1);
  EXPECT_DOUBLE_EQ(items[0].y, 30);
  EXPECT_EQ(items[1].kind, ItemKind::DrawTo);
  EXPECT_DOUBLE_EQ(items[1].y, 30);
  EXPECT_EQ(items[6].kind, ItemKind::MoveTo);
  EXPECT_DOUBLE_EQ(items[6].y, 100);
  EXPECT_DOUBLE_EQ(items[7].y, 100);
  EXPECT_DOUBLE_EQ(items[11].x, 0.5);
  EXPECT_EQ(chart.style_of(items[6]).color, channel_info(Channel::Brake).default_colour);
}

TEST_F(PlotBuildingTest, ElevenChannelsOfTwoSetsAddElevenTimesNPlusOneItemsEach) {
  constexpr long kSamples = 40;
  test::fill_dataset(log.dataset(kDataSetA), kSamples);
  test::fill_dataset(log.dataset(kDataSetB), kSamples);
  show_all();
  reload();
  EXPECT_EQ(chart.items().size(), 2u * 11u * (kSamples + 1));
  // Trace set 2 dotted in the B colours, on layer 1 while B is not on its own axis.
  const auto& last = chart.items()[chart.items().size() - 1];
  EXPECT_EQ(chart.style_of(last).pen, TPenStyle::psDot);
  EXPECT_EQ(chart.style_of(last).color, channel_info(Channel::LapTime).default_colour);
  EXPECT_EQ(items_on_layer(2), 0u);
}

TEST_F(PlotBuildingTest, PointsAreMarksAndAnUntickedSetIsInvisibleButStillRanged) {
  test::fill_dataset(log.dataset(kDataSetA), 10);
  plot.settings.trace[0].line_type = LineType::Points;
  plot.settings.trace[0].on = false;
  reload();
  const auto items = chart.items().items();
  ASSERT_EQ(items.size(), 11u);
  EXPECT_EQ(items[0].kind, ItemKind::MoveTo);
  for (std::size_t i = 1; i < items.size(); ++i) EXPECT_EQ(items[i].kind, ItemKind::Mark);
  EXPECT_EQ(chart.style_of(items[5]).pen, TPenStyle::psClear);
  EXPECT_DOUBLE_EQ(chart.layer_range(1).x_high, widened_high(1.0));
  EXPECT_DOUBLE_EQ(chart.layer_range(1).y_high, widened_high(30.0));
}

TEST_F(PlotBuildingTest, BOnTheSecondAxisHasItsOwnLayerAndComesBack) {
  test::fill_dataset(log.dataset(kDataSetA), 10);
  test::fill_dataset(log.dataset(kDataSetB), 30, 0, 100);
  plot.settings.b_on_second_axis = true;
  reload();
  EXPECT_EQ(items_on_layer(1), 11u);
  EXPECT_EQ(items_on_layer(2), 31u);
  EXPECT_DOUBLE_EQ(chart.layer_range(1).y_high, widened_high(30.0));
  EXPECT_DOUBLE_EQ(chart.layer_range(2).y_low, 121.0);
  EXPECT_DOUBLE_EQ(chart.layer_range(2).y_high, widened_high(150.0));
  ASSERT_TRUE(plot.home(2).has_value());

  plot.settings.b_on_second_axis = false;
  reload();
  EXPECT_EQ(items_on_layer(2), 0u);
  EXPECT_EQ(items_on_layer(1), 42u);
  EXPECT_FALSE(plot.home(2).has_value());
}

TEST_F(PlotBuildingTest, HomeRangeOfALayerCoversEverySetDrawnOnIt) {
  test::fill_dataset(log.dataset(kDataSetA), 10);
  test::fill_dataset(log.dataset(kDataSetB), 30, 0, 100);
  reload();
  const LayerRange home = plot.home(1).value();
  EXPECT_EQ(home, chart.layer_range(1));
  EXPECT_DOUBLE_EQ(home.x_high, widened_high(3.0));
  EXPECT_DOUBLE_EQ(home.y_low, 21.0);
  EXPECT_DOUBLE_EQ(home.y_high, widened_high(150.0));

  // Only B decoded: layer 1's home is B's, not a leftover.
  log.dataset(kDataSetA).decoded_valid = 0;
  test::fill_dataset(log.dataset(kDataSetB), 20);
  reload();
  EXPECT_DOUBLE_EQ(plot.home(1)->x_high, widened_high(2.0));
  EXPECT_DOUBLE_EQ(plot.home(1)->y_high, widened_high(40.0));
  EXPECT_EQ(plot.home(1), chart.layer_range(1));
}

TEST_F(PlotBuildingTest, ColourChangesReplaceTheCurvesInsteadOfAddingCopies) {
  test::fill_dataset(log.dataset(kDataSetA), 50);
  test::fill_dataset(log.dataset(kDataSetB), 50);
  show_all();
  reload();
  const std::size_t count = chart.items().size();
  for (int i = 0; i < 10; ++i) {
    plot.settings.trace[0].colour[0] = static_cast<chart::TColor>(i);
    refresh_engine_data(chart, log, plot);
  }
  EXPECT_EQ(chart.items().size(), count);
  EXPECT_EQ(chart.style_of(chart.items()[0]).color, 9u);
}

TEST_F(PlotBuildingTest, RefreshFitsYToTheWindowAndKeepsItWhenNothingIsVisible) {
  test::fill_dataset(log.dataset(kDataSetA), 100);  // RPM/100 21 … 120 over 0.1 … 10 s
  reload();
  chart.SetLayerRange(1, 2.05, 0, 3.05, 500);  // samples 21 … 30 visible
  refresh_engine_data(chart, log, plot);
  EXPECT_EQ(chart.layer_range(1), (LayerRange{2.05, 41, 3.05, widened_high(50)}));
  EXPECT_EQ(chart.redisplays, 2);

  // Panned past the end of the data: the y range stays, finite.
  chart.SetLayerRange(1, 1000, 41, 2000, 51);
  refresh_engine_data(chart, log, plot);
  EXPECT_EQ(chart.layer_range(1), (LayerRange{1000, 41, 2000, 51}));

  // Without y autoscale nothing moves.
  plot.settings.y_autoscale = false;
  chart.SetLayerRange(1, 2.05, 0, 3.05, 500);
  refresh_engine_data(chart, log, plot);
  EXPECT_EQ(chart.layer_range(1), (LayerRange{2.05, 0, 3.05, 500}));
}

TEST_F(PlotBuildingTest, RedrawReportsWhetherAnyChannelIsTicked) {
  test::fill_dataset(log.dataset(kDataSetA), 10);
  reload();
  plot.settings.channel_shown = {};
  EXPECT_FALSE(redraw_engine_data(chart, log, plot));
  EXPECT_EQ(chart.items().size(), 0u);
  show_only({Channel::Speed});
  EXPECT_TRUE(redraw_engine_data(chart, log, plot));
  EXPECT_EQ(chart.items().size(), 11u);
}

TEST_F(PlotBuildingTest, TheActiveLayerReturnsToTheGridsLayerAfterEveryReplot) {
  test::fill_dataset(log.dataset(kDataSetA), 10);
  test::fill_dataset(log.dataset(kDataSetB), 10);
  plot.settings.b_on_second_axis = true;
  plot.settings.grid_enable = GridEnable::Axis1;
  reload();
  EXPECT_EQ(chart.ActiveLayer(), 1);
  plot.settings.grid_enable = GridEnable::Axis2;
  reload();
  EXPECT_EQ(chart.ActiveLayer(), 2);
  plot.settings.trace[1].colour[0] = 1;
  refresh_engine_data(chart, log, plot);
  EXPECT_EQ(chart.ActiveLayer(), 2);
}

TEST_F(PlotBuildingTest, OverlaidLapsStartAtZeroOnATimeAxisOnly) {
  test::fill_dataset(log.dataset(kDataSetA), 200, 2);
  test::fill_dataset(log.dataset(kDataSetB), 200, 2);
  plot.settings.plot_mode = PlotMode::LapOverlay;
  plot.overlay[1] = {{.first_sample = 100, .last_sample = 199, .lap = 2, .session = 1, .set_letter = "B"}, true};
  reload();
  const auto items = chart.items().items();
  ASSERT_EQ(items.size(), 101u);
  EXPECT_DOUBLE_EQ(items[0].x, 0);
  EXPECT_NEAR(items[100].x, 9.9, 1e-9);
  EXPECT_EQ(chart.style_of(items[0]).pen, TPenStyle::psDot) << "slot 2 draws with the second trace set's look";

  plot.settings.x_channel = XChannel::Distance;
  reload();
  EXPECT_DOUBLE_EQ(chart.items()[0].x, 0);  // lap distance restarts at sample 100
  EXPECT_DOUBLE_EQ(chart.items()[1].x, 0);
  EXPECT_DOUBLE_EQ(chart.items()[100].x, 990);

  // A slot whose record runs past the samples stops at the last one.
  plot.overlay[1].lap.last_sample = 1'000'000;
  reload();
  EXPECT_EQ(chart.items().size(), 102u);
}

TEST(WidenedHigh, TwoPercentUpAndNeverNarrowing) {
  EXPECT_DOUBLE_EQ(widened_high(100), 102);
  EXPECT_EQ(widened_high(0), 0);
  EXPECT_GT(widened_high(-1), -1);
}

}  // namespace
}  // namespace kv::analysis
