#include "library_ui/scatter_labels.h"

#include <algorithm>
#include <array>
#include <cmath>
#include <optional>

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

// The crosses of all points, so that no date is written over another
// point: a cross drawn through a date hides both, and a date running on to
// the next point reads as that point's.
class Crosses {
 public:
  explicit Crosses(std::vector<PixelPoint> points) : points_(std::move(points)) {
    std::sort(points_.begin(), points_.end(), [](PixelPoint a, PixelPoint b) { return a.x < b.x; });
  }
  bool cross(const PixelRect& box) const {
    const auto first = std::lower_bound(points_.begin(), points_.end(), box.left - kCrossReach,
                                        [](PixelPoint p, int x) { return p.x < x; });
    for (auto it = first; it != points_.end() && it->x <= box.right + kCrossReach; ++it) {
      if (it->y >= box.top - kCrossReach && it->y <= box.bottom + kCrossReach) return true;
    }
    return false;
  }

 private:
  // Half the size of a cross, clear of a label at kLabelGap from its point.
  static constexpr int kCrossReach = kLabelGap - 1;
  std::vector<PixelPoint> points_;
};

}  // namespace

LabelPlacement place_labels(const std::vector<LabelSpot>& spots, const chart::LayerMap& map,
                            const chart::PixelRect& area, const TextWidth& width, int line_height) {
  LabelPlacement out;
  std::vector<std::optional<PixelPoint>> points;
  points.reserve(spots.size());
  for (const LabelSpot& spot : spots) {
    const bool finite = std::isfinite(spot.x) && std::isfinite(spot.y);
    points.push_back(finite ? std::optional(map.to_px(spot.x, spot.y)) : std::nullopt);
  }
  std::vector<PixelPoint> drawn;
  for (const auto& at : points) {
    if (at && area.contains(at->x, at->y)) drawn.push_back(*at);
  }
  const Crosses crosses(std::move(drawn));
  for (std::size_t i = 0; i < spots.size(); ++i) {
    if (!points[i] || !area.contains(points[i]->x, points[i]->y)) continue;
    const PixelPoint at = *points[i];
    bool done = false;
    for (const PixelRect& box : candidates(at, width(spots[i].text), line_height)) {
      if (inside(area, box) && !crosses.cross(box) && is_free(box, out.placed)) {
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
