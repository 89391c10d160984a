#pragma once
// TPlotChart: the plotting control of the plot window. A display list of
// move-to, draw-to and mark items over 16 layers, each with its own X and Y
// range; rulers with automatic ticks, a grid, four crosshairs and twenty
// text labels; the picture goes to the screen, the clipboard, a bitmap file
// and the printer. The whole control is drawn off-screen and the chart area
// is cached, so moving a crosshair only re-blits.
#include <QCursor>
#include <QImage>
#include <QWidget>
#include <array>
#include <optional>
#include <stdexcept>
#include <string>
#include <vector>

#include "chart/chart_items.h"
#include "chart/chart_mapping.h"
#include "chart/chart_mouse.h"
#include "chart/chart_parts.h"
#include "chart/item_render.h"
#include "chart/picture_cache.h"
#include "chart/ruler_ticks.h"
#include "chart/scale_props.h"

class QPainter;
class QPagedPaintDevice;

namespace kv::chart {

// The pointer of a zoom mode: a magnifying glass with `sign` in its lens.
QCursor zoom_cursor(const QString& sign);

class ChartError : public std::runtime_error {
 public:
  using std::runtime_error::runtime_error;
};

class TPlotChart : public QWidget, private ScaleObserver {
  Q_OBJECT

 public:
  explicit TPlotChart(QWidget* parent = nullptr);
  ~TPlotChart() override;

  // Geometry and colours. Margins take effect at the next Redisplay().
  const ChartGeometry& geometry_px() const { return geo_; }
  void SetRims(int lrim, int rrim, int trim, int brim);
  int LRim() const { return geo_.lrim; }
  int RRim() const { return geo_.rrim; }
  int TRim() const { return geo_.trim; }
  int BRim() const { return geo_.brim; }
  int ShadowWidth() const { return geo_.shadow_width; }
  TColor WindColor() const { return wind_color_; }
  TColor ChartColor() const { return chart_color_; }
  TColor ChartFrameColor() const { return frame_color_; }
  void SetWindColor(TColor c) { wind_color_ = c; }
  void SetChartColor(TColor c) { chart_color_ = c; }
  void SetChartFrameColor(TColor c) { frame_color_ = c; }
  const FontSpec& ChartFont() const { return font_; }

  // Layers and their scales (layers 1..16).
  TScalePropsHoriz& Scale1X() { return layers_[0].x; }
  TScalePropsVert& Scale1Y() { return layers_[0].y; }
  TScalePropsHoriz& Scale2X() { return layers_[1].x; }
  TScalePropsVert& Scale2Y() { return layers_[1].y; }
  TScalePropsHoriz& Scale3X() { return layers_[2].x; }
  TScalePropsVert& Scale3Y() { return layers_[2].y; }
  TScalePropsHoriz& Scale4X() { return layers_[3].x; }
  TScalePropsVert& Scale4Y() { return layers_[3].y; }
  TScalePropsHoriz& ScaleX(int layer);
  TScalePropsVert& ScaleY(int layer);
  bool LayerVisible(int layer) const;
  void SetLayerVisible(int layer, bool on);

  int ActiveLayer() const { return active_layer_; }
  void SetActiveLayer(int layer);  // outside 1..16: ignored

  // Style of the items added from now on.
  TColor DataColor() const { return style_.color; }
  void SetDataColor(TColor c);
  TPenStyle PenStyle() const { return style_.pen; }
  void SetPenStyle(TPenStyle s);
  int LineWidth() const { return style_.width; }
  void SetLineWidth(int w);
  int ClassDefault() const { return style_.class_id; }
  void SetClassDefault(int c);
  int AllocSize() const { return items_.alloc_size(); }
  void SetAllocSize(int n) { items_.set_alloc_size(n); }

  void AddMoveTo(double x, double y) { add(ItemKind::MoveTo, x, y, 0); }
  void AddDrawTo(double x, double y) { add(ItemKind::DrawTo, x, y, 0); }
  void AddMark(double x, double y, std::uint8_t markType) { add(ItemKind::Mark, x, y, markType); }
  // A whole curve at once: `count` draw-tos (or marks of type 0) at
  // (x[i] - xOffset, factor * y[i]), the items and values that as many
  // AddDrawTo (AddMark) calls would add.
  void AddSamples(const double* x, const double* y, std::size_t count, double xOffset, double factor, bool marks);
  void ClearItems();
  std::size_t ItemCount() const { return items_.size(); }
  const ItemStore& Items() const { return items_; }

  void Redisplay();
  void AutoRangeLayer(int layer, double margin);
  void SetLayerRange(int layer, double xLow, double yLow, double xHigh, double yHigh);
  void GetLayerExtent(int layer, double& xLow, double& yLow, double& xHigh, double& yHigh) const;

  // Grid, on the active layer's scales.
  TGridStyle GridStyle() const { return grid_style_; }
  void SetGridStyle(TGridStyle s) { grid_style_ = s; }
  double GridDx() const { return grid_dx_; }
  double GridDy() const { return grid_dy_; }
  void SetGridDx(double d);  // below -3: ignored
  void SetGridDy(double d);
  TColor GridColor() const { return grid_color_; }
  void SetGridColor(TColor c) { grid_color_ = c; }

  // Crosshairs 1..4; set operations with another index do nothing.
  TCrossHair& CrossHair(int index);
  void SetCrossHairPos(int index, double x, double y);
  void SetCrossHairStyle(int index, TColor color, TCrossHMode mode, TPenStyle lineType, int lineWidth);
  double CrossHairPosX(int index) const;
  double CrossHairPosY(int index) const;

  // Labels 1..20; another index throws ChartError.
  TTextLabel& TextLabel(int index);

