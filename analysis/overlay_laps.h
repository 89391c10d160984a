#pragma once
// Every lap a Lap Overlay draws: the two selections and up to six more laps
// ("Add Lap"), each of those in a colour and line style of its own, with
// their legend, the laps that cannot be drawn and the slip reference.
#include <array>
#include <cstddef>
#include <optional>
#include <string>
#include <vector>

#include "analysis/lap_overlay.h"
#include "analysis/plot_state.h"
#include "logdata/log_state.h"

namespace kv::analysis {

inline constexpr std::size_t kMaxExtraLaps = 6;

struct LapStyle {
  TColor colour;
  chart::TPenStyle pen;
};

// Apart from each other and from the channels' default colours.
const std::array<LapStyle, kMaxExtraLaps>& extra_lap_palette();

LapKey key_of(const LapSelection& lap);

// Adds the lap of a list item in the first palette entry no added lap uses.
// False when six laps are added already, the item names no lap, or the lap
// is overlaid already (added, or in a chosen selection).
bool add_extra_lap(PlotState& plot, const LogState& log, const OverlayItem& item);

// Out of range: nothing happens.
void remove_extra_lap(PlotState& plot, std::size_t index);

// Replaces the added laps with the fastest lap of each logging session of
// each set (A's first), as many as fit. The lap table's rule picks the
// fastest; a session without a valid lap time adds none.
void add_fastest_of_each_session(PlotState& plot, const LogState& log, const std::vector<OverlayItem>& items);

// Forgets a slip reference that no chosen selection nor added lap holds any
// more, so that it does not come back with its lap unasked.
void forget_reference_not_overlaid(PlotState& plot);

// Why a lap cannot be drawn, for its tooltip; empty when it can.
std::string lap_problem(const LogState& log, const LapSelection& lap);

// "Log:%d Lap:%d Data:%s Time: %.2f" (session, lap, set, lap time).
std::string lap_legend_text(const LapSelection& lap);

// One lap of the overlay as the read-out, markers and slip see it.
struct OverlaidLap {
  std::string name;  // "Sel 1", "Sel 2", "Add 1" … "Add 6"
  LapSelection lap;
  std::string problem;  // empty: drawn
  bool added = false;   // an "Add Lap" lap, not a selection
  bool drawn() const { return problem.empty(); }
};

// The chosen selections, then the added laps in their order (drawable or
// not) while the plot mode is Lap Overlay; nothing otherwise.
std::vector<OverlaidLap> overlaid_laps(const LogState& log, const PlotState& plot);

// Index into `laps` of the slip reference: the chosen lap while it is
// overlaid and drawn, else the fastest drawn lap (a tie keeps the earlier).
std::optional<std::size_t> slip_reference_index(const std::vector<OverlaidLap>& laps,
                                                const std::optional<LapKey>& chosen);

// The time axis' read-out line of an added lap, in the selections' form:
// "Add n = Log:%3d Lap:%3d Data:%s Time: %1.2f".
std::string extra_lap_readout_line(const OverlaidLap& lap);

}  // namespace kv::analysis
