#pragma once
// The rulers in the chart's margins: line, ticks and tick labels of every
// visible scale, and the scales' captions, which go where they hide no tick
// label (see caption_place.h).
#include <array>
#include <span>

#include "chart/chart_mapping.h"
#include "chart/item_render.h"
#include "chart/scale_props.h"

class QPainter;

namespace kv::chart {

struct RulerView {
  const TScaleProps* scale;
  AxisMap map;
};

inline constexpr std::size_t kMaxRulers = 2 * kLayerCount;

// The rulers of a picture, kept on the stack.
struct ShownRulers {
  std::array<RulerView, kMaxRulers> views{};
  std::size_t count = 0;
  std::span<const RulerView> shown() const { return {views.data(), count}; }
};

void paint_rulers(QPainter& p, std::span<const RulerView> rulers, const ChartGeometry& geo, const InkRule& colors,
                  TColor margin_color);

}  // namespace kv::chart
