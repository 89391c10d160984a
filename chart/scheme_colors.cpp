#include "chart/scheme_colors.h"

#include <QPalette>

namespace kv::chart {
namespace {

// The palette role of each scheme colour, in SystemColor order.
constexpr std::array<QPalette::ColorRole, kSystemColorCount> kSchemeRoles{
    QPalette::Button,           // ScrollBar
    QPalette::Window,           // Background
    QPalette::Highlight,        // ActiveCaption
    QPalette::Midlight,         // InactiveCaption
    QPalette::Window,           // Menu
    QPalette::Base,             // Window
    QPalette::Shadow,           // WindowFrame
    QPalette::WindowText,       // MenuText
    QPalette::Text,             // WindowText
    QPalette::HighlightedText,  // CaptionText
    QPalette::Window,           // ActiveBorder
    QPalette::Window,           // InactiveBorder
    QPalette::Dark,             // AppWorkSpace
    QPalette::Highlight,        // Highlight
    QPalette::HighlightedText,  // HighlightText
    QPalette::Button,           // BtnFace
    QPalette::Dark,             // BtnShadow
    QPalette::PlaceholderText,  // GrayText
    QPalette::ButtonText,       // BtnText
    QPalette::WindowText,       // InactiveCaptionText
    QPalette::Light,            // BtnHighlight
    QPalette::Shadow,           // DkShadow3D
    QPalette::Midlight,         // Light3D
    QPalette::ToolTipText,      // InfoText
    QPalette::ToolTipBase,      // InfoBk
};

TColor stored(const QColor& c) {
  return static_cast<TColor>(c.red()) | static_cast<TColor>(c.green()) << 8 | static_cast<TColor>(c.blue()) << 16;
}

}  // namespace

SchemeColors scheme_colors(const QPalette& palette) {
  SchemeColors colors{};
  for (std::size_t i = 0; i < kSystemColorCount; ++i) colors[i] = stored(palette.color(kSchemeRoles[i]));
  return colors;
}

QColor resolve_color(TColor color, const QPalette& palette) {
  const TColor plain = is_system_color(color) ? plain_color(color, scheme_colors(palette)) : color;
  return QColor(red_of(plain), green_of(plain), blue_of(plain));
}

}  // namespace kv::chart
