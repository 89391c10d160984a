// Curves added whole from arrays bring their own summaries, made while the
// points are copied in. Drawn with them, every picture must be the one of
// the same items added one by one (whose summaries the renderer builds) and
// the one of the plain way.
#include <gtest/gtest.h>

#include <cmath>
#include <cstring>
#include <functional>
#include <limits>
#include <string>
#include <vector>

#include "chart/item_render.h"
#include "chart/item_walk.h"
#include "tests/chart/pixel_picture.h"

namespace kv::chart {
namespace {

constexpr double kNaN = std::numeric_limits<double>::quiet_NaN();
constexpr double kInf = std::numeric_limits<double>::infinity();
using testing::kGeo;
using testing::Picture;

struct Curve {
  std::string name;
  std::vector<double> x, y;
  double offset = 0;
  double factor = 1;
};

Curve wave(std::string name, std::size_t n, double dx = 0.37) {
  Curve c{std::move(name), std::vector<double>(n), std::vector<double>(n)};
  for (std::size_t i = 0; i < n; ++i) {
    c.x[i] = static_cast<double>(i) * dx;
    c.y[i] = 50 + 40 * std::sin(static_cast<double>(i) * 0.013) + static_cast<double>(i % 7);
  }
  return c;
}

Curve with(Curve c, const std::function<void(Curve&)>& change) {
  change(c);
  return c;
}

// Lengths around the pyramid's blocks and the copy's 1,024-point blocks,
// and what makes a curve be drawn point by point, anywhere along it.
std::vector<Curve> curves() {
  const std::size_t n = 5003;
  std::vector<Curve> all = {
      wave("rising", n),
      wave("falling", n, -0.37),
      wave("flat X", 700, 0),
      wave("shortest by columns", kPyramidMinPoints),
      wave("one too short", kPyramidMinPoints - 1),
      wave("one block and a point", 1025),
      with(wave("offset and factor", n), [](Curve& c) { c.offset = 1234.5, c.factor = -2.5; }),
      with(wave("both ways", n), [](Curve& c) { c.x[3000] = c.x[2990]; }),
      with(wave("back at the very end", n), [](Curve& c) { c.x.back() = c.x[n - 3]; }),
      with(wave("infinite Y", n), [](Curve& c) { c.y[1500] = kInf, c.y[1501] = -kInf; }),
      with(wave("infinite X at the end", n), [](Curve& c) { c.x.back() = kInf; }),
  };
  for (const std::size_t at : {std::size_t{0}, std::size_t{1023}, std::size_t{4096}, n - 2, n - 1}) {
    all.push_back(with(wave("NaN X at " + std::to_string(at), n), [at](Curve& c) { c.x[at] = kNaN; }));
    all.push_back(with(wave("NaN Y at " + std::to_string(at), n), [at](Curve& c) { c.y[at] = kNaN; }));
  }
  return all;
}

ItemStyle style_of(std::size_t k) { return {static_cast<TColor>(0x0B0A09 * (k + 1)) & 0xFFFFFF, TPenStyle::psSolid, 1, 0}; }

// A move-to and the curve: from the arrays, or item by item with the
// values the arrays give.
void add_curve(ItemStore& s, const Curve& c, const ItemStyle& style, bool whole, int layer = 1) {
  ChartItem item{c.x[0], c.y[0], s.style_id(style), ItemKind::MoveTo, static_cast<std::uint8_t>(layer), 0};
  s.add(item);
  item.kind = ItemKind::DrawTo;
  if (whole) {
    s.add_samples(item, c.x.data(), c.y.data(), c.x.size(), c.offset, c.factor);
    return;
  }
  for (std::size_t i = 0; i < c.x.size(); ++i) {
    item.x = c.x[i] - c.offset;
    item.y = c.factor * c.y[i];
    s.add(item);
  }
}

std::array<LayerMap, kLayerCount> maps_for(double x0, double x1, double y0, double y1) {
  std::array<LayerMap, kLayerCount> maps;
  for (LayerMap& m : maps) m = make_layer_map(kGeo, x0, x1, y0, y1);
  return maps;
}

Picture fast(FastItemRenderer& r, const ItemStore& s, const std::array<LayerMap, kLayerCount>& maps,
             InkRule ink = {}) {
  Picture p;
  r.render(s, p.canvas, maps, ink);
  return p;
}

Picture plain(const ItemStore& s, const std::array<LayerMap, kLayerCount>& maps, InkRule ink = {}) {
  Picture p;
  std::array<bool, kLayerCount> visible;
  visible.fill(true);
  RasterSink sink(p.canvas, ink);
  walk_items(s, maps, visible, sink);
  return p;
}

// Whole views, zoomed ones, reversed axes, and the far side of an offset.
const std::array<std::array<double, 4>, 5> kViews{{
    {-5, 1900, -60, 180},
    {400, 420, 40, 60},
    {1900, -5, 180, -60},
    {-1240, -1230, -260, -90},
    {-1900, 5, -300, 300},
}};

// Every curve after a few items of another style, so that it begins at
// every place within the blocks of four and of 1,024.
TEST(CurveSummary, IsWhatTheRendererWouldBuildFromTheStoredPoints) {
  for (const std::size_t lead : {0u, 1u, 2u, 3u, 1021u}) {
    ItemStore s;
    for (std::size_t i = 0; i < lead; ++i)
      s.add({static_cast<double>(i), 1, s.style_id({clRed, TPenStyle::psSolid, 1, 0}), ItemKind::Mark, 1, 0});
    for (const Curve& c : curves()) {
      SCOPED_TRACE(c.name + " after " + std::to_string(lead));
      const std::size_t begin = s.size() + 1;
      add_curve(s, c, style_of(0), true);
      const int found = s.curve_summary(begin, s.size());
      if (c.x.size() < kPyramidMinPoints) {
        EXPECT_EQ(found, -1);
        continue;
      }
      ASSERT_GE(found, 0);
      const RunSummary& got = s.curves()[static_cast<std::size_t>(found)];
      MinMaxPyramid whole;
      EXPECT_EQ(got.x_direction, whole.build(s.points() + begin, c.x.size()));
      if (got.x_direction == 0) continue;
      for (std::size_t first = 0; first < c.x.size(); first += 97)
        for (const std::size_t len : {1u, 5u, 63u, 1100u, 5003u}) {
          const std::size_t last = std::min(first + len, c.x.size()) - 1;
          const auto a = got.pyramid.query(s.points() + begin, first, last);
          const auto b = whole.query(s.points() + begin, first, last);
          ASSERT_EQ(a.low, b.low) << first << ".." << last;
          ASSERT_EQ(a.high, b.high) << first << ".." << last;
        }
    }
  }
}

TEST(CurveSummary, CurvesFromArraysDrawAsTheSameItemsAddedOneByOne) {
  ItemStore by_curve, by_item;
  const std::vector<Curve> all = curves();
  for (std::size_t k = 0; k < all.size(); ++k) {
    const int layer = 1 + static_cast<int>(k % 3);
    add_curve(by_curve, all[k], style_of(k), true, layer);
    add_curve(by_item, all[k], style_of(k), false, layer);
  }
  ASSERT_EQ(by_curve.size(), by_item.size());
  ASSERT_EQ(std::memcmp(by_curve.points(), by_item.points(), by_curve.size() * sizeof(ItemPoint)), 0);
  ASSERT_EQ(by_curve.curves().size(), all.size() - 1);  // all but the one too short
  ASSERT_TRUE(by_item.curves().empty());
  FastItemRenderer with_curves, built_here;
  for (const auto& v : kViews) {
    const auto maps = maps_for(v[0], v[1], v[2], v[3]);
    for (const bool mono : {false, true}) {
      SCOPED_TRACE(std::to_string(v[0]) + (mono ? " mono" : ""));
      const Picture expected = plain(by_item, maps, {mono});
      EXPECT_TRUE(fast(with_curves, by_curve, maps, {mono}) == expected);
      EXPECT_TRUE(fast(built_here, by_item, maps, {mono}) == expected);
    }
  }
}

// The store's summary covers the curve as added: once the run goes on, by
// items or by another curve of the same style, the renderer must build
// its own; a refill of as many items must not draw the old curves.
TEST(CurveSummary, RunsThatOutgrewTheirCurveAndRefillsDrawAsThePlainWay) {
  const Curve rising = wave("rising", 3001);
  const Curve both_ways = with(wave("both ways", 3001), [](Curve& c) { c.x[1700] = 0; });
  const auto maps = maps_for(-5, 1150, -60, 180);
  ItemStore s;
  FastItemRenderer r;
  auto matches = [&](const char* when) {
    SCOPED_TRACE(when);
    EXPECT_TRUE(fast(r, s, maps) == plain(s, maps));
  };
  add_curve(s, rising, style_of(1), true);
  matches("one curve");
  ChartItem more{0, 0, s.style_id(style_of(1)), ItemKind::DrawTo, 1, 0};
  for (int i = 0; i < 300; ++i) {
    more.x = 1110 + i * 0.1, more.y = 150 - i * 0.5;
    s.add(more);
  }
  matches("the curve's run grew by items");
  s.add_samples(more, both_ways.x.data(), both_ways.y.data(), both_ways.x.size(), -20, 0.5);
  matches("the run grew by a curve going both ways");

  s.clear();
  add_curve(s, rising, style_of(2), true);
  add_curve(s, rising, style_of(3), true);
  matches("two rising curves");
  const std::size_t bytes = s.summary_bytes();
  s.clear();
  add_curve(s, both_ways, style_of(2), true);
  add_curve(s, with(rising, [](Curve& c) { c.offset = -50; }), style_of(3), true);
  matches("refilled with as many items");
  EXPECT_EQ(s.summary_bytes(), bytes);
}

// A chart filled item by item once, then re-plotted from arrays, must not
// hold the summaries of the first fill beside the curves' own: that would
// cost about a third more memory per item for good.
TEST(CurveSummary, SummariesOfAnEarlierItemByItemFillAreGivenBack) {
  const Curve c = wave("", 20'000);
  const auto maps = maps_for(-5, 7500, -60, 180);
  ItemStore s;
  FastItemRenderer r;
  add_curve(s, c, style_of(1), false);
  add_curve(s, c, style_of(2), false);
  fast(r, s, maps);
  const std::size_t item_by_item = r.memory_bytes();
  for (int replot = 0; replot < 2; ++replot) {
    s.clear();
    add_curve(s, c, style_of(1), true);
    add_curve(s, c, style_of(2), true);
    EXPECT_TRUE(fast(r, s, maps) == plain(s, maps));
    EXPECT_LT(r.memory_bytes() * 4, item_by_item) << "re-plot " << replot;
  }
  s.clear();
  add_curve(s, c, style_of(1), false);
  add_curve(s, c, style_of(2), false);
  EXPECT_TRUE(fast(r, s, maps) == plain(s, maps));
  EXPECT_EQ(r.memory_bytes(), item_by_item);
}

// Re-plots of other lengths in other orders reuse the summaries of curves
// that were longer or shorter, and the points move while the list grows
// (small AllocSize steps, past the size where the store maps its own
// pages). The same renderer draws after every curve added.
TEST(CurveSummary, RefillsOfOtherLengthsAndMovingPointsDrawAsThePlainWay) {
  const std::vector<std::vector<std::size_t>> replots{
      {4096, 64, 1024, 70'000},
      {64, 70'000, 4097, 1023, 65},
      {1024, 4096},
      {70'000, 70'000, 64},
  };
  const std::array views{maps_for(-26'000, 26'000, -60, 180), maps_for(370, 380, 30, 70), maps_for(-380, -370, 30, 70)};
  ItemStore s;
  s.set_alloc_size(1);
  FastItemRenderer r;
  for (std::size_t k = 0; k < replots.size(); ++k) {
    s.clear();
    for (std::size_t j = 0; j < replots[k].size(); ++j) {
      const std::size_t n = replots[k][j];
      SCOPED_TRACE("re-plot " + std::to_string(k) + ", curve of " + std::to_string(n));
      s.add({0, 0, s.style_id(style_of(j + 1)), ItemKind::Mark, 1, 0});  // moves the next curve's start
      add_curve(s, wave("", n, j % 2 == 0 ? 0.37 : -0.37), style_of(j), true);
      for (const auto& maps : views) EXPECT_TRUE(fast(r, s, maps) == plain(s, maps));
    }
  }
}

}  // namespace
}  // namespace kv::chart
