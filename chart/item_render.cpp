#include "chart/item_render.h"

#include <algorithm>
#include <cmath>
#include <cstddef>
#include <cstring>

#if defined(__SSE2__)
#include <emmintrin.h>
#endif
#if defined(__x86_64__) && defined(__GNUC__)
#include <immintrin.h>
#endif

namespace kv::chart {
namespace {

constexpr std::size_t kBlock = 4;
// Shorter runs are drawn point by point; the pyramid would not pay.
constexpr std::uint32_t kColumnRunMin = 64;

// The last index from `first` on whose key equals key(first), given keys
// never decrease and a guess of where the column ends: a sample or two is
// read when the guess is right, a gallop and a halving when it is not.
template <class Key>
std::int64_t last_in_column(const Key& key, std::int64_t first, std::int64_t guess, std::int64_t n) {
  const int k = key(first);
  std::int64_t last = first;  // key(last) == k
  std::int64_t bad = n;       // key(bad) > k, or the end
  if (guess > first && key(guess) != k) {
    // Too far: gallop back from the guess.
    bad = guess;
    for (std::int64_t step = 1; bad - step > first; step *= 2) {
      if (key(bad - step) == k) {
        last = bad - step;
        break;
      }
      bad -= step;
    }
  } else {
    // Not far enough: gallop on from the guess.
    last = std::max(first, guess);
    for (std::int64_t step = 1; last + step < n; step *= 2) {
      if (key(last + step) != k) {
        bad = last + step;
        break;
      }
      last += step;
    }
  }
  while (bad - last > 1) {
    const std::int64_t mid = last + (bad - last) / 2;
    if (key(mid) == k) last = mid; else bad = mid;
  }
  return last;
}

void draw_wide_segment(const PixelCanvas& c, PixelPoint a, PixelPoint b, std::uint32_t argb, const PenWalk& pen,
                       int width, int first_step) {
  const int lo = -(width - 1) / 2;
  for (int dy = lo; dy < lo + width; ++dy)
    for (int dx = lo; dx < lo + width; ++dx) {
      PenWalk copy = pen;
      draw_segment(c, {a.x + dx, a.y + dy}, {b.x + dx, b.y + dy}, argb, copy, first_step);
    }
}

// One polyline of the plain way, the pen pattern starting afresh.
class PolylineDrawer {
 public:
  PolylineDrawer(const PixelCanvas& c, const ItemStyle& style, InkRule ink)
      : c_(c), argb_(ink.argb(style.color)), width_(style.width), pen_{dash_pattern(style.pen)} {}
  void segment(PixelPoint a, PixelPoint b, bool first) {
    const int first_step = first ? 0 : 1;
    if (width_ <= 1) {
      draw_segment(c_, a, b, argb_, pen_, first_step);
      return;
    }
    draw_wide_segment(c_, a, b, argb_, pen_, width_, first_step);
    pen_.step(std::max(std::abs(b.x - a.x), std::abs(b.y - a.y)) + 1 - first_step);
  }
  void restart() { pen_.phase = 0; }
  PenWalk& pen() { return pen_; }
  std::uint32_t argb() const { return argb_; }

