#pragma once
// A chart without a window for plot-building tests: it keeps the items and
// ranges with the chart's own item rules (autorange, extent, equal ends).
#include <array>

#include "analysis/chart_port.h"
#include "chart/chart_items.h"

namespace kv::analysis::test {

class FakeChart final : public ChartPort {
 public:
  int ActiveLayer() const override { return active_; }
  void SetActiveLayer(int layer) override {
    if (layer >= 1 && layer <= chart::kLayerCount) active_ = layer;
  }
  void SetDataColor(chart::TColor color) override { style_.color = color; }
  void SetPenStyle(chart::TPenStyle style) override { style_.pen = style; }
  void AddMoveTo(double x, double y) override { add(chart::ItemKind::MoveTo, x, y); }
  void AddDrawTo(double x, double y) override { add(chart::ItemKind::DrawTo, x, y); }
  void AddMark(double x, double y, std::uint8_t) override { add(chart::ItemKind::Mark, x, y); }
  void ClearItems() override { items_.clear(); }
  void Redisplay() override { ++redisplays; }
  void AutoRangeLayer(int layer, double margin) override {
    const chart::DataBox b = chart::auto_range_box(items_.items(), layer, margin);
    SetLayerRange(layer, b.x_low, b.y_low, b.x_high, b.y_high);
  }
  void SetLayerRange(int layer, double x_low, double y_low, double x_high, double y_high) override {
    chart::widen_equal_ends(x_low, x_high, kMinRange);
    chart::widen_equal_ends(y_low, y_high, kMinRange);
    ranges_[static_cast<std::size_t>(layer - 1)] = {x_low, y_low, x_high, y_high};
  }
  LayerRange GetLayerExtent(int layer, const LayerRange& w) const override {
    const chart::DataBox b = chart::layer_extent(items_.items(), layer, {w.x_low, w.y_low, w.x_high, w.y_high});
    return {b.x_low, b.y_low, b.x_high, b.y_high};
  }
  LayerRange layer_range(int layer) const override { return ranges_[static_cast<std::size_t>(layer - 1)]; }

  const chart::ItemStore& items() const { return items_; }
  const chart::ItemStyle& style_of(const chart::ChartItem& item) const { return items_.style(item.style); }
  int redisplays = 0;

 private:
  static constexpr double kMinRange = 1e-10;
  void add(chart::ItemKind kind, double x, double y) {
    items_.add({x, y, items_.style_id(style_), kind, static_cast<std::uint8_t>(active_), 0});
  }
  int active_ = 1;
  chart::ItemStyle style_;
  chart::ItemStore items_;
  std::array<LayerRange, chart::kLayerCount> ranges_{};
};

}  // namespace kv::analysis::test
