// Rendering of the picture: rulers in the margins, then the chart area with
// its background, grid, items, labels and frame, then the crosshairs.
#include <QFontMetrics>
#include <QPainter>
#include <algorithm>

#include "chart/chart_geometry.h"
#include "chart/plotchart.h"
#include "chart/qt_paint_helpers.h"
#include "chart/ruler_paint.h"

namespace kv::chart {
namespace {

void outline(QPainter& p, const PixelRect& r, const QColor& c) {
  fill_px(p, r.left, r.top, r.width(), 1, c);
  fill_px(p, r.left, r.bottom, r.width(), 1, c);
  fill_px(p, r.left, r.top, 1, r.height(), c);
  fill_px(p, r.right, r.top, 1, r.height(), c);
}

}  // namespace

void TPlotChart::render_picture(QImage& whole, QImage& area, bool mono) const {
  const InkRule colors = ink_rule(mono);
  // The run renderer assumes every layer shows; the program never hides one.
  const bool by_runs = all_layers_visible();
  // The summaries of new runs are built while the rulers and grid are drawn.
  if (by_runs) fast_.start_summaries(items_);
  struct Finish {
    FastItemRenderer& r;
    ~Finish() { r.finish_summaries(); }
  } finish{fast_};
  const QSize size(std::max(geo_.width, 1), std::max(geo_.height, 1));
  if (whole.size() != size) whole = QImage(size, QImage::Format_RGB32);
  const PixelRect a = geo_.area();
  const QSize area_size(std::max(a.width(), 1), std::max(a.height(), 1));
  if (area.size() != area_size) area = QImage(area_size, QImage::Format_RGB32);
  paint_margins(whole, colors, &whole == &picture_);
  const PixelCanvas canvas = area_canvas(area);
  fill_canvas(canvas, a, argb_of(colors.paper(chart_color_)));
  kv::chart::paint_grid(canvas, grid_view(), a, colors.argb(grid_color_), picture_cache_.grid);
  if (by_runs)
    fast_.render(items_, canvas, layer_maps(), colors);
  else
    render_items_plain(area, mono);
  if (any_label_shows()) {
    QPainter p(&area);
    p.translate(-a.left, -a.top);
    paint_labels(p, colors);
  }
  outline_canvas(canvas, a, colors.argb(frame_color_));
  // A chart too small for its rims keeps a one-pixel area image that is
  // never drawn on.
  if (a.width() > 0 && a.height() > 0) copy_image(area, whole, QPoint(a.left, a.top));
}

// Only the on-screen picture keeps its margins: the other pictures are
// drawn into fresh images.
void TPlotChart::paint_margins(QImage& whole, const InkRule& colors, bool kept) const {
  const ShownRulers rulers = shown_rulers();
  MarginCache& cache = picture_cache_.margins;
  if (kept) {
    if (cache.holds(geo_, wind_color_, colors, rulers.shown())) return;
    cache.forget();  // until the margins are complete again
  }
  QPainter p(&whole);
  p.fillRect(whole.rect(), paper(wind_color_, colors));
  kv::chart::paint_rulers(p, rulers.shown(), geo_, colors, wind_color_);
  p.end();
  if (kept) cache.drawn();
}

PixelCanvas TPlotChart::area_canvas(QImage& area) const {
  const PixelRect a = geo_.area();
  return {reinterpret_cast<std::uint32_t*>(area.bits()), static_cast<int>(area.bytesPerLine() / 4), a.left, a.top,
          {a.left, a.top, a.left + area.width() - 1, a.top + area.height() - 1}};
}

std::array<bool, kLayerCount> TPlotChart::visible_layers() const {
  std::array<bool, kLayerCount> visible{};
  for (std::size_t k = 0; k < layers_.size(); ++k) visible[k] = layers_[k].visible;
  return visible;
}

void TPlotChart::render_items_plain(QImage& chart_area, bool mono) const {
  RasterSink sink(area_canvas(chart_area), ink_rule(mono));
  walk_items(items_, layer_maps(), visible_layers(), sink);
}

void TPlotChart::paint_area_background(QPainter& p, const InkRule& colors) const {
  p.fillRect(to_qrect(geo_.area()), paper(chart_color_, colors));
}

void TPlotChart::paint_frame(QPainter& p, const InkRule& colors) const {
  outline(p, geo_.area(), ink(frame_color_, colors));
}

ShownRulers TPlotChart::shown_rulers() const {
  ShownRulers rulers;
  for (int k = 0; k < kLayerCount; ++k) {
    const Layer& l = layers_[static_cast<std::size_t>(k)];
    if (!l.visible) continue;
    const LayerMap m = layer_map(k + 1);
    if (l.x.Visible()) rulers.views[rulers.count++] = {&l.x, m.x};
    if (l.y.Visible()) rulers.views[rulers.count++] = {&l.y, m.y};
  }
  return rulers;
}

void TPlotChart::paint_rulers(QPainter& p, const InkRule& colors) const {
  kv::chart::paint_rulers(p, shown_rulers().shown(), geo_, colors, wind_color_);
}

GridView TPlotChart::grid_view() const {
  const Layer& l = layers_[static_cast<std::size_t>(active_layer_ - 1)];
  return {grid_style_, grid_dx_, grid_dy_, &l.x, &l.y, layer_map(active_layer_)};
}

// The printer's grid: the same lines as on screen, drawn by its painter at
// the page's scale.
void TPlotChart::paint_grid(QPainter& p, const InkRule& colors) const {
  if (grid_style_ == TGridStyle::gsNone) return;
  const GridView grid = grid_view();
  const PixelRect a = geo_.area();
  GridScratch& scratch = picture_cache_.grid;
  grid_positions(*grid.x, grid.dx, scratch.ticks, scratch.xs);
  grid_positions(*grid.y, grid.dy, scratch.ticks, scratch.ys);
  const GridShape shape = grid_shape(grid_style_);
  const QColor color = ink(grid_color_, colors);
  p.setPen(qpen(shape.dotted ? TPenStyle::psDot : TPenStyle::psSolid, color, 1, false));
  if (shape.points) {
    for (double x : scratch.xs)
      for (double y : scratch.ys) {
        const PixelPoint pt = grid.map.to_px(x, y);
        if (a.contains(pt.x, pt.y)) fill_px(p, pt.x, pt.y, 1, 1, color);
      }
    return;
  }
  if (shape.vertical)
    for (double x : scratch.xs) {
      const int px = grid.map.x.to_px(x);
      if (px > a.left && px < a.right) p.drawLine(px, a.top + 1, px, a.bottom - 1);
    }
  if (shape.horizontal)
    for (double y : scratch.ys) {
      const int py = grid.map.y.to_px(y);
      if (py > a.top && py < a.bottom) p.drawLine(a.left + 1, py, a.right - 1, py);
    }
}

bool TPlotChart::any_label_shows() const {
  return std::any_of(labels_.begin(), labels_.end(), [&](const TTextLabel& label) {
    return label.Mode != TTxtLblMode::tlOff && LayerVisible(label.Layer);
  });
}

void TPlotChart::paint_labels(QPainter& p, const InkRule& colors) const {
  p.save();
  p.setClipRect(to_qrect(geo_.area()));
  // From label 20 down, so that label 1 ends on top.
  for (int i = kTextLabelCount; i >= 1; --i) {
    const TTextLabel& label = labels_[static_cast<std::size_t>(i - 1)];
    if (label.Mode == TTxtLblMode::tlOff || !LayerVisible(label.Layer)) continue;
    paint_label(p, label, colors);
  }
  p.restore();
}

void TPlotChart::paint_label(QPainter& p, const TTextLabel& label, const InkRule& colors) const {
  const PixelPoint anchor = label.AttachToData
                                ? layer_map(label.Layer).to_px(label.PosX, label.PosY)
                                : PixelPoint{to_pixel(geo_.lrim + label.PosX), to_pixel(geo_.trim + label.PosY)};
  p.setFont(qfont(label.Font));
  const QFontMetrics fm = p.fontMetrics();
  const std::vector<std::string> lines = caption_lines(label.Caption);
  std::vector<int> widths;
  for (const std::string& s : lines) widths.push_back(fm.horizontalAdvance(qstr(s)));
  const LabelLayout lay = layout_label(anchor, label.Alignment, widths, fm.height());
  const QColor bkg = paper(label.ColorBkg, colors);
  const QColor border = ink(label.ColorBorder, colors);
  const QRect box = to_qrect(lay.box);
  switch (label.Mode) {
    case TTxtLblMode::tlsimple:
      if (!label.Transparent) p.fillRect(box, bkg);
      break;
    case TTxtLblMode::tlBox:
      p.fillRect(box, bkg);
      outline(p, lay.box, border);
      break;
    case TTxtLblMode::tlUnderline:
      if (!label.Transparent) p.fillRect(box, bkg);
      fill_px(p, lay.block_left, anchor.y, lay.block_width + 1, 1, border);
      break;
    case TTxtLblMode::tlShadow:
      p.fillRect(box.translated(label.ShadowDx, label.ShadowDy), ink(label.ColorShadow, colors));
      p.fillRect(box, bkg);
      outline(p, lay.box, border);
      break;
    case TTxtLblMode::tlOff: return;
  }
  p.setPen(ink(label.Font.color, colors));
  for (std::size_t i = 0; i < lines.size(); ++i)
    text_at(p, QPoint(lay.line_origins[i].x, lay.line_origins[i].y), qstr(lines[i]));
}

void TPlotChart::paint_crosshairs(QImage& target) const {
  const auto shows = [](const TCrossHair& c) { return c.Mode != TCrossHMode::chOff; };
  if (std::none_of(crosshairs_.begin(), crosshairs_.end(), shows)) return;
  const PixelRect a = geo_.area();
  const InkRule colors = ink_rule(false);
  QPainter p(&target);
  for (const TCrossHair& c : crosshairs_) {
    if (c.Mode == TCrossHMode::chOff) continue;
    const CrossHairLines lines = crosshair_lines(layer_map(c.Layer), a, c.Mode, c.PosX, c.PosY, c.LineWid);
    p.setPen(qpen(c.LineType, ink(c.Color, colors), c.LineWid, true));
    if (lines.horizontal) p.drawLine(a.left + 1, lines.y, a.right - 1, lines.y);
    if (lines.vertical) p.drawLine(lines.x, a.top + 1, lines.x, a.bottom - 1);
  }
}

}  // namespace kv::chart
