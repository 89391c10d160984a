// The fast item renderer against the plain one, item by item: identical
// pictures for solid pens over random and race-shaped data, zoomed, panned,
// reversed and with points far off the chart.
#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <limits>
#include <random>

#include "chart/demo_traces.h"
#include "chart/item_render.h"
#include "tests/chart/pixel_picture.h"

namespace kv::chart {
namespace {

using testing::kGeo;
using testing::kPaper;
using testing::Picture;

struct Scene {
  ItemStore store;
  std::array<LayerMap, kLayerCount> maps;
};

void set_ranges(Scene& s, double x0, double x1, double y0, double y1) {
  for (LayerMap& m : s.maps) m = make_layer_map(kGeo, x0, x1, y0, y1);
}

void add(ItemStore& s, ItemKind kind, double x, double y, const ItemStyle& style, int layer = 1) {
  s.add(ChartItem{x, y, s.style_id(style), kind, static_cast<std::uint8_t>(layer), 0});
}

// Eleven race channels as the plot window adds them; `dotted` pen for set B.
void add_session(ItemStore& s, const demo::Session& d, int layer, TPenStyle pen, std::size_t first,
                 std::size_t last) {
  for (std::size_t c = 0; c < d.channel.size(); ++c) {
    const ItemStyle style{static_cast<TColor>(0x101010 * (c + 1) + layer), pen, 1, 0};
    add(s, ItemKind::MoveTo, d.time[first], d.channel[c][first], style, layer);
    for (std::size_t i = first; i <= last; ++i) add(s, ItemKind::DrawTo, d.time[i], d.channel[c][i], style, layer);
  }
}

// Random walks with repeated X, jumps, marks between draw-tos, a run going
// backwards, an invisible run, a wide pen and a layer change.
void add_random(ItemStore& s, std::uint32_t seed, TPenStyle pen) {
  std::mt19937 rng(seed);
  std::uniform_real_distribution<double> step(0.0, 0.05);
  std::normal_distribution<double> walk(0.0, 3.0);
  std::bernoulli_distribution rare(0.01);
  const ItemStyle a{clRed, pen, 1, 0};
  const ItemStyle b{clBlue, TPenStyle::psSolid, 1, 0};
  double x = -5, y = 50;
  add(s, ItemKind::MoveTo, x, y, a);
  for (int i = 0; i < 20000; ++i) {
    x += rare(rng) ? 0 : step(rng);
    y += rare(rng) ? walk(rng) * 40 : walk(rng);
    add(s, ItemKind::DrawTo, x, y, i % 5000 < 4000 ? a : b);
    if (i % 3001 == 0) add(s, ItemKind::Mark, x, y + 10, b);
  }
  for (int i = 0; i < 3000; ++i) add(s, ItemKind::DrawTo, 100 - i * 0.03, 20 + walk(rng), b, 2);
  add(s, ItemKind::MoveTo, 0, 0, a);
  for (int i = 0; i < 500; ++i) add(s, ItemKind::DrawTo, i * 0.2, 90 - i * 0.1, {clGreen, TPenStyle::psClear, 1, 0});
  for (int i = 0; i < 500; ++i) add(s, ItemKind::DrawTo, i * 0.2, 10 + walk(rng), {clGreen, TPenStyle::psSolid, 2, 0});
  for (int i = 0; i < 400; ++i) add(s, ItemKind::Mark, i * 0.25, 60 + walk(rng), b);
}

Picture render_plain(const Scene& s, InkRule ink = {}) {
  Picture p;
  std::array<bool, kLayerCount> visible;
  visible.fill(true);
  RasterSink sink(p.canvas, ink);
  walk_items(s.store, s.maps, visible, sink);
  return p;
}

Picture render_fast(const Scene& s, InkRule ink = {}) {
  Picture p;
  FastItemRenderer r;
  r.prepare(s.store);
  r.render(s.store, p.canvas, s.maps, ink);
  return p;
}

int differing(const Picture& a, const Picture& b) {
  int n = 0;
  for (std::size_t i = 0; i < a.px.size(); ++i) n += a.px[i] != b.px[i];
  return n;
}

struct View {
  const char* name;
  double x0, x1, y0, y1;
};

constexpr View kViews[] = {
    {"whole", -6, 1100, -50, 200},     {"zoomed", 30, 31.5, 40, 60},   {"panned", 800, 2000, 0, 120},
    {"reversed", 1100, -6, 200, -50},  {"far off", 5e6, 6e6, -1e7, 1e7}, {"y zoomed", 0, 1000, 49, 51},
};

TEST(FastRenderer, SolidPensGiveTheIdenticalPicture) {
  Scene s;
  const demo::Session d = demo::make_session(10000, 3);
  add_session(s.store, d, 1, TPenStyle::psSolid, 0, d.time.size() - 1);
  add_random(s.store, 5, TPenStyle::psSolid);
  for (const View& v : kViews) {
    set_ranges(s, v.x0, v.x1, v.y0, v.y1);
    const Picture plain = render_plain(s);
    const Picture fast = render_fast(s);
    EXPECT_EQ(differing(plain, fast), 0) << v.name;
  }
}

// Marks many to a pixel, with NaN, infinite and far-off coordinates (all
// held at the clamp), runs of two colours taking turns on the same pixels,
// in colour and in black and white.
TEST(FastRenderer, DenseMarksOfEveryKindGiveTheIdenticalPicture) {
  constexpr double kNaN = std::numeric_limits<double>::quiet_NaN();
  constexpr double kInf = std::numeric_limits<double>::infinity();
  constexpr double kOdd[] = {kNaN, kInf, -kInf, 1e12, -1e12};
  Scene s;
  const ItemStyle a{clRed, TPenStyle::psSolid, 1, 0};
  const ItemStyle b{clBlue, TPenStyle::psSolid, 1, 0};
  for (int i = 0; i < 6000; ++i) {
    const double x = i % 7 == 3 ? kOdd[i % 5] : i * 0.01;
    const double y = i % 11 == 5 ? kOdd[(i + 2) % 5] : 50 + (i % 40) * 0.02;
    add(s.store, ItemKind::Mark, x, y, (i / 25) % 2 == 0 ? a : b);
  }
  for (const View& v : kViews) {
    set_ranges(s, v.x0, v.x1, v.y0, v.y1);
    for (const bool mono : {false, true}) {
      const InkRule ink{.mono = mono};
      EXPECT_EQ(differing(render_plain(s, ink), render_fast(s, ink)), 0) << v.name << (mono ? " mono" : "");
    }
  }
}

TEST(FastRenderer, ItemsAddedAfterARenderAreTakenUp) {
  Scene s;
  const demo::Session d = demo::make_session(3000, 9);
  set_ranges(s, 0, 300, 0, 200);
  FastItemRenderer r;
  add_session(s.store, d, 1, TPenStyle::psSolid, 0, 1499);
  r.prepare(s.store);
  // The last run continues with the next samples of the same channel.
  const ItemStyle last{static_cast<TColor>(0x101010 * 11 + 1), TPenStyle::psSolid, 1, 0};
  for (std::size_t i = 1500; i < 3000; ++i) add(s.store, ItemKind::DrawTo, d.time[i], d.channel[10][i], last);
  r.prepare(s.store);
  Picture fast;
  r.render(s.store, fast.canvas, s.maps, {});
  EXPECT_EQ(differing(render_plain(s), fast), 0);
}

// A re-plot clears the list and adds as many items again: the renderer must
// not take the old curves' summaries for the new ones.
TEST(FastRenderer, RefillOfTheSameCountAfterAClearIsTakenUp) {
  Scene s;
  set_ranges(s, 0, 300, 0, 200);
  FastItemRenderer r;
  add_session(s.store, demo::make_session(3000, 9), 1, TPenStyle::psSolid, 0, 2999);
  r.prepare(s.store);
  const std::size_t count = s.store.size();
  s.store.clear();
  add_session(s.store, demo::make_session(3000, 10), 1, TPenStyle::psSolid, 0, 2999);
  ASSERT_EQ(s.store.size(), count);
  r.prepare(s.store);
  Picture fast;
  r.render(s.store, fast.canvas, s.maps, {});
  EXPECT_EQ(differing(render_plain(s), fast), 0);
}

TEST(FastRenderer, ColumnOfManyPointsDrawsItsWholeSpan) {
  Scene s;
  set_ranges(s, 0, 573, 0, 418);
  const ItemStyle style{clBlack, TPenStyle::psSolid, 1, 0};
  add(s.store, ItemKind::MoveTo, 100, 100, style);
  for (int i = 0; i < 100; ++i) add(s.store, ItemKind::DrawTo, 100 + i * 0.001, i % 2 ? 150 : 120 + i * 0.1, style);
  const Picture fast = render_fast(s);
  const int column = 40 + 100 - kGeo.lrim;
  for (int y = 418 - 150; y <= 418 - 120; ++y)
    EXPECT_NE(fast.px[static_cast<std::size_t>(y * kGeo.area().width() + column)], kPaper) << y;
  EXPECT_EQ(differing(render_plain(s), fast), 0);
}

// Runs longer than the summary builder's batches, with NaN and infinite
// coordinates at the start, in the middle and at the end.
TEST(FastRenderer, NonFiniteCoordinatesInLongRunsMatchThePlainPicture) {
  constexpr double kNaN = std::numeric_limits<double>::quiet_NaN();
  constexpr double kInf = std::numeric_limits<double>::infinity();
  Scene s;
  set_ranges(s, 0, 1000, 0, 100);
  const ItemStyle style{clBlack, TPenStyle::psSolid, 1, 0};
  constexpr std::size_t kBadAt[] = {0, 4095, 4096, 6000, 9999};
  for (const std::size_t bad : kBadAt) {
    add(s.store, ItemKind::MoveTo, 0, 50, style);
    for (std::size_t i = 0; i < 10000; ++i) {
      const double x = i * 0.1;
      const double y = 50 + 40 * std::sin(static_cast<double>(i) * 0.01 + static_cast<double>(bad));
      add(s.store, ItemKind::DrawTo, i == bad ? kNaN : x, i == bad + 1 ? kInf : y, style);
    }
  }
  EXPECT_EQ(differing(render_plain(s), render_fast(s)), 0);
}

// Forty long runs on five layers of their own ranges, some with a NaN or an
// infinite coordinate, some going backwards: their summaries are built on two
// threads while the runs are drawn. One renderer draws them, again after the
// last run grew, and again after a refill, each time as the plain way does.
TEST(FastRenderer, SummariesBuiltWhileDrawingMatchThePlainPicture) {
  constexpr double kNaN = std::numeric_limits<double>::quiet_NaN();
  constexpr double kInf = std::numeric_limits<double>::infinity();
  Scene s;
  for (std::size_t k = 0; k < kLayerCount; ++k)
    s.maps[k] = make_layer_map(kGeo, 0, 400.0 + 50.0 * static_cast<double>(k), -5.0 * static_cast<double>(k), 100);
  ItemStyle last{};
  int last_layer = 1;
  auto fill = [&](std::uint32_t seed) {
    std::mt19937 rng(seed);
    std::normal_distribution<double> walk(0.0, 2.0);
    for (int c = 0; c < 40; ++c) {
      last = {static_cast<TColor>(0x050403 * (c + 1)), TPenStyle::psSolid, 1, 0};
      last_layer = 1 + c % 5;
      const bool backwards = c % 9 == 4;
      const int n = 300 + 60 * c;
      double y = 50;
      add(s.store, ItemKind::MoveTo, backwards ? 500 : 0, y, last, last_layer);
      for (int i = 0; i < n; ++i) {
        y += walk(rng);
        const double x = (backwards ? 500 - i * 0.2 : i * 0.2);
        add(s.store, ItemKind::DrawTo, c % 6 == 1 && i == n / 2 ? kNaN : x, c % 6 == 2 && i == n / 3 ? kInf : y,
            last, last_layer);
      }
    }
  };
  FastItemRenderer r;
  auto matches = [&](const char* when) {
    Picture fast;
    r.render(s.store, fast.canvas, s.maps, {});
    EXPECT_EQ(differing(render_plain(s), fast), 0) << when;
  };
  fill(1);
  matches("first picture");
  for (int i = 0; i < 2000; ++i) add(s.store, ItemKind::DrawTo, 480 + i * 0.01, 50 + (i % 7), last, last_layer);
  matches("after the last run grew");
  s.store.clear();
  fill(2);
  matches("after a refill");
}

// A dotted run is walked once per pixel column by the fast renderer but once
// per sample by the plain one, so where many samples share a column the dots
// fall differently. Both stay on the solid picture's pixels and both show a
// good share of them.
TEST(FastRenderer, DottedPensStayOnTheSolidPicture) {
  const demo::Session d = demo::make_session(20000, 4);
  for (const View& v : kViews) {
    Scene solid, dotted;
    add_session(solid.store, d, 1, TPenStyle::psSolid, 0, d.time.size() - 1);
    add_session(dotted.store, d, 1, TPenStyle::psDot, 0, d.time.size() - 1);
    set_ranges(solid, v.x0, v.x1, v.y0, v.y1);
    set_ranges(dotted, v.x0, v.x1, v.y0, v.y1);
    const Picture full = render_plain(solid);
    const Picture plain = render_plain(dotted);
    const Picture fast = render_fast(dotted);
    int full_n = 0, plain_n = 0, fast_n = 0, outside = 0;
    for (std::size_t i = 0; i < full.px.size(); ++i) {
      full_n += full.inked(i);
      plain_n += plain.inked(i);
      fast_n += fast.inked(i);
      outside += (plain.inked(i) || fast.inked(i)) && !full.inked(i);
    }
    EXPECT_EQ(outside, 0) << v.name;
    EXPECT_GE(plain_n, full_n * 3 / 10) << v.name;
    EXPECT_GE(fast_n, full_n * 3 / 10) << v.name;
  }
}

TEST(PixelRaster, SegmentIsTheSameFromEitherEndAndClipped) {
  Picture p;
  PenWalk pen;
  draw_segment(p.canvas, {30, 20}, {700, 300}, argb_of(clBlack), pen, 0);
  int n = 0;
  for (std::size_t i = 0; i < p.px.size(); ++i) n += p.inked(i);
  EXPECT_EQ(n, 613 - 40 + 1);  // one pixel per visible column
  EXPECT_EQ(p.px[0], kPaper);
}

TEST(PixelRaster, DotsAreThreeOnThreeOff) {
  Picture p;
  PenWalk pen{dash_pattern(TPenStyle::psDot)};
  draw_segment(p.canvas, {40, 15}, {51, 15}, argb_of(clBlack), pen, 0);
  std::string row;
  for (int x = 0; x < 12; ++x) row += p.inked(static_cast<std::size_t>(x)) ? '#' : '.';
  EXPECT_EQ(row, "###...###...");
}

}  // namespace
}  // namespace kv::chart

