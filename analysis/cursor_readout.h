#pragma once
// The text of the read-out box on the chart: the pointer position and, on a
// time axis, the log, lap and lap time under it.
#include <string>

#include "analysis/plot_state.h"
#include "logdata/log_state.h"

namespace kv::analysis {

// x and y in layer 1 units. Lines are joined by a line feed; with more than
// one line the text ends in one space.
std::string cursor_readout(const LogState& log, const PlotState& plot, double x, double y);

// `readout` with one more line, keeping the rule above; an empty line adds
// nothing.
std::string with_readout_line(std::string readout, const std::string& line);

}  // namespace kv::analysis
