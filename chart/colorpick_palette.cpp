#include "chart/colorpick_palette.h"

#include <array>
#include <cstdio>

namespace kv::chart {
namespace {

constexpr TColor sys(SystemColor which) { return system_color(which); }

constexpr std::array<NamedColor, 47> kPalette{{
    {0x000000, "clBlack"},
    {0x000080, "clMaroon"},
    {0x008000, "clGreen"},
    {0x008080, "clOlive"},
    {0x800000, "clNavy"},
    {0x800080, "clPurple"},
    {0x808000, "clTeal"},
    {0x808080, "clGray"},
    {0xC0C0C0, "clSilver"},
    {0x0000FF, "clRed"},
    {0x00FF00, "clLime"},
    {0x00FFFF, "clYellow"},
    {0xFF0000, "clBlue"},
    {0xFF00FF, "clFuchsia"},
    {0xFFFF00, "clAqua"},
    {0xFFFFFF, "clWhite"},
    {0xC0DCC0, "clMoneyGreen"},
    {0xF0CAA6, "clSkyBlue"},
    {0xF0FBFF, "clCream"},
    {0xA4A0A0, "clMedGray"},
    {sys(SystemColor::ActiveBorder), "clActiveBorder"},
    {sys(SystemColor::ActiveCaption), "clActiveCaption"},
    {sys(SystemColor::AppWorkSpace), "clAppWorkSpace"},
    {sys(SystemColor::Background), "clBackground"},
    {sys(SystemColor::BtnFace), "clBtnFace"},
    {sys(SystemColor::BtnHighlight), "clBtnHighlight"},
    {sys(SystemColor::BtnShadow), "clBtnShadow"},
    {sys(SystemColor::BtnText), "clBtnText"},
    {sys(SystemColor::CaptionText), "clCaptionText"},
    {sys(SystemColor::GrayText), "clGrayText"},
    {sys(SystemColor::Highlight), "clHighlight"},
    {sys(SystemColor::HighlightText), "clHighlightText"},
    {sys(SystemColor::InactiveBorder), "clInactiveBorder"},
    {sys(SystemColor::InactiveCaption), "clInactiveCaption"},
    {sys(SystemColor::InactiveCaptionText), "clInactiveCaptionText"},
    {sys(SystemColor::InfoBk), "clInfoBk"},
    {sys(SystemColor::InfoText), "clInfoText"},
    {sys(SystemColor::Menu), "clMenu"},
    {sys(SystemColor::MenuText), "clMenuText"},
    {sys(SystemColor::ScrollBar), "clScrollBar"},
    {sys(SystemColor::DkShadow3D), "cl3DDkShadow"},
    {sys(SystemColor::Light3D), "cl3DLight"},
    {sys(SystemColor::Window), "clWindow"},
    {sys(SystemColor::WindowFrame), "clWindowFrame"},
    {sys(SystemColor::WindowText), "clWindowText"},
    {0x1FFFFFFF, "clNone"},
    {0x20000000, "clDefault"},
}};

}  // namespace

std::span<const NamedColor> color_palette() { return kPalette; }

std::string color_name(TColor color) {
  for (const NamedColor& entry : kPalette) {
    if (entry.color == color) return entry.name;
  }
  char text[16];
  std::snprintf(text, sizeof text, "$%.8X", static_cast<unsigned>(color));
  return text;
}

}  // namespace kv::chart
