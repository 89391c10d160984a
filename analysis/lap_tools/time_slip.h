#pragma once
// Time slip between two laps: at each distance into the lap, the time lap 2
// took to get there minus the time lap 1 took. Positive where lap 2 is
// slower, so the curve climbs where lap 2 loses time and falls where it
// gains.
#include <optional>
#include <string>
#include <vector>

#include "analysis/lap_tools/lap_trace.h"

namespace kv::lap_tools {

struct SlipPoint {
  double distance = 0.0;  // the traces' distance unit
  double slip = 0.0;      // s, lap 2 minus lap 1
};

// The slip from distance 0 to the shorter lap's length, with a point at every
// corner of either trace, so that drawing straight lines between the points
// shows the slip exactly. Empty when either lap is. Where a lap stood still,
// a distance appears twice (the slip jumps there).
std::vector<SlipPoint> time_slip_curve(const LapTrace& lap1, const LapTrace& lap2);

// The slip at one distance (the cursor's); nothing outside 0 … the shorter
// lap's length.
std::optional<double> slip_at(const LapTrace& lap1, const LapTrace& lap2, double distance);

// The cursor read-out line "Slip: %+.2f s", with "." whatever the locale and
// no minus sign on a slip that rounds to zero.
std::string slip_text(double slip);

}  // namespace kv::lap_tools
