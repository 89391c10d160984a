#include "analysis/lap_tools/time_slip.h"

#include <algorithm>
#include <cmath>

#include "logdata/number_format.h"

namespace kv::lap_tools {
namespace {

constexpr int kSlipDecimals = 2;

// A trace's time at a distance, seen from just before and just after it:
// they differ where the lap stood still there.
struct TimeLimits {
  double before;
  double after;
};

// Walks one trace at rising distances.
class TraceWalker {
 public:
  explicit TraceWalker(const std::vector<TracePoint>& points) : points_(points) {}

  TimeLimits at(double distance) {
    while (next_ + 1 < points_.size() && points_[next_].distance < distance) ++next_;
    if (points_[next_].distance != distance) {
      const double t = interpolate_time(points_, next_, distance);
      return {t, t};
    }
    std::size_t last = next_;
    while (last + 1 < points_.size() && points_[last + 1].distance == distance) ++last;
    return {points_[next_].time, points_[last].time};
  }

 private:
  const std::vector<TracePoint>& points_;
  std::size_t next_ = 0;
};

// The corners of both traces in rising distance, each distance once.
class CornerMerge {
 public:
  CornerMerge(const std::vector<TracePoint>& p1, const std::vector<TracePoint>& p2, double end)
      : p1_(p1), p2_(p2), end_(end) {}

  std::optional<double> next() {
    const bool more1 = i1_ < p1_.size() && p1_[i1_].distance <= end_;
    const bool more2 = i2_ < p2_.size() && p2_[i2_].distance <= end_;
    if (!more1 && !more2) return std::nullopt;
    const double d = !more2 ? p1_[i1_].distance
                     : !more1 ? p2_[i2_].distance
                              : std::min(p1_[i1_].distance, p2_[i2_].distance);
    while (i1_ < p1_.size() && p1_[i1_].distance == d) ++i1_;
    while (i2_ < p2_.size() && p2_[i2_].distance == d) ++i2_;
    return d;
  }

 private:
  const std::vector<TracePoint>& p1_;
  const std::vector<TracePoint>& p2_;
  double end_;
  std::size_t i1_ = 0, i2_ = 0;
};

}  // namespace

std::vector<SlipPoint> time_slip_curve(const LapTrace& lap1, const LapTrace& lap2) {
  if (lap1.empty() || lap2.empty()) return {};
  TraceWalker walk1(lap1.points()), walk2(lap2.points());
  CornerMerge corners(lap1.points(), lap2.points(), std::min(lap1.length(), lap2.length()));
  std::vector<SlipPoint> curve;
  curve.reserve(lap1.points().size() + lap2.points().size());
  while (const auto d = corners.next()) {
    const TimeLimits t1 = walk1.at(*d), t2 = walk2.at(*d);
    curve.push_back({*d, t2.before - t1.before});
    const double after = t2.after - t1.after;
    if (after != curve.back().slip) curve.push_back({*d, after});
  }
  return curve;
}

std::optional<double> slip_at(const LapTrace& lap1, const LapTrace& lap2, double distance) {
  const auto t1 = lap1.time_at(distance);
  const auto t2 = lap2.time_at(distance);
  if (!t1 || !t2) return std::nullopt;
  return *t2 - *t1;
}

std::string slip_text(double slip) {
  std::string text = "Slip: ";
  const std::string number = format_fixed(slip, kSlipDecimals);
  if (number.front() != '-') text += '+';
  return text + number + " s";
}

}  // namespace kv::lap_tools
