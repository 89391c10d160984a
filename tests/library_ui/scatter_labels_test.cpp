// Every point of "Set-up vs Lap Time" carries its date: placed clear of the
// others, beside its point, and following the chart's range and size.
#include <gtest/gtest.h>

#include <QImage>
#include <cmath>
#include <cstdio>

#include "chart/plotchart.h"
#include "library/session_query.h"
#include "library_ui/scatter_label_layer.h"
#include "library_ui/scatter_labels.h"
#include "library_ui/scatter_window.h"

namespace kv {
namespace {

using chart::PixelPoint;
using chart::PixelRect;

constexpr std::int64_t kDay = 86400;
constexpr std::int64_t kMay1 = 1777593600;  // 2026-05-01 00:00 UTC

// The box is one of the four places around its point.
bool beside(const PixelRect& box, PixelPoint at) {
  const int mid_top = at.y - box.height() / 2;
  const bool level = box.top == mid_top;
  const bool plumb = box.left <= at.x && at.x <= box.right;
  return (level && (box.left == at.x + kLabelGap || box.right == at.x - kLabelGap - 1)) ||
         (plumb && (box.bottom == mid_top - 1 || box.top == mid_top + box.height()));
}

// Each label beside its own point under `map`, inside the area and clear
// of every other label.
void expect_readable(const LabelPlacement& placement, const std::vector<LabelSpot>& spots,
                     const chart::LayerMap& map, const PixelRect& area) {
  for (std::size_t i = 0; i < placement.placed.size(); ++i) {
    const PlacedLabel& label = placement.placed[i];
    ASSERT_LT(label.spot, spots.size());
    EXPECT_TRUE(beside(label.box, map.to_px(spots[label.spot].x, spots[label.spot].y))) << spots[label.spot].text;
    EXPECT_TRUE(area.contains(label.box.left, label.box.top) && area.contains(label.box.right, label.box.bottom));
    for (std::size_t j = 0; j < i; ++j) EXPECT_FALSE(label.box.intersects(placement.placed[j].box));
    for (const LabelSpot& other : spots) {  // no cross drawn through a date
      if (!std::isfinite(other.x) || !std::isfinite(other.y)) continue;
      const PixelPoint p = map.to_px(other.x, other.y);
      const PixelRect cross{p.x - kLabelGap + 1, p.y - kLabelGap + 1, p.x + kLabelGap - 1, p.y + kLabelGap - 1};
      EXPECT_FALSE(label.box.intersects(cross)) << spots[label.spot].text << " over " << other.text;
    }
  }
}

TEST(ScatterLabelsTest, CrowdedPointsTryEverySideThenGoWithoutAndOutsidePointsHaveNone) {
  chart::ChartGeometry geometry;
  const chart::LayerMap map = chart::make_layer_map(geometry, 0, 10, 0, 10);
  const PixelRect area = geometry.area();
  const auto width = [](const std::string& text) { return static_cast<int>(text.size()) * 6; };
  std::vector<LabelSpot> spots(7, LabelSpot{5, 5, "2026-05-17"});
  spots.push_back({11, 5, "right of the range"});
  spots.push_back({5, std::numeric_limits<double>::quiet_NaN(), "no value"});
  spots.push_back({9.99, 1, "at the right edge"});  // no room right
  const LabelPlacement placement = place_labels(spots, map, area, width, 14);
  ASSERT_EQ(placement.placed.size(), 5u);
  EXPECT_EQ(placement.left_out, 3u);  // the crowd's fifth to seventh
  expect_readable(placement, spots, map, area);
  const PixelPoint centre = map.to_px(5, 5);
  EXPECT_EQ(placement.placed[0].box.left, centre.x + kLabelGap);       // right first
  EXPECT_EQ(placement.placed[1].box.right, centre.x - kLabelGap - 1);  // then left
  EXPECT_EQ(placement.placed[2].box.bottom, centre.y - 7 - 1);  // above
  EXPECT_EQ(placement.placed[3].box.top, centre.y - 7 + 14);     // below
  EXPECT_EQ(placement.placed[4].spot, 9u);
  EXPECT_LT(placement.placed[4].box.right, map.to_px(9.99, 1).x);  // left of its point
}

// A row of sessions at close set-up values: a date written to the right
// would run through the next point, so the dates go above and below.
TEST(ScatterLabelsTest, DatesKeepClearOfTheNeighbouringPoints) {
  chart::ChartGeometry geometry;
  const chart::LayerMap map = chart::make_layer_map(geometry, 0, 10, 0, 10);
  const auto width = [](const std::string& text) { return static_cast<int>(text.size()) * 6; };
  const int step = map.to_px(1, 5).x - map.to_px(0, 5).x;
  ASSERT_LT(step, 60);  // closer than a date is wide
  std::vector<LabelSpot> spots;
  for (int i = 2; i <= 7; ++i) spots.push_back({static_cast<double>(i), 5, "2026-05-1" + std::to_string(i)});
  const LabelPlacement placement = place_labels(spots, map, geometry.area(), width, 14);
  EXPECT_EQ(placement.placed.size() + placement.left_out, spots.size());
  EXPECT_GE(placement.placed.size(), 4u);
  expect_readable(placement, spots, map, geometry.area());
}

// A season of sessions spread over a grid of track temperatures and lap times.
std::vector<library::SessionRow> grid_season(int columns, int rows) {
  std::vector<library::SessionRow> season;
  for (int i = 0; i < columns * rows; ++i) {
    library::SessionRow row;
    row.path = "2026/" + std::to_string(i) + ".kvl";
    row.session_time = kMay1 + i * kDay / 2;
    row.tags.track = "Oulton";
    row.fastest = library::FastestLap{90.0 + i / columns, 1, 2, std::nullopt};
    row.setup.set(library::kTrackTempSlot, std::to_string(10 + 2 * (i % columns)));
    row.laps = 5;
    season.push_back(row);
  }
  return season;
}

// How many dark text pixels lie inside the box in the picture.
int ink_in(const QImage& picture, const PixelRect& box) {
  int dark = 0;
  for (int y = box.top; y <= box.bottom; ++y) {
    for (int x = box.left; x <= box.right; ++x) {
      if (qGray(picture.pixel(x, y)) < 80) ++dark;
    }
  }
  return dark;
}

TEST(ScatterLabelsTest, FiftySessionsAllShowTheirDateWhereverTheRangeAndSizeMove) {
  TForm14 window;
  window.resize(1400, 800);
  window.show();
  auto season = grid_season(5, 10);
  std::vector<std::size_t> shown(season.size());
  for (std::size_t i = 0; i < shown.size(); ++i) shown[i] = i;
  window.set_sessions(season, shown);
  ASSERT_EQ(window.points().size(), 50u);

  chart::TPlotChart& chart = window.scatter_chart();
  const ScatterLabelLayer& dates = window.scatter_dates();
  const auto check = [&](std::size_t expected) {
    const LabelPlacement placement = dates.placement();
    EXPECT_EQ(placement.placed.size(), expected);
    EXPECT_EQ(placement.left_out, 0u);
    expect_readable(placement, dates.spots(), chart.layer_map(1), chart.geometry_px().area());
    const QImage picture = chart.grab().toImage();
    for (const auto& label : placement.placed) EXPECT_GT(ink_in(picture, label.box), 10) << label.spot;
    return placement;
  };
  EXPECT_EQ(dates.geometry(), chart.rect());
  // Clicks and moves over a date reach the chart, for its zoom and cross-hair.
  EXPECT_EQ(chart.childAt(chart.rect().center()), nullptr);
  const LabelPlacement whole = check(50);
  std::vector<std::string> texts;
  for (const auto& spot : dates.spots()) texts.push_back(spot.text);
  EXPECT_EQ(texts.front(), window.points().front().label);
  EXPECT_EQ(texts.size(), 50u);

  // The lower half of the lap times only: the rest leave the area with their dates.
  chart.SetLayerRange(1, chart.Scale1X().RangeLow(), chart.Scale1Y().RangeLow(), chart.Scale1X().RangeHigh(), 94.5);
  chart.Redisplay();
  check(25);

  window.resize(900, 600);
  EXPECT_EQ(dates.geometry(), chart.rect());
  const LabelPlacement smaller = dates.placement();
  EXPECT_EQ(smaller.placed.size() + smaller.left_out, 25u);
  expect_readable(smaller, dates.spots(), chart.layer_map(1), chart.geometry_px().area());

  // A season's progress labels its days the same way.
  const LabelPlacement days = window.progress_dates().placement();
  EXPECT_EQ(days.placed.size() + days.left_out, window.days().size());
  EXPECT_GT(window.days().size(), 20u);
  if (const char* picture = std::getenv("KV_SCATTER_PICTURE")) window.grab().save(picture);
}

}  // namespace
}  // namespace kv
