#include "chart/item_walk.h"

#include <vector>

namespace kv::chart {
namespace {

class Walker {
 public:
  Walker(const ItemStore& store, ItemSink& sink) : store_(store), sink_(sink) { batch_.reserve(kPolylineMaxPoints); }

  void move_to(PixelPoint p) {
    flush();
    pen_ = p;
  }
  void draw_to(PixelPoint p, std::uint32_t style) {
    if (!batch_.empty() && style != style_) flush();
    if (batch_.empty()) {
      batch_.push_back(pen_);
      style_ = style;
    }
    batch_.push_back(p);
    pen_ = p;
    if (static_cast<int>(batch_.size()) == kPolylineMaxPoints) flush();
  }
  void mark(PixelPoint p, std::uint32_t style, int type) {
    flush();
    const ItemStyle& s = store_.style(style);
    if (s.pen != TPenStyle::psClear) sink_.mark(p, s, type);
  }
  void flush() {
    if (batch_.size() >= 2) {
      const ItemStyle& s = store_.style(style_);
      if (s.pen != TPenStyle::psClear) sink_.polyline(batch_, s);
    }
    batch_.clear();
  }

 private:
  const ItemStore& store_;
  ItemSink& sink_;
  std::vector<PixelPoint> batch_;
  std::uint32_t style_ = 0;
  PixelPoint pen_ = kPenStart;
};

}  // namespace

void walk_items(const ItemStore& store, const std::array<LayerMap, kLayerCount>& maps,
                const std::array<bool, kLayerCount>& visible, ItemSink& sink) {
  Walker w(store, sink);
  const auto runs = store.runs();
  const ItemPoint* points = store.points();
  for (std::size_t r = 0; r < runs.size(); ++r) {
    const ItemRun& run = runs[r];
    const int k = run.layer - 1;
    if (k < 0 || k >= kLayerCount || !visible[k]) continue;
    const LayerMap& m = maps[k];
    for (std::size_t i = run.begin, end = store.run_end(r); i < end; ++i) {
      const PixelPoint p = m.to_px(points[i].x, points[i].y);
      switch (run.kind) {
        case ItemKind::MoveTo: w.move_to(p); break;
        case ItemKind::DrawTo: w.draw_to(p, run.style); break;
        case ItemKind::Mark: w.mark(p, run.style, run.mark_type); break;
      }
    }
  }
  w.flush();
}

}  // namespace kv::chart
