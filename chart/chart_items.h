#pragma once
// The display list: one contiguous array of small items. Colour, pen and
// width repeat over thousands of items, so each item names an entry of a
// style table instead of carrying them.
#include <cstddef>
#include <cstdint>
#include <span>
#include <vector>

#include "chart/chart_types.h"

namespace kv::chart {

enum class ItemKind : std::uint8_t { MoveTo, DrawTo, Mark };

struct ItemStyle {
  TColor color = clBlack;
  TPenStyle pen = TPenStyle::psSolid;
  int width = 1;
  int class_id = 0;
  friend bool operator==(const ItemStyle&, const ItemStyle&) = default;
};

struct ChartItem {
  double x;
  double y;
  std::uint32_t style;  // index into the style table
  ItemKind kind;
  std::uint8_t layer;  // 1..16
  std::uint8_t mark_type;
};
static_assert(sizeof(ChartItem) == 24);

inline constexpr int kMinAllocSize = 1;
inline constexpr int kMaxAllocSize = 1'000'000;

// Raw memory for the items. Large lists live in their own mapping with huge
// pages: a million items then cost a few dozen page faults instead of
// thousands. Where the system can remap pages, growing copies nothing.
class ItemBuffer {
 public:
  ItemBuffer() = default;
  ~ItemBuffer();
  ItemBuffer(const ItemBuffer&) = delete;
  ItemBuffer& operator=(const ItemBuffer&) = delete;

  ChartItem* data() const { return static_cast<ChartItem*>(p_); }
  // Keeps the first `used` bytes; throws std::bad_alloc.
  void resize(std::size_t bytes, std::size_t used);
  // Whether this build grows a mapping without copying it.
  static bool remaps_in_place();

 private:
  void* p_ = nullptr;
  std::size_t bytes_ = 0;
  bool mapped_ = false;
};

class ItemStore {
 public:
  ItemStore() = default;

  void add(const ChartItem& item) {
    if (size_ == capacity_) grow();
    data_.data()[size_++] = item;
  }
  // Keeps the memory: the plot window clears and refills on every re-plot.
  void clear() { size_ = 0; }
  std::size_t size() const { return size_; }
  std::size_t capacity() const { return capacity_; }
  std::span<const ChartItem> items() const { return {data_.data(), size_}; }
  const ChartItem& operator[](std::size_t i) const { return data_.data()[i]; }

  int alloc_size() const { return alloc_size_; }
  // Values outside 1..1 000 000 are ignored.
  void set_alloc_size(int n);

  // The index of `style` in the table, added when new.
  std::uint32_t style_id(const ItemStyle& style);
  const ItemStyle& style(std::uint32_t id) const { return styles_[id]; }

 private:
  void grow();

  ItemBuffer data_;
  std::size_t size_ = 0;
  std::size_t capacity_ = 0;
  int alloc_size_ = 1000;
  std::vector<ItemStyle> styles_;
};

struct DataBox {
  double x_low;
  double y_low;
  double x_high;
  double y_high;
};

// The layer's range that AutoRangeLayer sets: the items' bounding box
// widened by `margin_percent` of its extent on each side, an axis without
// extent widened by 1 each way (an empty layer gets -1..1). Infinite and
// NaN coordinates are left out.
DataBox auto_range_box(std::span<const ChartItem> items, int layer, double margin_percent);

inline constexpr double kExtentStart = 1e300;

// Bounds of the points strictly inside `window` (layer 0: every layer);
// +-kExtentStart when no point qualifies.
DataBox layer_extent(std::span<const ChartItem> items, int layer, const DataBox& window);

// SetLayerRange's rule for an axis whose ends are equal.
void widen_equal_ends(double& low, double& high, double min_range);

}  // namespace kv::chart
