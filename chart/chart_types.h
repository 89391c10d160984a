#pragma once
// Value types shared by the chart control and its Qt-free helpers: colours in
// the platform's blue-green-red order, pen styles, the modes of crosshairs,
// text labels, grid and mouse, and the control's pixel geometry.
#include <array>
#include <cstddef>
#include <cstdint>

namespace kv::chart {

// 0x00BBGGRR, as the plot window stores its colours (0xFF0000 is blue), or
// 0x80000000 + index for a colour of the desktop scheme (button face,
// tooltip background ...), which shows as the desktop paints it.
using TColor = std::uint32_t;

inline constexpr TColor kSystemColorFlag = 0x80000000u;

// Desktop scheme colours, in scheme order.
enum class SystemColor : std::uint8_t {
  ScrollBar, Background, ActiveCaption, InactiveCaption, Menu, Window, WindowFrame, MenuText,
  WindowText, CaptionText, ActiveBorder, InactiveBorder, AppWorkSpace, Highlight, HighlightText,
  BtnFace, BtnShadow, GrayText, BtnText, InactiveCaptionText, BtnHighlight, DkShadow3D, Light3D,
  InfoText, InfoBk,
};
inline constexpr std::size_t kSystemColorCount = 25;

constexpr TColor system_color(SystemColor which) {
  return kSystemColorFlag | static_cast<TColor>(which);
}
constexpr bool is_system_color(TColor color) { return (color & kSystemColorFlag) != 0; }

// Plain colours of the scheme, indexed by SystemColor.
using SchemeColors = std::array<TColor, kSystemColorCount>;

// A light desktop scheme, for pictures drawn without a desktop's palette.
inline constexpr SchemeColors kStandardScheme{
    0xC8C8C8, 0x000000, 0xD1B499, 0xDBCDBF, 0xF0F0F0, 0xFFFFFF, 0x646464, 0x000000, 0x000000,
    0x000000, 0xB4B4B4, 0xFCF7F4, 0xABABAB, 0xFF9933, 0xFFFFFF, 0xF0F0F0, 0xA0A0A0, 0x6D6D6D,
    0x000000, 0x000000, 0xFFFFFF, 0x696969, 0xE3E3E3, 0x000000, 0xE1FFFF,
};

// The plain colour `color` shows as. A scheme colour is looked up; an index
// the scheme does not have keeps its low bytes, like every other value.
constexpr TColor plain_color(TColor color, const SchemeColors& scheme) {
  if (!is_system_color(color)) return color;
  const TColor index = color & ~kSystemColorFlag;
  return index < scheme.size() ? scheme[index] : color;
}

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
// Scheme colours the program uses: the marker boxes' face, the labels'
// tooltip background and text.
inline constexpr TColor clBtnFace = system_color(SystemColor::BtnFace);
inline constexpr TColor clInfoBk = system_color(SystemColor::InfoBk);
inline constexpr TColor clInfoText = system_color(SystemColor::InfoText);

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
  bool intersects(const PixelRect& o) const {
    return left <= o.right && o.left <= right && top <= o.bottom && o.top <= bottom;
  }
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
