#include "library_ui/scatter_label_layer.h"

#include <QEvent>
#include <QFontMetrics>
#include <QPainter>

#include "chart/plotchart.h"
#include "chart/qt_paint_helpers.h"

namespace kv {

ScatterLabelLayer::ScatterLabelLayer(chart::TPlotChart& chart) : QWidget(&chart), chart_(chart) {
  setObjectName("DateLabels");
  // The chart's own mouse handling must see every click and move.
  setAttribute(Qt::WA_TransparentForMouseEvents);
  setAttribute(Qt::WA_NoSystemBackground);
  setFont(chart::qfont(chart.ChartFont()));
  setGeometry(chart.rect());
  chart.installEventFilter(this);
  connect(&chart, &chart::TPlotChart::OnRangeChanged, this, qOverload<>(&QWidget::update));
}

void ScatterLabelLayer::set_spots(std::vector<LabelSpot> spots) {
  spots_ = std::move(spots);
  raise();
  update();
}

LabelPlacement ScatterLabelLayer::placement() const {
  const QFontMetrics metrics(font());
  const auto width = [&](const std::string& text) {
    return metrics.horizontalAdvance(QString::fromStdString(text));
  };
  return place_labels(spots_, chart_.layer_map(1), chart_.geometry_px().area(), width, metrics.height());
}

bool ScatterLabelLayer::eventFilter(QObject* watched, QEvent* event) {
  if (watched == &chart_ && event->type() == QEvent::Resize) setGeometry(chart_.rect());
  return QWidget::eventFilter(watched, event);
}

void ScatterLabelLayer::paintEvent(QPaintEvent* /*event*/) {
  QPainter painter(this);
  painter.setPen(Qt::black);
  const QFontMetrics metrics(font());
  for (const PlacedLabel& label : placement().placed) {
    const QPoint baseline(label.box.left, label.box.top + metrics.ascent());
    painter.drawText(baseline, QString::fromStdString(spots_[label.spot].text));
  }
}

}  // namespace kv
