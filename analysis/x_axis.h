#pragma once
// The x axis: every dataset's `ch_work` is a copy of the array the x-axis
// choice names, and all drawing and read-outs use that copy.
#include <optional>
#include <string>

#include "analysis/plot_state.h"
#include "logdata/log_state.h"
#include "ui/ui.h"

namespace kv::analysis {

inline constexpr double kFeetPerMetre = 3.281;

// What the window shows after the x axis was rebuilt.
struct XAxisView {
  std::string caption;  // on the x scales of layers 1 and 2
  bool stats_on = false;  // statistics exist only with time on the x axis
  // A channel box's unit label that the choice refreshes: object name, text.
  std::optional<std::pair<std::string, std::string>> unit_label;
};

// The array an x-axis choice copies: distance is the accumulated `ch_odo`
// when all data is plotted, the distance into the lap in Lap Overlay.
const TVector& x_source(const Dataset& data, XChannel x, PlotMode mode);

std::string x_caption(XChannel x, const HeldUnits& units, bool distance_in_feet);

// Rebuilds `ch_work` of both datasets under the busy cursor. The feet factor
// of an All Plot Data distance axis applies to the copy only.
XAxisView change_x_axis(LogState& log, const PlotSettings& settings, bool distance_in_feet, Ui& ui);

}  // namespace kv::analysis
