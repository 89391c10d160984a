#pragma once
// The plot window's chart as designed: size, margins, colours, the rulers
// of layers 1-4 and the crosshairs.
namespace kv::chart {

class TPlotChart;

inline constexpr int kPlotChartWidth = 653;
inline constexpr int kPlotChartHeight = 498;
inline constexpr int kPlotChartAllocSize = 1000;

void apply_plot_window_design(TPlotChart& chart);

}  // namespace kv::chart
