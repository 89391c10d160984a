#pragma once
// How a lap went: the time since the lap began against the distance into the
// lap, for comparing laps at the same place on the circuit.
//
// Only the first time the lap reaches each distance counts: where the lap
// distance stands still (a stopped car) or goes back, the time runs on until
// the car passes the furthest point again. Between samples both are
// interpolated linearly.
//
// The lap begins at distance 0. The first sample usually lies a little past
// the line, so the start time is extrapolated back from the first two samples
// (by at most two sample periods, as a lap range may begin one sample late).
// A range that begins on the last sample of the lap before (the lap
// overlay's rounding can do that) is trimmed to the restart, and a car
// waiting on the line begins its lap when it leaves.
//
// The distance counter counts whole pulses (about a metre each), so the time
// at a distance read straight from the samples carries a saw of up to a
// pulse's travel time: hundredths of a second at speed, a tenth where the
// car is slow. A trace for comparing laps along the whole lap smooths the
// distance over a few samples first (a triangle of +-0.8 s, shrinking at the
// lap's ends so that steady motion stays exact); sector times use the
// samples as they are.
#include <optional>
#include <vector>

#include "analysis/lap_tools/lap_ref.h"

namespace kv::lap_tools {

enum class TraceSmoothing { none, light };

struct TracePoint {
  double distance = 0.0;  // into the lap, in the caller's unit
  double time = 0.0;      // s since the lap began
};

class LapTrace {
 public:
  LapTrace() = default;
  // `distance_factor` turns ch_lap_odo (always metres: the plot window's
  // feet apply to its x copy only) into the unit the caller gives and
  // receives distances in. A factor that is not a positive finite number
  // gives an empty trace.
  explicit LapTrace(const LapRef& lap, double distance_factor = 1.0,
                    TraceSmoothing smoothing = TraceSmoothing::none);

  bool empty() const { return points_.size() < 2; }
  // The furthest distance the lap reached; 0 when empty.
  double length() const { return empty() ? 0.0 : points_.back().distance; }
  // Sample-clock time (as in ch_time) at which the lap began.
  double start_time() const { return start_time_; }

  // Seconds into the lap when it first reached `distance`; nothing outside
  // 0 … length() or when the trace is empty.
  std::optional<double> time_at(double distance) const;

  // The corners of the trace, distances never falling; a distance appears
  // twice where the lap stood still or went back before passing it again
  // (the first time, then the time it moved on).
  const std::vector<TracePoint>& points() const { return points_; }

 private:
  std::vector<TracePoint> points_;
  double start_time_ = 0.0;
};

// Time at `distance` along `points` (at least two, distances never falling)
// when it lies inside them: the first point at that distance, else linear
// between its neighbours. Shared by the trace and the slip's walk.
double interpolate_time(const std::vector<TracePoint>& points, std::size_t upper, double distance);

}  // namespace kv::lap_tools
