#pragma once
// Colours as the program stores them: 0x00BBGGRR for a plain RGB colour,
// 0x80000000 + index for a colour of the desktop scheme (button face, tooltip
// background ...). Plot configuration files keep these values, so they must
// round-trip unchanged.
#include <cstdint>
#include <span>
#include <string>

namespace kv::chart {

using TColor = std::uint32_t;  // the chart's colour type

inline constexpr TColor kSystemColorFlag = 0x80000000u;

// Desktop scheme colours, in scheme order.
enum class SystemColor : std::uint8_t {
  ScrollBar, Background, ActiveCaption, InactiveCaption, Menu, Window, WindowFrame, MenuText,
  WindowText, CaptionText, ActiveBorder, InactiveBorder, AppWorkSpace, Highlight, HighlightText,
  BtnFace, BtnShadow, GrayText, BtnText, InactiveCaptionText, BtnHighlight, DkShadow3D, Light3D,
  InfoText, InfoBk,
};

constexpr TColor system_color(SystemColor which) {
  return kSystemColorFlag | static_cast<TColor>(which);
}
constexpr bool is_system_color(TColor color) { return (color & kSystemColorFlag) != 0; }

struct NamedColor {
  TColor color;
  const char* name;
};

// The 47 named colours: the twenty plain ones a selector offers (clBlack,
// clMaroon ... clMedGray), then the scheme colours and two special values.
std::span<const NamedColor> color_palette();

// How many palette rows a selector offers.
inline constexpr int kNumColors = 20;

// The standard name ("clGreen"), or "$00BBGGRR" for a colour without one.
std::string color_name(TColor color);

}  // namespace kv::chart
