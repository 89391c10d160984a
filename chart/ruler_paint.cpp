#include "chart/ruler_paint.h"

#include <QFontMetrics>
#include <QPainter>
#include <algorithm>
#include <optional>
#include <vector>

#include "chart/caption_place.h"
#include "chart/qt_paint_helpers.h"
#include "chart/ruler_ticks.h"

namespace kv::chart {
namespace {

constexpr int kMajorTickX = 7;
constexpr int kMajorTickY = 6;
constexpr int kMinorTick = 4;
constexpr int kYLabelGap = 8;      // from the ruler line to the label
constexpr int kXLabelCentre = 17;  // from the ruler line to the label row's middle
constexpr int kXLabelInset = 2;    // labels stay this far inside the ruler's ends
constexpr int kCaptionGap = 4;     // between a caption and the tick labels beside it
constexpr int kMinCaptionPixels = 8;  // the smallest caption font that still reads easily

struct Text {
  PixelRect box;
  QString text;
  QFont font;
  QColor color;
};

struct Ruler {
  PixelRect band;  // the line and its ticks
  std::vector<Text> labels;
  std::optional<Text> caption;  // where its scale asks for it
};

PixelRect text_box(int left, int top, int width, int height) {
  return {left, top, left + width - 1, top + height - 1};
}

// The caption where the scale's anchor, offsets and alignment put it, kept
// inside the control.
Text wanted_caption(const TScaleProps& s, const QFontMetrics& fm, const QFont& font, const QColor& color, int line,
                    int out, const ChartGeometry& g) {
  const PixelRect a = g.area();
  const bool horiz = s.horizontal();
  const int lo = horiz ? a.left : a.top;
  const int hi = horiz ? a.right : a.bottom;
  const QString text = qstr(s.Caption());
  const int w = fm.horizontalAdvance(text);
  const int h = fm.height();
  const int along = s.CaptionAnchor() == TCaptionAnchor::uaSclTopLft   ? lo
                    : s.CaptionAnchor() == TCaptionAnchor::uaSclBotRgt ? hi
                                                                        : (lo + hi) / 2;
  QPoint ref = horiz ? QPoint(along, line) : QPoint(line, along);
  ref += QPoint(s.CaptionPosX(), horiz ? out * s.CaptionPosY() : s.CaptionPosY());
  int left = s.CaptionAlignment() == TAlignment::taLeftJustify    ? ref.x()
             : s.CaptionAlignment() == TAlignment::taRightJustify ? ref.x() - w
                                                                  : ref.x() - w / 2;
  left = std::clamp(left, 0, std::max(0, g.width - w));
  const int top = std::clamp(ref.y() - h / 2, 0, std::max(0, g.height - h));
  return {text_box(left, top, w, h), text, font, color};
}

// Draws the line and ticks of one ruler; its labels and caption are drawn
// once every ruler's place is known.
Ruler lay_out_ruler(QPainter& p, const RulerView& r, const ChartGeometry& g, const InkRule& colors) {
  const TScaleProps& s = *r.scale;
  const PixelRect a = g.area();
  const QColor color = ink(s.ColorScale(), colors);
  const QFont font = qfont(s.Font());
  const QFontMetrics fm(font, p.device());
  const bool horiz = s.horizontal();
  const bool far_side = s.ScaleLocation() == TScaleLocation::slBottom || s.ScaleLocation() == TScaleLocation::slRight;
  const int out = far_side ? 1 : -1;
  const int line = horiz ? (far_side ? a.bottom : a.top) + out * s.ScalePos()
                         : (far_side ? a.right : a.left) + out * s.ScalePos();
  const int lo = horiz ? a.left : a.top;
  const int hi = horiz ? a.right : a.bottom;
  const int major_len = horiz ? kMajorTickX : kMajorTickY;

  Ruler ruler;
  const int band_low = out > 0 ? line : line - major_len;
  const int band_high = out > 0 ? line + major_len : line;
  ruler.band = horiz ? PixelRect{lo, band_low, hi, band_high} : PixelRect{band_low, lo, band_high, hi};
  auto tick = [&](int at, int len) {
    const int from = out > 0 ? line + 1 : line - len;
    if (horiz) fill_px(p, at, from, 1, len, color); else fill_px(p, from, at, len, 1, color);
  };
  if (horiz) fill_px(p, a.left, line, a.width(), 1, color); else fill_px(p, line, a.top, 1, a.height(), color);

  const RulerTicks ticks = compute_ticks(s.RangeLow(), s.RangeHigh(), s.MinTicks(), s.ShortTicks());
  for (double t : ticks.minor) {
    const int at = r.map.to_px(t);
    if (at >= lo && at <= hi) tick(at, kMinorTick);
  }
  const double span = s.RangeHigh() - s.RangeLow();
  const LabelFormat format = label_format(span, s.DecPlaces());
  for (double t : ticks.major) {
    const int at = r.map.to_px(t);
    if (at < lo || at > hi) continue;
    tick(at, major_len);
    const QString text = qstr(format_tick(t, span, format));
    const int w = fm.horizontalAdvance(text);
    const int left = horiz ? std::clamp(at - w / 2, a.left + kXLabelInset,
                                        std::max(a.left + kXLabelInset, a.right - kXLabelInset - w))
                           : out > 0 ? line + kYLabelGap : line - kYLabelGap - w;
    const int top = horiz ? line + out * kXLabelCentre - fm.height() / 2 : at - fm.height() / 2;
    ruler.labels.push_back({text_box(left, top, w, fm.height()), text, font, color});
  }
  if (!s.Caption().empty()) ruler.caption = wanted_caption(s, fm, font, color, line, out, g);
  return ruler;
}

// A caption with no free place of its own size: smaller, down to
// kMinCaptionPixels and then cut short, in the widest free stretch of its
// row, as near as it gets to where it was wanted.
std::optional<Text> squeezed_caption(const Text& wanted, const CaptionRoom& room, QPaintDevice* device) {
  const std::optional<PixelRect> stretch = widest_free_stretch(wanted.box, room);
  if (!stretch) return std::nullopt;
  Text t = wanted;
  const int middle = (wanted.box.top + wanted.box.bottom) / 2;
  const int centre = (wanted.box.left + wanted.box.right) / 2;
  for (int px = wanted.font.pixelSize() - 1;; --px) {
    t.font.setPixelSize(px);
    const QFontMetrics fm(t.font, device);
    if (px <= kMinCaptionPixels) t.text = fm.elidedText(wanted.text, Qt::ElideRight, stretch->width());
    const int w = fm.horizontalAdvance(t.text);
    if (w > stretch->width()) continue;
    const int left = std::clamp(centre - w / 2, stretch->left, stretch->right - w + 1);
    t.box = text_box(left, middle - fm.height() / 2, w, fm.height());
    return t;
  }
}

void write(QPainter& p, const Text& t) {
  p.setFont(t.font);
  p.setPen(t.color);
  text_at(p, QPoint(t.box.left, t.box.top), t.text);
}

}  // namespace

void paint_rulers(QPainter& p, std::span<const RulerView> rulers, const ChartGeometry& g, const InkRule& colors,
                  TColor margin_color) {
  std::vector<Ruler> laid;
  std::vector<PixelRect> taken{g.area()};
  for (const RulerView& r : rulers) {
    laid.push_back(lay_out_ruler(p, r, g, colors));
    taken.push_back(laid.back().band);
    for (const Text& label : laid.back().labels) taken.push_back(label.box);
  }
  // Captions go where they hide nothing, if need be smaller; one that finds
  // no such place keeps its own, and the tick labels it covers are written
  // over it.
  const PixelRect control{0, 0, g.width - 1, g.height - 1};
  std::vector<PixelRect> crowded;
  for (const Ruler& ruler : laid) {
    if (!ruler.caption) continue;
    Text caption = *ruler.caption;
    // Up or down by a line at most: a caption stays beside its ruler.
    const CaptionRoom room{control, taken, kCaptionGap, caption.box.height()};
    if (const auto box = free_caption_box(caption.box, room))
      caption.box = *box;
    else if (const auto squeezed = squeezed_caption(caption, room, p.device()))
      caption = *squeezed;
    else
      crowded.push_back(caption.box);
    write(p, caption);
    taken.push_back(caption.box);
  }
  const QColor margin = paper(margin_color, colors);
  for (const Ruler& ruler : laid)
    for (const Text& label : ruler.labels) {
      const bool covered = std::any_of(crowded.begin(), crowded.end(),
                                       [&](const PixelRect& c) { return c.intersects(label.box); });
      if (covered) p.fillRect(to_qrect(label.box), margin);
      write(p, label);
    }
}

}  // namespace kv::chart
