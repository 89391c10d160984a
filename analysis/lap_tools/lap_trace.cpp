#include "analysis/lap_tools/lap_trace.h"

#include <algorithm>
#include <cmath>
#include <optional>

namespace kv::lap_tools {
namespace {

// How far back before its first sample a lap may have begun, in sample
// periods: one for the time between the line and the first sample, one more
// for a range the overlay's rounding began a sample late.
constexpr double kMaxLeadInPeriods = 2.0;
// Samples ahead over which the speed at the line is taken.
constexpr long kSpeedBaselineSamples = 3;
// Half-width of the light smoothing's triangle, in samples.
constexpr long kSmoothingHalfWidth = 8;

struct Sample {
  double distance;
  double time;
};

// The distances of samples first … last averaged over a triangle of up to
// kSmoothingHalfWidth samples each side, as wide on both sides so that a
// steady speed keeps its exact distances. Non-finite values are kept apart.
std::vector<double> smoothed_distances(const TVector& lap_odo, long first, long last) {
  std::vector<double> out;
  out.reserve(static_cast<std::size_t>(last - first + 1));
  for (long i = first; i <= last; ++i) {
    const long half = std::min({kSmoothingHalfWidth, i - first, last - i});
    double sum = 0.0, weights = 0.0;
    for (long k = -half; k <= half; ++k) {
      const double v = lap_odo.get(i + k);
      if (!std::isfinite(v)) continue;
      const auto w = static_cast<double>(half + 1 - std::abs(k));
      sum += w * v;
      weights += w;
    }
    out.push_back(std::isfinite(lap_odo.get(i)) && weights > 0 ? sum / weights : lap_odo.get(i));
  }
  return out;
}

class TraceBuilder {
 public:
  TraceBuilder(const Dataset& data, double factor) : data_(data), factor_(factor) {}

  Sample at(long i) const {
    const bool smoothed = i >= smoothed_first_ && i - smoothed_first_ < static_cast<long>(smoothed_.size());
    const double odo = smoothed ? smoothed_[static_cast<std::size_t>(i - smoothed_first_)] : data_.ch_lap_odo.get(i);
    return {odo * factor_, data_.ch_time.get(i)};
  }

  // From now on samples first … last read their smoothed distance.
  void smooth(long first, long last) {
    smoothed_ = smoothed_distances(data_.ch_lap_odo, first, last);
    smoothed_first_ = first;
  }

  // The first sample of the lap proper within `range`.
  long lap_start(SampleRange range) const {
    long i = range.first;
    if (i < range.last && at(i + 1).distance < at(i).distance) ++i;  // the lap before's last sample
    while (i < range.last && at(i).distance <= 0 && at(i + 1).distance <= 0) ++i;  // waiting on the line
    return i;
  }

  // Sample-clock time at which the lap crossed distance 0. A lap under way
  // at its first sample began shortly before it: extrapolate back. A lap
  // from a standstill shows distance 0 for a while after it began (the
  // distance counter counts whole pulses), so its start is taken back from
  // its end, by the recorded lap time, where that end is in the data.
  double start_time(long first, SampleRange range, double lap_time) const {
    const Sample s = at(first);
    if (s.distance > 0) return extrapolated_line_time(first, range.last);
    const double period = sample_period(range.first);
    const auto end = lap_time > 0 ? end_time(range) : std::nullopt;
    if (!end) return s.time;
    long moving = first;
    while (moving < range.last && !(at(moving).distance > 0)) ++moving;
    // Not before the range's fuzz allows, and not after the car has moved.
    const double earliest = at(range.first).time - kMaxLeadInPeriods * period;
    return std::max(earliest, std::min(*end - lap_time, at(moving).time));
  }

 private:
  double sample_period(long i) const {
    const long total = sample_total(data_);
    const double step = i < total ? at(i + 1).time - at(i).time : at(i).time - at(i - 1).time;
    return step > 0 ? step : kSamplePeriod;
  }

