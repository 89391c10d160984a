#include "chart/pixel_raster.h"

#include <algorithm>
#include <cstdlib>

namespace kv::chart {
namespace {

// On/off run lengths of each pen style, as a bit mask over one period.
constexpr std::uint32_t runs_to_mask(std::initializer_list<int> runs, int& period) {
  std::uint32_t mask = 0;
  int pos = 0;
  bool on = true;
  for (int len : runs) {
    for (int k = 0; k < len; ++k, ++pos)
      if (on) mask |= 1u << pos;
    on = !on;
  }
  period = pos;
  return mask;
}

DashPattern make_pattern(std::initializer_list<int> runs) {
  DashPattern p;
  p.mask = runs_to_mask(runs, p.period);
  return p;
}

}  // namespace

DashPattern dash_pattern(TPenStyle style) {
  switch (style) {
    case TPenStyle::psDash: return make_pattern({18, 6});
    case TPenStyle::psDot: return make_pattern({3, 3});
    case TPenStyle::psDashDot: return make_pattern({9, 6, 3, 6});
    case TPenStyle::psDashDotDot: return make_pattern({9, 3, 3, 3, 3, 3});
    case TPenStyle::psSolid:
    case TPenStyle::psClear: break;
  }
  return {};
}

void draw_pixel(const PixelCanvas& c, PixelPoint p, std::uint32_t argb) {
  if (c.clip.contains(p.x, p.y)) c.put(p.x, p.y, argb);
}

void draw_dot(const PixelCanvas& c, PixelPoint p, int width, std::uint32_t argb) {
  const int lo = -(width - 1) / 2;
  for (int dy = lo; dy < lo + width; ++dy)
    for (int dx = lo; dx < lo + width; ++dx) draw_pixel(c, {p.x + dx, p.y + dy}, argb);
}

void draw_vspan(const PixelCanvas& c, int x, int y0, int y1, std::uint32_t argb, PenWalk& pen) {
  if (y0 > y1) std::swap(y0, y1);
  const int n = y1 - y0 + 1;
  if (x < c.clip.left || x > c.clip.right || y1 < c.clip.top || y0 > c.clip.bottom) {
    pen.step(n);
    return;
  }
  const int from = std::max(y0, c.clip.top);
  const int to = std::min(y1, c.clip.bottom);
  std::uint32_t* p = c.bits + static_cast<std::ptrdiff_t>(from - c.origin_y) * c.stride + (x - c.origin_x);
  if (pen.pattern.period == 1) {
    for (int y = from; y <= to; ++y, p += c.stride) *p = argb;
    pen.step(n);
    return;
  }
  pen.step(from - y0);
  // The pen is walked in a local copy: the pixel stores might alias its
  // phase, which would then be read and written back at every pixel.
  PenWalk walk = pen;
  for (int y = from; y <= to; ++y, p += c.stride) {
    if (walk.on()) *p = argb;
    walk.step();
  }
  pen = walk;
  pen.step(y1 - to);
}

void draw_segment(const PixelCanvas& c, PixelPoint a, PixelPoint b, std::uint32_t argb, PenWalk& pen,
                  int first_step) {
  const int dx = b.x - a.x;
  const int dy = b.y - a.y;
  const bool x_major = std::abs(dx) >= std::abs(dy);
  const int n = x_major ? std::abs(dx) : std::abs(dy);
  if (first_step > n) return;
  if (pen.pattern.period == 1 && !x_major && std::abs(dx) <= 1) {
    // Steep and at most one column across, as between neighbouring columns
    // of a dense trace: the steps before half way stay in a's column.
    const int s = dy < 0 ? -1 : 1;
    const int switch_step = dx == 0 ? n + 1 : (n + 1) / 2;
    if (first_step < switch_step)
      draw_vspan(c, a.x, a.y + s * first_step, a.y + s * std::min(switch_step - 1, n), argb, pen);
    if (switch_step <= n) draw_vspan(c, b.x, a.y + s * std::max(switch_step, first_step), b.y, argb, pen);
    return;
  }
  // Major axis: a fixed step per pixel; minor axis: off(i) = floor((2*i*db + n) / (2n)).
  const int a_major = x_major ? a.x : a.y;
  const int s_major = (x_major ? dx : dy) < 0 ? -1 : 1;
  const int a_minor = x_major ? a.y : a.x;
  const int s_minor = (x_major ? dy : dx) < 0 ? -1 : 1;
  const std::int64_t db = x_major ? std::abs(dy) : std::abs(dx);
  const int major_lo = x_major ? c.clip.left : c.clip.top;
  const int major_hi = x_major ? c.clip.right : c.clip.bottom;

  // Only the steps whose major coordinate lies inside the clip are walked.
  auto step_at = [&](int coord) { return static_cast<std::int64_t>(coord - a_major) * s_major; };
  std::int64_t i0 = std::max<std::int64_t>(first_step, std::min(step_at(major_lo), step_at(major_hi)));
  std::int64_t i1 = std::min<std::int64_t>(n, std::max(step_at(major_lo), step_at(major_hi)));
  if (i0 > i1) {
    pen.step(n - first_step + 1);
    return;
  }
  pen.step(i0 - first_step);
  const std::int64_t two_n = 2 * static_cast<std::int64_t>(std::max(n, 1));
  std::int64_t num = 2 * i0 * db + n;
  std::int64_t off = num / two_n;
  std::int64_t rem = num % two_n;
  const bool solid = pen.pattern.period == 1;
  PenWalk walk = pen;  // local, as in draw_vspan
  for (std::int64_t i = i0; i <= i1; ++i) {
    const int major = a_major + static_cast<int>(i) * s_major;
    const int minor = a_minor + static_cast<int>(off) * s_minor;
    const int x = x_major ? major : minor;
    const int y = x_major ? minor : major;
    if ((solid || walk.on()) && c.clip.contains(x, y)) c.put(x, y, argb);
    if (!solid) walk.step();
    rem += 2 * db;
    if (rem >= two_n) {
      rem -= two_n;
      ++off;
    }
  }
  pen = walk;
  pen.step(n - i1);
}

}  // namespace kv::chart
