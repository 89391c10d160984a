#pragma once
// Where the date of each point of a "Set-up vs Lap Time" chart goes, in the
// chart's pixels. Every point is labelled that has room: a label that would
// cover one already placed, or another point's cross, tries the other sides
// of its point and is left out only when none is free, so a crowded chart
// stays readable. The point itself is the chart's and is always drawn.
#include <cstddef>
#include <functional>
#include <string>
#include <vector>

#include "chart/chart_mapping.h"

namespace kv {

struct LabelSpot {
  double x = 0.0;  // data units of the chart's layer 1
  double y = 0.0;
  std::string text;
};

struct PlacedLabel {
  std::size_t spot = 0;    // index into the spots
  chart::PixelRect box;    // the text's box, inclusive corners
};

struct LabelPlacement {
  std::vector<PlacedLabel> placed;
  std::size_t left_out = 0;  // labels of points in the chart area with no free room
};

// Width in pixels of a label's text.
using TextWidth = std::function<int(const std::string& text)>;

// Gap in pixels between a point and its label: clear of the point's cross.
inline constexpr int kLabelGap = 5;

// Spots are placed in order, each first right of its point (its text
// centred on the point's height), then left, then above and below the band
// those two take; points outside `area` carry no label.
LabelPlacement place_labels(const std::vector<LabelSpot>& spots, const chart::LayerMap& map,
                            const chart::PixelRect& area, const TextWidth& width, int line_height);

}  // namespace kv
