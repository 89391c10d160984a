#include "analysis/axis_controls.h"

namespace kv::analysis {
namespace {

constexpr std::array<double, kGridDyItems.size()> kGridDy = {0, 1, 10, 100, 1000};
constexpr std::array<double, kGridDxItems.size()> kGridDx = {0, 0.1, 1, 10, 100, 1000};

// The spacing of a list item; anything unknown is "Auto".
template <std::size_t N>
double spacing(const std::array<double, N>& values, int item) {
  return item >= 0 && item < static_cast<int>(N) ? values[static_cast<std::size_t>(item)] : 0.0;
}

chart::TGridStyle grid_style(const PlotSettings& s) {
  if (s.grid_enable == GridEnable::Off) return chart::TGridStyle::gsNone;
  switch (s.grid_lines) {
    case GridLines::VerticalOnly: return chart::TGridStyle::gsVertDotLines;
    case GridLines::HorizontalOnly: return chart::TGridStyle::gsHorizDotLines;
    case GridLines::VertAndHoriz: break;
  }
  return chart::TGridStyle::gsDotLines;
}

}  // namespace

std::optional<LayerRange> matched_layer1_range(const LogState& log, const PlotSettings& settings,
                                               const LayerRange& layer1, const LayerRange& layer2, Ui& ui) {
  if (!settings.b_on_second_axis) {
    ui.information(kSelectDualAxis);
    return std::nullopt;
  }
  if (log.dataset(kDataSetA).decoded_valid != 1 || log.dataset(kDataSetB).decoded_valid != 1) {
    ui.information(kNoDataB);
    return std::nullopt;
  }
  return LayerRange{layer1.x_low, layer1.y_low, layer1.x_low + (layer2.x_high - layer2.x_low),
                    layer1.y_low + (layer2.y_high - layer2.y_low)};
}

GridView grid_view(const PlotSettings& settings) {
  GridView view;
  view.style = grid_style(settings);
  view.dx = spacing(kGridDx, settings.grid_dx);
  view.dy = spacing(kGridDy, settings.grid_dy);
  view.layer = grid_layer(settings);
  return view;
}

DataPoint convert_layer_units(const chart::LayerMap& from, const chart::LayerMap& to, double x, double y) {
  return {to.x.to_data(from.x.to_real(x)), to.y.to_data(from.y.to_real(y))};
}

}  // namespace kv::analysis
