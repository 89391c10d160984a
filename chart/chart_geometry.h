#pragma once
// Pixel rules of the chart's overlays and outputs that do not need a
// canvas: text label boxes, crosshair lines and the choice of the nearest
// one, the bitmap file name and the printer scale.
#include <span>
#include <string>
#include <vector>

#include "chart/chart_mapping.h"
#include "chart/chart_types.h"

namespace kv::chart {

// A text label's caption: line feeds separate its lines.
std::vector<std::string> caption_lines(const std::string& caption);

struct LabelLayout {
  PixelRect box;
  int block_left = 0;  // the anchor after alignment
  int block_width = 0;
  std::vector<PixelPoint> line_origins;  // top-left corner of each line's text
};

inline constexpr int kLabelPadX = 4;
inline constexpr int kLabelPadY = 2;

// The anchor is the bottom-left corner of the text block once alignment has
// moved it; the box leaves 4 pixels left and right and 2 above and below.
LabelLayout layout_label(PixelPoint anchor, TAlignment alignment, std::span<const int> line_widths,
                         int line_height);

struct CrossHairLines {
  bool horizontal = false;
  bool vertical = false;
  int x = 0;  // pixel column of the vertical line
  int y = 0;  // pixel row of the horizontal line
};

// Lines are drawn only strictly inside the chart area, clear of the frame
// by half the line width.
CrossHairLines crosshair_lines(const LayerMap& map, const PixelRect& area, TCrossHMode mode, double pos_x,
                               double pos_y, int line_width);

struct CrossHairTarget {
  TCrossHMode mode;
  PixelPoint at;  // the crosshair's point in pixels
};

// 1-based index of the crosshair whose line is nearest `mouse`; the earlier
// one on a tie, 1 when none shows.
int nearest_crosshair(std::span<const CrossHairTarget> hairs, PixelPoint mouse);

// The folder stays; the name is cut at its first dot and ".bmp" appended.
std::string bitmap_file_name(const std::string& file_name);

// Printer pixels per screen pixel: the picture at `scale` of its size on
// screen, whatever the two resolutions.
double print_factor(double scale, double printer_dpi, double screen_dpi);

std::string text_label_index_error(const std::string& control_name);

}  // namespace kv::chart
