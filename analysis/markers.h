#pragma once
// The two markers (crosshairs 1 and 2) and what their value boxes show.
#include <array>
#include <string>

namespace kv::analysis {

struct MarkerPoint {
  double x = 0;
  double y = 0;
};

// A marker outside [low, high] (the ends count as inside) goes to (low, 0).
MarkerPoint marker_in_window(MarkerPoint m, double low, double high);

// x1, x2, x1 - x2, y1, y2, y1 - y2, each "%.1f": NumEdit5, NumEdit6,
// NumEdit8, NumEdit10, NumEdit9, NumEdit7.
std::array<std::string, 6> marker_texts(MarkerPoint m1, MarkerPoint m2);

}  // namespace kv::analysis
