#include "chart/chart_items.h"

#include <sys/mman.h>

#include <algorithm>
#include <cstddef>
#include <cmath>
#include <cstdlib>
#include <cstring>
#include <limits>
#include <new>

#if defined(__SSE2__)
#include <emmintrin.h>
#endif

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

void ItemStore::reserve(std::size_t wanted) {
  if (wanted <= capacity_) return;
  // Runs count their items in 32 bits.
  if (wanted > std::numeric_limits<std::uint32_t>::max()) throw std::bad_alloc();
  // Whole AllocSize steps, but at least half the current size more, so that
  // a million items do not mean a thousand reallocations.
  const std::size_t step = static_cast<std::size_t>(alloc_size_);
  std::size_t grown = std::max({wanted, capacity_ + step, capacity_ + capacity_ / 2});
  grown = (grown + step - 1) / step * step;
  data_.resize(grown * sizeof(ItemPoint), size_ * sizeof(ItemPoint));
  capacity_ = grown;
}

void ItemStore::add_samples(const ChartItem& head, const double* x, const double* y, std::size_t count,
                            double x_offset, double factor) {
  if (count == 0) return;
  reserve(size_ + count);
  join_run(head);
  ItemPoint* out = data_.data() + size_;
  for (std::size_t i = 0; i < count; ++i) out[i] = {x[i] - x_offset, factor * y[i]};
  size_ += count;
}

ChartItem ItemStore::operator[](std::size_t i) const {
  // The last run that begins at or before i.
  const auto after = std::upper_bound(runs_.begin(), runs_.end(), i,
                                      [](std::size_t index, const ItemRun& r) { return index < r.begin; });
  const ItemRun& r = *(after - 1);
  const ItemPoint p = data_.data()[i];
  return {p.x, p.y, r.style, r.kind, r.layer, r.mark_type};
}

void ItemStore::reset_styles(const ItemStyle& keep) {
  styles_.assign(1, keep);
  last_key_ = kNoRun;
}

ChartItem ItemView::Iterator::operator*() const {
  const ItemRun& r = store_->runs()[run_];
  const ItemPoint p = store_->points()[index_];
  return {p.x, p.y, r.style, r.kind, r.layer, r.mark_type};
}

ItemView::Iterator& ItemView::Iterator::operator++() {
  ++index_;
  if (index_ == store_->run_end(run_)) ++run_;
  return *this;
}

ItemView::Iterator ItemView::begin() const { return {store_, 0, 0}; }
ItemView::Iterator ItemView::end() const { return {store_, store_->size(), store_->runs().size()}; }
std::size_t ItemView::size() const { return store_->size(); }
ChartItem ItemView::operator[](std::size_t i) const { return (*store_)[i]; }

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

// Joins the bounds of points[0 .. n) into `b` when every coordinate is a
// finite number and returns whether it did; a run with an infinite or NaN
// coordinate is left for the careful way. X and Y go side by side in one
// register, two points at a time.
bool include_finite_run(Bounds& b, const ItemPoint* points, std::size_t n) {
  if (n == 0) return true;
#if defined(__SSE2__)
  static_assert(offsetof(ItemPoint, y) == offsetof(ItemPoint, x) + sizeof(double));
  const __m128d first = _mm_loadu_pd(&points[0].x);
  __m128d lo0 = first, lo1 = first, hi0 = first, hi1 = first;
  // p - p is 0 for a finite number and NaN for an infinite or NaN one.
  __m128d finite = _mm_cmpord_pd(_mm_setzero_pd(), _mm_setzero_pd());
  auto take = [&finite](__m128d p, __m128d& lo, __m128d& hi) {
    const __m128d zero_or_nan = _mm_sub_pd(p, p);
    finite = _mm_and_pd(finite, _mm_cmpord_pd(zero_or_nan, zero_or_nan));
    lo = _mm_min_pd(p, lo);
    hi = _mm_max_pd(p, hi);
  };
  std::size_t i = 0;
  for (; i + 1 < n; i += 2) {
    take(_mm_loadu_pd(&points[i].x), lo0, hi0);
    take(_mm_loadu_pd(&points[i + 1].x), lo1, hi1);
  }
  if (i < n) take(_mm_loadu_pd(&points[i].x), lo0, hi0);
  double low[2], high[2];
  _mm_storeu_pd(low, _mm_min_pd(lo0, lo1));
  _mm_storeu_pd(high, _mm_max_pd(hi0, hi1));
  if (_mm_movemask_pd(finite) != 3) return false;
  b.include(low[0], low[1]);
  b.include(high[0], high[1]);
  return true;
#else
  (void)b;
  (void)points;
  return false;
#endif
}

// Every point of the layer's runs (layer 0: of every run).
template <class Visit>
void for_each_point(const ItemStore& store, int layer, const Visit& visit) {
  const auto runs = store.runs();
  for (std::size_t r = 0; r < runs.size(); ++r) {
    if (layer != 0 && runs[r].layer != layer) continue;
    const ItemPoint* p = store.points();
    for (std::size_t i = runs[r].begin, end = store.run_end(r); i < end; ++i) visit(p[i]);
  }
}

}  // namespace

DataBox auto_range_box(const ItemView& items, int layer, double margin_percent) {
  Bounds b;
  const ItemStore& store = items.store();
  for (std::size_t r = 0; r < store.runs().size(); ++r) {
    if (store.runs()[r].layer != layer) continue;
    const std::size_t begin = store.runs()[r].begin;
    const std::size_t end = store.run_end(r);
    if (!include_finite_run(b, store.points() + begin, end - begin))
      for (std::size_t i = begin; i < end; ++i) b.include(store.points()[i].x, store.points()[i].y);
  }
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

DataBox layer_extent(const ItemView& items, int layer, const DataBox& w) {
  DataBox out{kExtentStart, kExtentStart, -kExtentStart, -kExtentStart};
  for_each_point(items.store(), layer, [&out, &w](const ItemPoint& p) {
    if (!(w.x_low < p.x && p.x < w.x_high && w.y_low < p.y && p.y < w.y_high)) return;
    out.x_low = std::min(out.x_low, p.x);
    out.x_high = std::max(out.x_high, p.x);
    out.y_low = std::min(out.y_low, p.y);
    out.y_high = std::max(out.y_high, p.y);
  });
  return out;
}

void widen_equal_ends(double& low, double& high, double min_range) {
  if (low != high) return;
  low -= min_range / 2;
  high += min_range / 2;
}

}  // namespace kv::chart
