#pragma once
// What dragging does to a layer's ranges: pan, zoom by dragging, zoom to a
// rubber band, and the range limits that panning and drag-zooming respect.
#include "chart/chart_types.h"

namespace kv::chart {

struct AxisRange {
  double low = 0;
  double high = 1;
  friend bool operator==(const AxisRange&, const AxisRange&) = default;
};

struct RangeLimits {
  double x_low = 0;
  double y_low = 0;
  double x_high = 0;
  double y_high = 0;
  // All four zero: no limits.
  bool active() const { return x_low != 0 || y_low != 0 || x_high != 0 || y_high != 0; }
};

// The range after the pointer moved `delta_px` pixels along an axis of
// `pixels` pixels, so that the content follows the pointer; `upward` for Y,
// whose pixels grow downwards.
AxisRange pan_axis(AxisRange recorded, int delta_px, int pixels, bool upward);

// Moves the range back inside the limits without changing its span (the low
// limit wins when the span is wider than the limits).
AxisRange clamp_keep_span(AxisRange r, double limit_low, double limit_high);

// Sets an end that passes a limit to the limit.
AxisRange clamp_ends(AxisRange r, double limit_low, double limit_high);

// The recorded range about its centre, its span times `factor`.
AxisRange zoom_axis(AxisRange recorded, double factor);

// Zoom by dragging: right narrows X, down widens Y.
double drag_zoom_factor_x(int delta_px, int control_width);
double drag_zoom_factor_y(int delta_py, int control_height);

// The data range under a rubber band edge pair; with `keep_direction` the
// ends are ordered like the previous range, otherwise taken as dragged.
AxisRange band_axis(double start, double end, AxisRange previous, bool keep_direction);

enum class PointerShape { Arrow, Cross, Hand, ZoomWindow, ZoomWindowOrdered, ZoomDrag };

PointerShape pointer_shape(TMouseActMode mode, bool in_chart);

bool is_pan_mode(TMouseActMode mode);
bool pans_x(TMouseActMode mode);
bool pans_y(TMouseActMode mode);
bool is_zoom_window_mode(TMouseActMode mode);

}  // namespace kv::chart
