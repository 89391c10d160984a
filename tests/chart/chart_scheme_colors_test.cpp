// Desktop scheme colours (0x80000000 + index) in every part the chart
// paints, and in the colour selector, as the widget palette paints them.
#include <gtest/gtest.h>

#include <QPalette>
#include <string>

#include "chart/colorpick.h"
#include "chart/plotchart.h"
#include "chart/plotchart_design.h"

namespace kv::chart {
namespace {

std::string name(const QColor& c) { return c.name().toStdString(); }

struct SchemePart {
  SystemColor which;
  QPalette::ColorRole role;
  QColor painted;  // far from black, so a colour read as its low bytes shows
};

const SchemePart kWind{SystemColor::BtnFace, QPalette::Button, QColor(0xE0, 0xD0, 0xC0)};
const SchemePart kPaper{SystemColor::Window, QPalette::Base, QColor(0xF8, 0xF0, 0xE8)};
const SchemePart kFrame{SystemColor::WindowFrame, QPalette::Shadow, QColor(0x40, 0x50, 0x60)};
const SchemePart kGrid{SystemColor::BtnShadow, QPalette::Dark, QColor(0xA0, 0xB0, 0x90)};
const SchemePart kRuler{SystemColor::Highlight, QPalette::Highlight, QColor(0x20, 0x60, 0xE0)};
const SchemePart kTrace{SystemColor::GrayText, QPalette::PlaceholderText, QColor(0x90, 0x30, 0x70)};
const SchemePart kLabel{SystemColor::InfoBk, QPalette::ToolTipBase, QColor(0xFF, 0xF0, 0xA0)};
const SchemePart kBorder{SystemColor::BtnText, QPalette::ButtonText, QColor(0x70, 0x10, 0x10)};
const SchemePart kShadow{SystemColor::BtnHighlight, QPalette::Light, QColor(0x30, 0xC0, 0x30)};
const SchemePart kHair{SystemColor::HighlightText, QPalette::HighlightedText, QColor(0xC0, 0x20, 0xC0)};

class SchemeColours : public ::testing::Test {
 protected:
  SchemeColours() {
    for (const SchemePart* part : {&kWind, &kPaper, &kFrame, &kGrid, &kRuler, &kTrace, &kLabel, &kBorder,
                                   &kShadow, &kHair})
      palette.setColor(part->role, part->painted);
    chart.setPalette(palette);
    apply_plot_window_design(chart);
    chart.SetLayerRange(1, 0, 0, 573, 418);  // one unit per pixel
  }
  static TColor stored(const SchemePart& part) { return system_color(part.which); }
  std::string at(double x, double y) const {
    const PixelPoint p = chart.layer_map(1).to_px(x, y);
    return px(p.x, p.y);
  }
  std::string px(int x, int y) const { return name(chart.ScreenImage().pixelColor(x, y)); }

  QPalette palette;
  TPlotChart chart;
};

TEST_F(SchemeColours, EveryPartOfTheChartShowsThemAsTheDesktopPaintsThem) {
  chart.SetWindColor(stored(kWind));
  chart.SetChartColor(stored(kPaper));
  chart.SetChartFrameColor(stored(kFrame));
  chart.SetGridColor(stored(kGrid));
  chart.SetGridStyle(TGridStyle::gsLines);  // every 50 in X, every 20 in Y
  chart.Scale1Y().SetColorScale(stored(kRuler));
  chart.Scale1Y().SetVisible(true);
  chart.SetDataColor(stored(kTrace));
  chart.AddMoveTo(0, 310);
  chart.AddDrawTo(573, 310);
  TTextLabel& label = chart.TextLabel(1);  // as the plot window sets its labels
  label.PosX = 300;
  label.PosY = 100;
  label.Alignment = TAlignment::taLeftJustify;
  label.Caption = "lap 3";
  label.Mode = TTxtLblMode::tlShadow;
  label.ColorBkg = clInfoBk;
  label.ColorBorder = stored(kBorder);
  label.ColorShadow = stored(kShadow);
  chart.Redisplay();
  chart.SetCrossHairStyle(1, stored(kHair), TCrossHMode::chVert, TPenStyle::psSolid, 1);
  chart.SetCrossHairPos(1, 500, 0);

  EXPECT_EQ(px(5, 5), name(kWind.painted));
  EXPECT_EQ(at(75, 30), name(kPaper.painted));
  EXPECT_EQ(px(300, 15), name(kFrame.painted));
  EXPECT_EQ(at(140, 30), name(kGrid.painted));
  EXPECT_EQ(px(36, chart.layer_map(1).y.to_px(200)), name(kRuler.painted));
  EXPECT_EQ(at(110, 310), name(kTrace.painted));
  EXPECT_EQ(at(300 - 3, 100 - 1), name(kLabel.painted));  // inside the box, left of the text
  EXPECT_EQ(at(300 - 4, 100), name(kBorder.painted));
  EXPECT_EQ(at(300, 100 - 4), name(kShadow.painted));  // below the box, shifted 3 down
  EXPECT_EQ(at(500, 200), name(kHair.painted));
  EXPECT_EQ(name(chart.Picture(false).pixelColor(5, 5)), name(kWind.painted));
}

TEST_F(SchemeColours, ATraceShowsTheColourItsSelectorShows) {
  TColorPick pick;
  pick.setPalette(palette);
  pick.setSelColor(stored(kTrace));
  const QImage swatch = pick.itemIcon(pick.currentIndex()).pixmap(TColorPick::ColorBarWidth, 12).toImage();
  chart.SetDataColor(pick.SelColor());
  chart.AddMoveTo(0, 200);
  chart.AddDrawTo(573, 200);
  chart.Redisplay();
  EXPECT_EQ(name(swatch.pixelColor(swatch.width() / 2, swatch.height() / 2)), name(kTrace.painted));
  EXPECT_EQ(at(300, 200), name(kTrace.painted));
}

}  // namespace
}  // namespace kv::chart
