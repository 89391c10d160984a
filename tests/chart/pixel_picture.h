#pragma once
// A chart area's pixels on white paper, for pictures compared pixel by pixel.
#include <cstdint>
#include <vector>

#include "chart/chart_types.h"
#include "chart/pixel_raster.h"

namespace kv::chart::testing {

inline const ChartGeometry kGeo;
inline constexpr std::uint32_t kPaper = 0xFFFFFFFF;

struct Picture {
  std::vector<std::uint32_t> px;
  PixelCanvas canvas;
  Picture() : px(static_cast<std::size_t>(kGeo.area().width() * kGeo.area().height()), kPaper) {
    const PixelRect a = kGeo.area();
    canvas = {px.data(), a.width(), a.left, a.top, a};
  }
  bool inked(std::size_t i) const { return px[i] != kPaper; }
  friend bool operator==(const Picture& a, const Picture& b) { return a.px == b.px; }
};

}  // namespace kv::chart::testing
