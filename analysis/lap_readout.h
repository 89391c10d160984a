#pragma once
// What each overlaid lap shows at one place of the x axis (the pointer or a
// marker): the ticked channels' values, linear between the two samples
// around that place (gear, brake and lap number: the nearer sample), and the
// lap's time slip there.
#include <optional>
#include <string>
#include <utility>
#include <vector>

#include "analysis/overlay_laps.h"
#include "analysis/overlay_slips.h"
#include "analysis/plot_building.h"
#include "analysis/plot_state.h"
#include "logdata/log_state.h"

namespace kv::analysis {

// The ticked channels' values in panel order, as the value boxes and the
// statistics show them (brake in %); empty when `x` lies outside the lap.
using ChannelValues = std::vector<std::pair<Channel, double>>;

// `x` in layer 1 units: the lap distance in the shown unit or, with Time on
// x, the seconds since the lap's first sample. Where the lap passes `x` more
// than once (it stood still or went back), the first pass counts.
ChannelValues lap_values_at(const LogState& log, const PlotState& plot, const LapSelection& lap, double x);

struct LapReading {
  std::string name;  // "Sel 1" … "Add 6"
  ChannelValues values;
  std::optional<double> slip;  // s against the reference; nothing beyond either lap
  bool reference = false;
};

// Each overlaid lap at `x` (as lap_values_at) with its slip there.
std::vector<LapReading> lap_readings(const LogState& log, const PlotState& plot, const std::vector<OverlaidLap>& laps,
                                     const OverlaySlips& slips, double x);

// The read-out box's lines after the selections' lines: with Distance on x
// one reading line per overlaid lap, with Time on x the added laps' lines in
// the selections' form; none in All Plot Data or on other x channels.
std::vector<std::string> overlay_readout_lines(const LogState& log, const PlotState& plot,
                                               const std::vector<OverlaidLap>& laps, const OverlaySlips& slips,
                                               double x);

// "Sel 1: RPM/100 45.2  Speed 88.1  Slip +0.23 s"; the reference lap ends in
// "Slip ref", a lap that does not reach `x` reads "Sel 1: -".
std::string reading_line(const LapReading& at);

// The marker panel's line of one lap: each value at marker 1, at marker 2
// and marker 1 minus marker 2, e.g. "Sel 1  Speed 88.1 / 92.0 / -3.9".
std::string marker_reading_line(const LapReading& at1, const LapReading& at2);

}  // namespace kv::analysis
