#include "chart/margin_cache.h"

#include <QGuiApplication>
#include <algorithm>
#include <utility>

namespace kv::chart {
namespace {

void take_ruler(RulerLook& r, const TScaleProps& s) {
  r.low = s.RangeLow();
  r.high = s.RangeHigh();
  r.caption = s.Caption();
  r.caption_x = s.CaptionPosX();
  r.caption_y = s.CaptionPosY();
  r.caption_alignment = s.CaptionAlignment();
  r.caption_anchor = s.CaptionAnchor();
  r.color = s.ColorScale();
  r.dec_places = s.DecPlaces();
  r.font = s.Font();
  r.min_ticks = s.MinTicks();
  r.short_ticks = s.ShortTicks();
  r.scale_pos = s.ScalePos();
  r.location = s.ScaleLocation();
}

bool same_geometry(const ChartGeometry& a, const ChartGeometry& b) {
  return a.width == b.width && a.height == b.height && a.lrim == b.lrim && a.rrim == b.rrim && a.trim == b.trim &&
         a.brim == b.brim && a.shadow_width == b.shadow_width;
}

}  // namespace

void MarginLook::take(const ChartGeometry& g, TColor margin, const InkRule& colors,
                      std::span<const RulerView> shown) {
  geo = g;
  margin_color = margin;
  mono = colors.mono;
  scheme = colors.scheme;
  base_font = QGuiApplication::font();
  ruler_count = std::min(shown.size(), rulers.size());
  for (std::size_t i = 0; i < ruler_count; ++i) take_ruler(rulers[i], *shown[i].scale);
}

bool MarginLook::same_as(const MarginLook& o) const {
  return same_geometry(geo, o.geo) && margin_color == o.margin_color && mono == o.mono && scheme == o.scheme &&
         base_font == o.base_font && ruler_count == o.ruler_count &&
         std::equal(rulers.begin(), rulers.begin() + static_cast<std::ptrdiff_t>(ruler_count), o.rulers.begin());
}

bool MarginCache::holds(const ChartGeometry& g, TColor margin, const InkRule& colors,
                        std::span<const RulerView> shown) {
  wanted_.take(g, margin, colors, shown);
  return valid_ && wanted_.same_as(drawn_);
}

void MarginCache::drawn() {
  std::swap(wanted_, drawn_);
  valid_ = true;
}

}  // namespace kv::chart
