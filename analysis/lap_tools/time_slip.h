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

// Points of the slip curve from distance 0 to the shorter lap's length.
inline constexpr int kSlipGridSteps = 2000;

// The slip on an even grid of kSlipGridSteps steps from 0 to the shorter
// lap's length, each lap's time interpolated at every grid distance. Drawn
// with straight lines between its points, it is the curve slip_at() reads.
// Empty when either lap is. Traces built with TraceSmoothing::light give a
// smooth curve; where a lap stood still, the slip climbs steeply over one
// step.
std::vector<SlipPoint> time_slip_curve(const LapTrace& lap1, const LapTrace& lap2);

// The slip at one distance (the cursor's), linear between the curve's
// points; nothing outside the curve.
std::optional<double> slip_at(const std::vector<SlipPoint>& curve, double distance);

// The cursor read-out line "Slip: %+.2f s", with "." whatever the locale and
// no minus sign on a slip that rounds to zero.
std::string slip_text(double slip);

}  // namespace kv::lap_tools
