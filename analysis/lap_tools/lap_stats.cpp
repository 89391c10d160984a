#include "analysis/lap_tools/lap_stats.h"

#include <algorithm>

namespace kv::lap_tools {
namespace {

constexpr double kPercent = 100.0;
constexpr double kBrakeOn = 0.5;  // ch_brake holds 0 or 1

}  // namespace

LapStats lap_stats(const Dataset& data, SampleRange samples) {
  const SampleRange range = clamp_range(data, samples.first, samples.last);
  LapStats s;
  if (range.empty()) return s;
  s.samples = range.size();
  s.max_rpm = data.ch_rpm.get(range.first);
  s.max_speed = s.min_speed = data.ch_speed.get(range.first);
  s.max_oil_temp = data.ch_oil_temp.get(range.first);
  s.max_water_temp = data.ch_water_temp.get(range.first);
  s.min_oil_pressure = data.ch_oil_pressure.get(range.first);
  double speed_sum = 0.0;
  long braking = 0;
  for (long i = range.first; i <= range.last; ++i) {
    const double speed = data.ch_speed.get(i);
    s.max_rpm = std::max(s.max_rpm, data.ch_rpm.get(i));
    s.max_speed = std::max(s.max_speed, speed);
    s.min_speed = std::min(s.min_speed, speed);
    s.max_oil_temp = std::max(s.max_oil_temp, data.ch_oil_temp.get(i));
    s.max_water_temp = std::max(s.max_water_temp, data.ch_water_temp.get(i));
    s.min_oil_pressure = std::min(s.min_oil_pressure, data.ch_oil_pressure.get(i));
    speed_sum += speed;
    if (data.ch_brake.get(i) >= kBrakeOn) ++braking;
  }
  const auto n = static_cast<double>(s.samples);
  s.avg_speed = speed_sum / n;
  s.brake_percent = static_cast<double>(braking) / n * kPercent;
  return s;
}

std::vector<LapStatsRow> lap_stats_table(const LogState& log) {
  std::vector<LapStatsRow> rows;
  for (const LapEntry& lap : laps_of(log)) {
    rows.push_back({lap, lap.ref.data ? lap_stats(*lap.ref.data, lap.ref.samples) : LapStats{}});
  }
  return rows;
}

}  // namespace kv::lap_tools
