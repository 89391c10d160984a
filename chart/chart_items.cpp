#include "chart/chart_items.h"

#include <sys/mman.h>

#include <algorithm>
#include <cmath>
#include <cstdlib>
#include <cstring>
#include <limits>
#include <new>

namespace kv::chart {

void ItemStore::set_alloc_size(int n) {
  if (n >= kMinAllocSize && n <= kMaxAllocSize) alloc_size_ = n;
}

namespace {

constexpr std::size_t kHugePage = 2u << 20;

#if !defined(MAP_ANONYMOUS) && defined(MAP_ANON)
#define MAP_ANONYMOUS MAP_ANON
#endif

// Growing a mapping in place (or by moving its pages) is a Linux call; other
// systems map the larger size and copy. KV_ITEM_BUFFER_PORTABLE forces the
// copying way, so that it stays built and tested here too.
#if defined(MREMAP_MAYMOVE) && !defined(KV_ITEM_BUFFER_PORTABLE)
#define KV_ITEM_BUFFER_REMAPS 1
constexpr bool kRemapsInPlace = true;
#else
constexpr bool kRemapsInPlace = false;
#endif

void* map_pages(std::size_t bytes) {
  void* p = ::mmap(nullptr, bytes, PROT_READ | PROT_WRITE, MAP_PRIVATE | MAP_ANONYMOUS, -1, 0);
  if (p == MAP_FAILED) throw std::bad_alloc();
#ifdef MADV_HUGEPAGE
  ::madvise(p, bytes, MADV_HUGEPAGE);
#endif
  return p;
}

// The mapping `p` of `old_bytes` grown to `new_bytes`, keeping its first
// `used` bytes; `p` is gone afterwards unless this throws.
void* grow_mapping(void* p, std::size_t old_bytes, std::size_t new_bytes, std::size_t used) {
#ifdef KV_ITEM_BUFFER_REMAPS
  (void)used;
  void* q = ::mremap(p, old_bytes, new_bytes, MREMAP_MAYMOVE);
  if (q == MAP_FAILED) throw std::bad_alloc();
  return q;
#else
  void* q = map_pages(new_bytes);
  if (used > 0) std::memcpy(q, p, used);
  ::munmap(p, old_bytes);
  return q;
#endif
}

}  // namespace

bool ItemBuffer::remaps_in_place() { return kRemapsInPlace; }

ItemBuffer::~ItemBuffer() {
  if (mapped_)
    ::munmap(p_, bytes_);
  else
    std::free(p_);
}

void ItemBuffer::resize(std::size_t bytes, std::size_t used) {
  if (!mapped_ && bytes < kHugePage) {
    void* p = std::realloc(p_, bytes);
    if (p == nullptr) throw std::bad_alloc();
    p_ = p;
    bytes_ = bytes;
    return;
  }
  const std::size_t mapped = (bytes + kHugePage - 1) / kHugePage * kHugePage;
  if (mapped_) {
    if (mapped <= bytes_) return;
    p_ = grow_mapping(p_, bytes_, mapped, used);
    bytes_ = mapped;
    return;
  }
  void* p = map_pages(mapped);
  if (used > 0) std::memcpy(p, p_, used);
  std::free(p_);
  p_ = p;
  bytes_ = mapped;
  mapped_ = true;
}

void ItemStore::grow() {
  // Whole AllocSize steps, but at least half the current size more, so that
  // a million items do not mean a thousand reallocations.
  const std::size_t step = static_cast<std::size_t>(alloc_size_);
  std::size_t wanted = std::max(capacity_ + step, capacity_ + capacity_ / 2);
  wanted = (wanted + step - 1) / step * step;
  data_.resize(wanted * sizeof(ChartItem), size_ * sizeof(ChartItem));
  capacity_ = wanted;
}

std::uint32_t ItemStore::style_id(const ItemStyle& style) {
  const auto it = std::find(styles_.begin(), styles_.end(), style);
  if (it != styles_.end()) return static_cast<std::uint32_t>(it - styles_.begin());
  styles_.push_back(style);
  return static_cast<std::uint32_t>(styles_.size() - 1);
}

namespace {

struct Bounds {
  double x_low = std::numeric_limits<double>::infinity();
  double y_low = std::numeric_limits<double>::infinity();
  double x_high = -std::numeric_limits<double>::infinity();
  double y_high = -std::numeric_limits<double>::infinity();
  bool any = false;

  // A coordinate that is not a finite number (a channel divided by zero)
  // would make the range infinite or NaN and blank the layer: it widens
  // nothing, while the other coordinate of the item still counts.
  void include(double x, double y) {
    if (std::isfinite(x)) {
      x_low = std::min(x_low, x);
      x_high = std::max(x_high, x);
    }
    if (std::isfinite(y)) {
      y_low = std::min(y_low, y);
      y_high = std::max(y_high, y);
    }
    any = true;
  }
};

void widen_axis(double& low, double& high, double margin_percent) {
  const double extra = (high - low) * margin_percent / 100.0;
  // Near the ends of the double range the margin would overflow: the
  // items' own extent is all that can be shown then.
  if (std::isfinite(low - extra) && std::isfinite(high + extra)) {
    low -= extra;
    high += extra;
  }
  if (low == high) {
    low -= 1;
    high += 1;
  }
}

}  // namespace

DataBox auto_range_box(std::span<const ChartItem> items, int layer, double margin_percent) {
  Bounds b;
  for (const ChartItem& item : items)
    if (item.layer == layer) b.include(item.x, item.y);
  DataBox box{0, 0, 0, 0};
  if (b.any) {
    // An axis without a finite coordinate keeps 0..0.
    if (b.x_low <= b.x_high) box.x_low = b.x_low, box.x_high = b.x_high;
    if (b.y_low <= b.y_high) box.y_low = b.y_low, box.y_high = b.y_high;
  }
  widen_axis(box.x_low, box.x_high, margin_percent);
  widen_axis(box.y_low, box.y_high, margin_percent);
  return box;
}

DataBox layer_extent(std::span<const ChartItem> items, int layer, const DataBox& w) {
  DataBox out{kExtentStart, kExtentStart, -kExtentStart, -kExtentStart};
  for (const ChartItem& item : items) {
    if (layer != 0 && item.layer != layer) continue;
    if (!(w.x_low < item.x && item.x < w.x_high && w.y_low < item.y && item.y < w.y_high)) continue;
    out.x_low = std::min(out.x_low, item.x);
    out.x_high = std::max(out.x_high, item.x);
    out.y_low = std::min(out.y_low, item.y);
    out.y_high = std::max(out.y_high, item.y);
  }
  return out;
}

void widen_equal_ends(double& low, double& high, double min_range) {
  if (low != high) return;
  low -= min_range / 2;
  high += min_range / 2;
}

}  // namespace kv::chart
