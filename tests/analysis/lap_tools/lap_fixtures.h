#pragma once
// Laps for the lap tool tests: hand-made datasets with exactly known samples,
// and generated logs decoded by the real decoder beside their truth.
#include <array>
#include <vector>

#include "analysis/lap_tools/lap_ref.h"
#include "emulator/log_generator.h"
#include "logdata/log_state.h"

namespace kv::lap_tools::test {

// A decoded dataset whose sample i lies at 0.1 x i s with lap distance
// lap_odo[i - 1]; every other channel is 0.
Dataset dataset_with_lap_odo(const std::vector<double>& lap_odo);
void fill(TVector& channel, const std::vector<double>& values);

// The lap over samples first … last of `data`.
LapRef lap_over(const Dataset& data, long first, long last, double lap_time = 0.0);

// Laps of a circuit of three equal sectors, each lap driven at its own
// constant speed (m/s) per sector, after 3 samples waiting on the line; a
// lap record closes every lap, as the decoder would have built it.
Dataset dataset_of_laps(const std::vector<std::array<double, 3>>& sector_speeds, double circuit_metres);

// A generated log decoded into dataset A (or B) of `log`.
struct DecodedLog {
  emu::GeneratedLog truth;
  LogState log;
  bool ok = false;

  explicit DecodedLog(const emu::GeneratorOptions& options, std::uint8_t set = kDataSetA);
  const Dataset& data() const { return log.current(); }
};

// The same generated logs are used by several tests; decoded once.
const DecodedLog& two_session_log();

}  // namespace kv::lap_tools::test
