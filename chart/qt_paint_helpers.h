#pragma once
// Conversions from the chart's value types to Qt painting objects.
#include <QColor>
#include <QFont>
#include <QPen>
#include <QPoint>
#include <QRect>
#include <QString>

#include "chart/chart_types.h"
#include "chart/item_render.h"
#include "chart/scale_props.h"

class QImage;
class QPainter;

namespace kv::chart {

// A plain colour; scheme colours go through an InkRule first.
inline QColor qcolor(TColor c) { return QColor(red_of(c), green_of(c), blue_of(c)); }

inline QColor ink(TColor c, const InkRule& rule) { return qcolor(rule.ink(c)); }
inline QColor paper(TColor c, const InkRule& rule) { return qcolor(rule.paper(c)); }

QFont qfont(const FontSpec& font);
// A one-pixel-per-unit pen with the style's dash runs; NoPen for psClear.
QPen qpen(TPenStyle style, const QColor& color, int width, bool cosmetic);

inline QString qstr(const std::string& s) { return QString::fromStdString(s); }

inline QRect to_qrect(const PixelRect& r) { return QRect(r.left, r.top, r.width(), r.height()); }

// A w x h block of pixels; nothing when either is not positive.
void fill_px(QPainter& p, int x, int y, int w, int h, const QColor& c);

// `from` into `to` with its top-left corner at `at`, cut to `to`: what
// drawing one opaque 32-bit image onto another at whole pixels gives.
void copy_image(const QImage& from, QImage& to, QPoint at);

// Text written with its top-left corner at `top_left` in the painter's font.
void text_at(QPainter& p, QPoint top_left, const QString& s);

}  // namespace kv::chart
