// Rendering of the picture: rulers in the margins, then the chart area with
// its background, grid, items, labels and frame, then the crosshairs.
#include <QFontMetrics>
#include <QPainter>

#include "chart/chart_geometry.h"
#include "chart/plotchart.h"
#include "chart/qt_paint_helpers.h"

namespace kv::chart {
namespace {

constexpr int kMajorTickX = 7;
constexpr int kMajorTickY = 6;
constexpr int kMinorTick = 4;
constexpr int kYLabelGap = 8;       // from the ruler line to the label
constexpr int kXLabelCentre = 17;   // from the ruler line to the label row's middle
constexpr int kXLabelInset = 2;     // labels stay this far inside the ruler's ends
constexpr int kCaptionGap = 4;      // between a caption and the tick labels beside it
constexpr int kMaxGridLines = 1000;

void fill(QPainter& p, int x, int y, int w, int h, const QColor& c) {
  if (w > 0 && h > 0) p.fillRect(QRect(x, y, w, h), c);
}

void outline(QPainter& p, const PixelRect& r, const QColor& c) {
  fill(p, r.left, r.top, r.width(), 1, c);
  fill(p, r.left, r.bottom, r.width(), 1, c);
  fill(p, r.left, r.top, 1, r.height(), c);
  fill(p, r.right, r.top, 1, r.height(), c);
}

QRect to_qrect(const PixelRect& r) { return QRect(r.left, r.top, r.width(), r.height()); }

// Text written with its top-left corner at `top_left`.
void text_at(QPainter& p, QPoint top_left, const QString& s) {
  p.drawText(top_left + QPoint(0, p.fontMetrics().ascent()), s);
}

}  // namespace

void TPlotChart::render_picture(QImage& whole, QImage& area, bool mono) const {
  const InkRule colors = ink_rule(mono);
  fast_.prepare(items_);
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
  // The run renderer assumes every layer shows; the program never hides one.
  if (all_layers_visible())
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
  walk_items(items_, items_.items(), layer_maps(), visible_layers(), sink);
}

void TPlotChart::paint_area_background(QPainter& p, const InkRule& colors) const {
  p.fillRect(to_qrect(geo_.area()), paper(chart_color_, colors));
}

void TPlotChart::paint_frame(QPainter& p, const InkRule& colors) const {
  outline(p, geo_.area(), ink(frame_color_, colors));
}

void TPlotChart::paint_rulers(QPainter& p, const InkRule& colors) const {
  for (int k = 0; k < kLayerCount; ++k) {
    const Layer& l = layers_[static_cast<std::size_t>(k)];
    if (!l.visible) continue;
    const LayerMap m = layer_map(k + 1);
    if (l.x.Visible()) paint_ruler(p, l.x, m.x, colors);
    if (l.y.Visible()) paint_ruler(p, l.y, m.y, colors);
  }
}

void TPlotChart::paint_ruler(QPainter& p, const TScaleProps& s, const AxisMap& map, const InkRule& colors) const {
  const PixelRect a = geo_.area();
  const QColor color = ink(s.ColorScale(), colors);
  p.setFont(qfont(s.Font()));
  p.setPen(color);
  const QFontMetrics fm = p.fontMetrics();
  const bool horiz = s.horizontal();
  const bool far_side = s.ScaleLocation() == TScaleLocation::slBottom || s.ScaleLocation() == TScaleLocation::slRight;
  const int out = far_side ? 1 : -1;
  const int line = horiz ? (far_side ? a.bottom : a.top) + out * s.ScalePos()
                         : (far_side ? a.right : a.left) + out * s.ScalePos();
  const int lo = horiz ? a.left : a.top;
  const int hi = horiz ? a.right : a.bottom;

  auto tick = [&](int at, int len) {
    const int from = out > 0 ? line + 1 : line - len;
    if (horiz) fill(p, at, from, 1, len, color); else fill(p, from, at, len, 1, color);
  };
  if (horiz) fill(p, a.left, line, a.width(), 1, color); else fill(p, line, a.top, 1, a.height(), color);

  // The caption, kept inside the control; tick labels give way to it.
  QRect caption;
  if (!s.Caption().empty()) {
    const QString text = qstr(s.Caption());
    const QSize size(fm.horizontalAdvance(text), fm.height());
    const int along = s.CaptionAnchor() == TCaptionAnchor::uaSclTopLft ? lo
                      : s.CaptionAnchor() == TCaptionAnchor::uaSclBotRgt ? hi
                                                                          : (lo + hi) / 2;
    QPoint ref = horiz ? QPoint(along, line) : QPoint(line, along);
    ref += QPoint(s.CaptionPosX(), horiz ? out * s.CaptionPosY() : s.CaptionPosY());
    int left = s.CaptionAlignment() == TAlignment::taLeftJustify    ? ref.x()
               : s.CaptionAlignment() == TAlignment::taRightJustify ? ref.x() - size.width()
                                                                    : ref.x() - size.width() / 2;
    left = std::clamp(left, 0, std::max(0, geo_.width - size.width()));
    const int top = std::clamp(ref.y() - size.height() / 2, 0, std::max(0, geo_.height - size.height()));
    caption = QRect(QPoint(left, top), size);
    text_at(p, caption.topLeft(), text);
  }

  const RulerTicks ticks = compute_ticks(s.RangeLow(), s.RangeHigh(), s.MinTicks(), s.ShortTicks());
  for (double t : ticks.minor) {
    const int at = map.to_px(t);
    if (at >= lo && at <= hi) tick(at, kMinorTick);
  }
  const LabelFormat format = label_format(s.RangeHigh() - s.RangeLow(), s.DecPlaces());
  for (double t : ticks.major) {
    const int at = map.to_px(t);
    if (at < lo || at > hi) continue;
    tick(at, horiz ? kMajorTickX : kMajorTickY);
    const QString text = qstr(format_tick(t, s.RangeHigh() - s.RangeLow(), format));
    const int w = fm.horizontalAdvance(text);
    QRect box;
    if (horiz) {
      const int left = std::clamp(at - w / 2, a.left + kXLabelInset, std::max(a.left + kXLabelInset, a.right - kXLabelInset - w));
      box = QRect(left, line + out * kXLabelCentre - fm.height() / 2, w, fm.height());
    } else {
      const int left = out > 0 ? line + kYLabelGap : line - kYLabelGap - w;
      box = QRect(left, at - fm.height() / 2, w, fm.height());
    }
    if (caption.isValid() && box.intersects(caption.adjusted(-kCaptionGap, 0, kCaptionGap, 0))) continue;
    text_at(p, box.topLeft(), text);
  }
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
        if (a.contains(pt.x, pt.y)) fill(p, pt.x, pt.y, 1, 1, color);
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
      fill(p, lay.block_left, anchor.y, lay.block_width + 1, 1, border);
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
