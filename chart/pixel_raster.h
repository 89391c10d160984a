#pragma once
// One-pixel lines written straight into a 32-bit image. A segment from A to
// B steps along its longer axis and puts the shorter coordinate at the
// nearest pixel (halves away from A), so the picture of a polyline is the
// union of its closed segments and does not depend on how it is split up.
#include <cstdint>

#include "chart/chart_types.h"

namespace kv::chart {

// Pen patterns as runs of on and off pixels (the desktop's cosmetic pens).
struct DashPattern {
  std::uint32_t mask = 1;  // bit k set: pixel k of the period is drawn
  int period = 1;
};

DashPattern dash_pattern(TPenStyle style);

// The image region being drawn into; pixel (x, y) in control coordinates is
// bits[(y - origin_y) * stride + (x - origin_x)], drawn only inside `clip`.
struct PixelCanvas {
  std::uint32_t* bits = nullptr;
  int stride = 0;  // in pixels
  int origin_x = 0;
  int origin_y = 0;
  PixelRect clip;

  void put(int x, int y, std::uint32_t argb) const {
    bits[(y - origin_y) * stride + (x - origin_x)] = argb;
  }
};

// Walks a pattern along the pixels of a line, whether they are drawn or not.
struct PenWalk {
  DashPattern pattern;
  int phase = 0;
  bool on() const { return ((pattern.mask >> phase) & 1u) != 0; }
  void step() {
    if (++phase == pattern.period) phase = 0;
  }
  void step(std::int64_t n) { phase = static_cast<int>((phase + n) % pattern.period); }
};

// Draws the pixels of segment a-b from step `first_step` on (0 includes a,
// 1 leaves it out because the previous segment drew it).
void draw_segment(const PixelCanvas& c, PixelPoint a, PixelPoint b, std::uint32_t argb, PenWalk& pen,
                  int first_step);

// A vertical run of pixels from y0 to y1 (either order) at column x.
void draw_vspan(const PixelCanvas& c, int x, int y0, int y1, std::uint32_t argb, PenWalk& pen);

void draw_pixel(const PixelCanvas& c, PixelPoint p, std::uint32_t argb);

// A square of `width` pixels around p, for pens wider than one pixel.
void draw_dot(const PixelCanvas& c, PixelPoint p, int width, std::uint32_t argb);

}  // namespace kv::chart