 private:
  const PixelCanvas& c_;
  std::uint32_t argb_;
  int width_;
  PenWalk pen_;
};

}  // namespace

void RasterSink::polyline(std::span<const PixelPoint> points, const ItemStyle& style) {
  PolylineDrawer d(canvas_, style, ink_);
  for (std::size_t i = 1; i < points.size(); ++i) d.segment(points[i - 1], points[i], i == 1);
}

void RasterSink::mark(PixelPoint p, const ItemStyle& style, int /*mark_type*/) {
  draw_pixel(canvas_, p, ink_.argb(style.color));
}

namespace {

MinMaxPyramid::Bounds join(MinMaxPyramid::Bounds a, MinMaxPyramid::Bounds b) {
  return {std::min(a.low, b.low), std::max(a.high, b.high)};
}

MinMaxPyramid::Bounds item_bounds(const ChartItem& item) { return {item.y, item.y}; }

MinMaxPyramid::Bounds as_is(const MinMaxPyramid::Bounds& b) { return b; }

// out[b] bounds entries b * kBlock .. b * kBlock + 3 of `in` (fewer in the
// last block). Whole blocks are joined as a tree with no loop-carried
// state, so the compiler keeps everything in registers.
template <class In, class Get>
void fill_level(MinMaxPyramid::Bounds* out, const In* in, std::size_t count, const Get& get) {
  const std::size_t whole = count / kBlock;
  for (std::size_t b = 0; b < whole; ++b) {
    const In* e = in + b * kBlock;
    out[b] = join(join(get(e[0]), get(e[1])), join(get(e[2]), get(e[3])));
  }
  if (whole * kBlock == count) return;
  MinMaxPyramid::Bounds m = get(in[whole * kBlock]);
  for (std::size_t i = whole * kBlock + 1; i < count; ++i) m = join(m, get(in[i]));
  out[whole] = m;
}

// Whether a run's X only grows or only shrinks, gathered with its level 0:
// each comparison of a NaN is false, so a NaN X clears both `grows` and
// `shrinks`; a NaN Y clears `numbers`. The flags are kept with & rather
// than && so that the loop does not branch on them.
struct XOrder {
  bool grows = true;
  bool shrinks = true;
  bool numbers = true;
  double prev;

  void take(double x, double y) {
    grows &= x >= prev;
    shrinks &= x <= prev;
    numbers &= y == y;
    prev = x;
  }
  int direction() const { return !numbers ? 0 : grows ? 1 : shrinks ? -1 : 0; }
};

// XOrder and level-0 entries four items at a time.
#if defined(__SSE2__)
// An item's X and Y side by side in one register: two lanes per
// instruction where one item at a time would take four. The comparisons
// are ordered ones, false for a NaN, and min and max only ever see numbers
// (a run with a NaN keeps no pyramid).
static_assert(offsetof(ChartItem, y) == offsetof(ChartItem, x) + sizeof(double));
static_assert(sizeof(MinMaxPyramid::Bounds) == sizeof(__m128d));

class BlockLanes {
 public:
  explicit BlockLanes(double first_x) : prev_x_(_mm_set1_pd(first_x)) {}

  void take(const ChartItem* e, MinMaxPyramid::Bounds* out) {
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
  XOrder order() const {
    double last_x[2];
    _mm_storeu_pd(last_x, prev_x_);
    return {all(grows_), all(shrinks_), all(numbers_), last_x[1]};
  }

 private:
  static bool all(__m128d mask) { return _mm_movemask_pd(mask) == 3; }

  __m128d prev_x_;  // lane 1: the X before the next block
  __m128d grows_ = _mm_castsi128_pd(_mm_set1_epi32(-1));
  __m128d shrinks_ = grows_;
  __m128d numbers_ = grows_;
};
#else
class BlockLanes {
 public:
  explicit BlockLanes(double first_x) : order_{.prev = first_x} {}

  void take(const ChartItem* e, MinMaxPyramid::Bounds* out) {
    for (std::size_t i = 0; i < kBlock; ++i) order_.take(e[i].x, e[i].y);
    *out = join(join(item_bounds(e[0]), item_bounds(e[1])), join(item_bounds(e[2]), item_bounds(e[3])));
  }
  XOrder order() const { return order_; }

