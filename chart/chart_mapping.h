#pragma once
// Data units to pixels and back. Every pixel coordinate that reaches a canvas
// goes through to_pixel(): rounded half to even and held within +-30000 so
// that far-away points draw as lines to the edge instead of overflowing.
#include "chart/chart_types.h"

namespace kv::chart {

inline constexpr int kPixelClamp = 30000;

// Rounds half to even and clamps; NaN lands far off the chart.
inline int to_pixel(double v) {
  if (!(v > -kPixelClamp)) return -kPixelClamp;
  if (v >= kPixelClamp) return kPixelClamp;
  // Adding and removing 1.5 * 2^52 leaves the nearest integer, ties to even,
  // under the default rounding mode (strict IEEE arithmetic keeps the pair).
  constexpr double kRound = 6755399441055744.0;
  return static_cast<int>((v + kRound) - kRound);
}

// One axis: pixel = origin + (value - low) * factor, or `fixed` when the axis
// has no pixels or no span.
class AxisMap {
 public:
  AxisMap() = default;
  // Spreads [low, high] from `start` over `pixels`; `upward` flips the
  // direction (Y grows upwards on screen).
  AxisMap(double low, double high, int start, int pixels, bool upward, int fixed);

  double to_real(double v) const { return degenerate_ ? fixed_ : origin_ + (v - low_) * factor_; }
  int to_px(double v) const { return to_pixel(to_real(v)); }
  double to_data(double px) const;
  // +1 when larger values land on larger pixels, -1 when on smaller ones,
  // 0 when every value lands on the same pixel.
  int direction() const;

 private:
  double low_ = 0;
  double origin_ = 0;
  double factor_ = 0;
  double fixed_ = 0;
  bool degenerate_ = true;
};

struct LayerMap {
  AxisMap x;
  AxisMap y;
  PixelPoint to_px(double dx, double dy) const { return {x.to_px(dx), y.to_px(dy)}; }
};

LayerMap make_layer_map(const ChartGeometry& g, double x_low, double x_high, double y_low, double y_high);

}  // namespace kv::chart
