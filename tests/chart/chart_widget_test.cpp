// The chart widget's picture, read back pixel by pixel from its images.
#include <gtest/gtest.h>

#include <cmath>
#include <limits>
#include <vector>

#include "chart/plotchart.h"
#include "chart/plotchart_design.h"

namespace kv::chart {
namespace {

QRgb rgb(TColor c) { return argb_of(c); }

class ChartWidget : public ::testing::Test {
 protected:
  ChartWidget() {
    apply_plot_window_design(chart);
    chart.SetLayerRange(1, 0, 0, 573, 418);  // one unit per pixel
  }
  // Pixel of the data point (x, y) of layer 1.
  QRgb at(double x, double y) const {
    const PixelPoint p = chart.layer_map(1).to_px(x, y);
    return chart.ScreenImage().pixel(p.x, p.y);
  }
  QRgb px(int x, int y) const { return chart.ScreenImage().pixel(x, y); }
  TPlotChart chart;
};

TEST_F(ChartWidget, StartsWithTheDesignValues) {
  EXPECT_EQ(chart.objectName(), "PlotChart1");
  EXPECT_EQ(chart.width(), 653);
  EXPECT_EQ(chart.height(), 498);
  EXPECT_EQ(chart.ActiveLayer(), 1);
  EXPECT_EQ(chart.AllocSize(), 1000);
  EXPECT_EQ(chart.Scale1X().Caption(), "Time (s)");
  EXPECT_EQ(chart.Scale2Y().ScaleLocation(), TScaleLocation::slRight);
  EXPECT_EQ(chart.Scale2X().ScalePos(), 33);
  EXPECT_FALSE(chart.Scale1X().Visible());
  EXPECT_EQ(chart.Scale3X().RangeHigh(), 1);
  EXPECT_EQ(chart.CrossHair(2).Color, clBlue);
  EXPECT_EQ(chart.CrossHair(3).Layer, 3);
  EXPECT_TRUE(chart.LayerMouseEnabled(1));
  EXPECT_FALSE(chart.LayerMouseEnabled(2));
  EXPECT_EQ(chart.MouseAction(), TMouseActMode::maNone);
  EXPECT_EQ(chart.TextLabel(20).Mode, TTxtLblMode::tlOff);
}

TEST_F(ChartWidget, MarginsFrameAndChartArea) {
  chart.Redisplay();
  EXPECT_EQ(px(5, 5), rgb(clActiveBorder));
  EXPECT_EQ(px(40, 200), rgb(clBlack));  // frame
  EXPECT_EQ(px(613, 200), rgb(clBlack));
  EXPECT_EQ(px(300, 15), rgb(clBlack));
  EXPECT_EQ(px(300, 433), rgb(clBlack));
  EXPECT_EQ(px(41, 200), rgb(clWhite));
  EXPECT_EQ(px(614, 200), rgb(clActiveBorder));
}

TEST_F(ChartWidget, InvalidValuesAreIgnored) {
  chart.SetActiveLayer(17);
  chart.SetActiveLayer(0);
  EXPECT_EQ(chart.ActiveLayer(), 1);
  chart.SetActiveLayer(16);
  EXPECT_EQ(chart.ActiveLayer(), 16);
  chart.SetGridDx(-3.5);
  EXPECT_EQ(chart.GridDx(), 0);
  chart.SetGridDx(-3);
  EXPECT_EQ(chart.GridDx(), -3);
  chart.SetCrossHairPos(5, 1, 1);
  chart.SetCrossHairStyle(0, clRed, TCrossHMode::chBoth, TPenStyle::psSolid, 1);
  EXPECT_EQ(chart.CrossHairPosX(5), 0);
  EXPECT_EQ(chart.CrossHairPosY(0), 0);
  chart.SetLayerMouseEnabled(17, true);
  EXPECT_FALSE(chart.LayerMouseEnabled(17));
}

TEST_F(ChartWidget, TextLabelIndexOutsideTheRangeRaisesTheComponentError) {
  try {
    chart.TextLabel(21);
    FAIL() << "no error";
  } catch (const ChartError& e) {
    EXPECT_STREQ(e.what(), "Component \"PlotChart1\": invalid index into TextLabel array");
  }
  EXPECT_THROW(chart.TextLabel(0), ChartError);
}

TEST_F(ChartWidget, LayerRangeWithEqualEndsWidensByHalfTheMinRange) {
  chart.SetLayerRange(3, 5, 1, 5, 2);
  EXPECT_DOUBLE_EQ(chart.Scale3X().RangeLow(), 5 - 0.5e-10);
  EXPECT_DOUBLE_EQ(chart.Scale3X().RangeHigh(), 5 + 0.5e-10);
  chart.SetLayerRange(0, 1, 2, 3, 4);  // every layer
  EXPECT_EQ(chart.ScaleY(16).RangeHigh(), 4);
  EXPECT_EQ(chart.Scale1X().RangeLow(), 1);
}

TEST_F(ChartWidget, AutoRangeOfAnEmptyLayerAndOfItems) {
  chart.AutoRangeLayer(2, 0);
  EXPECT_EQ(chart.Scale2X().RangeLow(), -1);
  EXPECT_EQ(chart.Scale2Y().RangeHigh(), 1);
  chart.SetPenStyle(TPenStyle::psClear);  // invisible items still count
  chart.AddMoveTo(2, 10);
  chart.AddDrawTo(8, 30);
  chart.AutoRangeLayer(1, 10);
  EXPECT_DOUBLE_EQ(chart.Scale1X().RangeLow(), 2 - 0.6);
  EXPECT_DOUBLE_EQ(chart.Scale1Y().RangeHigh(), 32);
  double x0 = 0, y0 = 0, x1 = 100, y1 = 100;
  chart.GetLayerExtent(1, x0, y0, x1, y1);
  EXPECT_EQ(x0, 2);
  EXPECT_EQ(y1, 30);
}

TEST_F(ChartWidget, DrawToLinesAndMarksInTheirColours) {
  chart.SetDataColor(clRed);
  chart.AddMoveTo(100, 100);
  chart.AddDrawTo(200, 100);
  chart.SetDataColor(clBlue);
  chart.AddMark(300, 300, 0);
  chart.Redisplay();
  EXPECT_EQ(at(100, 100), rgb(clRed));
  EXPECT_EQ(at(150, 100), rgb(clRed));
  EXPECT_EQ(at(200, 100), rgb(clRed));
  EXPECT_EQ(at(150, 101), rgb(clWhite));  // one pixel thick
  EXPECT_EQ(at(300, 300), rgb(clBlue));
  EXPECT_EQ(at(301, 300), rgb(clWhite));
}

TEST_F(ChartWidget, MarkDoesNotMoveThePen) {
  chart.AddMoveTo(100, 100);
  chart.AddMark(300, 300, 0);
  chart.AddDrawTo(100, 200);  // continues from (100, 100)
  chart.Redisplay();
  EXPECT_EQ(at(100, 150), rgb(clBlack));
  EXPECT_EQ(at(200, 250), rgb(clWhite));
}

TEST_F(ChartWidget, ClearPenLeavesNoTrace) {
  chart.SetPenStyle(TPenStyle::psClear);
  chart.AddMoveTo(100, 100);
  chart.AddDrawTo(200, 100);
  chart.AddMark(250, 250, 0);
  chart.Redisplay();
  EXPECT_EQ(at(150, 100), rgb(clWhite));
  EXPECT_EQ(at(250, 250), rgb(clWhite));
}

TEST_F(ChartWidget, ClearItemsEmptiesTheListButKeepsRangesAndLabels) {
  chart.AddMoveTo(100, 100);
  chart.AddDrawTo(200, 100);
  chart.TextLabel(1).Caption = "kept";
  chart.Redisplay();
  chart.ClearItems();
  EXPECT_EQ(chart.ItemCount(), 0u);
  EXPECT_EQ(at(150, 100), rgb(clBlack));  // the screen changes at the next Redisplay
  chart.SetCrossHairStyle(1, clRed, TCrossHMode::chVert, TPenStyle::psSolid, 1);
  EXPECT_EQ(at(150, 100), rgb(clWhite));  // or when a crosshair shows the bare chart area
  chart.Redisplay();
  EXPECT_EQ(at(150, 100), rgb(clWhite));
  EXPECT_EQ(chart.Scale1X().RangeHigh(), 573);
  EXPECT_EQ(chart.TextLabel(1).Caption, "kept");
}

TEST_F(ChartWidget, ItemsOfOtherLayersUseTheirOwnRanges) {
  chart.SetLayerRange(2, 0, 0, 1, 1);
  chart.SetActiveLayer(2);
  chart.AddMark(0.5, 0.5, 0);
  chart.Redisplay();
  EXPECT_EQ(px(40 + 286, 433 - 209), rgb(clBlack));  // 286.5 and 209 from the edges
}

TEST_F(ChartWidget, FarAwayPointsDrawToTheEdge) {
  chart.AddMoveTo(100, 100);
  chart.AddDrawTo(1e300, 100);
  chart.Redisplay();
  EXPECT_EQ(at(572, 100), rgb(clBlack));
}

TEST_F(ChartWidget, LabelOneIsDrawnOverLabelTwo) {
  for (int i : {1, 2}) {
    TTextLabel& l = chart.TextLabel(i);
    l.PosX = 200;
    l.PosY = 200;
    l.Caption = "    ";
    l.Mode = TTxtLblMode::tlsimple;
    l.ColorBkg = i == 1 ? clGreen : clRed;
  }
  chart.Redisplay();
  EXPECT_EQ(at(200, 202), rgb(clGreen));
}

TEST_F(ChartWidget, LabelBoxShadowAndClipping) {
  TTextLabel& l = chart.TextLabel(3);
  l.AttachToData = false;  // chart-area pixels
  l.PosX = 100;
  l.PosY = 100;
  l.Alignment = TAlignment::taLeftJustify;
  l.Caption = "A\nB";
  l.Mode = TTxtLblMode::tlShadow;
  l.ColorBkg = clWhite;
  chart.Redisplay();
  const int x = 40 + 100, y = 15 + 100;
  EXPECT_EQ(px(x - 4, y), rgb(clBlack));      // left border
  EXPECT_EQ(px(x - 4, y + 2), rgb(clBlack));  // bottom-left corner
  EXPECT_EQ(px(x - 1, y + 2 + 3), rgb(clGray));
  // A label at the chart's edge stays inside the frame.
  l.PosX = -2;
  chart.Redisplay();
  EXPECT_EQ(px(39, y), rgb(clActiveBorder));
}

TEST_F(ChartWidget, BoxModeRightAlignedEndsAtTheAnchor) {
  TTextLabel& l = chart.TextLabel(5);
  l.PosX = 300;
  l.PosY = 100;
  l.Alignment = TAlignment::taRightJustify;
  l.Caption = "lap";
  l.ColorBkg = clSilver;
  l.Mode = TTxtLblMode::tlBox;
  chart.Redisplay();
  EXPECT_EQ(at(304, 100), rgb(clBlack));  // right border: anchor + 4
  EXPECT_EQ(at(305, 100), rgb(clWhite));
  EXPECT_EQ(at(303, 99), rgb(clSilver));
  EXPECT_EQ(at(299, 98), rgb(clBlack));  // bottom border: anchor + 2 (y grows downwards)
}

TEST_F(ChartWidget, UnderlineModeDrawsTheLineUnderTheText) {
  TTextLabel& l = chart.TextLabel(4);
  l.PosX = 300;
  l.PosY = 100;
  l.Alignment = TAlignment::taLeftJustify;
  l.Caption = "speed";
  l.Transparent = true;
  l.ColorBorder = clRed;
  l.Mode = TTxtLblMode::tlUnderline;
  chart.Redisplay();
  EXPECT_EQ(at(302, 100), rgb(clRed));
  EXPECT_EQ(at(298, 100 - 1), rgb(clWhite));  // transparent: no box
}

TEST_F(ChartWidget, DottedGridOnTheActiveLayersTicks) {
  chart.SetGridStyle(TGridStyle::gsVertDotLines);
  chart.SetGridDx(100);
  chart.Redisplay();
  int on = 0;
  for (int y = 16; y < 433; ++y) on += px(40 + 100, y) == rgb(clSilver);
  EXPECT_GT(on, 150);
  EXPECT_LT(on, 300);  // dotted
  EXPECT_EQ(at(150, 200), rgb(clWhite));
  chart.SetGridStyle(TGridStyle::gsNone);
  chart.Redisplay();
  EXPECT_EQ(px(140, 200), rgb(clWhite));
}

TEST_F(ChartWidget, CrosshairOutOfRangeIsNotDrawnButKept) {
  chart.SetCrossHairStyle(1, clRed, TCrossHMode::chBoth, TPenStyle::psSolid, 1);
  chart.SetCrossHairPos(1, 100, 200);
  EXPECT_EQ(at(100, 50), rgb(clRed));
  EXPECT_EQ(at(300, 200), rgb(clRed));
  chart.SetCrossHairPos(1, 1000, 200);
  EXPECT_EQ(at(100, 50), rgb(clWhite));
  EXPECT_EQ(at(300, 200), rgb(clRed));  // the horizontal line is still inside
  chart.SetCrossHairPos(1, 1000, -5);
  EXPECT_EQ(at(300, 200), rgb(clWhite));
  EXPECT_EQ(chart.CrossHairPosX(1), 1000);
  EXPECT_EQ(chart.CrossHairPosY(1), -5);
}

TEST_F(ChartWidget, CrosshairMoveReusesTheChartImage) {
  chart.AddMoveTo(0, 50);
  chart.AddDrawTo(573, 50);
  chart.Redisplay();
  chart.AddMoveTo(0, 80);
  chart.AddDrawTo(573, 80);  // not shown until the next Redisplay
  chart.SetCrossHairStyle(2, clBlue, TCrossHMode::chVert, TPenStyle::psSolid, 1);
  chart.SetCrossHairPos(2, 300, 0);
  EXPECT_EQ(at(300, 200), rgb(clBlue));
  EXPECT_EQ(at(100, 80), rgb(clWhite));
  EXPECT_EQ(at(100, 50), rgb(clBlack));
}

TEST_F(ChartWidget, RulerTicksAndLabelsInTheScaleColour) {
  chart.Scale2Y().SetVisible(true);  // slRight, red
  chart.SetLayerRange(2, 0, 0, 1, 100);
  chart.Redisplay();
  const int tick_y = chart.layer_map(2).y.to_px(40);
  EXPECT_EQ(px(613, 200), rgb(clBlack));  // the frame wins over the ruler line
  EXPECT_EQ(px(614, tick_y), rgb(clRed));
  EXPECT_EQ(px(619, tick_y), rgb(clRed));
  EXPECT_EQ(px(620, tick_y), rgb(clActiveBorder));
  int label_ink = 0;
  for (int x = 621; x < 653; ++x)
    for (int y = tick_y - 6; y <= tick_y + 6; ++y) label_ink += px(x, y) != rgb(clActiveBorder);
  EXPECT_GT(label_ink, 10);
}

TEST_F(ChartWidget, ScaleChangesRepaintAtOnce) {
  chart.AddMoveTo(0, 100);
  chart.AddDrawTo(573, 100);
  chart.Redisplay();
  chart.Scale1Y().SetRangeHigh(209);  // y = 100 moves up the chart
  EXPECT_EQ(px(300, chart.layer_map(1).y.to_px(100)), rgb(clBlack));
  EXPECT_EQ(px(300, 433 - 100), rgb(clWhite));
}

// Long curves on four layers, some with a NaN or an infinite value, drawn
// as the program draws them against the item-by-item way, inside the frame:
// every layer shown, one hidden and shown again, and black on white.
TEST_F(ChartWidget, CurvesMatchTheItemByItemPicture) {
  chart.SetChartColor(clWhite);
  chart.SetGridStyle(TGridStyle::gsNone);
  for (int layer = 1; layer <= 4; ++layer) chart.SetLayerRange(layer, 0, -10 - layer, 600 + layer, 110 + layer);
  constexpr std::size_t kN = 5000;
  std::vector<double> x(kN), y(kN);
  for (int c = 0; c < 24; ++c) {
    for (std::size_t i = 0; i < kN; ++i) {
      x[i] = static_cast<double>(i) * 0.12;
      y[i] = 50 + 45 * std::sin(static_cast<double>(i) * 0.003 * (c + 1)) + static_cast<double>(i % 5);
    }
    if (c % 5 == 1) x[kN / 2] = std::numeric_limits<double>::quiet_NaN();
    if (c % 5 == 2) y[kN / 3] = std::numeric_limits<double>::infinity();
    chart.SetActiveLayer(1 + c % 4);
    chart.SetDataColor(static_cast<TColor>(0x0A0B0C * (c + 1)) & 0xFFFFFF);
    chart.AddMoveTo(x[0], y[0]);
    chart.AddSamples(x.data(), y.data(), kN, 0, 1, false);
  }
  auto differing = [&](bool mono) {
    const QImage shown = mono ? chart.Picture(true) : chart.ScreenImage();
    const PixelRect a = chart.geometry_px().area();
    QImage plain(a.width(), a.height(), QImage::Format_RGB32);
    plain.fill(Qt::white);
    chart.render_items_plain(plain, mono);
    int n = 0;
    for (int py = 1; py < a.height() - 1; ++py)
      for (int px = 1; px < a.width() - 1; ++px) n += shown.pixel(a.left + px, a.top + py) != plain.pixel(px, py);
    return n;
  };
  chart.Redisplay();
  EXPECT_EQ(differing(false), 0);
  EXPECT_EQ(differing(true), 0);
  chart.SetLayerVisible(3, false);
  chart.Redisplay();
  EXPECT_EQ(differing(false), 0);
  chart.SetLayerVisible(3, true);
  chart.Redisplay();
  EXPECT_EQ(differing(false), 0);
}

}  // namespace
}  // namespace kv::chart
