#include "logdata/sample_time.h"

#include <cmath>
#include <limits>

#include "logdata/number_format.h"

namespace kv {

std::int32_t sample_at(long double seconds) {
  constexpr long double kSamplePeriod = 0.1L;
  constexpr long double kLow = std::numeric_limits<std::int32_t>::min();
  constexpr long double kHigh = std::numeric_limits<std::int32_t>::max();
  const long double k = seconds / kSamplePeriod;
  if (std::isnan(k)) return 0;
  if (k <= kLow) return std::numeric_limits<std::int32_t>::min();
  if (k >= kHigh) return std::numeric_limits<std::int32_t>::max();
  return static_cast<std::int32_t>(round_half_even(static_cast<double>(k)));
}

}  // namespace kv
