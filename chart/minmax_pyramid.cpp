#include "chart/minmax_pyramid.h"

#include <algorithm>
#include <cstring>

#if defined(__SSE2__)
#include <emmintrin.h>
#endif
#if defined(__x86_64__) && defined(__GNUC__)
#include <immintrin.h>
#endif

namespace kv::chart {

#if defined(__x86_64__) && defined(__GNUC__)
__attribute__((target("avx"))) static void clear_upper_halves() { _mm256_zeroupper(); }

void leave_wide_vector_state() {
  static const bool has_avx = __builtin_cpu_supports("avx");
  if (has_avx) clear_upper_halves();
}
#else
void leave_wide_vector_state() {}
#endif

namespace {

constexpr std::size_t kBlock = MinMaxPyramid::kBlock;
// Level-0 entries made per check of whether the run is still of use.
constexpr std::size_t kChunkBlocks = 1024;

using Bounds = MinMaxPyramid::Bounds;

Bounds join(Bounds a, Bounds b) { return {std::min(a.low, b.low), std::max(a.high, b.high)}; }

Bounds point_bounds(const ItemPoint& p) { return {p.y, p.y}; }

// out[b] bounds entries b * kBlock .. b * kBlock + 3 of `in` (fewer in the
// last block). Whole blocks are joined as a tree with no loop-carried
// state, so the compiler keeps everything in registers.
void fill_level(Bounds* out, const Bounds* in, std::size_t count) {
  const std::size_t whole = count / kBlock;
  for (std::size_t b = 0; b < whole; ++b) {
    const Bounds* e = in + b * kBlock;
    out[b] = join(join(e[0], e[1]), join(e[2], e[3]));
  }
  if (whole * kBlock == count) return;
  Bounds m = in[whole * kBlock];
  for (std::size_t i = whole * kBlock + 1; i < count; ++i) m = join(m, in[i]);
  out[whole] = m;
}

// The X order and the level-0 entries, four items at a time.
#if defined(__SSE2__)
// An item's X and Y side by side in one register: two lanes per
// instruction where one item at a time would take four. The comparisons
// are ordered ones, false for a NaN, and min and max only ever see numbers
// (a run with a NaN keeps no pyramid).
static_assert(offsetof(ItemPoint, y) == offsetof(ItemPoint, x) + sizeof(double));
static_assert(sizeof(Bounds) == sizeof(__m128d));

class BlockLanes {
 public:
  explicit BlockLanes(const MinMaxPyramid::Order& o)
      : prev_x_(_mm_set1_pd(o.prev)), grows_(mask(o.grows)), shrinks_(mask(o.shrinks)), numbers_(mask(o.numbers)) {}

  void take(const ItemPoint* e, Bounds* out) {
    const __m128d p0 = _mm_loadu_pd(&e[0].x);
    const __m128d p1 = _mm_loadu_pd(&e[1].x);
    const __m128d p2 = _mm_loadu_pd(&e[2].x);
    const __m128d p3 = _mm_loadu_pd(&e[3].x);
    const __m128d x01 = _mm_unpacklo_pd(p0, p1);
    const __m128d y01 = _mm_unpackhi_pd(p0, p1);
    const __m128d x23 = _mm_unpacklo_pd(p2, p3);
    const __m128d y23 = _mm_unpackhi_pd(p2, p3);
    const __m128d before01 = _mm_shuffle_pd(prev_x_, x01, 1);  // the previous X, x0
    const __m128d before23 = _mm_shuffle_pd(x01, x23, 1);      // x1, x2
    grows_ = _mm_and_pd(grows_, _mm_and_pd(_mm_cmpge_pd(x01, before01), _mm_cmpge_pd(x23, before23)));
    shrinks_ = _mm_and_pd(shrinks_, _mm_and_pd(_mm_cmple_pd(x01, before01), _mm_cmple_pd(x23, before23)));
    numbers_ = _mm_and_pd(numbers_, _mm_cmpord_pd(y01, y23));
    prev_x_ = x23;
    const __m128d low = _mm_min_pd(y01, y23);
    const __m128d high = _mm_max_pd(y01, y23);
    const __m128d a = _mm_unpacklo_pd(low, high);
    const __m128d b = _mm_unpackhi_pd(low, high);
    const __m128d bounds = _mm_move_sd(_mm_max_pd(a, b), _mm_min_pd(a, b));  // low, high
    std::memcpy(out, &bounds, sizeof bounds);
  }
  bool still_useful() const { return all(numbers_) && (all(grows_) || all(shrinks_)); }
  MinMaxPyramid::Order order() const {
    double last_x[2];
    _mm_storeu_pd(last_x, prev_x_);
    return {all(grows_), all(shrinks_), all(numbers_), last_x[1]};
  }

 private:
  static bool all(__m128d m) { return _mm_movemask_pd(m) == 3; }
  static __m128d mask(bool on) { return _mm_castsi128_pd(_mm_set1_epi32(on ? -1 : 0)); }

