#include "chart/colorpick.h"

#include <QPainter>
#include <QPalette>
#include <QPixmap>

namespace kv::chart {
namespace {

constexpr int kColorBarHeight = 12;
constexpr int kColorRole = Qt::UserRole;

QIcon color_bar(const QColor& color) {
  QPixmap bar(TColorPick::ColorBarWidth, kColorBarHeight);
  bar.fill(color);
  QPainter painter(&bar);
  painter.setPen(Qt::black);
  painter.drawRect(bar.rect().adjusted(0, 0, -1, -1));
  return QIcon(bar);
}

}  // namespace

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
