#include "analysis/lap_tools/time_slip.h"

#include <algorithm>
#include <cmath>

#include "logdata/number_format.h"

namespace kv::lap_tools {
namespace {

constexpr int kSlipDecimals = 2;

// Walks one trace at rising distances: the time the lap first reached each.
class TraceWalker {
 public:
  explicit TraceWalker(const std::vector<TracePoint>& points) : points_(points) {}

  double at(double distance) {
    while (next_ + 1 < points_.size() && points_[next_].distance < distance) ++next_;
    return interpolate_time(points_, next_, distance);
  }

 private:
  const std::vector<TracePoint>& points_;
  std::size_t next_ = 0;
};

}  // namespace

std::vector<SlipPoint> time_slip_curve(const LapTrace& lap1, const LapTrace& lap2) {
  if (lap1.empty() || lap2.empty()) return {};
  const double end = std::min(lap1.length(), lap2.length());
  TraceWalker walk1(lap1.points()), walk2(lap2.points());
  std::vector<SlipPoint> curve;
  curve.reserve(kSlipGridSteps + 1);
  for (int j = 0; j <= kSlipGridSteps; ++j) {
    // The last point exactly at the end, whatever the rounding of the steps.
    const double d = j == kSlipGridSteps ? end : end * j / kSlipGridSteps;
    curve.push_back({d, walk2.at(d) - walk1.at(d)});
  }
  return curve;
}

std::optional<double> slip_at(const std::vector<SlipPoint>& curve, double distance) {
  if (curve.size() < 2 || !(distance >= curve.front().distance) || distance > curve.back().distance) {
    return std::nullopt;
  }
  const auto upper = std::lower_bound(curve.begin(), curve.end(), distance,
                                      [](const SlipPoint& p, double d) { return p.distance < d; });
  if (upper == curve.begin() || upper->distance == distance) return upper->slip;
  const SlipPoint& lo = *(upper - 1);
  const SlipPoint& hi = *upper;
  return lo.slip + (distance - lo.distance) / (hi.distance - lo.distance) * (hi.slip - lo.slip);
}

std::string slip_text(double slip) {
  std::string text = "Slip: ";
  const std::string number = format_fixed(slip, kSlipDecimals);
  if (number.front() != '-') text += '+';
  return text + number + " s";
}

}  // namespace kv::lap_tools
