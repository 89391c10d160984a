#pragma once
// Value types shared by the chart control and its Qt-free helpers: colours in
// the platform's blue-green-red order, pen styles, the modes of crosshairs,
// text labels, grid and mouse, and the control's pixel geometry.
#include <cstdint>

namespace kv::chart {

// 0x00BBGGRR, as the plot window stores its colours (0xFF0000 is blue).
using TColor = std::uint32_t;

inline constexpr TColor clBlack = 0x000000;
inline constexpr TColor clWhite = 0xFFFFFF;
inline constexpr TColor clRed = 0x0000FF;
inline constexpr TColor clBlue = 0xFF0000;
inline constexpr TColor clGreen = 0x008000;
inline constexpr TColor clOlive = 0x008080;
inline constexpr TColor clGray = 0x808080;
inline constexpr TColor clSilver = 0xC0C0C0;
// The desktop's border grey of the plot window's design.
inline constexpr TColor clActiveBorder = 0xB4B4B4;

constexpr std::uint8_t red_of(TColor c) { return static_cast<std::uint8_t>(c & 0xFF); }
constexpr std::uint8_t green_of(TColor c) { return static_cast<std::uint8_t>((c >> 8) & 0xFF); }
constexpr std::uint8_t blue_of(TColor c) { return static_cast<std::uint8_t>((c >> 16) & 0xFF); }
// The 0xAARRGGBB word of a 32-bit image pixel.
constexpr std::uint32_t argb_of(TColor c) {
  return 0xFF000000u | (std::uint32_t{red_of(c)} << 16) | (std::uint32_t{green_of(c)} << 8) | blue_of(c);
}

enum class TPenStyle : std::uint8_t { psSolid, psDash, psDot, psDashDot, psDashDotDot, psClear };
enum class TCrossHMode : std::uint8_t { chOff, chHoriz, chVert, chBoth };
enum class TTxtLblMode : std::uint8_t { tlOff, tlsimple, tlBox, tlUnderline, tlShadow };
enum class TAlignment : std::uint8_t { taLeftJustify, taRightJustify, taCenter };
enum class TGridStyle : std::uint8_t {
  gsNone, gsPoints, gsVertLines, gsHorizLines, gsLines, gsHorizDotLines, gsVertDotLines, gsDotLines
};
enum class TMouseActMode : std::uint8_t {
  maNone, maPan, maPanHoriz, maPanVert, maRubberBand, maZoom, maZoomWind, maZoomWindPos,
  maZoomDrag, maDragCrossH, maDragLabel, maRotate, maRotAndZoom, maRotXOnly, maRotZOnly
};
enum class TScaleLocation : std::uint8_t { slBottom, slTop, slLeft, slRight };
enum class TCaptionAnchor : std::uint8_t { uaSclTopLft, uaSclCenter, uaSclBotRgt };
enum class TLabelType : std::uint8_t { ftNum };

inline constexpr int kLayerCount = 16;
inline constexpr int kCrossHairCount = 4;
inline constexpr int kTextLabelCount = 20;

struct PixelPoint {
  int x = 0;
  int y = 0;
  friend bool operator==(const PixelPoint&, const PixelPoint&) = default;
};

struct PixelRect {  // inclusive corners
  int left = 0;
  int top = 0;
  int right = -1;
  int bottom = -1;
  int width() const { return right - left + 1; }
  int height() const { return bottom - top + 1; }
  bool contains(int x, int y) const { return x >= left && x <= right && y >= top && y <= bottom; }
};

// The control's size and margins; the chart area is what the margins leave.
struct ChartGeometry {
  int width = 653;
  int height = 498;
  int lrim = 40;
  int rrim = 40;
  int trim = 15;
  int brim = 65;
  int shadow_width = 0;

  int area_right() const { return width - rrim - shadow_width; }
  int area_bottom() const { return height - brim - shadow_width; }
  // Pixels the X and Y ranges are spread over (the right and bottom frame
  // lines are where RangeHigh and RangeLow fall).
  int span_x() const { return width - lrim - rrim - shadow_width; }
  int span_y() const { return height - trim - brim - shadow_width; }
  PixelRect area() const { return {lrim, trim, area_right(), area_bottom()}; }
};

}  // namespace kv::chart
