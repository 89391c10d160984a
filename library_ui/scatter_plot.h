#pragma once
// Draws the "Set-up vs Lap Time" figures on the project's chart control:
// each session a small cross at (set-up value, lap time) labelled with its
// date, and a season's progress as a line through each day's best lap.
#include <string>
#include <vector>

#include "chart/plotchart.h"
#include "library/session_query.h"
#include "library_ui/scatter_labels.h"

namespace kv {

// The data box the points fill, widened by a twentieth on every side so no
// cross sits on the frame; a single value gets a box of its own.
struct PlotBox {
  double x_low = 0, y_low = 0, x_high = 1, y_high = 1;
};
PlotBox box_around(const std::vector<double>& xs, const std::vector<double>& ys);

// Replaces the chart's items with the scatter and returns every point's
// date label, for a ScatterLabelLayer to write.
std::vector<LabelSpot> draw_scatter(chart::TPlotChart& chart, const std::vector<library::ScatterPoint>& points,
                  const std::string& x_caption, const std::string& y_caption);

// Replaces the chart's items with the line of the best lap per day, x in
// days since the first of them, and returns each day's date label.
std::vector<LabelSpot> draw_progress(chart::TPlotChart& chart, const std::vector<library::DayBest>& days, const std::string& y_caption);

}  // namespace kv
