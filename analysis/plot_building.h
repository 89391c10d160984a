#pragma once
// Turns the channel arrays into curves on the chart: one trace set per
// dataset (or per overlaid lap), each on its layer, with the re-plots that
// rescale fully, keep the x window, or clear first.
#include <cstdint>
#include <functional>

#include "analysis/chart_port.h"
#include "analysis/plot_state.h"
#include "logdata/log_state.h"
#include "ui/ui.h"

namespace kv::analysis {

// What later panels add to every re-plot.
struct PlotHooks {
  std::function<void()> clear_labels;  // at every full re-plot
  std::function<void(std::uint8_t data_set, int trace_set, int layer)> update_stats;  // per trace set drawn
};

// Which trace sets a re-plot draws, from which dataset and on which layer.
TracePlan choose_traces(const LogState& log, const PlotState& plot);

// The samples a trace set draws and the x offset that makes an overlaid lap
// start at 0 on a time axis.
struct SampleSpan {
  long first = 1;
  long last = 0;
  double x_offset = 0;
};
SampleSpan trace_samples(const LogState& log, const PlotState& plot, int trace_set);

// The same for any lap of the overlay.
SampleSpan lap_span(const LogState& log, const PlotState& plot, const LapSelection& lap);

// Adds one trace set's curves, the ticked channels in drawing order, each a
// move-to and then a draw-to (or a mark, for "Points") per sample.
void plot_engine_data(ChartPort& chart, const LogState& log, const PlotState& plot, int trace_set);

// In Lap Overlay, adds the curves of every added lap that can be drawn, on
// layer 1 in its palette colour and pen; true when it drew one.
bool plot_extra_laps(ChartPort& chart, const LogState& log, const PlotState& plot);

// The full re-plot: clear, draw, autorange each trace set's layer, widen the
// high ends by 2 % and keep each drawn layer's final range as its home.
void reload_engine_data(ChartPort& chart, const LogState& log, PlotState& plot, Ui& ui, const PlotHooks& hooks = {});

// The re-plot over the current x window: the curves are rebuilt (never
// doubled) and, with y autoscale, y is fitted to the data visible in the
// window; with nothing visible the y range stays.
void refresh_engine_data(ChartPort& chart, const LogState& log, PlotState& plot, const PlotHooks& hooks = {});

// A channel, line type, "On" box or unit changed. Returns whether the x-axis
// choice stays usable (some channel box is ticked).
bool redraw_engine_data(ChartPort& chart, const LogState& log, PlotState& plot, const PlotHooks& hooks = {});

void clear_plot_data(ChartPort& chart);

// 2 % more at the high end (an 80-bit factor), never narrowing the range.
double widened_high(double high);

}  // namespace kv::analysis
