#include "library_ui/scatter_plot.h"

#include <algorithm>

namespace kv {
namespace {

using chart::TPlotChart;

constexpr double kSecondsPerDay = 86400.0;
constexpr chart::TColor kPointColor = 0xC00000;  // blue
constexpr chart::TColor kLineColor = 0x0000C0;   // red

void widen(double& low, double& high) {
  if (high - low <= 0) {
    const double pad = low == 0 ? 1.0 : std::abs(low) * 0.05;
    low -= pad;
    high += pad;
    return;
  }
  const double pad = (high - low) / 20;
  low -= pad;
  high += pad;
}

// The dates sit right of their points where there is room: more room at the right.
void widen_for_labels(PlotBox& box) { box.x_high += (box.x_high - box.x_low) / 8; }

void start_chart(TPlotChart& chart, const PlotBox& box, const std::string& x_caption, const std::string& y_caption) {
  chart.ClearItems();
  chart.SetActiveLayer(1);
  chart.SetLayerRange(1, box.x_low, box.y_low, box.x_high, box.y_high);
  chart.Scale1X().SetCaption(x_caption);
  chart.Scale1Y().SetCaption(y_caption);
  chart.Scale1X().SetVisible(true);
  chart.Scale1Y().SetVisible(true);
  chart.SetGridStyle(chart::TGridStyle::gsDotLines);
  chart.SetGridColor(chart::clSilver);
}

void add_cross(TPlotChart& chart, const PlotBox& box, double x, double y) {
  const double dx = (box.x_high - box.x_low) / 120;
  const double dy = (box.y_high - box.y_low) / 90;
  chart.AddMoveTo(x - dx, y - dy);
  chart.AddDrawTo(x + dx, y + dy);
  chart.AddMoveTo(x - dx, y + dy);
  chart.AddDrawTo(x + dx, y - dy);
}

}  // namespace

PlotBox box_around(const std::vector<double>& xs, const std::vector<double>& ys) {
  PlotBox box;
  if (xs.empty() || ys.empty()) return box;
  const auto [x_low, x_high] = std::minmax_element(xs.begin(), xs.end());
  const auto [y_low, y_high] = std::minmax_element(ys.begin(), ys.end());
  box = {*x_low, *y_low, *x_high, *y_high};
  widen(box.x_low, box.x_high);
  widen(box.y_low, box.y_high);
  return box;
}

std::vector<LabelSpot> draw_scatter(TPlotChart& chart, const std::vector<library::ScatterPoint>& points, const std::string& x_caption,
                  const std::string& y_caption) {
  std::vector<double> xs, ys;
  for (const auto& p : points) {
    xs.push_back(p.x);
    ys.push_back(p.y);
  }
  PlotBox box = box_around(xs, ys);
  widen_for_labels(box);
  start_chart(chart, box, x_caption, y_caption);
  chart.SetDataColor(kPointColor);
  std::vector<LabelSpot> spots;
  spots.reserve(points.size());
  for (const auto& p : points) {
    add_cross(chart, box, p.x, p.y);
    spots.push_back({p.x, p.y, p.label});
  }
  chart.Redisplay();
  return spots;
}

std::vector<LabelSpot> draw_progress(TPlotChart& chart, const std::vector<library::DayBest>& days, const std::string& y_caption) {
  std::vector<double> xs, ys;
  for (const auto& day : days) {
    xs.push_back(static_cast<double>(day.day_start - days.front().day_start) / kSecondsPerDay);
    ys.push_back(day.lap_time);
  }
  PlotBox box = box_around(xs, ys);
  widen_for_labels(box);
  start_chart(chart, box, "Days", y_caption);
  chart.SetDataColor(kLineColor);
  for (std::size_t i = 0; i < days.size(); ++i) {
    if (i == 0) chart.AddMoveTo(xs[i], ys[i]);
    else chart.AddDrawTo(xs[i], ys[i]);
  }
  std::vector<LabelSpot> spots;
  spots.reserve(days.size());
  for (std::size_t i = 0; i < days.size(); ++i) {
    add_cross(chart, box, xs[i], ys[i]);
    spots.push_back({xs[i], ys[i], days[i].label});
  }
  chart.Redisplay();
  return spots;
}

}  // namespace kv
