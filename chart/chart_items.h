#pragma once
// The display list. Items come in long stretches of one kind, style and
// layer (a curve is a move-to and thousands of draw-tos), so the list keeps
// only each item's point, 16 bytes, in one contiguous array, and the rest
// once per stretch in a run table.
#include <cstddef>
#include <cstdint>
#include <iterator>
#include <limits>
#include <span>
#include <vector>

#include "chart/chart_types.h"
#include "chart/minmax_pyramid.h"

namespace kv::chart {

enum class ItemKind : std::uint8_t { MoveTo, DrawTo, Mark };

struct ItemStyle {
  TColor color = clBlack;
  TPenStyle pen = TPenStyle::psSolid;
  int width = 1;
  int class_id = 0;
  friend bool operator==(const ItemStyle&, const ItemStyle&) = default;
};

// One item as the chart's callers see it.
struct ChartItem {
  double x;
  double y;
  std::uint32_t style;  // index into the style table
  ItemKind kind;
  std::uint8_t layer;  // 1..16
  std::uint8_t mark_type;
};

// Consecutive items alike in all but their point: items begin .. the next
// run's begin (or the end of the list).
struct ItemRun {
  std::uint32_t begin;
  std::uint32_t style;
  ItemKind kind;
  std::uint8_t layer;
  std::uint8_t mark_type;
};

// The bounds of a block of consecutive points. Exact only while every point
// of the block came from a whole-curve add and every coordinate is a finite
// number; otherwise whoever needs the bounds reads the points themselves.
struct PointBox {
  double x_low;
  double y_low;
  double x_high;
  double y_high;
  bool exact;
};

inline constexpr int kMinAllocSize = 1;
inline constexpr int kMaxAllocSize = 1'000'000;

// Raw memory for the points. Large lists live in their own mapping with huge
// pages: a million items then cost a few dozen page faults instead of
// thousands. Where the system can remap pages, growing copies nothing.
class ItemBuffer {
 public:
  ItemBuffer() = default;
  ~ItemBuffer();
  ItemBuffer(const ItemBuffer&) = delete;
  ItemBuffer& operator=(const ItemBuffer&) = delete;

  ItemPoint* data() const { return static_cast<ItemPoint*>(p_); }
  // Keeps the first `used` bytes; throws std::bad_alloc.
  void resize(std::size_t bytes, std::size_t used);
  // Whether this build grows a mapping without copying it.
  static bool remaps_in_place();

 private:
  void* p_ = nullptr;
  std::size_t bytes_ = 0;
  bool mapped_ = false;
};

class ItemStore;

// The items in list order, each put together from its point and its run.
class ItemView {
 public:
  class Iterator {
   public:
    using iterator_category = std::forward_iterator_tag;
    using value_type = ChartItem;
    using difference_type = std::ptrdiff_t;
    using pointer = void;
    using reference = ChartItem;

    Iterator() = default;
    Iterator(const ItemStore* store, std::size_t index, std::size_t run) : store_(store), index_(index), run_(run) {}
    ChartItem operator*() const;
    Iterator& operator++();
    Iterator operator++(int) {
      Iterator before = *this;
      ++*this;
      return before;
    }
    friend bool operator==(const Iterator& a, const Iterator& b) { return a.index_ == b.index_; }

   private:
    const ItemStore* store_ = nullptr;
    std::size_t index_ = 0;
    std::size_t run_ = 0;
  };

  explicit ItemView(const ItemStore& store) : store_(&store) {}
  Iterator begin() const;
  Iterator end() const;
  std::size_t size() const;
  bool empty() const { return size() == 0; }
  ChartItem operator[](std::size_t i) const;
  ChartItem front() const { return (*this)[0]; }
  ChartItem back() const { return (*this)[size() - 1]; }
  const ItemStore& store() const { return *store_; }

 private:
  const ItemStore* store_;
};

class ItemStore {
 public:
  ItemStore() = default;

