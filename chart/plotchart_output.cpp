// The picture without crosshairs for the clipboard, a bitmap file and the
// printer.
#include <QBuffer>
#include <QClipboard>
#include <QGuiApplication>
#include <QPagedPaintDevice>
#include <QPainter>

#include "chart/chart_geometry.h"
#include "chart/plotchart.h"
#include "chart/qt_paint_helpers.h"
#include "common/atomic_file.h"

namespace kv::chart {
namespace {

// Printed items: vector polylines in screen-pixel units, scaled with the page.
class PainterSink : public ItemSink {
 public:
  PainterSink(QPainter& p, const InkRule& colors) : p_(p), colors_(colors) {}
  void polyline(std::span<const PixelPoint> points, const ItemStyle& style) override {
    QPolygonF poly;
    poly.reserve(static_cast<qsizetype>(points.size()));
    // Pixel centres, so that a one-pixel line covers the same pixels scaled.
    for (const PixelPoint& pt : points) poly << QPointF(pt.x + 0.5, pt.y + 0.5);
    p_.setPen(qpen(style.pen, ink(style.color, colors_), style.width, false));
    p_.drawPolyline(poly);
  }
  void mark(PixelPoint pt, const ItemStyle& style, int) override {
    p_.fillRect(QRectF(pt.x, pt.y, 1, 1), ink(style.color, colors_));
  }

 private:
  QPainter& p_;
  const InkRule& colors_;
};

}  // namespace

QImage TPlotChart::Picture(bool mono) const {
  QImage whole;
  QImage area;
  render_picture(whole, area, mono);
  return whole;
}

void TPlotChart::CopyToClipboard(bool mono) const {
  if (QClipboard* clipboard = QGuiApplication::clipboard()) clipboard->setImage(Picture(mono));
}

bool TPlotChart::SaveBitmapFile(const std::string& fileName, bool mono) const {
  QByteArray bytes;
  QBuffer buffer(&bytes);
  if (!buffer.open(QIODevice::WriteOnly) || !Picture(mono).save(&buffer, "BMP")) return false;
  return write_file_atomically(bitmap_file_name(fileName),
                               std::string_view(bytes.constData(), static_cast<std::size_t>(bytes.size())));
}

void TPlotChart::PrintChart(QPainter& p, int left, int top, bool mono, double scale) const {
  const QPaintDevice* device = p.device();
  const double printer_dpi = device != nullptr ? device->logicalDpiX() : logicalDpiX();
  const double f = print_factor(scale, printer_dpi, logicalDpiX());
  const PixelRect a = geo_.area();
  const InkRule colors = ink_rule(mono);
  p.save();
  p.translate(left, top);
  p.scale(f, f);
  p.fillRect(QRect(0, 0, geo_.width, geo_.height), paper(wind_color_, colors));
  paint_rulers(p, colors);
  p.save();
  p.setClipRect(QRect(a.left, a.top, a.width(), a.height()));
  paint_area_background(p, colors);
  paint_grid(p, colors);
  PainterSink sink(p, colors);
  walk_items(items_, layer_maps(), visible_layers(), sink);
  paint_labels(p, colors);
  paint_frame(p, colors);
  p.restore();
  p.restore();
}

void TPlotChart::PrintChart(QPagedPaintDevice& device, int left, int top, bool mono, double scale) const {
  QPainter p(&device);
  PrintChart(p, left, top, mono, scale);
}

}  // namespace kv::chart
