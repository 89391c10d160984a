#pragma once
// The margins of the on-screen picture (background, rulers, tick labels,
// captions) are kept from one picture to the next: a re-plot or a crosshair
// redraw that leaves every scale as it was draws only the chart area again.
// Writing text is what allocates in a picture, so this is what lets an
// unchanged re-plot draw without touching the heap.
#include <QFont>
#include <array>
#include <span>
#include <string>

#include "chart/chart_types.h"
#include "chart/item_render.h"
#include "chart/ruler_paint.h"
#include "chart/scale_props.h"

namespace kv::chart {

// Everything of one scale that its ruler's picture depends on.
struct RulerLook {
  double low = 0;
  double high = 0;
  std::string caption;
  int caption_x = 0;
  int caption_y = 0;
  TAlignment caption_alignment = TAlignment::taCenter;
  TCaptionAnchor caption_anchor = TCaptionAnchor::uaSclCenter;
  TColor color = clBlack;
  int dec_places = 0;
  FontSpec font;
  int min_ticks = 0;
  bool short_ticks = false;
  int scale_pos = 0;
  TScaleLocation location = TScaleLocation::slBottom;
  friend bool operator==(const RulerLook&, const RulerLook&) = default;
};

// Everything the margins' picture depends on. Strings keep their memory
// when taken again, so taking a look allocates only when a caption or a
// font name grows.
struct MarginLook {
  ChartGeometry geo;
  TColor margin_color = clBlack;
  bool mono = false;
  SchemeColors scheme{};
  // What the scale fonts leave open (capitals, spacing, hinting) comes
  // from the application's font.
  QFont base_font;
  std::array<RulerLook, kMaxRulers> rulers;
  std::size_t ruler_count = 0;

  void take(const ChartGeometry& g, TColor margin, const InkRule& colors, std::span<const RulerView> shown);
  bool same_as(const MarginLook& o) const;
};

class MarginCache {
 public:
  // True when the image last drawn holds these margins already.
  bool holds(const ChartGeometry& g, TColor margin, const InkRule& colors, std::span<const RulerView> shown);
  // The margins just taken by holds() are now in the image.
  void drawn();
  void forget() { valid_ = false; }

 private:
  MarginLook wanted_;
  MarginLook drawn_;
  bool valid_ = false;
};

}  // namespace kv::chart
