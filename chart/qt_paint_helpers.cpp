#include "chart/qt_paint_helpers.h"

#include <QFontMetrics>
#include <QImage>
#include <cstring>
#include <QList>
#include <QPainter>

namespace kv::chart {

QFont qfont(const FontSpec& font) {
  QFont f(qstr(font.family));
  f.setPixelSize(std::max(1, font.pixel_size()));
  f.setBold(font.bold);
  f.setItalic(font.italic);
  return f;
}

void fill_px(QPainter& p, int x, int y, int w, int h, const QColor& c) {
  if (w > 0 && h > 0) p.fillRect(QRect(x, y, w, h), c);
}

void copy_image(const QImage& from, QImage& to, QPoint at) {
  const QRect r = QRect(at, from.size()).intersected(to.rect());
  if (r.isEmpty()) return;
  const auto row_bytes = static_cast<std::size_t>(r.width()) * 4;
  for (int y = r.top(); y <= r.bottom(); ++y)
    std::memcpy(to.scanLine(y) + static_cast<std::ptrdiff_t>(r.left()) * 4,
                from.constScanLine(y - at.y()) + static_cast<std::ptrdiff_t>(r.left() - at.x()) * 4, row_bytes);
}

void text_at(QPainter& p, QPoint top_left, const QString& s) {
  p.drawText(top_left + QPoint(0, p.fontMetrics().ascent()), s);
}

QPen qpen(TPenStyle style, const QColor& color, int width, bool cosmetic) {
  if (style == TPenStyle::psClear) return QPen(Qt::NoPen);
  QPen pen(color, std::max(width, 1));
  pen.setCosmetic(cosmetic);
  pen.setCapStyle(Qt::FlatCap);
  // Dash runs in pen widths, the same as the pixel renderer's patterns.
  switch (style) {
    case TPenStyle::psDash: pen.setDashPattern({18, 6}); break;
    case TPenStyle::psDot: pen.setDashPattern({3, 3}); break;
    case TPenStyle::psDashDot: pen.setDashPattern({9, 6, 3, 6}); break;
    case TPenStyle::psDashDotDot: pen.setDashPattern({9, 3, 3, 3, 3, 3}); break;
    case TPenStyle::psSolid:
    case TPenStyle::psClear: break;
  }
  return pen;
}

}  // namespace kv::chart
