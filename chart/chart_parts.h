#pragma once
// The chart's crosshairs and text labels: plain records whose fields the
// caller sets directly; they show at the next repaint.
#include <string>

#include "chart/chart_types.h"
#include "chart/scale_props.h"

namespace kv::chart {

struct TCrossHair {
  double PosX = 0;
  double PosY = 0;
  int Layer = 1;
  TColor Color = clBlack;
  TCrossHMode Mode = TCrossHMode::chOff;
  TPenStyle LineType = TPenStyle::psSolid;
  int LineWid = 1;
};

struct TTextLabel {
  double PosX = 0;
  double PosY = 0;
  int Layer = 1;
  bool AttachToData = true;  // false: PosX/PosY are chart-area pixels
  TAlignment Alignment = TAlignment::taCenter;
  TColor ColorBkg = clWhite;
  TColor ColorBorder = clBlack;
  TColor ColorShadow = clGray;
  int ShadowDx = 3;
  int ShadowDy = 3;
  bool Transparent = false;
  FontSpec Font;
  TTxtLblMode Mode = TTxtLblMode::tlOff;
  std::string Caption;  // line feeds separate lines
};

}  // namespace kv::chart
