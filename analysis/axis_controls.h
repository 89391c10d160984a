#pragma once
// The axis controls of the plot window: Match Window Scaling, the grid, and
// the pointer position in layer 1 units whichever layer is active.
#include <optional>

#include "analysis/plot_state.h"
#include "chart/chart_mapping.h"
#include "logdata/log_state.h"
#include "ui/ui.h"

namespace kv::analysis {

inline constexpr const char* kSelectDualAxis = "Select Duel Axis Mode First";
inline constexpr const char* kNoDataB = "No Data B File Loaded";

// Layer 1's new range: layer 2's spans from layer 1's own low ends. Nothing
// after telling the user why it cannot be done.
std::optional<LayerRange> matched_layer1_range(const LogState& log, const PlotSettings& settings,
                                               const LayerRange& layer1, const LayerRange& layer2, Ui& ui);

// What the grid controls ask of the chart.
struct GridView {
  chart::TGridStyle style = chart::TGridStyle::gsDotLines;
  double dx = 0;  // 0: at the ruler's ticks
  double dy = 0;
  chart::TColor color = chart::clSilver;
  int layer = 1;  // the layer whose scales the grid follows
};

GridView grid_view(const PlotSettings& settings);

// The items of the two spacing lists.
inline constexpr std::array<const char*, 5> kGridDyItems = {"Auto", "1", "10", "100", "1000"};
inline constexpr std::array<const char*, 6> kGridDxItems = {"Auto", "0.1", "1", "10", "100", "1000"};

// A pointer position reported in `from` layer's units, in `to` layer's units.
struct DataPoint {
  double x = 0;
  double y = 0;
};
DataPoint convert_layer_units(const chart::LayerMap& from, const chart::LayerMap& to, double x, double y);

}  // namespace kv::analysis
