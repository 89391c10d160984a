#pragma once
// Where a ruler's caption goes: where its scale asks, unless that hides a
// tick label, a ruler or the chart area; then at the nearest free place.
#include <optional>
#include <span>

#include "chart/chart_types.h"

namespace kv::chart {

struct CaptionRoom {
  PixelRect bounds;                 // the control
  std::span<const PixelRect> taken;  // tick labels, rulers, chart area, placed captions
  int gap = 0;                       // kept free left and right of each taken box
  int reach_across = 0;              // how far up or down a caption may go
};

// `wanted` if it is free, else the free box nearest to it that `wanted`
// reaches by moving sideways, or up or down within the reach (sideways wins
// a tie); nothing when no such box lies inside the bounds.
std::optional<PixelRect> free_caption_box(const PixelRect& wanted, const CaptionRoom& room);

// The widest free stretch of the rows `row` spans, inside the bounds; nothing
// when every pixel of the row is taken.
std::optional<PixelRect> widest_free_stretch(const PixelRect& row, const CaptionRoom& room);

}  // namespace kv::chart
