#include "chart/caption_place.h"

#include <algorithm>
#include <cstdlib>
#include <utility>
#include <vector>

namespace kv::chart {
namespace {

bool inside(const PixelRect& r, const PixelRect& bounds) {
  return r.left >= bounds.left && r.right <= bounds.right && r.top >= bounds.top && r.bottom <= bounds.bottom;
}

bool is_free(const PixelRect& r, const CaptionRoom& room) {
  if (!inside(r, room.bounds)) return false;
  for (const PixelRect& t : room.taken)
    if (r.intersects({t.left - room.gap, t.top, t.right + room.gap, t.bottom})) return false;
  return true;
}

PixelRect moved(const PixelRect& r, int dx, int dy) {
  return {r.left + dx, r.top + dy, r.right + dx, r.bottom + dy};
}

// The moves that bring one edge of the box against an edge of a taken box
// or of the bounds: the only places where a nearest free box can start.
std::vector<int> edge_moves(const PixelRect& wanted, const CaptionRoom& room, bool sideways) {
  const auto low = [sideways](const PixelRect& r) { return sideways ? r.left : r.top; };
  const auto high = [sideways](const PixelRect& r) { return sideways ? r.right : r.bottom; };
  const int gap = sideways ? room.gap : 0;
  std::vector<int> moves{0, low(room.bounds) - low(wanted), high(room.bounds) - high(wanted)};
  for (const PixelRect& t : room.taken) {
    moves.push_back(high(t) + gap + 1 - low(wanted));
    moves.push_back(low(t) - gap - 1 - high(wanted));
  }
  return moves;
}

}  // namespace

std::optional<PixelRect> free_caption_box(const PixelRect& wanted, const CaptionRoom& room) {
  std::optional<PixelRect> best;
  int best_distance = 0;
  for (const bool sideways : {true, false}) {
    for (const int d : edge_moves(wanted, room, sideways)) {
      if (!sideways && std::abs(d) > room.reach_across) continue;
      if (best && std::abs(d) >= best_distance) continue;
      const PixelRect r = sideways ? moved(wanted, d, 0) : moved(wanted, 0, d);
      if (!is_free(r, room)) continue;
      best = r;
      best_distance = std::abs(d);
    }
  }
  return best;
}

std::optional<PixelRect> widest_free_stretch(const PixelRect& row, const CaptionRoom& room) {
  std::vector<std::pair<int, int>> blocked;  // columns, inclusive
  for (const PixelRect& t : room.taken)
    if (t.top <= row.bottom && row.top <= t.bottom) blocked.emplace_back(t.left - room.gap, t.right + room.gap);
  std::sort(blocked.begin(), blocked.end());
  std::optional<PixelRect> best;
  int from = room.bounds.left;
  auto consider = [&](int to) {
    if (to >= from && (!best || to - from + 1 > best->width())) best = PixelRect{from, row.top, to, row.bottom};
  };
  for (const auto& [left, right] : blocked) {
    consider(std::min(left - 1, room.bounds.right));
    from = std::max(from, right + 1);
  }
  consider(room.bounds.right);
  return best;
}

}  // namespace kv::chart
