#include <gtest/gtest.h>

#include <limits>

#include "chart/chart_mapping.h"

namespace kv::chart {
namespace {

const ChartGeometry kPlot;  // 653 x 498, margins 40, 40, 15, 65

TEST(ChartMapping, RangeEndsFallOnTheChartAreaEdges) {
  const LayerMap m = make_layer_map(kPlot, 0, 100, -5, 5);
  EXPECT_EQ(m.to_px(0, -5), (PixelPoint{40, 433}));
  EXPECT_EQ(m.to_px(100, 5), (PixelPoint{613, 15}));
  EXPECT_EQ(m.x.to_px(50), 40 + 286);  // 286.5 rounds to even
  EXPECT_EQ(m.y.to_px(0), 224);        // 433 - 209
}

TEST(ChartMapping, ReversedRangeMirrors) {
  const LayerMap m = make_layer_map(kPlot, 100, 0, 5, -5);
  EXPECT_EQ(m.to_px(100, 5), (PixelPoint{40, 433}));
  EXPECT_EQ(m.to_px(0, -5), (PixelPoint{613, 15}));
  EXPECT_EQ(m.x.direction(), -1);
}

TEST(ChartMapping, RoundsHalvesToEvenAndClamps) {
  EXPECT_EQ(to_pixel(2.5), 2);
  EXPECT_EQ(to_pixel(3.5), 4);
  EXPECT_EQ(to_pixel(-2.5), -2);
  EXPECT_EQ(to_pixel(2.4999), 2);
  EXPECT_EQ(to_pixel(1e12), 30000);
  EXPECT_EQ(to_pixel(-1e12), -30000);
  EXPECT_EQ(to_pixel(30000.4), 30000);
  EXPECT_EQ(to_pixel(std::numeric_limits<double>::quiet_NaN()), -30000);
  const LayerMap m = make_layer_map(kPlot, 0, 1, 0, 1);
  EXPECT_EQ(m.x.to_px(1e9), 30000);
  EXPECT_EQ(m.y.to_px(1e9), -30000);
}

TEST(ChartMapping, AreaWithoutWidthPutsEveryPointInTheMiddle) {
  ChartGeometry g;
  g.width = 80;  // margins take all of it
  const LayerMap m = make_layer_map(g, 0, 10, 0, 10);
  EXPECT_EQ(m.x.to_px(3), 40);
  EXPECT_EQ(m.x.to_px(-1e9), 40);
  EXPECT_EQ(m.x.direction(), 0);
  // A range without span cannot divide either.
  const LayerMap flat = make_layer_map(kPlot, 2, 2, 0, 1);
  EXPECT_EQ(flat.x.to_px(2), 653 / 2);
}

TEST(ChartMapping, InverseGivesDataUnits) {
  const LayerMap m = make_layer_map(kPlot, 0, 573, 0, 418);
  EXPECT_DOUBLE_EQ(m.x.to_data(40), 0);
  EXPECT_DOUBLE_EQ(m.x.to_data(140), 100);
  EXPECT_DOUBLE_EQ(m.y.to_data(433), 0);
  EXPECT_DOUBLE_EQ(m.y.to_data(15), 418);
}

}  // namespace
}  // namespace kv::chart