  // Output: the picture without crosshairs.
  QImage Picture(bool mono) const;
  void CopyToClipboard(bool mono) const;
  // False when the file could not be written.
  bool SaveBitmapFile(const std::string& fileName, bool mono) const;
  // Draws on the page that `painter` (on a printer) has begun; its state is
  // restored afterwards.
  void PrintChart(QPainter& painter, int left, int top, bool mono, double scale) const;
  // The same on a device without a painter yet (a one-page print or PDF).
  void PrintChart(QPagedPaintDevice& device, int left, int top, bool mono, double scale) const;

  // What is on screen (with crosshairs and the rubber band's picture aside).
  const QImage& ScreenImage() const { return screen_; }
  // The layer's data to pixel mapping with the current ranges.
  LayerMap layer_map(int layer) const;

  // Mouse.
  void SetRangeLimits(double xLow, double yLow, double xHigh, double yHigh);
  const RangeLimits& range_limits() const { return limits_; }
  void SetLayerMouseEnabled(int layer, bool on);
  bool LayerMouseEnabled(int layer) const;
  TMouseActMode MouseAction() const { return mouse_action_; }
  void SetMouseAction(TMouseActMode m) { mouse_action_ = m; }
  bool Isometric() const { return isometric_; }
  void SetIsometric(bool on) { isometric_ = on; }

  // Renders the items the plain way, item by item (for comparisons).
  void render_items_plain(QImage& chart_area, bool mono) const;

 signals:
  void OnMouseMoveInChart(bool InChart, Qt::KeyboardModifiers Shift, double rMousePosX, double rMousePosY);
  void OnClick();
  // A layer's range was set, by the program or by the mouse (pan, zoom,
  // zoom box), before the chart shows it: a layer that follows another can
  // take the new range before the next Redisplay().
  void OnRangeChanged(int layer);

 protected:
  void paintEvent(QPaintEvent* event) override;
  void resizeEvent(QResizeEvent* event) override;
  void mousePressEvent(QMouseEvent* event) override;
  void mouseMoveEvent(QMouseEvent* event) override;
  void mouseReleaseEvent(QMouseEvent* event) override;

 private:
  struct Layer {
    TScalePropsHoriz x;
    TScalePropsVert y;
    bool visible = true;
    bool mouse = false;
  };
  struct Drag {
    QPoint start;
    std::array<AxisRange, kLayerCount> x;
    std::array<AxisRange, kLayerCount> y;
    int crosshair = 0;
  };
  struct Band {
    QPoint start;
    QPoint end;
  };

  void scale_changed() override;
  // Inline: the plot window adds a million of these per re-plot.
  void add(ItemKind kind, double x, double y, std::uint8_t mark_type) {
    items_.add(ChartItem{x, y, style_id_, kind, static_cast<std::uint8_t>(active_layer_), mark_type});
  }
  std::array<LayerMap, kLayerCount> layer_maps() const;
  bool all_layers_visible() const;
  std::array<bool, kLayerCount> visible_layers() const;
  // The chart-area image as a pixel canvas in control coordinates.
  PixelCanvas area_canvas(QImage& area) const;

  // Stored colours as this desktop paints them, or black on white.
  InkRule ink_rule(bool mono) const;

  // Rendering (plotchart_paint.cpp).
  ShownRulers shown_rulers() const;
  void render_picture(QImage& whole, QImage& area, bool mono) const;
  void paint_margins(QImage& whole, const InkRule& colors, bool kept) const;
  bool any_label_shows() const;
  void paint_rulers(QPainter& p, const InkRule& colors) const;
  void paint_area_background(QPainter& p, const InkRule& colors) const;
  void paint_grid(QPainter& p, const InkRule& colors) const;
  GridView grid_view() const;
  void paint_labels(QPainter& p, const InkRule& colors) const;
  void paint_label(QPainter& p, const TTextLabel& label, const InkRule& colors) const;
  void paint_frame(QPainter& p, const InkRule& colors) const;
  void paint_crosshairs(QImage& target) const;
  void show_crosshairs();

  // Mouse (plotchart_mouse.cpp).
  bool in_chart(QPoint pos) const;
  void start_drag(QPoint pos);
  void drag_to(QPoint pos);
  void pan_to(QPoint pos);
  void drag_zoom_to(QPoint pos);
  void drag_crosshair_to(QPoint pos);
  void finish_band();
  QPoint held_in_chart(QPoint pos) const;
  void show_pointer(bool inside);
  void set_layer_ranges(int k, AxisRange x, AxisRange y);

  ChartGeometry geo_;
  TColor wind_color_ = clActiveBorder;
  TColor chart_color_ = clWhite;
  TColor frame_color_ = clBlack;
  FontSpec font_;
  std::array<Layer, kLayerCount> layers_;
  int active_layer_ = 1;
  ItemStyle style_;
  std::uint32_t style_id_ = 0;
  ItemStore items_;
  mutable FastItemRenderer fast_;
  mutable PictureCache picture_cache_;

  TGridStyle grid_style_ = TGridStyle::gsNone;
  double grid_dx_ = 0;
  double grid_dy_ = 0;
  TColor grid_color_ = clSilver;

  std::array<TCrossHair, kCrossHairCount> crosshairs_;
  std::array<TTextLabel, kTextLabelCount> labels_;

  RangeLimits limits_;
  TMouseActMode mouse_action_ = TMouseActMode::maNone;
  bool isometric_ = false;
  std::optional<Drag> drag_;
  std::optional<Band> band_;
  bool pressed_ = false;

  std::vector<QCursor> zoom_cursors_;  // zoom window, ordered zoom window, drag zoom
  QImage picture_;  // whole control, no crosshairs
  QImage area_;     // chart area only
  QImage screen_;   // picture_ with crosshairs
};

}  // namespace kv::chart
