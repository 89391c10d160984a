#include "library_ui/scatter_labels.h"

#include <array>
#include <cmath>

namespace kv {
namespace {

using chart::PixelPoint;
using chart::PixelRect;

bool inside(const PixelRect& outer, const PixelRect& inner) {
  return inner.left >= outer.left && inner.right <= outer.right && inner.top >= outer.top &&
         inner.bottom <= outer.bottom;
}

// The four places tried around a point, the reading side first. Above and
// below keep clear of the band the side places take, so all four can hold
// a label at once.
std::array<PixelRect, 4> candidates(PixelPoint at, int width, int height) {
  const int mid_top = at.y - height / 2;
  const int left_of_point = at.x - kLabelGap - width;
  const int centred = at.x - width / 2;
  return {PixelRect{at.x + kLabelGap, mid_top, at.x + kLabelGap + width - 1, mid_top + height - 1},
          PixelRect{left_of_point, mid_top, left_of_point + width - 1, mid_top + height - 1},
          PixelRect{centred, mid_top - height, centred + width - 1, mid_top - 1},
          PixelRect{centred, mid_top + height, centred + width - 1, mid_top + 2 * height - 1}};
}

bool is_free(const PixelRect& box, const std::vector<PlacedLabel>& placed) {
  for (const auto& other : placed) {
    if (box.intersects(other.box)) return false;
  }
  return true;
}

}  // namespace

LabelPlacement place_labels(const std::vector<LabelSpot>& spots, const chart::LayerMap& map,
                            const chart::PixelRect& area, const TextWidth& width, int line_height) {
  LabelPlacement out;
  for (std::size_t i = 0; i < spots.size(); ++i) {
    const LabelSpot& spot = spots[i];
    if (!std::isfinite(spot.x) || !std::isfinite(spot.y)) continue;
    const PixelPoint at = map.to_px(spot.x, spot.y);
    if (!area.contains(at.x, at.y)) continue;
    bool done = false;
    for (const PixelRect& box : candidates(at, width(spot.text), line_height)) {
      if (inside(area, box) && is_free(box, out.placed)) {
        out.placed.push_back({i, box});
        done = true;
        break;
      }
    }
    if (!done) ++out.left_out;
  }
  return out;
}

}  // namespace kv
