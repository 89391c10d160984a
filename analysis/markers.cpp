#include "analysis/markers.h"

#include "analysis/plot_text.h"

namespace kv::analysis {

MarkerPoint marker_in_window(MarkerPoint m, double low, double high) {
  if (m.x >= low && m.x <= high) return m;
  return {low, 0};
}

std::array<std::string, 6> marker_texts(MarkerPoint m1, MarkerPoint m2) {
  constexpr int kDecimals = 1;
  return {fixed_text(m1.x, kDecimals), fixed_text(m2.x, kDecimals), fixed_text(m1.x - m2.x, kDecimals),
          fixed_text(m1.y, kDecimals), fixed_text(m2.y, kDecimals), fixed_text(m1.y - m2.y, kDecimals)};
}

}  // namespace kv::analysis
