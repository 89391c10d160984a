#include "chart/chart_geometry.h"

#include <algorithm>
#include <limits>

namespace kv::chart {

std::vector<std::string> caption_lines(const std::string& caption) {
  std::vector<std::string> lines(1);
  for (char ch : caption) {
    if (ch == '\n')
      lines.emplace_back();
    else
      lines.back().push_back(ch);
  }
  return lines;
}

LabelLayout layout_label(PixelPoint anchor, TAlignment alignment, std::span<const int> line_widths,
                         int line_height) {
  LabelLayout out;
  const int n = std::max<int>(1, static_cast<int>(line_widths.size()));
  const int w = line_widths.empty() ? 0 : *std::max_element(line_widths.begin(), line_widths.end());
  int x = anchor.x;
  if (alignment == TAlignment::taRightJustify) x -= w;
  if (alignment == TAlignment::taCenter) x -= w / 2;
  const int y = anchor.y;
  out.block_left = x;
  out.block_width = w;
  out.box = {x - kLabelPadX, y - n * line_height - kLabelPadY, x + w + kLabelPadX, y + kLabelPadY};
  for (int i = 0; i < static_cast<int>(line_widths.size()); ++i) {
    const int slack = w - line_widths[static_cast<std::size_t>(i)];
    const int shift = alignment == TAlignment::taLeftJustify ? 0
                      : alignment == TAlignment::taRightJustify ? slack
                                                                 : slack / 2;
    out.line_origins.push_back({x + shift, y - line_height * (n - i)});
  }
  return out;
}

CrossHairLines crosshair_lines(const LayerMap& map, const PixelRect& area, TCrossHMode mode, double pos_x,
                               double pos_y, int line_width) {
  CrossHairLines out;
  out.x = map.x.to_px(pos_x);
  out.y = map.y.to_px(pos_y);
  const int half = std::max(line_width, 1) / 2;
  const bool wants_h = mode == TCrossHMode::chHoriz || mode == TCrossHMode::chBoth;
  const bool wants_v = mode == TCrossHMode::chVert || mode == TCrossHMode::chBoth;
  out.horizontal = wants_h && out.y - half > area.top && out.y + half < area.bottom;
  out.vertical = wants_v && out.x - half > area.left && out.x + half < area.right;
  return out;
}

int nearest_crosshair(std::span<const CrossHairTarget> hairs, PixelPoint mouse) {
  int best = 1;
  long long best_d = std::numeric_limits<long long>::max();
  for (std::size_t i = 0; i < hairs.size(); ++i) {
    const CrossHairTarget& h = hairs[i];
    const long long dx = static_cast<long long>(h.at.x) - mouse.x;
    const long long dy = static_cast<long long>(h.at.y) - mouse.y;
    long long d = std::numeric_limits<long long>::max();
    if (h.mode == TCrossHMode::chVert || h.mode == TCrossHMode::chBoth) d = std::min(d, dx * dx);
    if (h.mode == TCrossHMode::chHoriz || h.mode == TCrossHMode::chBoth) d = std::min(d, dy * dy);
    if (d < best_d) {
      best_d = d;
      best = static_cast<int>(i) + 1;
    }
  }
  return best;
}

std::string bitmap_file_name(const std::string& file_name) {
  const std::size_t slash = file_name.find_last_of('/');
  const std::size_t name_start = slash == std::string::npos ? 0 : slash + 1;
  const std::size_t dot = file_name.find('.', name_start);
  return file_name.substr(0, dot) + ".bmp";
}

double print_factor(double scale, double printer_dpi, double screen_dpi) {
  if (!(screen_dpi > 0)) return scale;
  return scale * printer_dpi / screen_dpi;
}

std::string text_label_index_error(const std::string& control_name) {
  return "Component \"" + control_name + "\": invalid index into TextLabel array";
}

}  // namespace kv::chart
