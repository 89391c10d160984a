#include "chart/plotchart_design.h"

#include "chart/plotchart.h"

namespace kv::chart {
namespace {

struct ScaleDesign {
  const char* caption;
  TColor color;
  int scale_pos;
  TScaleLocation location;
  int caption_x;
  int caption_y;
  TAlignment alignment;
  TCaptionAnchor anchor;
};

using enum TScaleLocation;
using enum TAlignment;
using enum TCaptionAnchor;

// Scale1X, Scale1Y, Scale2X, Scale2Y, ... Scale4Y.
constexpr ScaleDesign kScales[8] = {
    {"Time (s)", clBlack, 0, slBottom, 0, 17, taCenter, uaSclCenter},
    {"", clBlack, 0, slLeft, -5, -17, taLeftJustify, uaSclTopLft},
    {"Time (s)", clRed, 33, slBottom, 0, 17, taCenter, uaSclCenter},
    {"", clRed, 0, slRight, -175, -17, taRightJustify, uaSclTopLft},
    {"", clGreen, 0, slBottom, 10, 100, taCenter, uaSclCenter},
    {"", clGreen, 0, slLeft, 10, 100, taRightJustify, uaSclTopLft},
    {"", clOlive, 0, slBottom, 10, 100, taCenter, uaSclCenter},
    {"", clOlive, 0, slLeft, 10, 100, taRightJustify, uaSclTopLft},
};

void apply(TScaleProps& s, const ScaleDesign& d) {
  s.SetCaption(d.caption);
  s.SetColorScale(d.color);
  s.SetScalePos(d.scale_pos);
  s.SetScaleLocation(d.location);
  s.SetCaptionPosX(d.caption_x);
  s.SetCaptionPosY(d.caption_y);
  s.SetCaptionAlignment(d.alignment);
  s.SetCaptionAnchor(d.anchor);
}

}  // namespace

void apply_plot_window_design(TPlotChart& chart) {
  chart.setObjectName("PlotChart1");
  chart.SetRims(40, 40, 15, 65);
  chart.setFixedSize(kPlotChartWidth, kPlotChartHeight);
  chart.SetWindColor(clActiveBorder);
  chart.SetChartColor(clWhite);
  chart.SetChartFrameColor(clBlack);
  chart.SetAllocSize(kPlotChartAllocSize);
  chart.SetClassDefault(0);
  chart.SetLineWidth(1);
  chart.SetGridStyle(TGridStyle::gsNone);
  chart.SetMouseAction(TMouseActMode::maNone);
  for (int layer = 1; layer <= 4; ++layer) {
    apply(chart.ScaleX(layer), kScales[2 * (layer - 1)]);
    apply(chart.ScaleY(layer), kScales[2 * (layer - 1) + 1]);
  }
  const TColor colors[kCrossHairCount] = {clRed, clBlue, clBlack, clBlack};
  const int layers[kCrossHairCount] = {1, 1, 3, 4};
  for (int i = 1; i <= kCrossHairCount; ++i) {
    chart.CrossHair(i).Layer = layers[i - 1];
    chart.SetCrossHairStyle(i, colors[i - 1], TCrossHMode::chOff, TPenStyle::psSolid, 1);
  }
  chart.Redisplay();
}

}  // namespace kv::chart
