#pragma once
// The sample taken at a time: sample k of a dataset is taken at 0.1 x k s.
// One rule for the cursor read-out, the "In Window" statistics and the lap
// ranges: 0.1 as an extended constant, halves to even.
#include <cstdint>

namespace kv {

// Round(seconds / 0.1), saturated to the 32-bit range (non-numbers give 0).
std::int32_t sample_at(long double seconds);

}  // namespace kv
