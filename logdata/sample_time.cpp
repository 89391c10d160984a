#include "logdata/sample_time.h"

#include <algorithm>
#include <cmath>
#include <limits>

namespace kv {
namespace {
constexpr long double kSamplePeriod = 0.1L;
}  // namespace

std::int32_t sample_at(long double seconds) {
  constexpr long double kLow = std::numeric_limits<std::int32_t>::min();
  constexpr long double kHigh = std::numeric_limits<std::int32_t>::max();
  const long double k = seconds / kSamplePeriod;
  if (std::isnan(k)) return 0;
  if (k <= kLow) return std::numeric_limits<std::int32_t>::min();
  if (k >= kHigh) return std::numeric_limits<std::int32_t>::max();
  // Rounded as it stands: through a double, a quotient just below a half
  // would land on the half and go to the even neighbour.
  return static_cast<std::int32_t>(std::nearbyint(k));  // the default mode: to nearest, ties to even
}

std::int32_t lap_first_sample(const LapRecord& record) {
  const long double end = record.end_time;
  return std::max(sample_at(end - static_cast<long double>(record.lap_time)), 0);
}

std::int32_t lap_last_sample(const LapRecord& record) {
  const long double end = record.end_time;
  return std::max(sample_at(end - kSamplePeriod), 0);
}

}  // namespace kv