namespace kv::chart {
namespace {

// Steep one-column segments take a short cut for solid pens; an always-on
// pattern of period 2 walks the general way and must give the same pixels.
TEST(PixelRaster, SteepShortCutMatchesTheGeneralWalk) {
  std::mt19937 rng(12);
  std::uniform_int_distribution<int> y(-50, 470);
  std::uniform_int_distribution<int> dx(-1, 1);
  std::uniform_int_distribution<int> x(35, 620);
  // Two pictures for all the segments: a fresh pair each time made this test
  // spend most of its time allocating under the sanitizers.
  Picture quick, general;
  for (int k = 0; k < 2000; ++k) {
    const PixelPoint a{x(rng), y(rng)};
    const PixelPoint b{a.x + dx(rng), y(rng)};
    const int first_step = k % 2;
    std::fill(quick.px.begin(), quick.px.end(), kPaper);
    std::fill(general.px.begin(), general.px.end(), kPaper);
    PenWalk solid;
    PenWalk always_on{{0b11u, 2}};
    draw_segment(quick.canvas, a, b, argb_of(clBlack), solid, first_step);
    draw_segment(general.canvas, a, b, argb_of(clBlack), always_on, first_step);
    ASSERT_EQ(quick.px, general.px) << a.x << "," << a.y << " -> " << b.x << "," << b.y;
  }
}

}  // namespace
}  // namespace kv::chart
