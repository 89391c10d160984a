// The picture drawn from what the chart keeps between pictures (margins,
// grid positions) is the picture drawn from scratch, and the chart area's
// lines are the pixels the desktop's painter gives.
#include <gtest/gtest.h>

#include <QGuiApplication>
#include <QPainter>
#include <functional>
#include <limits>
#include <string>
#include <utility>
#include <vector>

#include "chart/area_paint.h"
#include "chart/plotchart.h"
#include "chart/plotchart_design.h"
#include "chart/qt_paint_helpers.h"

namespace kv::chart {
namespace {

constexpr QRgb kWhite = 0xFFFFFFFF;

void design(TPlotChart& chart) {
  apply_plot_window_design(chart);
  chart.SetLayerRange(1, 0, 0, 573, 418);
  chart.Scale1X().SetVisible(true);
  chart.Scale1Y().SetVisible(true);
  chart.Scale2Y().SetVisible(true);
  chart.Scale1X().SetCaption("Time s");
  chart.Scale1Y().SetCaption("Speed");
  chart.SetLayerRange(2, 0, -3, 1, 7);
  chart.SetGridStyle(TGridStyle::gsDotLines);
  chart.SetDataColor(clRed);
  chart.AddMoveTo(0, 100);
  chart.AddDrawTo(573, 300);
}

struct LineCase {
  PixelPoint from;
  PixelPoint to;
};

// Forward and back along rows and columns, one and two pixels long, and
// running off the image.
const std::vector<LineCase> kLines{
    {{2, 3}, {2, 40}}, {{5, 40}, {5, 2}}, {{8, 10}, {8, 10}}, {{11, 4}, {11, 5}}, {{14, 5}, {14, 4}},
    {{3, 45}, {38, 45}}, {{38, 47}, {1, 47}}, {{17, -9}, {17, 30}}, {{-7, 43}, {30, 43}}, {{20, 30}, {20, 60}},
    {{23, 70}, {23, 3}}, {{25, 51}, {25, 3}}, {{60, 41}, {2, 41}}, {{27, -30}, {27, -2}}};

// Where two pictures first differ, "" when they are the same.
std::string first_difference(const QImage& a, const QImage& b) {
  if (a.size() != b.size()) return "size";
  for (int y = 0; y < a.height(); ++y)
    for (int x = 0; x < a.width(); ++x)
      if (a.pixel(x, y) != b.pixel(x, y)) return std::to_string(x) + "," + std::to_string(y);
  return "";
}

TEST(AreaPaint, AxisLinesAreThePaintersPixels) {
  for (const TPenStyle style : {TPenStyle::psSolid, TPenStyle::psDot})
    for (std::size_t i = 0; i < kLines.size(); ++i) {
      const LineCase& l = kLines[i];
      QImage painted(40, 50, QImage::Format_RGB32);
      painted.fill(kWhite);
      QImage written = painted.copy();
      {
        QPainter p(&painted);
        p.setPen(qpen(style, Qt::black, 1, false));
        p.drawLine(l.from.x, l.from.y, l.to.x, l.to.y);
      }
      const PixelCanvas canvas{reinterpret_cast<std::uint32_t*>(written.bits()),
                               static_cast<int>(written.bytesPerLine() / 4), 0, 0, {0, 0, 39, 49}};
      axis_line(canvas, l.from, l.to, dash_pattern(style), 0xFF000000);
      EXPECT_EQ(first_difference(written, painted), "") << "pen style " << static_cast<int>(style) << ", line " << i;
    }
}

// The printer draws the grid with the desktop's painter; at one printer
// pixel per screen pixel its picture is the screen's, for every grid style.
TEST(AreaPaint, EveryGridStyleMatchesThePrintersPicture) {
  for (int style = 0; style <= static_cast<int>(TGridStyle::gsDotLines); ++style) {
    TPlotChart chart;
    design(chart);
    chart.ClearItems();  // the printer draws curves its own way
    chart.SetGridStyle(static_cast<TGridStyle>(style));
    chart.SetGridDy(style % 2 == 0 ? 0 : 37.5);
    const QImage screen = chart.Picture(false);
    QImage printed(screen.size(), QImage::Format_RGB32);
    printed.fill(kWhite);
    {
      QPainter p(&printed);
      chart.PrintChart(p, 0, 0, false, printed.logicalDpiX() / static_cast<double>(chart.logicalDpiX()));
    }
    EXPECT_EQ(first_difference(printed, screen), "") << "grid style " << style;
  }
}

TEST(AreaPaint, TickListsKeptFromPictureToPictureHoldOnlyTheNewTicks) {
  RulerTicks kept;
  compute_ticks(0, 100, 3, true, kept);
  compute_ticks(5, 5, 3, true, kept);
  const RulerTicks fresh = compute_ticks(5, 5, 3, true);
  EXPECT_EQ(kept.major, fresh.major);
  EXPECT_EQ(kept.minor, fresh.minor);
  EXPECT_EQ(kept.step, fresh.step);
  compute_ticks(0, std::numeric_limits<double>::infinity(), 3, true, kept);
  EXPECT_TRUE(kept.major.empty() && kept.minor.empty());
  std::vector<double> positions{1, 2, 3};
  spaced_positions(0, 1, 0, 1000, positions);
  EXPECT_TRUE(positions.empty());
}

struct Change {
  std::string name;
  std::function<void(TPlotChart&)> apply;
};

// Each change after a first picture gives the picture a chart given the
// change before its first picture draws.
const std::vector<Change> kChanges{
    {"nothing (a re-plot)", [](TPlotChart& c) { c.ClearItems(), c.AddMoveTo(0, 100), c.AddDrawTo(573, 300); }},
    {"X range", [](TPlotChart& c) { c.SetLayerRange(1, 10, 0, 583, 418); }},
    {"start of the Y range", [](TPlotChart& c) { c.SetLayerRange(1, 0, 20, 573, 418); }},
    {"Y range of a second layer", [](TPlotChart& c) { c.SetLayerRange(2, 0, -3, 1, 9); }},
    {"size", [](TPlotChart& c) { c.resize(700, 420); }},
    {"scale font", [](TPlotChart& c) { c.Scale1Y().SetFont({"Sans Serif", -14, true, false, clBlack}); }},
    {"caption", [](TPlotChart& c) { c.Scale1X().SetCaption("Distance m"); }},
    {"scale colour", [](TPlotChart& c) { c.Scale1X().SetColorScale(clGreen); }},
    {"decimals", [](TPlotChart& c) { c.Scale2Y().SetDecPlaces(3); }},
    {"ruler shown", [](TPlotChart& c) { c.Scale2X().SetVisible(true); }},
    {"layer hidden", [](TPlotChart& c) { c.SetLayerVisible(2, false); }},
    {"margin colour", [](TPlotChart& c) { c.SetWindColor(clOlive); }},
    {"desktop colours", [](TPlotChart& c) {
       QPalette palette = c.palette();
       palette.setColor(QPalette::Window, QColor(10, 90, 30));
       palette.setColor(QPalette::Button, QColor(90, 10, 30));
       c.setPalette(palette);
     }},
    {"grid", [](TPlotChart& c) { c.SetGridStyle(TGridStyle::gsPoints); }},
    {"label", [](TPlotChart& c) {
       TTextLabel& l = c.TextLabel(1);
       l.Caption = "Pit";
       l.PosX = 100;
       l.PosY = 100;
       l.AttachToData = true;
       l.Layer = 1;
       l.Mode = TTxtLblMode::tlBox;
     }},
};

TEST(PictureCache, EveryChangeAfterAPictureShowsAsIfDrawnAfresh) {
  for (const Change& change : kChanges) {
    TPlotChart kept;
    design(kept);
    kept.Redisplay();
    change.apply(kept);
    kept.Redisplay();
    TPlotChart fresh;
    design(fresh);
    change.apply(fresh);
    fresh.Redisplay();
    EXPECT_EQ(first_difference(kept.ScreenImage(), fresh.ScreenImage()), "") << change.name;
  }
}

// The outputs are drawn into images of their own: neither they nor a mono
// picture in between disturb what the screen keeps.
TEST(PictureCache, MonoAndOutputPicturesBetweenRedisplaysLeaveTheScreenAlone) {
  TPlotChart chart;
  design(chart);
  chart.Redisplay();
  const QImage screen = chart.ScreenImage().copy();
  const QImage mono = chart.Picture(true);
  EXPECT_EQ(chart.Picture(false), screen);
  chart.Redisplay();
  EXPECT_EQ(chart.ScreenImage(), screen);
  EXPECT_EQ(chart.Picture(true), mono);
  EXPECT_EQ(mono.pixel(5, 5), kWhite);
}

// Scale fonts take what they leave open (capitals, spacing) from the
// application's font, which the desktop may change at any time.
TEST(PictureCache, AnApplicationFontChangeRedrawsTheMargins) {
  const QFont original = QGuiApplication::font();
  TPlotChart chart;
  design(chart);
  chart.Redisplay();
  QFont shouting = original;
  shouting.setCapitalization(QFont::AllUppercase);
  QGuiApplication::setFont(shouting);
  chart.Redisplay();
  const QImage afresh = chart.Picture(false);
  QGuiApplication::setFont(original);
  EXPECT_EQ(first_difference(chart.ScreenImage(), afresh), "");
}

// A chart too small for its rims has no area: its picture is all margin.
TEST(PictureCache, AChartWithoutAreaShowsOnlyItsMargin) {
  for (const QSize size : {QSize(79, 79), QSize(60, 60)}) {
    TPlotChart chart;
    apply_plot_window_design(chart);
    chart.setMinimumSize(0, 0);
    chart.resize(size);
    chart.SetWindColor(clOlive);
    chart.Redisplay();
    QImage margin(size, QImage::Format_RGB32);
    margin.fill(QColor(0x80, 0x80, 0));
    EXPECT_EQ(first_difference(chart.ScreenImage(), margin), "") << size.width();
    EXPECT_EQ(first_difference(chart.Picture(false), margin), "") << size.width();
  }
}

}  // namespace
}  // namespace kv::chart
