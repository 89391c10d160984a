#pragma once
// Per-lap statistics: one row per lap with the engine, speed, temperature,
// pressure and brake figures a driver and engineer look at first. Values are
// in the units the channel arrays hold at the moment (see HeldUnits).
#include <vector>

#include "analysis/lap_tools/lap_ref.h"

namespace kv::lap_tools {

struct LapStats {
  long samples = 0;  // 0: the lap has no samples and every figure is 0
  double max_rpm = 0.0;  // RPM/100, as ch_rpm
  double max_speed = 0.0;
  double min_speed = 0.0;
  double avg_speed = 0.0;  // over time: every sample stands for one sample period
  double max_oil_temp = 0.0;
  double max_water_temp = 0.0;
  double min_oil_pressure = 0.0;
  double brake_percent = 0.0;  // share of the lap's samples with the brake on
  friend bool operator==(const LapStats&, const LapStats&) = default;
};

// Statistics over `samples` of `data` (clamped to the samples it holds).
LapStats lap_stats(const Dataset& data, SampleRange samples);

struct LapStatsRow {
  LapEntry lap;
  LapStats stats;
  friend bool operator==(const LapStatsRow&, const LapStatsRow&) = default;
};

// One row per lap of each decoded set, A's first, over each lap's overlay
// range.
std::vector<LapStatsRow> lap_stats_table(const LogState& log);

}  // namespace kv::lap_tools
