#pragma once
// The plot window's chart behind the port plot building draws through.
#include "analysis/chart_port.h"
#include "chart/plotchart.h"

namespace kv::analysis {

class PlotChartPort final : public ChartPort {
 public:
  explicit PlotChartPort(chart::TPlotChart& chart) : chart_(chart) {}

  int ActiveLayer() const override { return chart_.ActiveLayer(); }
  void SetActiveLayer(int layer) override { chart_.SetActiveLayer(layer); }
  void SetDataColor(chart::TColor color) override { chart_.SetDataColor(color); }
  void SetPenStyle(chart::TPenStyle style) override { chart_.SetPenStyle(style); }
  void AddMoveTo(double x, double y) override { chart_.AddMoveTo(x, y); }
  void AddDrawTo(double x, double y) override { chart_.AddDrawTo(x, y); }
  void AddMark(double x, double y, std::uint8_t mark_type) override { chart_.AddMark(x, y, mark_type); }
  void AddSamples(const double* x, const double* y, long count, double x_offset, double factor,
                  bool marks) override {
    if (count > 0) chart_.AddSamples(x, y, static_cast<std::size_t>(count), x_offset, factor, marks);
  }
  void ClearItems() override { chart_.ClearItems(); }
  void Redisplay() override { chart_.Redisplay(); }
  void AutoRangeLayer(int layer, double margin) override { chart_.AutoRangeLayer(layer, margin); }
  void SetLayerRange(int layer, double x_low, double y_low, double x_high, double y_high) override {
    chart_.SetLayerRange(layer, x_low, y_low, x_high, y_high);
  }
  LayerRange GetLayerExtent(int layer, const LayerRange& window) const override {
    LayerRange r = window;
    chart_.GetLayerExtent(layer, r.x_low, r.y_low, r.x_high, r.y_high);
    return r;
  }
  LayerRange layer_range(int layer) const override {
    auto& x = chart_.ScaleX(layer);
    auto& y = chart_.ScaleY(layer);
    return {x.RangeLow(), y.RangeLow(), x.RangeHigh(), y.RangeHigh()};
  }

 private:
  chart::TPlotChart& chart_;
};

}  // namespace kv::analysis
