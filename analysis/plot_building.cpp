#include "analysis/plot_building.h"

#include "analysis/overlay_laps.h"

namespace kv::analysis {
namespace {

using chart::TPenStyle;

constexpr double kExtentYLow = -0.1;
constexpr double kExtentYHigh = 1'000'000;

const Dataset& trace_dataset(const LogState& log, const TracePlan& plan, int trace_set) {
  return log.dataset(plan.trace[static_cast<std::size_t>(trace_set - 1)].data_set);
}

std::uint8_t slot_data_set(const OverlaySlot& slot) { return slot.lap.set_letter == "A" ? kDataSetA : kDataSetB; }

TPenStyle pen_for(const TraceLook& look) {
  if (!look.on) return TPenStyle::psClear;
  return look.line_type == LineType::Dotted ? TPenStyle::psDot : TPenStyle::psSolid;
}

// Draws to (or marks) samples first … last; reads outside an array give 0.
void add_sample_run(ChartPort& chart, const TVector& x, const TVector& y, const SampleSpan& span, double factor,
                    bool points) {
  if (span.first >= 1 && span.last <= x.NrOfElem() && span.last <= y.NrOfElem()) {
    if (span.last >= span.first) {
      const auto skip = static_cast<std::size_t>(span.first - 1);
      chart.AddSamples(x.data() + skip, y.data() + skip, span.last - span.first + 1, span.x_offset, factor, points);
    }
    return;
  }
  for (long i = span.first; i <= span.last; ++i) {
    const double xi = x.get(i);
    const double yi = y.get(i);
    chart.AddSamples(&xi, &yi, 1, span.x_offset, factor, points);
  }
}

void add_curve(ChartPort& chart, const TVector& x, const TVector& y, const SampleSpan& span, double factor,
               bool points) {
  chart.AddMoveTo(x.get(span.first) - span.x_offset, factor * y.get(span.first));
  add_sample_run(chart, x, y, span, factor, points);
}

// Equal ends would leave a range too thin to read: widen them like autorange.
void fit_y(ChartPort& chart, int layer, const LayerRange& now, double y_low, double y_high) {
  if (y_low == y_high) {
    y_low -= 1;
    y_high += 1;
  }
  chart.SetLayerRange(layer, now.x_low, y_low, now.x_high, y_high);
}

void autoscale_y_in_window(ChartPort& chart, int layer) {
  const LayerRange now = chart.layer_range(layer);
  const LayerRange extent = chart.GetLayerExtent(layer, {now.x_low, kExtentYLow, now.x_high, kExtentYHigh});
  // Nothing inside the window (panned past the data): keep the y range.
  if (extent.x_low > extent.x_high || extent.y_low > extent.y_high) return;
  fit_y(chart, layer, now, extent.y_low, widened_high(extent.y_high));
}

// Drawing switched the active layer; the grid and the pointer follow it, so
// it goes back to the grid's layer.
void finish_plot(ChartPort& chart, const PlotState& plot) {
  chart.SetActiveLayer(grid_layer(plot.settings));
  chart.Redisplay();
}

}  // namespace

double widened_high(double high) {
  constexpr long double kWiden = 1.02L;
  constexpr long double kWidenNegative = 0.98L;
  return static_cast<double>((high < 0 ? kWidenNegative : kWiden) * static_cast<long double>(high));
}

TracePlan choose_traces(const LogState& log, const PlotState& plot) {
  TracePlan plan;
  const PlotSettings& s = plot.settings;
  if (s.plot_mode == PlotMode::AllPlotData) {
    plan.trace[0] = {log.dataset(kDataSetA).decoded_valid == 1, kDataSetA, layer_a(s)};
    plan.trace[1] = {log.dataset(kDataSetB).decoded_valid == 1, kDataSetB, layer_b(s)};
    return plan;
  }
  for (std::size_t t = 0; t < 2; ++t) {
    plan.trace[t] = {plot.overlay[t].chosen, slot_data_set(plot.overlay[t]), 1};
  }
  return plan;
}

SampleSpan lap_span(const LogState& log, const PlotState& plot, const LapSelection& lap) {
  const Dataset& data = log.dataset(lap.set_letter == "A" ? kDataSetA : kDataSetB);
  SampleSpan span{lap.first_sample, lap.last_sample, 0};
  // A lap never runs past its dataset's samples, whatever its record says.
  if (span.last > data.sample_count()) span.last = data.sample_count();
  if (plot.settings.x_channel == XChannel::Time) span.x_offset = data.ch_work.get(span.first);
  return span;
}

SampleSpan trace_samples(const LogState& log, const PlotState& plot, int trace_set) {
  const auto t = static_cast<std::size_t>(trace_set - 1);
  const Dataset& data = trace_dataset(log, plot.plan, trace_set);
  if (plot.settings.plot_mode == PlotMode::AllPlotData) return {1, data.sample_count(), 0};
  return lap_span(log, plot, plot.overlay[t].lap);
}

void plot_engine_data(ChartPort& chart, const LogState& log, const PlotState& plot, int trace_set) {
  const TraceSetPlan& target = plot.plan.trace[static_cast<std::size_t>(trace_set - 1)];
  const Dataset& data = log.dataset(target.data_set);
  const TraceLook& look = plot.settings.trace[static_cast<std::size_t>(trace_set - 1)];
  const SampleSpan span = trace_samples(log, plot, trace_set);
  chart.SetActiveLayer(target.layer);
  for (Channel c : kDrawingOrder) {
    const auto k = static_cast<std::size_t>(index_of(c));
    if (!plot.settings.channel_shown[k]) continue;
    const ChannelInfo& info = channel_info(c);
    chart.SetDataColor(look.colour[k]);
    chart.SetPenStyle(pen_for(look));
    add_curve(chart, data.ch_work, data.*info.array, span, info.y_factor, look.line_type == LineType::Points);
  }
}

bool plot_extra_laps(ChartPort& chart, const LogState& log, const PlotState& plot) {
  if (plot.settings.plot_mode != PlotMode::LapOverlay) return false;
  bool drawn = false;
  for (const ExtraLap& extra : plot.extra_laps) {
    if (!lap_problem(log, extra.lap).empty()) continue;
    const Dataset& data = log.dataset(extra.lap.set_letter == "A" ? kDataSetA : kDataSetB);
    const LapStyle& style = extra_lap_palette()[extra.style % kMaxExtraLaps];
    const SampleSpan span = lap_span(log, plot, extra.lap);
    chart.SetActiveLayer(1);
    chart.SetDataColor(style.colour);
    chart.SetPenStyle(style.pen);
    for (Channel c : kDrawingOrder) {
      const auto k = static_cast<std::size_t>(index_of(c));
      if (!plot.settings.channel_shown[k]) continue;
      const ChannelInfo& info = channel_info(c);
      add_curve(chart, data.ch_work, data.*info.array, span, info.y_factor, false);
    }
    drawn = true;
  }
  return drawn;
}

namespace {

// Draws both trace sets and the added laps; returns which layers hold curves.
std::array<bool, kPlotLayers> draw_all(ChartPort& chart, const LogState& log, PlotState& plot) {
  plot.plan = choose_traces(log, plot);
  std::array<bool, kPlotLayers> layer_drawn{};
  for (int t = 1; t <= 2; ++t) {
    const TraceSetPlan& target = plot.plan.trace[static_cast<std::size_t>(t - 1)];
    if (!target.drawn) continue;
    plot_engine_data(chart, log, plot, t);
    layer_drawn[static_cast<std::size_t>(target.layer - 1)] = true;
  }
  if (plot_extra_laps(chart, log, plot)) layer_drawn[0] = true;
  return layer_drawn;
}

void update_all_stats(const PlotState& plot, const PlotHooks& hooks) {
  if (!hooks.update_stats) return;
  for (int t = 1; t <= 2; ++t) {
    const TraceSetPlan& target = plot.plan.trace[static_cast<std::size_t>(t - 1)];
    if (target.drawn) hooks.update_stats(target.data_set, t, target.layer);
  }
}

}  // namespace

void reload_engine_data(ChartPort& chart, const LogState& log, PlotState& plot, Ui& ui, const PlotHooks& hooks) {
  BusyCursor busy(ui);
  chart.ClearItems();
  if (hooks.clear_labels) hooks.clear_labels();
  const std::array<bool, kPlotLayers> layer_drawn = draw_all(chart, log, plot);
  for (int layer = 1; layer <= kPlotLayers; ++layer) {
    auto& home = plot.home_range[static_cast<std::size_t>(layer - 1)];
    home.reset();
    if (!layer_drawn[static_cast<std::size_t>(layer - 1)]) continue;
    chart.AutoRangeLayer(layer, 0);
    const LayerRange r = chart.layer_range(layer);
    chart.SetLayerRange(layer, r.x_low, r.y_low, widened_high(r.x_high), widened_high(r.y_high));
    home = chart.layer_range(layer);
  }
  // The statistics read the final ranges ("In Window").
  update_all_stats(plot, hooks);
  finish_plot(chart, plot);
}

void refresh_engine_data(ChartPort& chart, const LogState& log, PlotState& plot, const PlotHooks& hooks) {
  chart.ClearItems();
  const std::array<bool, kPlotLayers> layer_drawn = draw_all(chart, log, plot);
  const bool autoscale = plot.settings.y_autoscale && plot.settings.any_channel_shown();
  for (int layer = 1; layer <= kPlotLayers; ++layer) {
    if (autoscale && layer_drawn[static_cast<std::size_t>(layer - 1)]) autoscale_y_in_window(chart, layer);
  }
  update_all_stats(plot, hooks);
  finish_plot(chart, plot);
}

bool redraw_engine_data(ChartPort& chart, const LogState& log, PlotState& plot, const PlotHooks& hooks) {
  // The refresh clears the items itself.
  refresh_engine_data(chart, log, plot, hooks);
  return plot.settings.any_channel_shown();
}

void clear_plot_data(ChartPort& chart) {
  chart.ClearItems();
  chart.Redisplay();
}

}  // namespace kv::analysis
