#include "chart/area_paint.h"

#include <algorithm>

namespace kv::chart {
namespace {

constexpr int kMaxGridLines = 1000;

PixelRect clipped(const PixelRect& r, const PixelRect& clip) {
  return {std::max(r.left, clip.left), std::max(r.top, clip.top), std::min(r.right, clip.right),
          std::min(r.bottom, clip.bottom)};
}

}  // namespace

GridShape grid_shape(TGridStyle style) {
  using G = TGridStyle;
  GridShape g;
  g.dotted = style == G::gsDotLines || style == G::gsVertDotLines || style == G::gsHorizDotLines;
  g.vertical = style == G::gsDotLines || style == G::gsVertDotLines || style == G::gsLines || style == G::gsVertLines;
  g.horizontal =
      style == G::gsDotLines || style == G::gsHorizDotLines || style == G::gsLines || style == G::gsHorizLines;
  g.points = style == G::gsPoints;
  return g;
}

void grid_positions(const TScaleProps& s, double spacing, RulerTicks& scratch, std::vector<double>& out) {
  if (spacing > 0) {
    spaced_positions(s.RangeLow(), s.RangeHigh(), spacing, kMaxGridLines, out);
    return;
  }
  compute_ticks(s.RangeLow(), s.RangeHigh(), s.MinTicks(), s.ShortTicks(), scratch);
  recorded_ticks(scratch, out);
}

void fill_canvas(const PixelCanvas& c, const PixelRect& r, std::uint32_t argb) {
  const PixelRect f = clipped(r, c.clip);
  if (f.width() <= 0 || f.height() <= 0) return;
  for (int y = f.top; y <= f.bottom; ++y) {
    std::uint32_t* row = c.bits + static_cast<std::ptrdiff_t>(y - c.origin_y) * c.stride + (f.left - c.origin_x);
    std::fill(row, row + f.width(), argb);
  }
}

void outline_canvas(const PixelCanvas& c, const PixelRect& r, std::uint32_t argb) {
  if (r.width() <= 0 || r.height() <= 0) return;
  fill_canvas(c, {r.left, r.top, r.right, r.top}, argb);
  fill_canvas(c, {r.left, r.bottom, r.right, r.bottom}, argb);
  fill_canvas(c, {r.left, r.top, r.left, r.bottom}, argb);
  fill_canvas(c, {r.right, r.top, r.right, r.bottom}, argb);
}

void axis_line(const PixelCanvas& c, PixelPoint from, PixelPoint to, DashPattern pattern, std::uint32_t argb) {
  const bool across = from.y == to.y;
  // The painter first cuts a line to a pixel beyond the canvas at the top
  // and left, two at the bottom and right, and starts its pattern there.
  const int low = (across ? c.clip.left : c.clip.top) - 1;
  const int high = (across ? c.clip.right : c.clip.bottom) + 2;
  const int start = std::clamp(across ? from.x : from.y, low, high);
  const int end = std::clamp(across ? to.x : to.y, low, high);
  // Going back, the painter starts one pixel short of `from` and reaches `to`.
  const int first = start <= end ? start : start - 1;
  const int last = start < end ? end - 1 : end;
  const int dir = start <= end ? 1 : -1;
  PenWalk pen{pattern, 0};
  for (int k = first;; k += dir) {
    const PixelPoint p = across ? PixelPoint{k, from.y} : PixelPoint{from.x, k};
    if (pen.on()) draw_pixel(c, p, argb);
    if (k == last) break;
    pen.step();
  }
}

void paint_grid(const PixelCanvas& c, const GridView& grid, const PixelRect& a, std::uint32_t argb,
                GridScratch& scratch) {
  if (grid.style == TGridStyle::gsNone || grid.x == nullptr || grid.y == nullptr) return;
  grid_positions(*grid.x, grid.dx, scratch.ticks, scratch.xs);
  grid_positions(*grid.y, grid.dy, scratch.ticks, scratch.ys);
  const GridShape shape = grid_shape(grid.style);
  if (shape.points) {
    for (double x : scratch.xs)
      for (double y : scratch.ys) {
        const PixelPoint pt = grid.map.to_px(x, y);
        if (a.contains(pt.x, pt.y)) draw_pixel(c, pt, argb);
      }
    return;
  }
  const DashPattern pattern = dash_pattern(shape.dotted ? TPenStyle::psDot : TPenStyle::psSolid);
  if (shape.vertical)
    for (double x : scratch.xs) {
      const int px = grid.map.x.to_px(x);
      if (px > a.left && px < a.right) axis_line(c, {px, a.top + 1}, {px, a.bottom - 1}, pattern, argb);
    }
  if (shape.horizontal)
    for (double y : scratch.ys) {
      const int py = grid.map.y.to_px(y);
      if (py > a.top && py < a.bottom) axis_line(c, {a.left + 1, py}, {a.right - 1, py}, pattern, argb);
    }
}

}  // namespace kv::chart
