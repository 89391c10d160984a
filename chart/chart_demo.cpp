// Draws a demo plot the way the plot window does and saves the widget's
// picture as a PNG: chart-demo <file.png>
#include <QApplication>
#include <QPixmap>
#include <cstdio>

#include "chart/demo_traces.h"
#include "chart/plotchart.h"
#include "chart/plotchart_design.h"

using namespace kv::chart;

namespace {

constexpr int kSamples = 2400;  // four minutes
constexpr TColor kColorsA[] = {0x0000C0, 0x008000, 0xC00000, 0x800080};
constexpr TColor kColorsB[] = {0x0060FF, 0x00A060, 0xFF8000, 0xC040C0};
constexpr int kShown[] = {0, 1, 4, 6};  // RPM/100, speed, water, gear x10

void plot(TPlotChart& chart, const demo::Session& s, int layer, const TColor* colors, TPenStyle pen) {
  chart.SetActiveLayer(layer);
  for (int c = 0; c < 4; ++c) {
    const auto& y = s.channel[static_cast<std::size_t>(kShown[c])];
    chart.SetDataColor(colors[c]);
    chart.SetPenStyle(pen);
    chart.AddMoveTo(s.time[0], y[0]);
    for (std::size_t i = 0; i < s.time.size(); ++i) chart.AddDrawTo(s.time[i], y[i]);
  }
  chart.AutoRangeLayer(layer, 0);
  chart.SetLayerRange(layer, chart.ScaleX(layer).RangeLow(), chart.ScaleY(layer).RangeLow(),
                      1.02 * chart.ScaleX(layer).RangeHigh(), 1.02 * chart.ScaleY(layer).RangeHigh());
}

}  // namespace

int main(int argc, char** argv) {
  QApplication app(argc, argv);
  if (argc < 2) {
    std::fprintf(stderr, "usage: chart-demo <file.png>\n");
    return 2;
  }
  TPlotChart chart;
  apply_plot_window_design(chart);
  chart.Scale1X().SetCaption("Time(s)");
  chart.Scale2X().SetCaption("Time(s)");
  plot(chart, demo::make_session(kSamples, 7), 1, kColorsA, TPenStyle::psSolid);
  plot(chart, demo::make_session(kSamples, 11), 2, kColorsB, TPenStyle::psDot);
  chart.SetLayerRange(2, 0, 0, 240, 200);
  for (int layer = 1; layer <= 2; ++layer) {
    chart.ScaleX(layer).SetVisible(true);
    chart.ScaleY(layer).SetVisible(true);
  }
  chart.SetGridColor(clSilver);
  chart.SetGridStyle(TGridStyle::gsDotLines);
  TTextLabel& fast = chart.TextLabel(1);
  fast.PosX = 60;
  fast.PosY = 150;
  fast.Caption = "Axis: 172.4 at 60.0\nDataA: Log:1 Lap:1 Time: 60.00 ";
  fast.Mode = TTxtLblMode::tlShadow;
  TTextLabel& note = chart.TextLabel(2);
  note.PosX = 190;
  note.PosY = 120;
  note.Alignment = TAlignment::taLeftJustify;
  note.Caption = "New tyres";
  note.Mode = TTxtLblMode::tlShadow;
  chart.Redisplay();
  chart.SetCrossHairStyle(1, 0xFF0000, TCrossHMode::chBoth, TPenStyle::psSolid, 1);
  chart.SetCrossHairStyle(2, 0x0000FF, TCrossHMode::chBoth, TPenStyle::psSolid, 1);
  chart.SetCrossHairPos(1, 95, 60);
  chart.SetCrossHairPos(2, 140, 100);
  const bool ok = chart.grab().save(QString::fromLocal8Bit(argv[1]), "PNG");
  if (!ok) std::fprintf(stderr, "could not write %s\n", argv[1]);
  return ok ? 0 : 1;
}
