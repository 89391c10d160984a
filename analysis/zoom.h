#pragma once
// Zoom and pan: the mouse modes of "Zoom and Pan" and the In / Out buttons.
#include <array>
#include <optional>

#include "analysis/plot_state.h"
#include "chart/chart_types.h"

namespace kv::analysis {

// What a "Zoom and Pan" choice asks of the chart.
struct MouseMode {
  bool layer1 = false;  // layers whose scales follow the mouse
  bool layer2 = false;
  chart::TMouseActMode action = chart::TMouseActMode::maDragCrossH;
};
// A choice outside the list is "Off".
MouseMode mouse_mode(int zoom_mode);

// "In": the span shrinks by 1.4 about its centre, on x and y.
LayerRange zoom_in(const LayerRange& now);
// "Out": the span grows by 1.4 about its centre, bounded by `home` when there
// is one. A window panned outside home comes back inside it, never inverted.
LayerRange zoom_out(const LayerRange& now, const std::optional<LayerRange>& home);

}  // namespace kv::analysis
