#include "chart/chart_mouse.h"

#include <algorithm>

namespace kv::chart {

AxisRange pan_axis(AxisRange recorded, int delta_px, int pixels, bool upward) {
  if (pixels <= 0) return recorded;
  const double shift = (recorded.high - recorded.low) * delta_px / pixels;
  const double signed_shift = upward ? shift : -shift;
  return {recorded.low + signed_shift, recorded.high + signed_shift};
}

AxisRange clamp_keep_span(AxisRange r, double limit_low, double limit_high) {
  const double lo = std::min(r.low, r.high);
  const double hi = std::max(r.low, r.high);
  double shift = 0;
  if (hi > limit_high) shift = limit_high - hi;
  if (lo + shift < limit_low) shift = limit_low - lo;
  return {r.low + shift, r.high + shift};
}

AxisRange clamp_ends(AxisRange r, double limit_low, double limit_high) {
  auto clamp = [&](double v) { return std::clamp(v, limit_low, std::max(limit_low, limit_high)); };
  return {clamp(r.low), clamp(r.high)};
}

AxisRange zoom_axis(AxisRange recorded, double factor) {
  const double centre = (recorded.low + recorded.high) / 2;
  const double half = (recorded.high - recorded.low) * factor / 2;
  return {centre - half, centre + half};
}

double drag_zoom_factor_x(int delta_px, int control_width) {
  return control_width > 0 ? 1.0 - static_cast<double>(delta_px) / control_width : 1.0;
}

double drag_zoom_factor_y(int delta_py, int control_height) {
  return control_height > 0 ? 1.0 + static_cast<double>(delta_py) / control_height : 1.0;
}

AxisRange band_axis(double start, double end, AxisRange previous, bool keep_direction) {
  if (!keep_direction) return {start, end};
  const bool ascending = previous.low <= previous.high;
  const double lo = std::min(start, end);
  const double hi = std::max(start, end);
  return ascending ? AxisRange{lo, hi} : AxisRange{hi, lo};
}

bool pans_x(TMouseActMode m) { return m == TMouseActMode::maPan || m == TMouseActMode::maPanHoriz; }
bool pans_y(TMouseActMode m) { return m == TMouseActMode::maPan || m == TMouseActMode::maPanVert; }
bool is_pan_mode(TMouseActMode m) { return pans_x(m) || pans_y(m); }
bool is_zoom_window_mode(TMouseActMode m) {
  return m == TMouseActMode::maZoomWind || m == TMouseActMode::maZoomWindPos;
}

PointerShape pointer_shape(TMouseActMode mode, bool in_chart) {
  if (!in_chart) return PointerShape::Arrow;
  switch (mode) {
    case TMouseActMode::maNone: return PointerShape::Cross;
    case TMouseActMode::maPan:
    case TMouseActMode::maPanHoriz:
    case TMouseActMode::maPanVert: return PointerShape::Hand;
    case TMouseActMode::maZoomWind: return PointerShape::ZoomWindow;
    case TMouseActMode::maZoomWindPos: return PointerShape::ZoomWindowOrdered;
    case TMouseActMode::maZoomDrag: return PointerShape::ZoomDrag;
    default: return PointerShape::Arrow;
  }
}

}  // namespace kv::chart
