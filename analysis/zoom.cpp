#include "analysis/zoom.h"

#include <algorithm>

namespace kv::analysis {
namespace {

using chart::TMouseActMode;

constexpr std::array<MouseMode, 9> kMouseModes = {{{false, false, TMouseActMode::maDragCrossH},
                                                   {true, true, TMouseActMode::maZoomWindPos},
                                                   {true, true, TMouseActMode::maZoomDrag},
                                                   {true, false, TMouseActMode::maPan},
                                                   {false, true, TMouseActMode::maPan},
                                                   {true, false, TMouseActMode::maPanHoriz},
                                                   {false, true, TMouseActMode::maPanHoriz},
                                                   {true, true, TMouseActMode::maPan},
                                                   {true, true, TMouseActMode::maPanHoriz}}};

constexpr long double kZoomIn = 0.71428571428571428575L;
constexpr long double kZoomOut = 1.4L;

struct Span {
  double low;
  double high;
};

// Centre and half span, each held as a 32-bit float as the scales take them.
Span scaled(double low, double high, long double factor) {
  const auto centre = static_cast<float>((static_cast<long double>(low) + high) / 2);
  const auto half = static_cast<float>((static_cast<long double>(high) - low) * factor / 2);
  return {static_cast<double>(centre) - half, static_cast<double>(centre) + half};
}

Span bounded(Span s, double home_low, double home_high) {
  const Span clipped{std::max(s.low, home_low), std::min(s.high, home_high)};
  if (clipped.low < clipped.high) return clipped;
  // Entirely outside home (panned away): the widened span, moved inside.
  const double width = std::min(s.high - s.low, home_high - home_low);
  const double low = std::clamp(s.low, home_low, home_high - width);
  return {low, low + width};
}

}  // namespace

MouseMode mouse_mode(int zoom_mode) {
  const bool known = zoom_mode >= 0 && zoom_mode < static_cast<int>(kMouseModes.size());
  return kMouseModes[static_cast<std::size_t>(known ? zoom_mode : 0)];
}

LayerRange zoom_in(const LayerRange& now) {
  const Span x = scaled(now.x_low, now.x_high, kZoomIn);
  const Span y = scaled(now.y_low, now.y_high, kZoomIn);
  return {x.low, y.low, x.high, y.high};
}

LayerRange zoom_out(const LayerRange& now, const std::optional<LayerRange>& home) {
  Span x = scaled(now.x_low, now.x_high, kZoomOut);
  Span y = scaled(now.y_low, now.y_high, kZoomOut);
  if (home) {
    x = bounded(x, home->x_low, home->x_high);
    y = bounded(y, home->y_low, home->y_high);
  }
  return {x.low, y.low, x.high, y.high};
}

}  // namespace kv::analysis
