#include "chart/item_render.h"

#include <algorithm>
#include <cmath>
#include <cstddef>
#include <cstring>

namespace kv::chart {
namespace {

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

// A run of draw-tos that may be drawn by columns takes the summary of the
// curve it is, or gets a slot of its own here; what is not drawn (an
// invisible pen) or drawn point by point (a wide pen, a short run) gets none.
FastItemRenderer::Piece FastItemRenderer::make_piece(const ItemStore& store, std::size_t r) {
  const ItemRun& run = store.runs()[r];
  Piece piece{run.begin, static_cast<std::uint32_t>(store.run_end(r)), run.style, run.kind, run.layer,
              last_pen_layer_, last_pen_item_};
  const ItemStyle& style = store.style(run.style);
  const bool by_columns = run.kind == ItemKind::DrawTo && style.pen != TPenStyle::psClear && style.width <= 1 &&
                          piece.end - piece.begin >= kPyramidMinPoints;
  if (by_columns) piece.curve = store.curve_summary(piece.begin, piece.end);
  if (by_columns && piece.curve < 0) {
    if (summary_count_ == summaries_.size()) summaries_.emplace_back();
    RunSummary& s = summaries_[summary_count_];
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
  RunSummary& s = renderer->summaries_[base + job];
  s.x_direction = s.pyramid.build(points + s.begin, s.end - s.begin);
}

void FastItemRenderer::start_summaries(const ItemStore& store) {
  prepare(store);
  // Slots this picture does not use keep nothing: once the curves come with
  // summaries of their own, what the item-by-item adds of an earlier fill
  // needed would otherwise stay beside them for good.
  for (std::size_t k = summary_count_; k < summaries_.size(); ++k) summaries_[k].pyramid.release();
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
  std::size_t bytes = pieces_.capacity() * sizeof(Piece) + summaries_.capacity() * sizeof(RunSummary);
  for (const RunSummary& s : summaries_) bytes += s.pyramid.memory_bytes();
  return bytes;
}

const RunSummary* FastItemRenderer::summary_of(const ItemStore& store, const Piece& piece) {
  if (piece.curve >= 0) {
    const RunSummary& s = store.curves()[static_cast<std::size_t>(piece.curve)];
    return s.x_direction != 0 ? &s : nullptr;
  }
  if (piece.summary < 0) return nullptr;
  const auto slot = static_cast<std::size_t>(piece.summary);
  if (slot >= summaries_built_) helper_.need(slot - jobs_.base);
  const RunSummary& s = summaries_[slot];
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
    if (piece.kind == ItemKind::DrawTo) draw_run(rc, piece, summary_of(store, piece));
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

void FastItemRenderer::draw_run(const RunContext& rc, const Piece& piece, const RunSummary* summary) const {
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

void FastItemRenderer::draw_run_by_columns(const RunContext& rc, const Piece& piece,
                                           const RunSummary& summary) const {
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