  // When the line was crossed on the way from sample i - 1 to sample i,
  // given that sample i lies past it: back from i at the speed over the next
  // few samples (up to `limit`; one step alone is too coarse where the
  // distance counter counts in metres or more), never more than two periods.
  double extrapolated_line_time(long i, long limit) const {
    const Sample s = at(i);
    const Sample ahead = at(std::min(i + kSpeedBaselineSamples, limit));
    const double period = sample_period(i);
    if (!(ahead.distance > s.distance) || !(ahead.time > s.time)) return s.time;
    const double back = s.distance * (ahead.time - s.time) / (ahead.distance - s.distance);
    return s.time - std::min(back, kMaxLeadInPeriods * period);
  }

  // The moment the lap ended, when the samples after `range` show the lap
  // distance restarting right after it.
  std::optional<double> end_time(SampleRange range) const {
    const long after = range.last + 1;
    const long total = sample_total(data_);
    if (after > total || !(at(after).distance < at(range.last).distance)) return std::nullopt;
    return std::max(extrapolated_line_time(after, total), at(range.last).time);
  }

  const Dataset& data_;
  double factor_;
  std::vector<double> smoothed_;
  long smoothed_first_ = 0;
};

}  // namespace

double interpolate_time(const std::vector<TracePoint>& points, std::size_t upper, double distance) {
  const TracePoint& hi = points[upper];
  if (upper == 0 || hi.distance <= distance) return hi.time;
  const TracePoint& lo = points[upper - 1];
  return lo.time + (distance - lo.distance) / (hi.distance - lo.distance) * (hi.time - lo.time);
}

LapTrace::LapTrace(const LapRef& lap, double distance_factor, TraceSmoothing smoothing) {
  if (lap.data == nullptr || !std::isfinite(distance_factor) || !(distance_factor > 0)) return;
  const SampleRange range = clamp_range(*lap.data, lap.samples.first, lap.samples.last);
  if (range.empty()) return;
  TraceBuilder builder(*lap.data, distance_factor);
  const long first = builder.lap_start(range);
  // Only the lap's own samples: the restarts on either side must stay sharp.
  if (smoothing == TraceSmoothing::light) builder.smooth(first, range.last);
  start_time_ = builder.start_time(first, range, lap.lap_time);
  if (!std::isfinite(start_time_)) return;

  points_.reserve(static_cast<std::size_t>(range.last - first + 2));
  points_.push_back({0.0, 0.0});
  double reach = 0.0;              // furthest distance so far
  bool previous_set_reach = true;  // the lap's start counts as the first furthest point
  Sample previous{0.0, 0.0};
  for (long i = first; i <= range.last; ++i) {
    Sample s = builder.at(i);
    if (!std::isfinite(s.distance) || !std::isfinite(s.time)) continue;
    s.time -= start_time_;
    const bool new_reach = s.distance > reach;
    if (new_reach) {
      // Coming back from a stop or a step back: the lap passes `reach` again
      // on the way to this sample; until then the time ran on at `reach`.
      // (Not at the line: a lap from a standstill reads 0 for a while.)
      if (!previous_set_reach && reach > 0) {
        const double again = previous.time + (reach - previous.distance) / (s.distance - previous.distance) *
                                                 (s.time - previous.time);
        if (again > points_.back().time) points_.push_back({reach, again});
      }
      points_.push_back({s.distance, s.time});
      reach = s.distance;
    }
    previous_set_reach = new_reach;
    previous = s;
  }
  if (points_.size() < 2) points_.clear();
}

std::optional<double> LapTrace::time_at(double distance) const {
  if (empty() || !(distance >= 0) || distance > length()) return std::nullopt;
  const auto upper = std::lower_bound(points_.begin(), points_.end(), distance,
                                      [](const TracePoint& p, double d) { return p.distance < d; });
  return interpolate_time(points_, static_cast<std::size_t>(upper - points_.begin()), distance);
}

}  // namespace kv::lap_tools
