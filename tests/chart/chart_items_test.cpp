#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <limits>
#include <random>
#include <vector>

#include "chart/chart_items.h"

namespace kv::chart {
namespace {

ChartItem item(double x, double y, int layer, ItemKind kind = ItemKind::DrawTo) {
  return ChartItem{x, y, 0, kind, static_cast<std::uint8_t>(layer), 0};
}

// A store holding `items`, in order.
struct Items {
  ItemStore store;
  Items(std::initializer_list<ChartItem> items) {
    for (const ChartItem& i : items) store.add(i);
  }
  operator ItemView() const { return store.items(); }
};

void expect_box(const DataBox& got, const DataBox& want) {
  EXPECT_DOUBLE_EQ(got.x_low, want.x_low);
  EXPECT_DOUBLE_EQ(got.y_low, want.y_low);
  EXPECT_DOUBLE_EQ(got.x_high, want.x_high);
  EXPECT_DOUBLE_EQ(got.y_high, want.y_high);
}

TEST(ChartItems, StoreGrowsInWholeAllocSteps) {
  ItemStore s;
  s.set_alloc_size(1000);
  s.add(item(1, 2, 1));
  EXPECT_EQ(s.capacity(), 1000u);
  for (int i = 0; i < 5000; ++i) s.add(item(i, i, 1));
  EXPECT_EQ(s.size(), 5001u);
  EXPECT_EQ(s.capacity() % 1000, 0u);
  EXPECT_EQ(s[0].x, 1);
  EXPECT_EQ(s[5000].y, 4999);
  s.clear();
  EXPECT_EQ(s.size(), 0u);
}

TEST(ChartItems, AllocSizeOutsideItsRangeIsIgnored) {
  ItemStore s;
  s.set_alloc_size(0);
  EXPECT_EQ(s.alloc_size(), 1000);
  s.set_alloc_size(1'000'001);
  EXPECT_EQ(s.alloc_size(), 1000);
  s.set_alloc_size(1);
  EXPECT_EQ(s.alloc_size(), 1);
}

TEST(ChartItems, StylesAreShared) {
  ItemStore s;
  const auto a = s.style_id({clRed, TPenStyle::psSolid, 1, 0});
  const auto b = s.style_id({clBlue, TPenStyle::psDot, 1, 0});
  EXPECT_NE(a, b);
  EXPECT_EQ(s.style_id({clRed, TPenStyle::psSolid, 1, 0}), a);
  EXPECT_EQ(s.style(b).pen, TPenStyle::psDot);
}

TEST(ChartItems, EmptyLayerAutoRangesToMinusOneToOne) {
  const Items items{item(5, 5, 2)};
  expect_box(auto_range_box(items, 1, 10), {-1, -1, 1, 1});
}

TEST(ChartItems, EqualValuesAutoRangeToValuePlusMinusOne) {
  const Items items{item(3, 7, 1, ItemKind::MoveTo), item(3, 9, 1), item(3, 8, 1, ItemKind::Mark)};
  const DataBox b = auto_range_box(items, 1, 5);
  EXPECT_EQ(b.x_low, 2);
  EXPECT_EQ(b.x_high, 4);
  EXPECT_DOUBLE_EQ(b.y_low, 7 - 0.1);  // 5 % of the extent 2
  EXPECT_DOUBLE_EQ(b.y_high, 9 + 0.1);
}

TEST(ChartItems, AutoRangeCountsEveryKindOfItsLayerOnly) {
  const Items items{item(-4, 1, 1, ItemKind::MoveTo), item(0, 2, 1), item(9, -3, 1, ItemKind::Mark),
                                     item(100, 100, 2)};
  expect_box(auto_range_box(items, 1, 0), {-4, -3, 9, 2});
}

// A channel with a division by zero in it must not blank the whole layer.
TEST(ChartItems, AutoRangeSkipsNonFiniteCoordinates) {
  constexpr double inf = std::numeric_limits<double>::infinity();
  constexpr double nan = std::numeric_limits<double>::quiet_NaN();
  const Items items{item(0, 0, 1, ItemKind::MoveTo), item(10, 5, 1), item(inf, 3, 1),
                                     item(4, -inf, 1), item(nan, nan, 1), item(-inf, inf, 1, ItemKind::Mark)};
  expect_box(auto_range_box(items, 1, 0), {0, 0, 10, 5});
  expect_box(auto_range_box(items, 1, 10), {-1, -0.5, 11, 5.5});
  const Items only_infinite{item(inf, -inf, 1), item(-inf, inf, 1)};
  expect_box(auto_range_box(only_infinite, 1, 10), {-1, -1, 1, 1});
}

// Long runs are scanned two points at a time; an odd length, extremes at
// either end and one infinite value at the very end must all come out right.
TEST(ChartItems, AutoRangeOfLongRunsFindsEveryEnd) {
  ItemStore s;
  std::vector<double> x(1001), y(1001);
  for (std::size_t i = 0; i < x.size(); ++i) {
    x[i] = static_cast<double>(i);
    y[i] = static_cast<double>(i % 7);
  }
  y[0] = -3;
  y[1000] = 12;
  const ChartItem draw{0, 0, 0, ItemKind::DrawTo, 1, 0};
  s.add_samples(draw, x.data(), y.data(), x.size(), 0, 1);
  expect_box(auto_range_box(s.items(), 1, 0), {0, -3, 1000, 12});
  x[1000] = std::numeric_limits<double>::infinity();
  s.add_samples({0, 0, 0, ItemKind::DrawTo, 2, 0}, x.data(), y.data(), x.size(), 5000, 1);
  expect_box(auto_range_box(s.items(), 2, 0), {-5000, -3, 999 - 5000, 12});
}

// The bounds of what the points hold, read one by one: infinite and NaN
// coordinates left out, as auto range does.
DataBox finite_bounds(const ItemView& items, int layer) {
  constexpr double inf = std::numeric_limits<double>::infinity();
  DataBox b{inf, inf, -inf, -inf};
  for (const ChartItem& i : items) {
    if (i.layer != layer) continue;
    if (std::isfinite(i.x)) b.x_low = std::min(b.x_low, i.x), b.x_high = std::max(b.x_high, i.x);
    if (std::isfinite(i.y)) b.y_low = std::min(b.y_low, i.y), b.y_high = std::max(b.y_high, i.y);
  }
  return b;
}

DataBox naive_extent(const ItemView& items, int layer, const DataBox& w) {
  DataBox b{kExtentStart, kExtentStart, -kExtentStart, -kExtentStart};
  for (const ChartItem& i : items) {
    if (layer != 0 && i.layer != layer) continue;
    if (!(w.x_low < i.x && i.x < w.x_high && w.y_low < i.y && i.y < w.y_high)) continue;
    b = {std::min(b.x_low, i.x), std::min(b.y_low, i.y), std::max(b.x_high, i.x), std::max(b.y_high, i.y)};
  }
  return b;
}

// Whole curves are summed up in blocks as they are added; auto range and
// extent read those sums where they can. Curves that start and end inside
// blocks, share blocks with single adds and with other layers, and hold an
// infinite or NaN value must give what the points themselves give, for
// windows that take every block, cut through blocks or miss them all.
TEST(ChartItems, BoundsOfWholeCurvesAgreeWithTheirPoints) {
  std::mt19937 random(7);
  std::uniform_real_distribution<double> value(-50, 50);
  ItemStore s;
  const auto curve = [&](int layer, std::size_t count, double bad) {
    std::vector<double> x(count), y(count);
    for (std::size_t i = 0; i < count; ++i) {
      x[i] = static_cast<double>(i) + value(random) / 100;
      y[i] = value(random);
    }
    if (bad != 0) y[count / 2] = bad;
    s.add({x[0], y[0], 0, ItemKind::MoveTo, static_cast<std::uint8_t>(layer), 0});
    s.add_samples({0, 0, 0, ItemKind::DrawTo, static_cast<std::uint8_t>(layer), 0}, x.data(), y.data(), count, 3.5,
                  1.5);
  };
  curve(1, 3000, 0);
  curve(2, 1500, 0);
  curve(1, 2500, std::numeric_limits<double>::infinity());
  curve(2, 700, std::numeric_limits<double>::quiet_NaN());
  for (int i = 0; i < 40; ++i) s.add(item(value(random) * 100, value(random), 1 + i % 2));
  curve(1, 4100, 0);
  std::vector<DataBox> windows = {{-1e9, -1e9, 1e9, 1e9}, {-10, -30, 1200, 30}, {900, -0.1, 2100, 1e6},
                                  {1e5, -1e9, 2e5, 1e9},   {-1e9, 60, 1e9, 100}, {0, -75, 5000, 75}};
  // Edges on the bounds of whole blocks, as after an auto range: the points
  // on them stay out.
  windows.push_back(finite_bounds(s.items(), 1));
  ASSERT_GT(s.boxes().size(), 1u);
  windows.push_back({s.boxes()[1].x_low, -1e9, s.boxes()[1].x_high, 1e9});
  windows.push_back({-1e9, s.boxes()[1].y_low, 1e9, s.boxes()[1].y_high});
  for (int layer = 1; layer <= 2; ++layer) {
    const DataBox want = finite_bounds(s.items(), layer);
    expect_box(auto_range_box(s.items(), layer, 0), want);
    for (const DataBox& w : windows) expect_box(layer_extent(s.items(), layer, w), naive_extent(s.items(), layer, w));
  }
  for (const DataBox& w : windows) expect_box(layer_extent(s.items(), 0, w), naive_extent(s.items(), 0, w));

  // A refill forgets the old sums.
  s.clear();
  curve(1, 2000, 0);
  expect_box(auto_range_box(s.items(), 1, 0), finite_bounds(s.items(), 1));
  EXPECT_EQ(s.boxes().size(), 2u);
}

TEST(ChartItems, AutoRangeMarginNeverOverflowsTheEnds) {
  constexpr double big = std::numeric_limits<double>::max();
  const Items items{item(-big, 0, 1), item(big, 1, 1)};
  expect_box(auto_range_box(items, 1, 10), {-big, -0.1, big, 1.1});
}

TEST(ChartItems, ExtentIgnoresPointsOnTheWindowEdges) {
  const Items items{item(0, 5, 1), item(1, 5, 1), item(2, 7, 1), item(10, 5, 1), item(3, -0.1, 1),
                                     item(4, 6, 2)};
  const DataBox b = layer_extent(items, 1, {0, -0.1, 10, 100});
  EXPECT_EQ(b.x_low, 1);
  EXPECT_EQ(b.x_high, 2);
  EXPECT_EQ(b.y_low, 5);
  EXPECT_EQ(b.y_high, 7);
  const DataBox all = layer_extent(items, 0, {0, -0.1, 10, 100});
  EXPECT_EQ(all.x_high, 4);
}

TEST(ChartItems, ExtentWithoutQualifyingPointKeepsTheHugeStart) {
  const Items items{item(50, 5, 1)};
  const DataBox b = layer_extent(items, 1, {0, 0, 10, 10});
  EXPECT_EQ(b.x_low, kExtentStart);
  EXPECT_EQ(b.x_high, -kExtentStart);
}

TEST(ChartItems, EqualEndsWidenByHalfTheMinRange) {
  double lo = 4, hi = 4;
  widen_equal_ends(lo, hi, 1e-10);
  EXPECT_DOUBLE_EQ(lo, 4 - 0.5e-10);
  EXPECT_DOUBLE_EQ(hi, 4 + 0.5e-10);
  double a = 1, b = 2;
  widen_equal_ends(a, b, 1e-10);
  EXPECT_EQ(a, 1);
  EXPECT_EQ(b, 2);
}

}  // namespace
}  // namespace kv::chart
