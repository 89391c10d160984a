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

MinMaxPyramid::Bounds point_bounds(const ItemPoint& p) { return {p.y, p.y}; }

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
static_assert(offsetof(ItemPoint, y) == offsetof(ItemPoint, x) + sizeof(double));
static_assert(sizeof(MinMaxPyramid::Bounds) == sizeof(__m128d));

class BlockLanes {
 public:
  explicit BlockLanes(double first_x) : prev_x_(_mm_set1_pd(first_x)) {}

  void take(const ItemPoint* e, MinMaxPyramid::Bounds* out) {
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
  bool still_useful() const {
    return all(numbers_) && (all(grows_) || all(shrinks_));
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

  void take(const ItemPoint* e, MinMaxPyramid::Bounds* out) {
    for (std::size_t i = 0; i < kBlock; ++i) order_.take(e[i].x, e[i].y);
    *out = join(join(point_bounds(e[0]), point_bounds(e[1])), join(point_bounds(e[2]), point_bounds(e[3])));
  }
  bool still_useful() const { return order_.direction() != 0; }
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

int MinMaxPyramid::build(const ItemPoint* points, std::size_t n) {
  if (n < kColumnRunMin) return 0;
  const std::size_t whole = n / kBlock;
  const std::size_t blocks = (n + kBlock - 1) / kBlock;
  // All levels at once, to the entry: growing a vector step by step would
  // double its capacity, and the summaries would cost 8 bytes an item
  // rather than 5 and a third.
  std::size_t total = blocks;
  for (std::size_t count = blocks; count > kBlock; total += count) count = (count + kBlock - 1) / kBlock;
  if (storage_.size() < total) {
    storage_.reserve(total);
    storage_.resize(total);
  }
  BlockLanes lanes(points[0].x);
  // Whole blocks of four points, a chunk at a time; a run found of no use
  // half way is left there.
  for (std::size_t b = 0; b < whole;) {
    leave_wide_vector_state();
    const std::size_t stop = std::min(whole, b + kChunkBlocks);
    for (; b < stop; ++b) lanes.take(points + b * kBlock, storage_.data() + b);
    if (!lanes.still_useful()) return 0;
  }
  XOrder order = lanes.order();
  if (whole < blocks) {  // at most three more points
    Bounds m = point_bounds(points[whole * kBlock]);
    for (std::size_t i = whole * kBlock; i < n; ++i) {
      order.take(points[i].x, points[i].y);
      m = join(m, point_bounds(points[i]));
    }
    storage_[whole] = m;
  }
  if (order.direction() == 0) return 0;
  // The levels above; the top one holds at most kBlock entries.
  total = blocks;
  used_ = 1;
  offset_[0] = 0;
  size_[0] = blocks;
  for (std::size_t count = blocks; count > kBlock && used_ < kMaxLevels; ++used_) {
    count = (count + kBlock - 1) / kBlock;
    offset_[used_] = total;
    size_[used_] = count;
    total += count;
  }
  Bounds* base = storage_.data();
  for (std::size_t k = 1; k < used_; ++k)
    fill_level(base + offset_[k], base + offset_[k - 1], size_[k - 1], as_is);
  return order.direction();
}

void MinMaxPyramid::prefetch(std::size_t index) const {
  for (std::size_t k = 0; k < used_; ++k) {
    index /= kBlock;
    if (index < size_[k]) __builtin_prefetch(level(k) + index);
  }
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

void FastItemRenderer::reset() {
  finish_summaries();
  pieces_.clear();
  summary_count_ = 0;
  summaries_built_ = 0;
  prepared_ = 0;
  last_pen_item_ = -1;
  last_pen_layer_ = 1;
}

void FastItemRenderer::prepare(const ItemStore& store) {
  finish_summaries();
  if (store.generation() != generation_ || store.size() < prepared_) {
    reset();
    generation_ = store.generation();
  }
  if (store.size() == prepared_) return;
  // The last run may have grown since: take it again.
  if (!pieces_.empty()) {
    const Piece last = pieces_.back();
    pieces_.pop_back();
    if (last.summary >= 0) {
      --summary_count_;
      summaries_built_ = std::min(summaries_built_, summary_count_);
    }
    last_pen_item_ = last.pen_item;
    last_pen_layer_ = last.pen_layer;
  }
  for (std::size_t r = pieces_.size(); r < store.runs().size(); ++r) pieces_.push_back(make_piece(store, r));
  prepared_ = store.size();
}

// A run of draw-tos that may be drawn by columns gets a summary slot here;
// what is not drawn (an invisible pen) or drawn point by point (a wide pen,
// a short run) gets none.
FastItemRenderer::Piece FastItemRenderer::make_piece(const ItemStore& store, std::size_t r) {
  const ItemRun& run = store.runs()[r];
  Piece piece{run.begin, static_cast<std::uint32_t>(store.run_end(r)), run.style, run.kind, run.layer,
              last_pen_layer_, last_pen_item_};
  const ItemStyle& style = store.style(run.style);
  if (run.kind == ItemKind::DrawTo && style.pen != TPenStyle::psClear && style.width <= 1 &&
      piece.end - piece.begin >= kColumnRunMin) {
    if (summary_count_ == summaries_.size()) summaries_.emplace_back();
    Summary& s = summaries_[summary_count_];
    s.begin = piece.begin;
    s.end = piece.end;
    s.x_direction = 0;
    piece.summary = static_cast<int>(summary_count_++);
  }
  if (run.kind != ItemKind::Mark) {
    last_pen_item_ = static_cast<std::int64_t>(piece.end) - 1;
    last_pen_layer_ = run.layer;
  }
  return piece;
}

void FastItemRenderer::SummaryJobs::run(std::size_t job) {
  Summary& s = renderer->summaries_[base + job];
  s.x_direction = s.pyramid.build(points + s.begin, s.end - s.begin);
}

void FastItemRenderer::start_summaries(const ItemStore& store) {
  prepare(store);
  if (summaries_built_ == summary_count_) return;
  jobs_.renderer = this;
  jobs_.points = store.points();
  jobs_.base = summaries_built_;
  helper_.start(jobs_, summary_count_ - summaries_built_);
}

void FastItemRenderer::finish_summaries() {
  if (!helper_.busy()) return;
  helper_.finish();
  summaries_built_ = summary_count_;
}

std::size_t FastItemRenderer::memory_bytes() const {
  std::size_t bytes = pieces_.capacity() * sizeof(Piece) + summaries_.capacity() * sizeof(Summary);
  for (const Summary& s : summaries_) bytes += s.pyramid.memory_bytes();
  return bytes;
}

const FastItemRenderer::Summary* FastItemRenderer::summary_of(const Piece& piece) {
  if (piece.summary < 0) return nullptr;
  const auto slot = static_cast<std::size_t>(piece.summary);
  if (slot >= summaries_built_) helper_.need(slot - jobs_.base);
  const Summary& s = summaries_[slot];
  return s.x_direction != 0 ? &s : nullptr;
}

struct FastItemRenderer::RunContext {
  const ItemStore& store;
  const PixelCanvas& canvas;
  const std::array<LayerMap, kLayerCount>& maps;
  const InkRule& ink;

  PixelPoint point(std::int64_t index, int layer) const {
    if (index < 0) return kPenStart;
    const ItemPoint& p = store.points()[static_cast<std::size_t>(index)];
    return maps[static_cast<std::size_t>(layer - 1)].to_px(p.x, p.y);
  }
};

void FastItemRenderer::render(const ItemStore& store, const PixelCanvas& canvas,
                              const std::array<LayerMap, kLayerCount>& maps, InkRule ink) {
  if (!helper_.busy()) start_summaries(store);
  // Whatever happens, no thread may still read the store afterwards.
  struct Finish {
    FastItemRenderer& r;
    ~Finish() { r.finish_summaries(); }
  } finish{*this};
  const RunContext rc{store, canvas, maps, ink};
  for (const Piece& piece : pieces_) {
    leave_wide_vector_state();
    if (piece.kind == ItemKind::Mark) draw_marks(rc, piece);
    if (piece.kind == ItemKind::DrawTo) draw_run(rc, piece, summary_of(piece));
  }
}

void FastItemRenderer::draw_marks(const RunContext& rc, const Piece& piece) const {
  const ItemStyle& style = rc.store.style(piece.style);
  if (style.pen == TPenStyle::psClear) return;
  const std::uint32_t argb = rc.ink.argb(style.color);
  // Dense samples put many marks in a row on one pixel: it is set once.
  PixelPoint last{kPixelClamp + 1, 0};  // no mark lands beyond the clamp
  for (std::uint32_t i = piece.begin; i < piece.end; ++i) {
    const PixelPoint p = rc.point(i, piece.layer);
    if (p == last) continue;
    draw_pixel(rc.canvas, p, argb);
    last = p;
  }
}

void FastItemRenderer::draw_run(const RunContext& rc, const Piece& piece, const Summary* summary) const {
  const ItemStyle& style = rc.store.style(piece.style);
  if (style.pen == TPenStyle::psClear) return;
  if (summary != nullptr)
    draw_run_by_columns(rc, piece, *summary);
  else
    draw_run_plain(rc, piece);
}

void FastItemRenderer::draw_run_plain(const RunContext& rc, const Piece& piece) const {
  PolylineDrawer d(rc.canvas, rc.store.style(piece.style), rc.ink);
  PixelPoint prev = rc.point(piece.pen_item, piece.pen_layer);
  int segments = 0;
  for (std::uint32_t i = piece.begin; i < piece.end; ++i) {
    // The plain way sends polylines of 200 points, the pattern restarting.
    if (segments == kPolylineMaxPoints - 1) {
      segments = 0;
      d.restart();
    }
    const PixelPoint p = rc.point(i, piece.layer);
    d.segment(prev, p, segments == 0);
    ++segments;
    prev = p;
  }
}

void FastItemRenderer::draw_run_by_columns(const RunContext& rc, const Piece& piece, const Summary& summary) const {
  const ItemPoint* items = rc.store.points() + piece.begin;
  const std::int64_t n = piece.end - piece.begin;
  const LayerMap& m = rc.maps[piece.layer - 1];
  const MinMaxPyramid& pyramid = summary.pyramid;
  const ItemStyle& style = rc.store.style(piece.style);
  const std::uint32_t argb = rc.ink.argb(style.color);
  PenWalk pen{dash_pattern(style.pen)};
  const int dir = summary.x_direction * m.x.direction();
  // key() never decreases along the run; the visible columns are a key window.
  auto key = [&](std::int64_t i) { return dir * m.x.to_px(items[i].x); };
  auto at = [&](std::int64_t i) { return PixelPoint{m.x.to_px(items[i].x), m.y.to_px(items[i].y)}; };
  const int key_lo = dir > 0 ? rc.canvas.clip.left : dir < 0 ? -rc.canvas.clip.right : 0;
  const int key_hi = dir > 0 ? rc.canvas.clip.right : dir < 0 ? -rc.canvas.clip.left : 0;

  draw_segment(rc.canvas, rc.point(piece.pen_item, piece.pen_layer), at(0), argb, pen, 0);
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
