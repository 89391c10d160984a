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

namespace {

void join_box(PointBox& box, double x_low, double y_low, double x_high, double y_high, bool finite) {
  box.x_low = std::min(box.x_low, x_low);
  box.y_low = std::min(box.y_low, y_low);
  box.x_high = std::max(box.x_high, x_high);
  box.y_high = std::max(box.y_high, y_high);
  box.exact = box.exact && finite;
}

// Writes out[i] = (x[i] - x_offset, factor * y[i]) for i < n and joins their
// bounds into `box`: the points are summed up while they pass through anyway.
void copy_points(ItemPoint* out, const double* x, const double* y, std::size_t n, double x_offset, double factor,
                 PointBox& box) {
#if defined(__SSE2__)
  const __m128d offset = _mm_set1_pd(x_offset);
  const __m128d scale = _mm_set1_pd(factor);
  const __m128d inf = _mm_set1_pd(std::numeric_limits<double>::infinity());
  const __m128d minus_inf = _mm_set1_pd(-std::numeric_limits<double>::infinity());
  __m128d x_lo = inf, y_lo = inf, x_hi = minus_inf, y_hi = minus_inf;
  // v - v is 0 for a finite number and NaN for an infinite or NaN one.
  __m128d finite = _mm_cmpord_pd(_mm_setzero_pd(), _mm_setzero_pd());
  auto take = [&](__m128d xs, __m128d ys) {
    finite = _mm_and_pd(finite, _mm_cmpord_pd(_mm_sub_pd(xs, xs), _mm_sub_pd(ys, ys)));
    x_lo = _mm_min_pd(xs, x_lo);
    x_hi = _mm_max_pd(xs, x_hi);
    y_lo = _mm_min_pd(ys, y_lo);
    y_hi = _mm_max_pd(ys, y_hi);
  };
  std::size_t i = 0;
  for (; i + 1 < n; i += 2) {
    const __m128d xs = _mm_sub_pd(_mm_loadu_pd(x + i), offset);
    const __m128d ys = _mm_mul_pd(scale, _mm_loadu_pd(y + i));
    _mm_storeu_pd(&out[i].x, _mm_unpacklo_pd(xs, ys));
    _mm_storeu_pd(&out[i + 1].x, _mm_unpackhi_pd(xs, ys));
    take(xs, ys);
  }
  if (i < n) {
    out[i] = {x[i] - x_offset, factor * y[i]};
    take(_mm_set1_pd(out[i].x), _mm_set1_pd(out[i].y));
  }
  double xl[2], xh[2], yl[2], yh[2];
  _mm_storeu_pd(xl, x_lo);
  _mm_storeu_pd(xh, x_hi);
  _mm_storeu_pd(yl, y_lo);
  _mm_storeu_pd(yh, y_hi);
  join_box(box, std::min(xl[0], xl[1]), std::min(yl[0], yl[1]), std::max(xh[0], xh[1]), std::max(yh[0], yh[1]),
           _mm_movemask_pd(finite) == 3);
#else
  for (std::size_t i = 0; i < n; ++i) {
    out[i] = {x[i] - x_offset, factor * y[i]};
    const bool finite = std::isfinite(out[i].x) && std::isfinite(out[i].y);
    join_box(box, out[i].x, out[i].y, out[i].x, out[i].y, finite);
  }
#endif
}

}  // namespace

void ItemStore::add_samples(const ChartItem& head, const double* x, const double* y, std::size_t count,
                            double x_offset, double factor) {
  if (count == 0) return;
  // size_ + count must not wrap round to a size already reserved.
  if (count > std::numeric_limits<std::uint32_t>::max() - size_) throw std::bad_alloc();
  reserve(size_ + count);
  // Only a curve that begins a run may ever be drawn with its summary. The
  // slot is made ready before anything is added, as it may throw.
  RunSummary* curve = nullptr;
  if (head.kind == ItemKind::DrawTo && run_key(head) != last_key_ && count >= kPyramidMinPoints) {
    if (curve_count_ == curves_.size()) curves_.emplace_back();
    curve = &curves_[curve_count_];
    curve->pyramid.begin(count);
  }
  join_run(head);
  ItemPoint* out = data_.data();
  const std::size_t first = size_;
  for (std::size_t i = 0; i < count;) {
    const std::size_t at = first + i;
    const std::size_t n = std::min(count - i, (at / kBoxPoints + 1) * kBoxPoints - at);
    copy_points(out + at, x + i, y + i, n, x_offset, factor, box_for(at));
    i += n;
    // The block's points are still in the nearest cache.
    if (curve != nullptr) curve->pyramid.take(out + first, i);
  }
  size_ += count;
  if (curve == nullptr) return;
  curve->begin = static_cast<std::uint32_t>(first);
  curve->end = static_cast<std::uint32_t>(size_);
  curve->x_direction = curve->pyramid.finish(out + first);
  ++curve_count_;
}

