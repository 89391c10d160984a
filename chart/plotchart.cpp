#include "chart/plotchart.h"

#include <QPaintEvent>
#include <QPainter>
#include <QResizeEvent>
#include <cstring>

#include "chart/area_paint.h"
#include "chart/chart_geometry.h"
#include "chart/scheme_colors.h"

namespace kv::chart {
namespace {

bool valid_layer(int layer) { return layer >= 1 && layer <= kLayerCount; }
bool valid_crosshair(int index) { return index >= 1 && index <= kCrossHairCount; }
constexpr double kGridSpacingFloor = -3;

}  // namespace

TPlotChart::TPlotChart(QWidget* parent) : QWidget(parent) {
  for (Layer& layer : layers_) {
    layer.x.set_observer(this);
    layer.y.set_observer(this);
  }
  layers_[0].mouse = true;
  style_id_ = items_.style_id(style_);
  setMouseTracking(true);
  setAttribute(Qt::WA_OpaquePaintEvent);
  resize(geo_.width, geo_.height);
  for (const char* sign : {"+", "\u2197", "\u2195"}) zoom_cursors_.push_back(zoom_cursor(sign));
  Redisplay();
}

TPlotChart::~TPlotChart() {
  // The scales outlive nothing, but keep them from calling back while the
  // widget is half destroyed.
  for (Layer& layer : layers_) {
    layer.x.set_observer(nullptr);
    layer.y.set_observer(nullptr);
  }
}

void TPlotChart::SetRims(int lrim, int rrim, int trim, int brim) {
  geo_.lrim = lrim;
  geo_.rrim = rrim;
  geo_.trim = trim;
  geo_.brim = brim;
}

TScalePropsHoriz& TPlotChart::ScaleX(int layer) {
  if (!valid_layer(layer)) throw ChartError("layer out of range");
  return layers_[static_cast<std::size_t>(layer - 1)].x;
}

TScalePropsVert& TPlotChart::ScaleY(int layer) {
  if (!valid_layer(layer)) throw ChartError("layer out of range");
  return layers_[static_cast<std::size_t>(layer - 1)].y;
}

bool TPlotChart::LayerVisible(int layer) const {
  return valid_layer(layer) && layers_[static_cast<std::size_t>(layer - 1)].visible;
}

void TPlotChart::SetLayerVisible(int layer, bool on) {
  if (valid_layer(layer)) layers_[static_cast<std::size_t>(layer - 1)].visible = on;
}

bool TPlotChart::all_layers_visible() const {
  for (const Layer& l : layers_)
    if (!l.visible) return false;
  return true;
}

void TPlotChart::SetActiveLayer(int layer) {
  if (valid_layer(layer)) active_layer_ = layer;
}

void TPlotChart::SetDataColor(TColor c) {
  style_.color = c;
  style_id_ = items_.style_id(style_);
}

void TPlotChart::SetPenStyle(TPenStyle s) {
  style_.pen = s;
  style_id_ = items_.style_id(style_);
}

void TPlotChart::SetLineWidth(int w) {
  style_.width = std::max(w, 1);
  style_id_ = items_.style_id(style_);
}

void TPlotChart::SetClassDefault(int c) {
  style_.class_id = c;
  style_id_ = items_.style_id(style_);
}

void TPlotChart::AddSamples(const double* x, const double* y, std::size_t count, double xOffset, double factor,
                            bool marks) {
  const ChartItem head{0, 0, style_id_, marks ? ItemKind::Mark : ItemKind::DrawTo,
                       static_cast<std::uint8_t>(active_layer_), 0};
  items_.add_samples(head, x, y, count, xOffset, factor);
}

void TPlotChart::ClearItems() {
  items_.clear();
  // Every colour picked since the last re-plot would stay in the style
  // table otherwise.
  items_.reset_styles(style_);
  style_id_ = 0;
  fast_.reset();
  // The chart area shows bare until the next Redisplay() puts it on screen;
  // written without a painter, a re-plot allocates nothing here.
  if (area_.isNull()) return;
  const InkRule colors = ink_rule(false);
  const PixelCanvas canvas = area_canvas(area_);
  fill_canvas(canvas, geo_.area(), argb_of(colors.paper(chart_color_)));
  outline_canvas(canvas, geo_.area(), colors.argb(frame_color_));
}

void TPlotChart::AutoRangeLayer(int layer, double margin) {
  if (!valid_layer(layer)) return;
  const DataBox b = auto_range_box(items_.items(), layer, margin);
  SetLayerRange(layer, b.x_low, b.y_low, b.x_high, b.y_high);
}

void TPlotChart::SetLayerRange(int layer, double xLow, double yLow, double xHigh, double yHigh) {
  if (layer != 0 && !valid_layer(layer)) return;
  for (int k = 1; k <= kLayerCount; ++k) {
    if (layer != 0 && k != layer) continue;
    Layer& l = layers_[static_cast<std::size_t>(k - 1)];
    double x0 = xLow, x1 = xHigh, y0 = yLow, y1 = yHigh;
    widen_equal_ends(x0, x1, l.x.MinRange());
    widen_equal_ends(y0, y1, l.y.MinRange());
    l.x.store_range(x0, x1);
    l.y.store_range(y0, y1);
    emit OnRangeChanged(k);
  }
}

void TPlotChart::GetLayerExtent(int layer, double& xLow, double& yLow, double& xHigh, double& yHigh) const {
  const DataBox b = layer_extent(items_.items(), layer, {xLow, yLow, xHigh, yHigh});
  xLow = b.x_low;
  yLow = b.y_low;
  xHigh = b.x_high;
  yHigh = b.y_high;
}

void TPlotChart::SetGridDx(double d) {
  if (d >= kGridSpacingFloor) grid_dx_ = d;
}

void TPlotChart::SetGridDy(double d) {
  if (d >= kGridSpacingFloor) grid_dy_ = d;
}

TCrossHair& TPlotChart::CrossHair(int index) {
  if (!valid_crosshair(index)) throw ChartError("crosshair index out of range");
  return crosshairs_[static_cast<std::size_t>(index - 1)];
}

void TPlotChart::SetCrossHairPos(int index, double x, double y) {
  if (!valid_crosshair(index)) return;
  TCrossHair& c = crosshairs_[static_cast<std::size_t>(index - 1)];
  c.PosX = x;
  c.PosY = y;
  if (c.Mode != TCrossHMode::chOff) show_crosshairs();
}

void TPlotChart::SetCrossHairStyle(int index, TColor color, TCrossHMode mode, TPenStyle lineType, int lineWidth) {
  if (!valid_crosshair(index)) return;
  TCrossHair& c = crosshairs_[static_cast<std::size_t>(index - 1)];
  c.Color = color;
  c.Mode = mode;
  c.LineType = lineType;
  c.LineWid = lineWidth;
  show_crosshairs();
}

double TPlotChart::CrossHairPosX(int index) const {
  return valid_crosshair(index) ? crosshairs_[static_cast<std::size_t>(index - 1)].PosX : 0.0;
}

double TPlotChart::CrossHairPosY(int index) const {
  return valid_crosshair(index) ? crosshairs_[static_cast<std::size_t>(index - 1)].PosY : 0.0;
}

TTextLabel& TPlotChart::TextLabel(int index) {
  if (index < 1 || index > kTextLabelCount) throw ChartError(text_label_index_error(objectName().toStdString()));
  return labels_[static_cast<std::size_t>(index - 1)];
}

InkRule TPlotChart::ink_rule(bool mono) const { return {mono, scheme_colors(palette())}; }

LayerMap TPlotChart::layer_map(int layer) const {
  const std::size_t k = static_cast<std::size_t>(valid_layer(layer) ? layer - 1 : 0);
  const Layer& l = layers_[k];
  return make_layer_map(geo_, l.x.RangeLow(), l.x.RangeHigh(), l.y.RangeLow(), l.y.RangeHigh());
}

std::array<LayerMap, kLayerCount> TPlotChart::layer_maps() const {
  std::array<LayerMap, kLayerCount> maps;
  for (int k = 0; k < kLayerCount; ++k) maps[static_cast<std::size_t>(k)] = layer_map(k + 1);
  return maps;
}

void TPlotChart::scale_changed() { Redisplay(); }

void TPlotChart::Redisplay() {
  // A hidden widget learns its new size only when shown.
  geo_.width = width();
  geo_.height = height();
  render_picture(picture_, area_, false);
  show_crosshairs();
}

// Puts the cached chart area into the picture and the crosshairs over it.
void TPlotChart::show_crosshairs() {
  const int row_bytes = area_.width() * 4;
  const bool has_area = geo_.area().width() > 0 && geo_.area().height() > 0;
  for (int y = 0; has_area && y < area_.height() && geo_.trim + y < picture_.height(); ++y) {
    const int x0 = geo_.lrim;
    if (x0 < 0 || geo_.trim + y < 0 || x0 + area_.width() > picture_.width()) break;
    std::memcpy(picture_.scanLine(geo_.trim + y) + x0 * 4, area_.constScanLine(y), static_cast<std::size_t>(row_bytes));
  }
  if (screen_.size() != picture_.size() || screen_.format() != picture_.format())
    screen_ = QImage(picture_.size(), picture_.format());
  std::memcpy(screen_.bits(), picture_.constBits(), static_cast<std::size_t>(picture_.sizeInBytes()));
  paint_crosshairs(screen_);
  update();
}

void TPlotChart::paintEvent(QPaintEvent* event) {
  QPainter p(this);
  p.drawImage(event->rect().topLeft(), screen_, event->rect());
  if (!band_) return;
  // The rubber band inverts what is under it.
  p.setCompositionMode(QPainter::RasterOp_SourceXorDestination);
  p.setPen(QPen(Qt::white, 1));
  p.setBrush(Qt::NoBrush);
  p.drawRect(QRect(band_->start, band_->end).normalized());
}

void TPlotChart::resizeEvent(QResizeEvent* event) {
  QWidget::resizeEvent(event);
  if (event->size().width() != geo_.width || event->size().height() != geo_.height) Redisplay();
}

void TPlotChart::SetRangeLimits(double xLow, double yLow, double xHigh, double yHigh) {
  limits_ = {xLow, yLow, xHigh, yHigh};
}

void TPlotChart::SetLayerMouseEnabled(int layer, bool on) {
  if (valid_layer(layer)) layers_[static_cast<std::size_t>(layer - 1)].mouse = on;
}

bool TPlotChart::LayerMouseEnabled(int layer) const {
  return valid_layer(layer) && layers_[static_cast<std::size_t>(layer - 1)].mouse;
}

}  // namespace kv::chart
