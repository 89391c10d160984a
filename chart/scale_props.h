#pragma once
// The X and Y scale of one layer: its data range and how its ruler looks.
// Every change is reported to the owning chart, which re-synchronises the
// rulers and repaints at once.
#include <string>

#include "chart/chart_types.h"

namespace kv::chart {

// A font as the chart's properties describe it; a negative height is the
// character height in pixels.
struct FontSpec {
  std::string family = "Sans Serif";
  int height = -11;
  bool bold = false;
  bool italic = false;
  TColor color = clBlack;
  int pixel_size() const { return height < 0 ? -height : height; }
  friend bool operator==(const FontSpec&, const FontSpec&) = default;
};

class ScaleObserver {
 public:
  virtual void scale_changed() = 0;

 protected:
  ~ScaleObserver() = default;
};

class TScaleProps {
 public:
  explicit TScaleProps(TScaleLocation location) : location_(location) {}
  TScaleProps(const TScaleProps&) = delete;
  TScaleProps& operator=(const TScaleProps&) = delete;
  void set_observer(ScaleObserver* observer) { observer_ = observer; }

  double RangeLow() const { return low_; }
  double RangeHigh() const { return high_; }
  const std::string& Caption() const { return caption_; }
  bool Visible() const { return visible_; }
  int CaptionPosX() const { return caption_x_; }
  int CaptionPosY() const { return caption_y_; }
  TAlignment CaptionAlignment() const { return caption_alignment_; }
  TCaptionAnchor CaptionAnchor() const { return caption_anchor_; }
  TColor ColorScale() const { return color_; }
  int DecPlaces() const { return dec_places_; }
  const FontSpec& Font() const { return font_; }
  TLabelType LabelType() const { return TLabelType::ftNum; }
  int MinTicks() const { return min_ticks_; }
  double MinRange() const { return min_range_; }
  bool ShortTicks() const { return short_ticks_; }
  int ScalePos() const { return scale_pos_; }
  TScaleLocation ScaleLocation() const { return location_; }

  void SetRangeLow(double v) { set(low_, v); }
  void SetRangeHigh(double v) { set(high_, v); }
  void SetCaption(std::string v) { set(caption_, std::move(v)); }
  void SetVisible(bool v) { set(visible_, v); }
  void SetCaptionPosX(int v) { set(caption_x_, v); }
  void SetCaptionPosY(int v) { set(caption_y_, v); }
  void SetCaptionAlignment(TAlignment v) { set(caption_alignment_, v); }
  void SetCaptionAnchor(TCaptionAnchor v) { set(caption_anchor_, v); }
  void SetColorScale(TColor v) { set(color_, v); }
  void SetDecPlaces(int v) { set(dec_places_, v); }
  void SetFont(FontSpec v) { set(font_, std::move(v)); }
  void SetMinTicks(int v) { set(min_ticks_, v < 1 ? 1 : v); }
  void SetMinRange(double v) { set(min_range_, v); }
  void SetShortTicks(bool v) { set(short_ticks_, v); }
  void SetScalePos(int v) { set(scale_pos_, v); }
  void SetScaleLocation(TScaleLocation v) { set(location_, v); }

  // Both ends in one step with a single notification.
  void set_range(double low, double high);
  // Both ends without a notification: the change shows at the next repaint.
  void store_range(double low, double high) {
    low_ = low;
    high_ = high;
  }
  bool horizontal() const {
    return location_ == TScaleLocation::slBottom || location_ == TScaleLocation::slTop;
  }

 private:
  template <class T>
  void set(T& field, T value) {
    field = std::move(value);
    notify();
  }
  void notify() const {
    if (observer_ != nullptr) observer_->scale_changed();
  }

  ScaleObserver* observer_ = nullptr;
  double low_ = 0;
  double high_ = 1;
  std::string caption_;
  bool visible_ = false;
  int caption_x_ = 0;
  int caption_y_ = 0;
  TAlignment caption_alignment_ = TAlignment::taCenter;
  TCaptionAnchor caption_anchor_ = TCaptionAnchor::uaSclCenter;
  TColor color_ = clBlack;
  int dec_places_ = -2;
  FontSpec font_;
  int min_ticks_ = 3;
  double min_range_ = 1e-10;
  bool short_ticks_ = true;
  int scale_pos_ = 0;
  TScaleLocation location_;
};

class TScalePropsHoriz : public TScaleProps {
 public:
  TScalePropsHoriz() : TScaleProps(TScaleLocation::slBottom) {}
};

class TScalePropsVert : public TScaleProps {
 public:
  TScalePropsVert() : TScaleProps(TScaleLocation::slLeft) {}
};

}  // namespace kv::chart
