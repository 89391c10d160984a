#include "chart/chart_mapping.h"

#include <cmath>

namespace kv::chart {

AxisMap::AxisMap(double low, double high, int start, int pixels, bool upward, int fixed)
    : low_(low), fixed_(fixed) {
  const double span = high - low;
  const double factor = pixels > 0 ? pixels / span : 0.0;
  degenerate_ = pixels <= 0 || !std::isfinite(factor) || factor == 0.0;
  if (degenerate_) return;
  factor_ = upward ? -factor : factor;
  origin_ = upward ? start + pixels : start;
}

double AxisMap::to_data(double px) const {
  if (degenerate_) return low_;
  return low_ + (px - origin_) / factor_;
}

int AxisMap::direction() const {
  if (degenerate_) return 0;
  return factor_ > 0 ? 1 : -1;
}

LayerMap make_layer_map(const ChartGeometry& g, double x_low, double x_high, double y_low, double y_high) {
  return {AxisMap(x_low, x_high, g.lrim, g.span_x(), false, g.width / 2),
          AxisMap(y_low, y_high, g.trim, g.span_y(), true, g.height / 2)};
}

}  // namespace kv::chart