  __m128d prev_x_;  // lane 1: the X before the next block
  __m128d grows_;
  __m128d shrinks_;
  __m128d numbers_;
};
#else
class BlockLanes {
 public:
  explicit BlockLanes(const MinMaxPyramid::Order& o) : order_(o) {}

  void take(const ItemPoint* e, Bounds* out) {
    for (std::size_t i = 0; i < kBlock; ++i) order_.take(e[i].x, e[i].y);
    *out = join(join(point_bounds(e[0]), point_bounds(e[1])), join(point_bounds(e[2]), point_bounds(e[3])));
  }
  bool still_useful() const { return order_.useful(); }
  MinMaxPyramid::Order order() const { return order_; }

 private:
  MinMaxPyramid::Order order_;
};
#endif

// Joins entries lo..hi-1 (lo < hi) at both ends into `m`: the three from
// lo on and the three up to hi - 1, each held inside the range. An entry
// taken twice changes no bound, so this covers the parts of the range
// outside whole blocks of four without a branch on their lengths.
template <class Get>
void take_ends(Bounds& m, std::size_t lo, std::size_t hi, const Get& get) {
  const std::size_t last = hi - 1;
  const Bounds a = join(join(get(lo), get(std::min(lo + 1, last))), get(std::min(lo + 2, last)));
  const Bounds b = join(join(get(last), get(std::max(last, lo + 1) - 1)), get(std::max(last, lo + 2) - 2));
  m = join(m, join(a, b));
}

}  // namespace

int MinMaxPyramid::build(const ItemPoint* points, std::size_t n) {
  begin(n);
  take(points, n);
  return finish(points);
}

void MinMaxPyramid::begin(std::size_t n) {
  n_ = n;
  blocks_done_ = 0;
  order_ = {};
  useful_ = false;
  if (n < kPyramidMinPoints) return;
  // All levels at once, to the entry: growing a vector step by step would
  // double its capacity, and the summaries would cost 8 bytes an item
  // rather than 5 and a third.
  const std::size_t blocks = (n + kBlock - 1) / kBlock;
  std::size_t total = blocks;
  used_ = 1;
  offset_[0] = 0;
  size_[0] = blocks;
  // The levels above; the top one holds at most kBlock entries.
  for (std::size_t count = blocks; count > kBlock && used_ < kMaxLevels; ++used_) {
    count = (count + kBlock - 1) / kBlock;
    offset_[used_] = total;
    size_[used_] = count;
    total += count;
  }
  if (storage_.size() < total) {
    storage_.reserve(total);
    storage_.resize(total);
  }
  useful_ = true;
}

void MinMaxPyramid::take(const ItemPoint* points, std::size_t ready) {
  const std::size_t whole = std::min(ready, n_) / kBlock;
  if (!useful_ || whole <= blocks_done_) return;
  if (blocks_done_ == 0) order_.prev = points[0].x;
  BlockLanes lanes(order_);
  // A chunk at a time; a run found of no use half way is left there.
  for (std::size_t b = blocks_done_; b < whole;) {
    leave_wide_vector_state();
    const std::size_t stop = std::min(whole, b + kChunkBlocks);
    for (; b < stop; ++b) lanes.take(points + b * kBlock, storage_.data() + b);
    if (!lanes.still_useful()) {
      useful_ = false;
      return;
    }
  }
  order_ = lanes.order();
  blocks_done_ = whole;
}

int MinMaxPyramid::finish(const ItemPoint* points) {
  take(points, n_);
  if (!useful_) return 0;
  useful_ = false;
  const std::size_t whole = n_ / kBlock;
  if (whole < size_[0]) {  // at most three more points
    Bounds m = point_bounds(points[whole * kBlock]);
    for (std::size_t i = whole * kBlock; i < n_; ++i) {
      order_.take(points[i].x, points[i].y);
      m = join(m, point_bounds(points[i]));
    }
    storage_[whole] = m;
  }
  if (order_.direction() == 0) return 0;
  Bounds* base = storage_.data();
  for (std::size_t k = 1; k < used_; ++k) fill_level(base + offset_[k], base + offset_[k - 1], size_[k - 1]);
  return order_.direction();
}

MinMaxPyramid::Bounds MinMaxPyramid::query(const ItemPoint* points, std::size_t first, std::size_t last) const {
  Bounds m = point_bounds(points[first]);
  // The items outside whole blocks, then the same on each level above; the
  // top level has at most four entries.
  std::size_t lo = first;
  std::size_t hi = last + 1;  // exclusive
  take_ends(m, lo, hi, [points](std::size_t i) { return point_bounds(points[i]); });
  lo = (lo + kBlock - 1) / kBlock;
  hi /= kBlock;
  for (std::size_t k = 0; lo < hi && k < used_; ++k) {
    const Bounds* v = level(k);
    take_ends(m, lo, hi, [v](std::size_t i) { return v[i]; });
    lo = (lo + kBlock - 1) / kBlock;
    hi /= kBlock;
  }
  return m;
}

}  // namespace kv::chart
