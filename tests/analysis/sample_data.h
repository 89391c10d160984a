#pragma once
// Small decoded datasets with known values for the plot tests.
#include "logdata/log_state.h"

namespace kv::analysis::test {

// `samples` samples at 0.1 s: RPM/100 rising from 20, speed 50 + i, gear 3,
// brake on, odometer 10 m per sample, lap distance restarting every 100
// samples, every other channel a constant; `laps` lap records.
void fill_dataset(Dataset& data, long samples, long laps = 0, double rpm_offset = 0);

}  // namespace kv::analysis::test
