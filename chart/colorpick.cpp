#include "chart/colorpick.h"

#include <QPainter>
#include <QPalette>
#include <QPixmap>
#include <array>

namespace kv::chart {
namespace {

constexpr int kColorBarHeight = 12;
constexpr int kColorRole = Qt::UserRole;

struct SchemeRole {
  SystemColor which;
  QPalette::ColorRole role;
};

// How the desktop scheme colours map onto the widget palette.
constexpr std::array<SchemeRole, 25> kSchemeRoles{{
    {SystemColor::ScrollBar, QPalette::Button},
    {SystemColor::Background, QPalette::Window},
    {SystemColor::ActiveCaption, QPalette::Highlight},
    {SystemColor::InactiveCaption, QPalette::Midlight},
    {SystemColor::Menu, QPalette::Window},
    {SystemColor::Window, QPalette::Base},
    {SystemColor::WindowFrame, QPalette::Shadow},
    {SystemColor::MenuText, QPalette::WindowText},
    {SystemColor::WindowText, QPalette::Text},
    {SystemColor::CaptionText, QPalette::HighlightedText},
    {SystemColor::ActiveBorder, QPalette::Window},
    {SystemColor::InactiveBorder, QPalette::Window},
    {SystemColor::AppWorkSpace, QPalette::Dark},
    {SystemColor::Highlight, QPalette::Highlight},
    {SystemColor::HighlightText, QPalette::HighlightedText},
    {SystemColor::BtnFace, QPalette::Button},
    {SystemColor::BtnShadow, QPalette::Dark},
    {SystemColor::GrayText, QPalette::PlaceholderText},
    {SystemColor::BtnText, QPalette::ButtonText},
    {SystemColor::InactiveCaptionText, QPalette::WindowText},
    {SystemColor::BtnHighlight, QPalette::Light},
    {SystemColor::DkShadow3D, QPalette::Shadow},
    {SystemColor::Light3D, QPalette::Midlight},
    {SystemColor::InfoText, QPalette::ToolTipText},
    {SystemColor::InfoBk, QPalette::ToolTipBase},
}};

QIcon color_bar(const QColor& color) {
  QPixmap bar(TColorPick::ColorBarWidth, kColorBarHeight);
  bar.fill(color);
  QPainter painter(&bar);
  painter.setPen(Qt::black);
  painter.drawRect(bar.rect().adjusted(0, 0, -1, -1));
  return QIcon(bar);
}

}  // namespace

QColor resolve_color(TColor color, const QPalette& palette) {
  if (is_system_color(color)) {
    for (const SchemeRole& entry : kSchemeRoles) {
      if (system_color(entry.which) == color) return palette.color(entry.role);
    }
  }
  return QColor(static_cast<int>(color & 0xFF), static_cast<int>((color >> 8) & 0xFF),
                static_cast<int>((color >> 16) & 0xFF));
}

TColorPick::TColorPick(QWidget* parent) : QComboBox(parent) {
  setMaxVisibleItems(DropDownCount);
  setIconSize(QSize(ColorBarWidth, kColorBarHeight));
  const auto palette = color_palette();
  for (int row = 0; row < kNumColors; ++row) {
    addItem(QString());
    set_row_color(row, palette[static_cast<std::size_t>(row)].color);
  }
  setCurrentIndex(0);
  // activated() comes only from the user's choice, never from setCurrentIndex.
  connect(this, &QComboBox::activated, this, [this] { emit OnChange(); });
}

TColor TColorPick::SelColor() const {
  return itemData(currentIndex(), kColorRole).value<TColor>();
}

void TColorPick::setSelColor(TColor color) {
  for (int row = 0; row < count(); ++row) {
    if (itemData(row, kColorRole).value<TColor>() == color) {
      setCurrentIndex(row);
      return;
    }
  }
  set_row_color(currentIndex(), color);
}

void TColorPick::set_row_color(int row, TColor color) {
  setItemData(row, QVariant::fromValue(color), kColorRole);
  setItemText(row, QString::fromStdString(color_name(color)));
  setItemIcon(row, color_bar(resolve_color(color, palette())));
}

}  // namespace kv::chart
