#pragma once
// The chart area's background, grid and frame written straight into its
// pixels, the same pixels the desktop's painter gives (its one-pixel lines
// leave out their last pixel and start their dash pattern at the first),
// without a painter and without allocating: the grid's positions go into
// lists kept from picture to picture.
#include <cstdint>
#include <vector>

#include "chart/chart_mapping.h"
#include "chart/chart_types.h"
#include "chart/pixel_raster.h"
#include "chart/ruler_ticks.h"
#include "chart/scale_props.h"

namespace kv::chart {

struct GridShape {
  bool dotted = false;
  bool vertical = false;
  bool horizontal = false;
  bool points = false;
};

GridShape grid_shape(TGridStyle style);

// Where one direction's grid lines go: every multiple of `spacing` when it
// is positive, else at the scale's ticks.
void grid_positions(const TScaleProps& s, double spacing, RulerTicks& scratch, std::vector<double>& out);

// Kept between pictures so that drawing the grid allocates nothing.
struct GridScratch {
  RulerTicks ticks;
  std::vector<double> xs;
  std::vector<double> ys;
};

struct GridView {
  TGridStyle style = TGridStyle::gsNone;
  double dx = 0;
  double dy = 0;
  const TScaleProps* x = nullptr;
  const TScaleProps* y = nullptr;
  LayerMap map;
};

void fill_canvas(const PixelCanvas& c, const PixelRect& r, std::uint32_t argb);
void outline_canvas(const PixelCanvas& c, const PixelRect& r, std::uint32_t argb);

// A one-pixel line from `from` to `to` along a row or a column, as the
// desktop's painter draws it: towards `to` without its last pixel, a single
// pixel when both ends are one.
void axis_line(const PixelCanvas& c, PixelPoint from, PixelPoint to, DashPattern pattern, std::uint32_t argb);

void paint_grid(const PixelCanvas& c, const GridView& grid, const PixelRect& area, std::uint32_t argb,
                GridScratch& scratch);

}  // namespace kv::chart
