#include "analysis/overlay_laps.h"

#include <algorithm>
#include <map>
#include <utility>

#include "analysis/lap_tools/fastest_lap.h"
#include "analysis/lap_tools/lap_ref.h"
#include "analysis/plot_text.h"

namespace kv::analysis {
namespace {

using chart::TPenStyle;

constexpr int kTimeDecimals = 2;

std::uint8_t set_of(const LapSelection& lap) { return lap.set_letter == "A" ? kDataSetA : kDataSetB; }

// Overlaid already: added, or in a chosen selection.
bool in_use(const PlotState& plot, const LapKey& key) {
  const bool selected = std::any_of(plot.overlay.begin(), plot.overlay.end(),
                                    [&](const OverlaySlot& s) { return s.chosen && key_of(s.lap) == key; });
  return selected || std::any_of(plot.extra_laps.begin(), plot.extra_laps.end(),
                                 [&](const ExtraLap& e) { return key_of(e.lap) == key; });
}

std::size_t free_style(const PlotState& plot) {
  for (std::size_t style = 0; style < kMaxExtraLaps; ++style) {
    if (std::none_of(plot.extra_laps.begin(), plot.extra_laps.end(),
                     [style](const ExtraLap& e) { return e.style == style; })) {
      return style;
    }
  }
  return 0;
}

// The largest lap distance over the lap's samples, which lie inside the set.
double furthest_distance(const Dataset& data, const LapSelection& lap) {
  double furthest = 0;
  for (long k = std::max<long>(lap.first_sample, 1); k <= lap.last_sample; ++k) furthest = std::max(furthest, data.ch_lap_odo.get(k));
  return furthest;
}

}  // namespace

const std::array<LapStyle, kMaxExtraLaps>& extra_lap_palette() {
  // Blue-green-red order, as every colour of the chart.
  static const std::array<LapStyle, kMaxExtraLaps> palette = {{
      {0x800000, TPenStyle::psDash},        // navy (orange is the slip's own)
      {0x800080, TPenStyle::psDashDot},     // purple
      {0x808000, TPenStyle::psDashDotDot},  // teal
      {0x2A2AA5, TPenStyle::psSolid},       // brown
      {0xB469FF, TPenStyle::psDash},        // pink
      {0x000000, TPenStyle::psDashDot},     // black
  }};
  return palette;
}

LapKey key_of(const LapSelection& lap) { return {lap.set_letter, lap.first_sample, lap.last_sample}; }

bool add_extra_lap(PlotState& plot, const LogState& log, const OverlayItem& item) {
  if (plot.extra_laps.size() >= kMaxExtraLaps) return false;
  const std::optional<LapSelection> lap = lap_selection(log, item);
  if (!lap || in_use(plot, key_of(*lap))) return false;
  plot.extra_laps.push_back({*lap, item.record, free_style(plot)});
  return true;
}

void remove_extra_lap(PlotState& plot, std::size_t index) {
  if (index >= plot.extra_laps.size()) return;
  // The reference goes back to the fastest lap left, also if this lap comes back.
  if (plot.slip_reference == key_of(plot.extra_laps[index].lap)) plot.slip_reference.reset();
  plot.extra_laps.erase(plot.extra_laps.begin() + static_cast<std::ptrdiff_t>(index));
}

void add_fastest_of_each_session(PlotState& plot, const LogState& log, const std::vector<OverlayItem>& items) {
  // Per set and session, the items in table order.
  std::map<std::pair<std::uint8_t, int>, std::vector<std::size_t>> sessions;
  for (std::size_t i = 0; i < items.size(); ++i) {
    const Dataset& data = log.dataset(items[i].data_set);
    if (items[i].record >= data.lap_table.size()) continue;
    sessions[{items[i].data_set, data.lap_table[items[i].record].session}].push_back(i);
  }
  plot.extra_laps.clear();
  for (const auto& [where, members] : sessions) {
    const Dataset& data = log.dataset(where.first);
    std::vector<double> times;
    for (std::size_t i : members) times.push_back(data.lap_table[items[i].record].lap_time);
    const auto fastest = lap_tools::fastest_lap(times);
    if (!fastest || times[*fastest] <= 0) continue;
    add_extra_lap(plot, log, items[members[*fastest]]);
  }
  forget_reference_not_overlaid(plot);
}

void forget_reference_not_overlaid(PlotState& plot) {
  if (plot.slip_reference && !in_use(plot, *plot.slip_reference)) plot.slip_reference.reset();
}

std::string lap_problem(const LogState& log, const LapSelection& lap) {
  const std::string set = "Data " + lap.set_letter;
  const Dataset& data = log.dataset(set_of(lap));
  if (data.decoded_valid != 1) return set + " holds no decoded log: not drawn";
  const long samples = lap_tools::sample_total(data);
  // A lap may begin on sample 0 (the log's start), which reads as the first.
  if (lap.last_sample > samples) {
    return "Samples " + std::to_string(lap.first_sample) + " to " + std::to_string(lap.last_sample) +
           " are missing from " + set + " (it holds " + std::to_string(samples) + "): not drawn";
  }
  if (lap.last_sample <= lap.first_sample || furthest_distance(data, lap) <= 0) {
    return "The lap has zero length: not drawn";
  }
  return {};
}

std::string lap_legend_text(const LapSelection& lap) {
  return "Log:" + std::to_string(lap.session) + " Lap:" + std::to_string(lap.lap) + " Data:" + lap.set_letter +
         " Time: " + fixed_text(lap.lap_time, kTimeDecimals);
}

std::vector<OverlaidLap> overlaid_laps(const LogState& log, const PlotState& plot) {
  std::vector<OverlaidLap> laps;
  if (plot.settings.plot_mode != PlotMode::LapOverlay) return laps;
  for (std::size_t s = 0; s < plot.overlay.size(); ++s) {
    const OverlaySlot& slot = plot.overlay[s];
    if (slot.chosen) laps.push_back({"Sel " + std::to_string(s + 1), slot.lap, lap_problem(log, slot.lap), false});
  }
  for (std::size_t e = 0; e < plot.extra_laps.size(); ++e) {
    const LapSelection& lap = plot.extra_laps[e].lap;
    laps.push_back({"Add " + std::to_string(e + 1), lap, lap_problem(log, lap), true});
  }
  return laps;
}

std::optional<std::size_t> slip_reference_index(const std::vector<OverlaidLap>& laps,
                                                const std::optional<LapKey>& chosen) {
  if (chosen) {
    for (std::size_t i = 0; i < laps.size(); ++i) {
      if (laps[i].drawn() && key_of(laps[i].lap) == *chosen) return i;
    }
  }
  std::vector<std::size_t> drawn;
  std::vector<double> times;
  for (std::size_t i = 0; i < laps.size(); ++i) {
    if (!laps[i].drawn()) continue;
    drawn.push_back(i);
    times.push_back(laps[i].lap.lap_time);
  }
  const auto fastest = lap_tools::fastest_lap(times);
  if (!fastest) return std::nullopt;
  return drawn[*fastest];
}

std::string extra_lap_readout_line(const OverlaidLap& lap) {
  const LapSelection& l = lap.lap;
  return lap.name + " = Log:" + padded_int(l.session) + " Lap:" + padded_int(l.lap) + " Data:" + l.set_letter +
         " Time: " + fixed_text(l.lap_time, kTimeDecimals);
}

}  // namespace kv::analysis
