#pragma once
// The sample taken at a time: sample k of a dataset is taken at 0.1 x k s.
// One rule for the cursor read-out, the "In Window" statistics, the lap
// overlay ranges and the CSV export's Start and Stop: the quotient by 0.1 (an
// extended constant) is rounded in extended precision, halves to even.
#include <cstdint>

#include "logdata/lap_record.h"

namespace kv {

// Round(seconds / 0.1), saturated to the 32-bit range (non-numbers give 0).
std::int32_t sample_at(long double seconds);

// The sample at which a lap started and the one before the sample at which
// it ended, each raised to 0 when negative.
std::int32_t lap_first_sample(const LapRecord& record);
std::int32_t lap_last_sample(const LapRecord& record);

}  // namespace kv