int ItemStore::curve_summary(std::size_t begin, std::size_t end) const {
  const auto all = curves();
  const auto it = std::lower_bound(all.begin(), all.end(), begin,
                                   [](const RunSummary& c, std::size_t index) { return c.begin < index; });
  if (it == all.end() || it->begin != begin || it->end != end) return -1;
  return static_cast<int>(it - all.begin());
}

std::size_t ItemStore::summary_bytes() const {
  std::size_t bytes = curves_.capacity() * sizeof(RunSummary);
  for (const RunSummary& c : curves_) bytes += c.pyramid.memory_bytes();
  return bytes;
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

// The layer's runs (layer 0: every run) block by block: `whole(box)` for a
// block wholly inside a run with exact bounds, which returns whether that
// settles the block; `points(first, count)` for the points left to read.
template <class Whole, class Points>
void for_each_block(const ItemStore& store, int layer, const Whole& whole, const Points& points) {
  const auto runs = store.runs();
  const auto boxes = store.boxes();
  constexpr std::size_t kB = ItemStore::kBoxPoints;
  for (std::size_t r = 0; r < runs.size(); ++r) {
    if (layer != 0 && runs[r].layer != layer) continue;
    const std::size_t end = store.run_end(r);
    for (std::size_t i = runs[r].begin; i < end;) {
      const std::size_t block = i / kB;
      const std::size_t block_end = std::min((block + 1) * kB, store.size());
      const std::size_t stop = std::min(block_end, end);
      const bool whole_block = i == block * kB && stop == block_end && block < boxes.size() && boxes[block].exact;
      if (!whole_block || !whole(boxes[block])) points(store.points() + i, stop - i);
      i = stop;
    }
  }
}

}  // namespace

DataBox auto_range_box(const ItemView& items, int layer, double margin_percent) {
  Bounds b;
  for_each_block(
      items.store(), layer,
      [&b](const PointBox& box) {
        b.include(box.x_low, box.y_low);
        b.include(box.x_high, box.y_high);
        return true;
      },
      [&b](const ItemPoint* p, std::size_t n) {
        if (!include_finite_run(b, p, n))
          for (std::size_t i = 0; i < n; ++i) b.include(p[i].x, p[i].y);
      });
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
  const auto join = [&out](double x_low, double y_low, double x_high, double y_high) {
    out.x_low = std::min(out.x_low, x_low);
    out.x_high = std::max(out.x_high, x_high);
    out.y_low = std::min(out.y_low, y_low);
    out.y_high = std::max(out.y_high, y_high);
  };
  for_each_block(
      items.store(), layer,
      [&w, &join](const PointBox& box) {
        // A block wholly outside the window adds nothing and one wholly
        // inside adds its bounds; one across an edge is read point by point.
        if (box.x_high <= w.x_low || box.x_low >= w.x_high || box.y_high <= w.y_low || box.y_low >= w.y_high)
          return true;
        if (!(w.x_low < box.x_low && box.x_high < w.x_high && w.y_low < box.y_low && box.y_high < w.y_high))
          return false;
        join(box.x_low, box.y_low, box.x_high, box.y_high);
        return true;
      },
      [&w, &join](const ItemPoint* p, std::size_t n) {
        for (std::size_t i = 0; i < n; ++i) {
          if (w.x_low < p[i].x && p[i].x < w.x_high && w.y_low < p[i].y && p[i].y < w.y_high)
            join(p[i].x, p[i].y, p[i].x, p[i].y);
        }
      });
  return out;
}

void widen_equal_ends(double& low, double& high, double min_range) {
  if (low != high) return;
  low -= min_range / 2;
  high += min_range / 2;
}

}  // namespace kv::chart