 private:
  XOrder order_;
};
#endif

// The toolkit's painting code (and, it seems, the system between time
// slices) may leave the upper halves of the wide vector registers in use,
// and on some processors the plain SSE code of this file then runs at a
// fraction of its speed until they are cleared. Clearing them costs one
// instruction, where the processor has it, so the long loops do it every
// few thousand items.
#if defined(__x86_64__) && defined(__GNUC__)
__attribute__((target("avx"))) void clear_upper_halves() { _mm256_zeroupper(); }

void leave_wide_vector_state() {
  static const bool has_avx = __builtin_cpu_supports("avx");
  if (has_avx) clear_upper_halves();
}
#else
void leave_wide_vector_state() {}
#endif

// Level-0 entries made per check of the storage's size.
constexpr std::size_t kChunkBlocks = 1024;

bool same_run(const ChartItem& item, const ChartItem& head) {
  return (item.kind == ItemKind::DrawTo) & (item.style == head.style) & (item.layer == head.layer);
}

// Joins entries lo..hi-1 (lo < hi) at both ends into `m`: the three from
// lo on and the three up to hi - 1, each held inside the range. An entry
// taken twice changes no bound, so this covers the parts of the range
// outside whole blocks of four without a branch on their lengths.
template <class Get>
void take_ends(MinMaxPyramid::Bounds& m, std::size_t lo, std::size_t hi, const Get& get) {
  const std::size_t last = hi - 1;
  const MinMaxPyramid::Bounds a = join(join(get(lo), get(std::min(lo + 1, last))), get(std::min(lo + 2, last)));
  const MinMaxPyramid::Bounds b =
      join(join(get(last), get(std::max(last, lo + 1) - 1)), get(std::max(last, lo + 2) - 2));
  m = join(m, join(a, b));
}

}  // namespace

MinMaxPyramid::Scan MinMaxPyramid::build(const ChartItem* items, std::size_t available) {
  const ChartItem& head = items[0];
  BlockLanes lanes(head.x);
  std::size_t n = 0;
  std::size_t blocks = 0;
  // Whole blocks of four items of the run, a chunk at a time.
  for (bool more = true; more;) {
    leave_wide_vector_state();
    const std::size_t chunk = std::min(kChunkBlocks, (available - n) / kBlock);
    if (storage_.size() < blocks + chunk + 1) storage_.resize(blocks + chunk + 1);
    Bounds* out = storage_.data() + blocks;
    const ChartItem* e = items + n;
    std::size_t b = 0;
    for (; b < chunk; ++b, e += kBlock) {
      if (!(same_run(e[0], head) & same_run(e[1], head) & same_run(e[2], head) & same_run(e[3], head))) break;
      lanes.take(e, out + b);
    }
    blocks += b;
    n += b * kBlock;
    more = b == chunk && chunk > 0;
  }
  XOrder order = lanes.order();
  // At most three more items belong to the run.
  if (n < available && same_run(items[n], head)) {
    Bounds m = item_bounds(items[n]);
    for (; n < available && same_run(items[n], head); ++n) {
      order.take(items[n].x, items[n].y);
      m = join(m, item_bounds(items[n]));
    }
    storage_[blocks++] = m;
  }
  if (n < kColumnRunMin || order.direction() == 0) return {n, 0};
  // The levels above; the top one holds at most kBlock entries.
  std::size_t total = blocks;
  used_ = 1;
  offset_[0] = 0;
  size_[0] = blocks;
  for (std::size_t count = blocks; count > kBlock && used_ < kMaxLevels; ++used_) {
    count = (count + kBlock - 1) / kBlock;
    offset_[used_] = total;
    size_[used_] = count;
    total += count;
  }
  if (storage_.size() < total) storage_.resize(total);
  Bounds* base = storage_.data();
  for (std::size_t k = 1; k < used_; ++k)
    fill_level(base + offset_[k], base + offset_[k - 1], size_[k - 1], as_is);
  return {n, order.direction()};
}

void MinMaxPyramid::prefetch(std::size_t index) const {
  for (std::size_t k = 0; k < used_; ++k) {
    index /= kBlock;
    if (index < size_[k]) __builtin_prefetch(level(k) + index);
  }
}

MinMaxPyramid::Bounds MinMaxPyramid::query(const ChartItem* items, std::size_t first, std::size_t last) const {
  Bounds m{items[first].y, items[first].y};
  // The items outside whole blocks, then the same on each level above; the
  // top level has at most four entries.
  std::size_t lo = first;
  std::size_t hi = last + 1;  // exclusive
  take_ends(m, lo, hi, [items](std::size_t i) { return item_bounds(items[i]); });
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

void FastItemRenderer::reset() {
  pieces_.clear();
  pyramid_count_ = 0;
  prepared_ = 0;
  last_pen_item_ = -1;
}

void FastItemRenderer::prepare(const ItemStore& store) {
  if (store.size() < prepared_) reset();
  if (store.size() == prepared_) return;
  // The last piece may continue with the new items: cut it up again.
  if (!pieces_.empty()) {
    const Piece last = pieces_.back();
    pieces_.pop_back();
    if (last.pyramid >= 0) --pyramid_count_;
    prepared_ = last.begin;
    last_pen_item_ = last.pen_item;
  }
  const auto items = store.items();
  std::size_t i = prepared_;
  while (i < items.size()) {
    const ChartItem& head = items[i];
    Piece piece{head.kind == ItemKind::DrawTo ? PieceKind::Run
                : head.kind == ItemKind::Mark ? PieceKind::Marks
                                              : PieceKind::Moves,
                static_cast<std::uint32_t>(i), 0, last_pen_item_};
    std::size_t j = i + 1;
    if (piece.kind == PieceKind::Run) {
      j = scan_run(items, i, piece);
    } else {
      while (j < items.size() && items[j].kind == head.kind) ++j;
    }
    piece.end = static_cast<std::uint32_t>(j);
    pieces_.push_back(piece);
    if (piece.kind != PieceKind::Marks) last_pen_item_ = static_cast<std::int64_t>(j) - 1;
    i = j;
  }
  prepared_ = items.size();
}

// Finds the end of the run starting at `first`; a long run whose X only
// grows or only shrinks keeps the pyramid built on the way.
std::size_t FastItemRenderer::scan_run(std::span<const ChartItem> items, std::size_t first, Piece& piece) {
  if (pyramid_count_ == pyramids_.size()) pyramids_.emplace_back();
  const MinMaxPyramid::Scan scan = pyramids_[pyramid_count_].build(items.data() + first, items.size() - first);
  if (scan.x_direction != 0) {
    piece.x_direction = scan.x_direction;
    piece.pyramid = static_cast<int>(pyramid_count_++);
  }
  return first + scan.length;
}

struct FastItemRenderer::RunContext {
  const ItemStore& store;
  const PixelCanvas& canvas;
  const std::array<LayerMap, kLayerCount>& maps;
  InkRule ink;

  PixelPoint point(std::int64_t index) const {
    if (index < 0) return kPenStart;
    const ChartItem& item = store[static_cast<std::size_t>(index)];
    return maps[item.layer - 1].to_px(item.x, item.y);
  }
};

void FastItemRenderer::render(const ItemStore& store, const PixelCanvas& canvas,
                              const std::array<LayerMap, kLayerCount>& maps, InkRule ink) const {
  const RunContext rc{store, canvas, maps, ink};
  for (const Piece& piece : pieces_) {
    leave_wide_vector_state();
    if (piece.kind == PieceKind::Marks) draw_marks(store, canvas, maps, ink, piece);
    if (piece.kind == PieceKind::Run) draw_run(rc, piece);
  }
}

void FastItemRenderer::draw_marks(const ItemStore& store, const PixelCanvas& canvas,
                                  const std::array<LayerMap, kLayerCount>& maps, InkRule ink,
                                  const Piece& piece) const {
  for (std::uint32_t i = piece.begin; i < piece.end; ++i) {
    const ChartItem& item = store[i];
    const ItemStyle& style = store.style(item.style);
    if (style.pen == TPenStyle::psClear) continue;
    draw_pixel(canvas, maps[item.layer - 1].to_px(item.x, item.y), ink.argb(style.color));
  }
}

void FastItemRenderer::draw_run(const RunContext& rc, const Piece& piece) const {
  const ItemStyle& style = rc.store.style(rc.store[piece.begin].style);
  if (style.pen == TPenStyle::psClear) return;
  if (piece.pyramid >= 0 && style.width <= 1)
    draw_run_by_columns(rc, piece);
  else
    draw_run_plain(rc, piece);
}

void FastItemRenderer::draw_run_plain(const RunContext& rc, const Piece& piece) const {
  PolylineDrawer d(rc.canvas, rc.store.style(rc.store[piece.begin].style), rc.ink);
  PixelPoint prev = rc.point(piece.pen_item);
  int segments = 0;
  for (std::uint32_t i = piece.begin; i < piece.end; ++i) {
    // The plain way sends polylines of 200 points, the pattern restarting.
    if (segments == kPolylineMaxPoints - 1) {
      segments = 0;
      d.restart();
    }
    const PixelPoint p = rc.point(i);
    d.segment(prev, p, segments == 0);
    ++segments;
    prev = p;
  }
}

void FastItemRenderer::draw_run_by_columns(const RunContext& rc, const Piece& piece) const {
  const ChartItem* items = rc.store.items().data() + piece.begin;
  const std::int64_t n = piece.end - piece.begin;
  const LayerMap& m = rc.maps[items[0].layer - 1];
  const MinMaxPyramid& pyramid = pyramids_[static_cast<std::size_t>(piece.pyramid)];
  const std::uint32_t argb = rc.ink.argb(rc.store.style(items[0].style).color);
  PenWalk pen{dash_pattern(rc.store.style(items[0].style).pen)};
  const int dir = piece.x_direction * m.x.direction();
  // key() never decreases along the run; the visible columns are a key window.
  auto key = [&](std::int64_t i) { return dir * m.x.to_px(items[i].x); };
  auto at = [&](std::int64_t i) { return PixelPoint{m.x.to_px(items[i].x), m.y.to_px(items[i].y)}; };
  const int key_lo = dir > 0 ? rc.canvas.clip.left : dir < 0 ? -rc.canvas.clip.right : 0;
  const int key_hi = dir > 0 ? rc.canvas.clip.right : dir < 0 ? -rc.canvas.clip.left : 0;

  draw_segment(rc.canvas, rc.point(piece.pen_item), at(0), argb, pen, 0);
  std::int64_t lo = 0;
  std::int64_t hi = n;
  while (lo < hi) {  // first point not left of the visible columns
    const std::int64_t mid = lo + (hi - lo) / 2;
    if (key(mid) < key_lo) lo = mid + 1; else hi = mid;
  }
  std::int64_t i = lo;
  std::int64_t column_guess = 1;  // samples are mostly evenly spaced: columns alike
  bool has_prev = i > 0;
  PixelPoint prev = has_prev ? at(i - 1) : PixelPoint{};
  while (i < n) {
    const int k = key(i);
    if (k > key_hi) {
      if (has_prev) draw_segment(rc.canvas, prev, at(i), argb, pen, 1);
      break;
    }
    const std::int64_t last = last_in_column(key, i, std::min(i + column_guess, n) - 1, n);
    column_guess = last - i + 1;
    // The next columns' samples and bounds are cache misses away: start
    // loading them now.
    if (last + 2 * column_guess < n) {
      __builtin_prefetch(&items[last + column_guess]);
      __builtin_prefetch(&items[last + 2 * column_guess]);
      pyramid.prefetch(static_cast<std::size_t>(last + 2 * column_guess));
    }
    const auto b = pyramid.query(items, static_cast<std::size_t>(i), static_cast<std::size_t>(last));
    const PixelPoint first_pt = at(i);
    const int y_a = m.y.to_px(b.low);
    const int y_b = m.y.to_px(b.high);
    if (has_prev) draw_segment(rc.canvas, prev, first_pt, argb, pen, 1);
    draw_vspan(rc.canvas, first_pt.x, std::min(y_a, y_b), std::max(y_a, y_b), argb, pen);
    prev = at(last);
    has_prev = true;
    i = last + 1;
  }
}

}  // namespace kv::chart
