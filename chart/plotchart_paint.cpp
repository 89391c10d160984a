// Rendering of the picture: rulers in the margins, then the chart area with
// its background, grid, items, labels and frame, then the crosshairs.
#include <QFontMetrics>
#include <QPainter>

#include "chart/chart_geometry.h"
#include "chart/plotchart.h"
#include "chart/qt_paint_helpers.h"
#include "chart/ruler_paint.h"

namespace kv::chart {
namespace {

constexpr int kMaxGridLines = 1000;

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
  {
    QPainter p(&whole);
    p.fillRect(whole.rect(), paper(wind_color_, colors));
    paint_rulers(p, colors);
  }
  {
    QPainter p(&area);
    p.translate(-a.left, -a.top);
    paint_area_background(p, colors);
    paint_grid(p, colors);
  }
  if (by_runs)
    fast_.render(items_, area_canvas(area), layer_maps(), colors);
  else
    render_items_plain(area, mono);
  {
    QPainter p(&area);
    p.translate(-a.left, -a.top);
    paint_labels(p, colors);
    paint_frame(p, colors);
  }
  QPainter p(&whole);
  p.drawImage(a.left, a.top, area);
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

void TPlotChart::paint_rulers(QPainter& p, const InkRule& colors) const {
  std::vector<RulerView> rulers;
  for (int k = 0; k < kLayerCount; ++k) {
    const Layer& l = layers_[static_cast<std::size_t>(k)];
    if (!l.visible) continue;
    const LayerMap m = layer_map(k + 1);
    if (l.x.Visible()) rulers.push_back({&l.x, m.x});
    if (l.y.Visible()) rulers.push_back({&l.y, m.y});
  }
  kv::chart::paint_rulers(p, rulers, geo_, colors, wind_color_);
}

void TPlotChart::paint_grid(QPainter& p, const InkRule& colors) const {
  if (grid_style_ == TGridStyle::gsNone) return;
  const Layer& l = layers_[static_cast<std::size_t>(active_layer_ - 1)];
  const LayerMap m = layer_map(active_layer_);
  const PixelRect a = geo_.area();
  auto positions = [&](const TScaleProps& s, double spacing) {
    if (spacing > 0) return spaced_positions(s.RangeLow(), s.RangeHigh(), spacing, kMaxGridLines);
    return recorded_ticks(compute_ticks(s.RangeLow(), s.RangeHigh(), s.MinTicks(), s.ShortTicks()));
  };
  const std::vector<double> xs = positions(l.x, grid_dx_);
  const std::vector<double> ys = positions(l.y, grid_dy_);
  const bool dotted = grid_style_ == TGridStyle::gsDotLines || grid_style_ == TGridStyle::gsVertDotLines ||
                      grid_style_ == TGridStyle::gsHorizDotLines;
  const bool vertical = grid_style_ == TGridStyle::gsDotLines || grid_style_ == TGridStyle::gsVertDotLines ||
                        grid_style_ == TGridStyle::gsLines || grid_style_ == TGridStyle::gsVertLines;
  const bool horizontal = grid_style_ == TGridStyle::gsDotLines || grid_style_ == TGridStyle::gsHorizDotLines ||
                          grid_style_ == TGridStyle::gsLines || grid_style_ == TGridStyle::gsHorizLines;
  const QColor color = ink(grid_color_, colors);
  p.setPen(qpen(dotted ? TPenStyle::psDot : TPenStyle::psSolid, color, 1, false));
  if (grid_style_ == TGridStyle::gsPoints) {
    for (double x : xs)
      for (double y : ys) {
        const PixelPoint pt = m.to_px(x, y);
        if (a.contains(pt.x, pt.y)) fill_px(p, pt.x, pt.y, 1, 1, color);
      }
    return;
  }
  if (vertical)
    for (double x : xs) {
      const int px = m.x.to_px(x);
      if (px > a.left && px < a.right) p.drawLine(px, a.top + 1, px, a.bottom - 1);
    }
  if (horizontal)
    for (double y : ys) {
      const int py = m.y.to_px(y);
      if (py > a.top && py < a.bottom) p.drawLine(a.left + 1, py, a.right - 1, py);
    }
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
