#pragma once
// The time slip of every overlaid lap against one reference lap, for the
// slip layer and the per-lap read-outs.
#include <cstddef>
#include <optional>
#include <vector>

#include "analysis/lap_tools/time_slip.h"
#include "analysis/overlay_laps.h"
#include "logdata/log_state.h"

namespace kv::analysis {

struct LapSlipCurve {
  std::size_t lap = 0;  // index into the overlaid laps
  std::vector<lap_tools::SlipPoint> curve;  // empty when the two laps share no distance
};

struct OverlaySlips {
  std::optional<std::size_t> reference;  // nothing: fewer than two laps drawn
  std::vector<LapSlipCurve> curves;      // every other drawn lap, in overlay order
};

// `distance_factor`: the x axis' distance unit per metre. Fewer than two
// drawn laps give no reference and no curves.
OverlaySlips overlay_slips(const LogState& log, const std::vector<OverlaidLap>& laps,
                           const std::optional<LapKey>& chosen_reference, double distance_factor);

// The curve of lap `lap`; nothing for the reference or a lap not drawn.
const LapSlipCurve* slip_curve_of(const OverlaySlips& slips, std::size_t lap);

}  // namespace kv::analysis
