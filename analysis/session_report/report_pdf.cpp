#include "analysis/session_report/report_pdf.h"

#include <QBuffer>
#include <QFontMetricsF>
#include <QPageLayout>
#include <QPageSize>
#include <QPainter>
#include <QPdfWriter>
#include <QTextOption>

namespace kv::session_report {
namespace {

constexpr int kResolution = 300;
constexpr double kDevicePerPoint = kResolution / 72.0;

QRectF device_rect(const Box& box) {
  return {box.x * kDevicePerPoint, box.y * kDevicePerPoint, box.w * kDevicePerPoint, box.h * kDevicePerPoint};
}

// The layout reserves lines for a wrapped text by its length alone; a text of
// wide letters or a word longer than a line would then lose its end below or
// beside the box. Such a text breaks inside the word and shrinks until it fits.
constexpr double kWrappedShrink = 0.92;
constexpr double kMinWrappedSize = 4.0;

void paint_wrapped(QPainter& painter, const QRectF& rect, Qt::Alignment align, const QString& text) {
  QTextOption option(align);
  option.setWrapMode(QTextOption::WrapAtWordBoundaryOrAnywhere);
  QFont font = painter.font();
  while (font.pointSizeF() * kWrappedShrink >= kMinWrappedSize &&
         painter.boundingRect(rect, text, option).height() > rect.height()) {
    font.setPointSizeF(font.pointSizeF() * kWrappedShrink);
    painter.setFont(font);
  }
  painter.drawText(rect, text, option);
}

void paint_text(QPainter& painter, const PlacedText& placed) {
  QFont font = painter.font();
  font.setPointSizeF(placed.size);
  font.setBold(placed.bold);
  // Without ligatures the words stay searchable and copyable from the PDF
  // ("Differential", not "Di\uFB00erential").
  font.setStyleStrategy(QFont::PreferNoShaping);
  painter.setFont(font);
  const QRectF rect = device_rect(placed.box);
  const Qt::Alignment align = (placed.align == Align::right ? Qt::AlignRight : Qt::AlignLeft) |
                              (!placed.wrap ? Qt::AlignVCenter : placed.bottom ? Qt::AlignBottom : Qt::AlignTop);
  const QString text = QString::fromStdString(placed.text);
  if (placed.wrap) {
    paint_wrapped(painter, rect, align, text);
    return;
  }
  const QString fitted = QFontMetricsF(font, painter.device()).elidedText(text, Qt::ElideRight, rect.width());
  painter.drawText(rect, static_cast<int>(align) | Qt::TextSingleLine, fitted);
}

void paint_page(QPainter& painter, const ReportPage& page, const QImage& chart) {
  if (!chart.isNull() && page.chart.w > 0 && page.chart.h > 0) painter.drawImage(device_rect(page.chart), chart);
  for (const PlacedRule& rule : page.rules) {
    painter.drawLine(QPointF(rule.x1 * kDevicePerPoint, rule.y1 * kDevicePerPoint),
                     QPointF(rule.x2 * kDevicePerPoint, rule.y2 * kDevicePerPoint));
  }
  for (const PlacedText& text : page.texts) paint_text(painter, text);
}

}  // namespace

QByteArray report_pdf(const std::vector<ReportPage>& pages, const QImage& chart) {
  QByteArray bytes;
  QBuffer buffer(&bytes);
  buffer.open(QIODevice::WriteOnly);
  {
    QPdfWriter writer(&buffer);
    writer.setResolution(kResolution);
    writer.setTitle("Korvanta Session Report");
    writer.setCreator("Korvanta Tools");
    writer.setPageLayout(QPageLayout(QPageSize(QPageSize::A4), QPageLayout::Landscape, QMarginsF(0, 0, 0, 0)));
    QPainter painter(&writer);
    painter.setPen(QPen(Qt::black, 0.5 * kDevicePerPoint));
    for (std::size_t i = 0; i < pages.size(); ++i) {
      if (i > 0) writer.newPage();
      paint_page(painter, pages[i], chart);
    }
  }
  return bytes;
}

}  // namespace kv::session_report
