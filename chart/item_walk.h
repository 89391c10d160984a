#pragma once
// The display list drawn item by item: a move-to moves the pen, draw-tos
// are collected into polylines of at most 200 points (flushed early on a
// change of colour, pen or width, at a move-to and before a mark), a mark
// sets one pixel. This is the reference picture; the fast renderer must
// match it and the printer is fed from it.
#include <array>
#include <span>

#include "chart/chart_items.h"
#include "chart/chart_mapping.h"

namespace kv::chart {

inline constexpr int kPolylineMaxPoints = 200;

class ItemSink {
 public:
  virtual void polyline(std::span<const PixelPoint> points, const ItemStyle& style) = 0;
  virtual void mark(PixelPoint p, const ItemStyle& style, int mark_type) = 0;

 protected:
  ~ItemSink() = default;
};

// maps[k] and visible[k] belong to layer k + 1. Items drawn with psClear
// move the pen but reach no sink.
void walk_items(const ItemStore& store, const std::array<LayerMap, kLayerCount>& maps, const std::array<bool, kLayerCount>& visible,
                ItemSink& sink);

// Where the pen stands before the first item.
inline constexpr PixelPoint kPenStart{0, 0};

}  // namespace kv::chart