  void add(const ChartItem& item) {
    if (size_ == capacity_) reserve(size_ + 1);
    join_run(item);
    box_for(size_).exact = false;
    data_.data()[size_++] = {item.x, item.y};
  }
  // `count` items like `head` at (x[i] - x_offset, factor * y[i]): a whole
  // curve in one call, with the values add() would give. A curve of
  // draw-tos that begins a run has its summary made on the way (curves()).
  void add_samples(const ChartItem& head, const double* x, const double* y, std::size_t count, double x_offset,
                   double factor);
  // Keeps the memory: the plot window clears and refills on every re-plot.
  void clear() {
    size_ = 0;
    runs_.clear();
    boxes_.clear();
    curve_count_ = 0;
    last_key_ = kNoRun;
    ++generation_;
  }
  std::size_t size() const { return size_; }
  std::size_t capacity() const { return capacity_; }
  ItemView items() const { return ItemView(*this); }
  ChartItem operator[](std::size_t i) const;

  const ItemPoint* points() const { return data_.data(); }
  std::span<const ItemRun> runs() const { return runs_; }
  std::size_t run_end(std::size_t run) const { return run + 1 < runs_.size() ? runs_[run + 1].begin : size_; }
  // Points 0 .. kBoxPoints - 1 are summed up in box 0, and so on: auto
  // range and extent read a box instead of its points where they can.
  static constexpr std::size_t kBoxPoints = 1024;
  std::span<const PointBox> boxes() const { return boxes_; }
  // The summaries made by add_samples(), in list order. A run's drawing may
  // use one only while the run is exactly that curve: items added to the
  // run since are in no summary.
  std::span<const RunSummary> curves() const { return {curves_.data(), curve_count_}; }
  // The index in curves() of the curve of points begin .. end - 1, or -1.
  int curve_summary(std::size_t begin, std::size_t end) const;
  // What the curves' summaries hold on to.
  std::size_t summary_bytes() const;
  // Changes at every clear(), so that whoever summed up the items knows.
  std::uint64_t generation() const { return generation_; }

  int alloc_size() const { return alloc_size_; }
  // Values outside 1..1 000 000 are ignored.
  void set_alloc_size(int n);

  // The index of `style` in the table, added when new.
  std::uint32_t style_id(const ItemStyle& style);
  const ItemStyle& style(std::uint32_t id) const { return styles_[id]; }
  // Forgets every style but `keep`, which becomes style 0. Only while the
  // list is empty: no item may name a style that goes.
  void reset_styles(const ItemStyle& keep);

 private:
  static constexpr std::uint64_t kNoRun = ~std::uint64_t{0};
  static std::uint64_t run_key(const ChartItem& item) {
    return std::uint64_t{item.style} | std::uint64_t{static_cast<std::uint8_t>(item.kind)} << 32 |
           std::uint64_t{item.layer} << 40 | std::uint64_t{item.mark_type} << 48;
  }
  void join_run(const ChartItem& item) {
    const std::uint64_t key = run_key(item);
    if (key == last_key_) return;
    runs_.push_back({static_cast<std::uint32_t>(size_), item.style, item.kind, item.layer, item.mark_type});
    last_key_ = key;
  }
  // Room for `wanted` items, grown by the rule of AllocSize steps.
  void reserve(std::size_t wanted);
  // The box point `index` (at most one past the last box) belongs to.
  PointBox& box_for(std::size_t index) {
    if (index / kBoxPoints == boxes_.size()) boxes_.push_back(kEmptyBox);
    return boxes_[index / kBoxPoints];
  }
  static constexpr double kInf = std::numeric_limits<double>::infinity();
  static constexpr PointBox kEmptyBox{kInf, kInf, -kInf, -kInf, true};

  ItemBuffer data_;
  std::size_t size_ = 0;
  std::size_t capacity_ = 0;
  int alloc_size_ = 1000;
  std::vector<ItemRun> runs_;
  std::vector<PointBox> boxes_;
  // Only grows, so that a re-plot of as many items rebuilds them in place.
  std::vector<RunSummary> curves_;
  std::size_t curve_count_ = 0;
  std::uint64_t last_key_ = kNoRun;
  std::uint64_t generation_ = 0;
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
DataBox auto_range_box(const ItemView& items, int layer, double margin_percent);

inline constexpr double kExtentStart = 1e300;

// Bounds of the points strictly inside `window` (layer 0: every layer);
// +-kExtentStart when no point qualifies.
DataBox layer_extent(const ItemView& items, int layer, const DataBox& window);

// SetLayerRange's rule for an axis whose ends are equal.
void widen_equal_ends(double& low, double& high, double min_range);

}  // namespace kv::chart
