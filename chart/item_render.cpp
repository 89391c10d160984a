#include "chart/item_render.h"

#include <algorithm>
#include <cmath>
#include <limits>

namespace kv::chart {
namespace {

constexpr std::size_t kBlock = 4;
constexpr MinMaxPyramid::Bounds kEmptyBounds{std::numeric_limits<double>::infinity(),
                                             -std::numeric_limits<double>::infinity()};
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

// Storage is kept between builds: the plot window clears and refills the
// chart on every re-plot, and fresh memory costs more than filling it.
std::vector<MinMaxPyramid::Bounds>& MinMaxPyramid::level(std::size_t index, std::size_t size) {
  if (levels_.size() <= index) levels_.resize(index + 1);
  levels_[index].resize(size);
  used_ = index + 1;
  return levels_[index];
}

namespace {

// Each entry of `out` bounds kBlock consecutive entries of the level below.
template <class Get>
void fill_level(std::vector<MinMaxPyramid::Bounds>& out, std::size_t count, const Get& below) {
  for (std::size_t b = 0; b < out.size(); ++b) {
    MinMaxPyramid::Bounds m = below(b * kBlock);
    const std::size_t end = std::min(count, (b + 1) * kBlock);
    for (std::size_t i = b * kBlock + 1; i < end; ++i) {
      const MinMaxPyramid::Bounds v = below(i);
      m.low = std::min(m.low, v.low);
      m.high = std::max(m.high, v.high);
    }
    out[b] = m;
  }
}

}  // namespace

void MinMaxPyramid::start() {
  if (levels_.empty()) levels_.emplace_back();
  levels_[0].clear();
  used_ = 1;
  pending_ = kEmptyBounds;
  pending_count_ = 0;
}

void MinMaxPyramid::add(double y) {
  pending_.low = std::min(pending_.low, y);
  pending_.high = std::max(pending_.high, y);
  if (++pending_count_ == kBlock) {
    levels_[0].push_back(pending_);
    pending_ = kEmptyBounds;
    pending_count_ = 0;
  }
}

void MinMaxPyramid::finish() {
  if (pending_count_ > 0) levels_[0].push_back(pending_);
  pending_count_ = 0;
  while (levels_[used_ - 1].size() > kBlock) {
    const std::size_t below = used_ - 1;
    const std::size_t n = levels_[below].size();
    std::vector<Bounds>& up = level(used_, (n + kBlock - 1) / kBlock);
    fill_level(up, n, [this, below](std::size_t i) { return levels_[below][i]; });
  }
}

void MinMaxPyramid::prefetch(std::size_t index) const {
  for (std::size_t level = 0; level < used_; ++level) {
    index /= kBlock;
    if (index < levels_[level].size()) __builtin_prefetch(&levels_[level][index]);
  }
}

MinMaxPyramid::Bounds MinMaxPyramid::query(const ChartItem* items, std::size_t first, std::size_t last) const {
  Bounds m{items[first].y, items[first].y};
  std::size_t lo = first;
  std::size_t hi = last + 1;  // exclusive
  auto take_item = [&](std::size_t i) {
    m.low = std::min(m.low, items[i].y);
    m.high = std::max(m.high, items[i].y);
  };
  // Items up to the first whole block and after the last one, then the same
  // on each level above.
  while (lo < hi && lo % kBlock != 0) take_item(lo++);
  while (hi > lo && hi % kBlock != 0) take_item(--hi);
  lo /= kBlock;
  hi /= kBlock;
  for (std::size_t level = 0; lo < hi; ++level) {
    const std::vector<Bounds>& v = levels_[level];
    auto take = [&](std::size_t i) {
      m.low = std::min(m.low, v[i].low);
      m.high = std::max(m.high, v[i].high);
    };
    if (level + 1 == used_) {
      while (lo < hi) take(lo++);
      break;
    }
    while (lo < hi && lo % kBlock != 0) take(lo++);
    while (hi > lo && hi % kBlock != 0) take(--hi);
    lo /= kBlock;
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

// Finds the end of the run starting at `first` and, in the same pass, checks
// that its X only grows or only shrinks and gathers its Y bounds, so that
// the items are read once.
std::size_t FastItemRenderer::scan_run(std::span<const ChartItem> items, std::size_t first, Piece& piece) {
  const ChartItem& head = items[first];
  if (pyramid_count_ == pyramids_.size()) pyramids_.emplace_back();
  MinMaxPyramid& pyramid = pyramids_[pyramid_count_];
  pyramid.start();
  // Flags kept with & rather than && so that the loop does not branch on them.
  bool grows = true;
  bool shrinks = true;
  bool numbers = true;
  double prev_x = head.x;
  std::size_t j = first;
  for (; j < items.size(); ++j) {
    const ChartItem& it = items[j];
    if (it.kind != ItemKind::DrawTo || it.style != head.style || it.layer != head.layer) break;
    const double x = it.x;
    numbers &= (x == x) & (it.y == it.y);  // false for NaN
    grows &= x >= prev_x;
    shrinks &= x <= prev_x;
    prev_x = x;
    pyramid.add(it.y);
  }
  if (j - first >= kColumnRunMin && numbers && (grows || shrinks)) {
    pyramid.finish();
    piece.x_direction = grows ? 1 : -1;
    piece.pyramid = static_cast<int>(pyramid_count_++);
  }
  return j;
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
