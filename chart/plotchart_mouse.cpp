// What the mouse does over the chart: the pointer in data units, the click,
// panning, zooming by dragging or with a rubber band, and crosshair dragging.
#include <QMouseEvent>
#include <QPainter>
#include <QPixmap>

#include "chart/chart_geometry.h"
#include "chart/plotchart.h"

namespace kv::chart {
namespace {
constexpr int kCursorSize = 32;
}  // namespace

// A magnifying glass with a sign in its lens, one per zoom mode.
QCursor zoom_cursor(const QString& sign) {
  QPixmap pm(kCursorSize, kCursorSize);
  pm.fill(Qt::transparent);
  QPainter p(&pm);
  p.setRenderHint(QPainter::Antialiasing);
  p.setPen(QPen(Qt::white, 4));
  p.drawEllipse(QRectF(2, 2, 18, 18));
  p.drawLine(QPointF(18, 18), QPointF(28, 28));
  p.setPen(QPen(Qt::black, 2));
  p.setBrush(QColor(255, 255, 255, 200));
  p.drawEllipse(QRectF(2, 2, 18, 18));
  p.setPen(QPen(Qt::black, 3));
  p.drawLine(QPointF(18, 18), QPointF(28, 28));
  QFont f;
  f.setPixelSize(13);
  f.setBold(true);
  p.setFont(f);
  p.drawText(QRectF(2, 2, 18, 18), Qt::AlignCenter, sign);
  p.end();
  return QCursor(pm, 11, 11);
}

bool TPlotChart::in_chart(QPoint pos) const { return geo_.area().contains(pos.x(), pos.y()); }

QPoint TPlotChart::held_in_chart(QPoint pos) const {
  const PixelRect a = geo_.area();
  return {std::clamp(pos.x(), a.left, a.right), std::clamp(pos.y(), a.top, a.bottom)};
}

void TPlotChart::show_pointer(bool inside) {
  switch (pointer_shape(mouse_action_, inside)) {
    case PointerShape::Arrow: setCursor(Qt::ArrowCursor); break;
    case PointerShape::Cross: setCursor(Qt::CrossCursor); break;
    case PointerShape::Hand: setCursor(drag_ ? Qt::ClosedHandCursor : Qt::OpenHandCursor); break;
    case PointerShape::ZoomWindow: setCursor(zoom_cursors_[0]); break;
    case PointerShape::ZoomWindowOrdered: setCursor(zoom_cursors_[1]); break;
    case PointerShape::ZoomDrag: setCursor(zoom_cursors_[2]); break;
  }
}

void TPlotChart::mousePressEvent(QMouseEvent* event) {
  const QPoint pos = event->position().toPoint();
  if (event->button() == Qt::LeftButton) {
    pressed_ = true;
    if (is_zoom_window_mode(mouse_action_) && in_chart(pos)) {
      band_ = Band{pos, pos};
      update();
    }
  }
  QWidget::mousePressEvent(event);
}

void TPlotChart::mouseMoveEvent(QMouseEvent* event) {
  const QPoint pos = event->position().toPoint();
  if (event->buttons() & Qt::LeftButton) {
    if (band_) {
      band_->end = held_in_chart(pos);
      update();
    } else if (!drag_) {
      start_drag(pos);
    } else {
      drag_to(pos);
    }
  } else {
    drag_.reset();
  }
  const bool inside = in_chart(pos);
  show_pointer(inside);
  const LayerMap m = layer_map(active_layer_);
  emit OnMouseMoveInChart(inside, event->modifiers(), m.x.to_data(pos.x()), m.y.to_data(pos.y()));
}

void TPlotChart::mouseReleaseEvent(QMouseEvent* event) {
  if (event->button() == Qt::RightButton && band_) {
    band_.reset();
    update();
    return;
  }
  if (event->button() != Qt::LeftButton) return;
  drag_.reset();
  if (band_) finish_band();
  const bool was_pressed = pressed_;
  pressed_ = false;
  if (was_pressed && rect().contains(event->position().toPoint())) emit OnClick();
}

void TPlotChart::start_drag(QPoint pos) {
  Drag d;
  d.start = pos;
  for (std::size_t k = 0; k < layers_.size(); ++k) {
    d.x[k] = {layers_[k].x.RangeLow(), layers_[k].x.RangeHigh()};
    d.y[k] = {layers_[k].y.RangeLow(), layers_[k].y.RangeHigh()};
  }
  if (mouse_action_ == TMouseActMode::maDragCrossH) {
    std::array<CrossHairTarget, kCrossHairCount> targets{};
    for (std::size_t i = 0; i < crosshairs_.size(); ++i) {
      const TCrossHair& c = crosshairs_[i];
      targets[i] = {c.Mode, layer_map(c.Layer).to_px(c.PosX, c.PosY)};
    }
    d.crosshair = nearest_crosshair(targets, {pos.x(), pos.y()});
  }
  drag_ = d;
}

void TPlotChart::drag_to(QPoint pos) {
  if (is_pan_mode(mouse_action_)) pan_to(pos);
  if (mouse_action_ == TMouseActMode::maZoomDrag) drag_zoom_to(pos);
  if (mouse_action_ == TMouseActMode::maDragCrossH) drag_crosshair_to(pos);
}

void TPlotChart::set_layer_ranges(int k, AxisRange x, AxisRange y) {
  layers_[static_cast<std::size_t>(k)].x.store_range(x.low, x.high);
  layers_[static_cast<std::size_t>(k)].y.store_range(y.low, y.high);
  emit OnRangeChanged(k + 1);
}

void TPlotChart::pan_to(QPoint pos) {
  if (!in_chart(pos)) return;
  const QPoint delta = pos - drag_->start;
  for (int k = 0; k < kLayerCount; ++k) {
    if (!layers_[static_cast<std::size_t>(k)].mouse) continue;
    const std::size_t i = static_cast<std::size_t>(k);
    AxisRange x = drag_->x[i];
    AxisRange y = drag_->y[i];
    if (pans_x(mouse_action_)) x = pan_axis(x, delta.x(), geo_.span_x(), false);
    if (pans_y(mouse_action_)) y = pan_axis(y, delta.y(), geo_.span_y(), true);
    if (limits_.active()) {
      if (pans_x(mouse_action_)) x = clamp_keep_span(x, limits_.x_low, limits_.x_high);
      if (pans_y(mouse_action_)) y = clamp_keep_span(y, limits_.y_low, limits_.y_high);
    }
    set_layer_ranges(k, x, y);
  }
  Redisplay();
}

void TPlotChart::drag_zoom_to(QPoint pos) {
  const QPoint delta = pos - drag_->start;
  const double fx = drag_zoom_factor_x(delta.x(), geo_.width);
  const double fy = isometric_ ? fx : drag_zoom_factor_y(delta.y(), geo_.height);
  for (int k = 0; k < kLayerCount; ++k) {
    if (!layers_[static_cast<std::size_t>(k)].mouse) continue;
    const std::size_t i = static_cast<std::size_t>(k);
    AxisRange x = zoom_axis(drag_->x[i], fx);
    AxisRange y = zoom_axis(drag_->y[i], fy);
    if (limits_.active()) {
      x = clamp_ends(x, limits_.x_low, limits_.x_high);
      y = clamp_ends(y, limits_.y_low, limits_.y_high);
    }
    set_layer_ranges(k, x, y);
  }
  Redisplay();
}

void TPlotChart::drag_crosshair_to(QPoint pos) {
  TCrossHair& c = crosshairs_[static_cast<std::size_t>(drag_->crosshair - 1)];
  const LayerMap m = layer_map(c.Layer);
  c.PosX = m.x.to_data(pos.x());
  c.PosY = m.y.to_data(pos.y());
  Redisplay();
}

void TPlotChart::finish_band() {
  const Band band = *band_;
  band_.reset();
  if (band.start.x() != band.end.x() && band.start.y() != band.end.y()) {
    const bool keep_direction = mouse_action_ == TMouseActMode::maZoomWindPos;
    for (int k = 0; k < kLayerCount; ++k) {
      const Layer& l = layers_[static_cast<std::size_t>(k)];
      if (!l.mouse) continue;
      const LayerMap m = layer_map(k + 1);
      const AxisRange x = band_axis(m.x.to_data(band.start.x()), m.x.to_data(band.end.x()),
                                    {l.x.RangeLow(), l.x.RangeHigh()}, keep_direction);
      const AxisRange y = band_axis(m.y.to_data(band.start.y()), m.y.to_data(band.end.y()),
                                    {l.y.RangeLow(), l.y.RangeHigh()}, keep_direction);
      set_layer_ranges(k, x, y);
    }
    Redisplay();
  }
  update();
}

}  // namespace kv::chart
