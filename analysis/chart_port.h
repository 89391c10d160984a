#pragma once
// The chart operations plot building needs, so the building can be worked
// out without a window. The plot window hands over its chart through this.
#include <cstdint>

#include "analysis/plot_state.h"
#include "chart/chart_types.h"

namespace kv::analysis {

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
