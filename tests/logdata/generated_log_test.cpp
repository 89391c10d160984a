// A generated multi-session log decodes back to the truth it was built from.
#include <gtest/gtest.h>

#include <cmath>

#include "emulator/log_generator.h"
#include "logdata/decoder.h"
#include "ui/scripted_ui.h"

namespace kv {
namespace {

float expected_seconds(std::uint32_t ms) {
  return static_cast<float>(std::floor(static_cast<double>(static_cast<float>(ms / 1000.0)) * 100.0) / 100.0);
}

struct DecodedLog {
  emu::GeneratedLog truth;
  LogState log;
  ScriptedUi ui;
  bool ok = false;

  explicit DecodedLog(const emu::GeneratorOptions& options) : truth(emu::generate_log(options)) {
    Dataset& data = log.current();
    data.raw_memory = truth.memory.data;
    data.memory_valid = 1;
    log.current().used_bytes = truth.used_bytes;
    log.current().identity.pulses_per_mile = truth.pulses_per_mile;
    log.current().identity.set_flags(truth.unit_flags1, truth.unit_flags2);
    ok = process_data_packets(log, ui);
  }
};

TEST(GeneratedLogTest, LapsSplitsAndSessionsDecodeExactly) {
  DecodedLog d({.pages = 240, .sessions = 3, .seed = 7, .pulses_per_mile = 4000});
  ASSERT_TRUE(d.ok);
  const Dataset& ds = d.log.current();
  ASSERT_EQ(ds.sample_count(), static_cast<long>(d.truth.samples.size()));
  ASSERT_EQ(ds.lap_count(), static_cast<long>(d.truth.laps.size()));
  ASSERT_GE(d.truth.laps.size(), 6u);
  EXPECT_EQ(d.truth.laps.back().session, 3) << "every session completes a lap";
  for (std::size_t r = 0; r < d.truth.laps.size(); ++r) {
    const auto& want = d.truth.laps[r];
    const auto& got = ds.lap_table[r];
    EXPECT_EQ(got.lap, want.lap) << r;
    EXPECT_EQ(got.session, want.session) << r;
    EXPECT_EQ(got.lap_time, expected_seconds(want.lap_time_ms)) << r;
    EXPECT_EQ(got.lap_distance, static_cast<float>(want.distance_counts * 1609.0 / 4000)) << r;
    EXPECT_EQ(got.end_time, ds.ch_time[want.end_sample]) << r;
    EXPECT_EQ(got.split_signs, want.split_signs) << r;
    for (std::size_t k = 0; k < 3; ++k) {
      const float magnitude = expected_seconds(want.split_ms[k]);
      EXPECT_EQ(got.split[k], (want.split_signs >> k) & 1 ? magnitude : -magnitude) << r << " split " << k;
    }
  }
}

TEST(GeneratedLogTest, ChannelsFollowTheTruthWithinTheSmoothingsReach) {
  DecodedLog d({.pages = 160, .sessions = 2, .seed = 3});
  ASSERT_TRUE(d.ok);
  const Dataset& ds = d.log.current();
  double rpm_error = 0, speed_error = 0, pressure_error = 0;
  const auto n = static_cast<long>(d.truth.samples.size());
  for (long i = 1; i <= n; ++i) {
    const auto& s = d.truth.samples[static_cast<std::size_t>(i - 1)];
    ASSERT_EQ(ds.ch_gear[i], s.gear) << i;
    ASSERT_EQ(ds.ch_brake[i], s.brake ? 1 : 0) << i;
    ASSERT_EQ(ds.ch_lap_odo[i], static_cast<double>(s.lap_counts)) << i;
    rpm_error += std::fabs(ds.ch_rpm[i] - s.rpm / 100.0);
    speed_error += std::fabs(ds.ch_speed[i] - s.speed);
    pressure_error += std::fabs(ds.ch_oil_pressure[i] - s.oil_pressure);
  }
  EXPECT_LT(rpm_error / n, 1.0);
  EXPECT_LT(speed_error / n, 1.5);
  EXPECT_LT(pressure_error / n, 1.5);
  EXPECT_NEAR(ds.ch_time[n], 0.1 * static_cast<double>(n), 1e-6);

  // Slow channels: each reading holds from the sample before it on.
  double water_error = 0, fuel_error = 0;
  for (std::size_t k = 2; k + 1 < d.truth.slow.size(); ++k) {
    const auto& reading = d.truth.slow[k];
    const long i = reading.after_sample + 1;
    water_error += std::fabs(ds.ch_water_temp[i] - reading.water_temp);
    fuel_error += std::fabs(ds.ch_fuel[i] - reading.fuel);
  }
  EXPECT_LT(water_error / static_cast<double>(d.truth.slow.size()), 1.0);
  EXPECT_LT(fuel_error / static_cast<double>(d.truth.slow.size()), 1.0);
}

TEST(GeneratedLogTest, AFullMemoryFitsItsPages) {
  const auto full = emu::generate_log({.pages = emu::kFullMemoryPages, .seed = 11});
  EXPECT_LE(full.used_bytes, emu::kFullMemoryPages * 256u);
  EXPECT_GT(full.used_bytes, emu::kFullMemoryPages * 256u - 64);
  EXPECT_EQ(full.used_bytes, full.memory.used_pages * 256u + full.memory.tail_count);
  EXPECT_EQ(full.memory.data.size() % 256, 0u);
  EXPECT_EQ(full.memory.total_pages, emu::kFullMemoryPages);
  EXPECT_GE(full.sessions, 2);
}

}  // namespace
}  // namespace kv
