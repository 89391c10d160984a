#pragma once
// The chart operations plot building needs, so the building can be worked
// out without a window. The plot window hands over its chart through this.
#include <cstdint>

#include "analysis/plot_state.h"
#include "chart/chart_types.h"

namespace kv::analysis {

// Adds a draw-to (or a mark) at (x[i] - x_offset, factor * y[i]) for every
// element of the two runs, which have the same length.
template <class Chart>
void add_samples(Chart& chart, const double* x, const double* y, long count, double x_offset, double factor,
                 bool marks) {
  if (marks) {
    for (long i = 0; i < count; ++i) chart.AddMark(x[i] - x_offset, factor * y[i], 0);
  } else {
    for (long i = 0; i < count; ++i) chart.AddDrawTo(x[i] - x_offset, factor * y[i]);
  }
}

class ChartPort {
 public:
  virtual ~ChartPort() = default;

  virtual int ActiveLayer() const = 0;
  virtual void SetActiveLayer(int layer) = 0;
  virtual void SetDataColor(chart::TColor color) = 0;
  virtual void SetPenStyle(chart::TPenStyle style) = 0;
  virtual void AddMoveTo(double x, double y) = 0;
  virtual void AddDrawTo(double x, double y) = 0;
  virtual void AddMark(double x, double y, std::uint8_t mark_type) = 0;
  // A run of samples in one call (a chart may add them without a call each).
  virtual void AddSamples(const double* x, const double* y, long count, double x_offset, double factor, bool marks) {
    add_samples(*this, x, y, count, x_offset, factor, marks);
  }
  virtual void ClearItems() = 0;
  virtual void Redisplay() = 0;
  virtual void AutoRangeLayer(int layer, double margin) = 0;
  virtual void SetLayerRange(int layer, double x_low, double y_low, double x_high, double y_high) = 0;
  // The extent of the layer's points strictly inside `window`.
  virtual LayerRange GetLayerExtent(int layer, const LayerRange& window) const = 0;
  // RangeLow and RangeHigh of the layer's X and Y scales.
  virtual LayerRange layer_range(int layer) const = 0;
};

}  // namespace kv::analysis
