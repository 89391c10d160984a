// Sector times, best sectors, the theoretical best lap and the fastest-lap
// rule, against hand-made laps and against a generated log's truth.
#include <gtest/gtest.h>

#include <cmath>

#include "analysis/lap_tools/fastest_lap.h"
#include "analysis/lap_tools/lap_tool_settings.h"
#include "analysis/lap_tools/sector_times.h"
#include "config/config_form.h"
#include "lap_fixtures.h"

namespace kv::lap_tools {
namespace {

using test::dataset_of_laps;
using test::dataset_with_lap_odo;
using test::lap_over;

TEST(SectorBoundaryTest, TypedBoundariesAreSortedAndCleaned) {
  EXPECT_EQ(usable_boundaries({1500, 0, 500, 500, -1, NAN, INFINITY, 1000, 2000}),
            (std::vector<double>{500, 1000, 1500}));
  EXPECT_TRUE(usable_boundaries({0, 0, 0}).empty());
}

TEST(SectorBoundaryTest, DefaultsComeFromTheConfigurationsSplitDistances) {
  ConfigState state;
  EXPECT_TRUE(boundaries_from_config(state.config_image).empty()) << "an image never filled";
  config::ConfigForm form(state);
  form.setup();
  EXPECT_EQ(boundaries_from_config(state.config_image), (std::vector<double>{500, 1000, 1500}));
  form.edit(config::IntField::split_2_distance, "2500");
  form.process_form_data();
  EXPECT_EQ(boundaries_from_config(state.config_image), (std::vector<double>{500, 1500, 2500}));
  form.edit(config::IntField::split_1_distance, "0");
  form.process_form_data();
  EXPECT_TRUE(boundaries_from_config(state.config_image).empty()) << "split 1 = 0 switches splits off";
}

TEST(SectorBoundaryTest, TypedBoundariesReplaceTheConfigurationsUntilTheProgramEnds) {
  ConfigState state;
  config::ConfigForm form(state);
  form.setup();
  LapToolSettings settings;
  EXPECT_EQ(sector_boundaries(settings, state.config_image), (std::vector<double>{500, 1000, 1500}));
  settings.sector_boundaries = std::vector<double>{700, 0, 0};
  EXPECT_EQ(sector_boundaries(settings, state.config_image), std::vector<double>{700});
  settings.sector_boundaries = std::vector<double>{};
  EXPECT_TRUE(sector_boundaries(settings, state.config_image).empty()) << "all off: one sector, the lap";
}

TEST(FastestLapTest, LowestValidTimeWithTiesKeepingTheEarlierLap) {
  const std::vector<double> times{0.0, 80.5, 79.25, 79.25, 81.0};
  EXPECT_EQ(fastest_lap(times), 2u);
  EXPECT_EQ(fastest_lap(std::vector<double>{0.0, 0.0}), 0u) << "no valid time: the first lap";
  EXPECT_EQ(fastest_lap(std::vector<double>{81.0, 0.0}), 0u);
  EXPECT_FALSE(fastest_lap(std::vector<double>{}));
}

TEST(SectorTimesTest, CrossingsAreInterpolatedAndTheLastSectorEndsAtTheLapTime) {
  // 10 m/s from the line; 100 m laps with the lap time recorded a touch long.
  std::vector<double> odo;
  for (int i = 0; i <= 100; ++i) odo.push_back(i);
  const Dataset data = dataset_with_lap_odo(odo);
  const LapTrace trace(lap_over(data, 1, 101));
  const auto s = lap_sector_times(trace, 10.05, {25.5, 50, 75});
  EXPECT_NEAR(*s[0], 2.55, 1e-9);
  EXPECT_NEAR(*s[1], 2.45, 1e-9);
  EXPECT_NEAR(*s[2], 2.5, 1e-9);
  EXPECT_NEAR(*s[3], 2.55, 1e-9);
  EXPECT_NEAR(*s[0] + *s[1] + *s[2] + *s[3], 10.05, 1e-9);

  EXPECT_NEAR(*lap_sector_times(trace, 10.05, {})[0], 10.05, 1e-9) << "no boundaries: the whole lap";
  const auto short_lap = lap_sector_times(trace, 10.05, {50, 120});
  EXPECT_TRUE(short_lap[0]);
  EXPECT_FALSE(short_lap[1]) << "the lap never reached 120 m";
  EXPECT_FALSE(short_lap[2]);
  EXPECT_FALSE(lap_sector_times(trace, 0.0, {50})[1]) << "invalid lap time: no last sector";
  EXPECT_FALSE(lap_sector_times(trace, 4.0, {50})[1]) << "a lap time shorter than the way to the boundary";
  const auto none = lap_sector_times(LapTrace(), 10.0, {50});
  EXPECT_FALSE(none[0]);
  EXPECT_FALSE(none[1]);
}

TEST(SectorTableTest, OneLapWithEveryBestSectorIsTheTheoreticalBest) {
  LogState log;
  log.datasets[0] = dataset_of_laps({{30, 20, 25}, {32, 22, 27}, {31, 21, 26}}, 900);
  const SectorTable table = sector_table(log, {300, 600});
  ASSERT_EQ(table.rows.size(), 3u);
  EXPECT_EQ(table.sector_count, 3);
  const TheoreticalBest& a = table.per_set[0];
  ASSERT_TRUE(a.theoretical);
  EXPECT_EQ(a.fastest_row, 1u);
  for (int k = 0; k < 3; ++k) EXPECT_TRUE(table.rows[1].best_in_set[k]) << k;
  EXPECT_NEAR(*a.theoretical, table.rows[1].lap.lap_time(), 1e-9);
  EXPECT_NEAR(*a.gain, 0.0, 1e-9);
  EXPECT_NEAR(*a.best_sector[1], 300.0 / 22, 0.05) << "near constant speed through the sector";
  EXPECT_FALSE(table.per_set[1].theoretical) << "B holds nothing";
}

TEST(SectorTableTest, BestSectorsFromDifferentLapsAndSets) {
  LogState log;
  log.datasets[0] = dataset_of_laps({{30, 20, 25}, {28, 22, 24}}, 900);
  log.datasets[1] = dataset_of_laps({{32, 23, 27}, {31, 21, 26}}, 900);
  const SectorTable table = sector_table(log, {600, 300, 0});
  ASSERT_EQ(table.rows.size(), 4u);
  EXPECT_EQ(table.sector_count, 3);
  EXPECT_EQ(table.rows[2].lap.set, kDataSetB);
  const TheoreticalBest& a = table.per_set[0];
  EXPECT_TRUE(table.rows[0].best_in_set[0]);
  EXPECT_TRUE(table.rows[1].best_in_set[1]);
  EXPECT_TRUE(table.rows[0].best_in_set[2]);
  EXPECT_FALSE(table.rows[1].best_in_set[0] || table.rows[0].best_in_set[1] || table.rows[1].best_in_set[2]);
  EXPECT_NEAR(*a.theoretical, *a.best_sector[0] + *a.best_sector[1] + *a.best_sector[2], 1e-12);
  EXPECT_NEAR(*a.best_sector[1], *table.rows[1].sector[1], 0.0);
  EXPECT_GT(*a.gain, 1.0) << "no lap of A holds every best sector";

  for (int k = 0; k < 3; ++k) {
    EXPECT_TRUE(table.rows[2].best_in_set[k] && table.rows[2].best_overall[k]) << k;
    EXPECT_FALSE(table.rows[0].best_overall[k] || table.rows[1].best_overall[k]) << k;
  }
  EXPECT_EQ(table.both.fastest_row, 2u);
  EXPECT_NEAR(*table.both.theoretical, table.rows[2].lap.lap_time(), 1e-9);
  EXPECT_NEAR(*table.both.gain, 0.0, 1e-9);
}

// The generated log records each sector against the session's best so far;
// walking the splits in order gives back every lap's sector times (to 1 ms).
std::vector<std::array<double, 3>> true_sectors(const emu::GeneratedLog& truth) {
  std::vector<std::array<double, 3>> sectors;
  std::array<double, 3> best{};
  for (const auto& lap : truth.laps) {
    std::array<double, 3> s{};
    for (std::size_t k = 0; k < 3; ++k) {
      const double delta = ((lap.split_signs >> k) & 1 ? 1.0 : -1.0) * lap.split_ms[k] / 1000.0;
      s[k] = lap.lap == 1 ? delta : best[k] + delta;
      if (lap.lap == 1 || s[k] < best[k]) best[k] = s[k];
    }
    sectors.push_back(s);
  }
  return sectors;
}

void expect_sectors_match_the_truth(const test::DecodedLog& d) {
  ASSERT_TRUE(d.ok);
  const double circuit = d.truth.circuit_metres;
  const SectorTable table = sector_table(d.log, {circuit / 3, circuit * 2 / 3});
  const auto truth = true_sectors(d.truth);
  ASSERT_EQ(table.rows.size(), truth.size());
  ASSERT_GE(truth.size(), 6u);
  for (std::size_t r = 0; r < truth.size(); ++r) {
    const SectorRow& row = table.rows[r];
    double sum = 0;
    for (std::size_t k = 0; k < 3; ++k) {
      ASSERT_TRUE(row.sector[k]) << r << " sector " << k;
      EXPECT_NEAR(*row.sector[k], truth[r][k], 0.1) << r << " sector " << k;
      sum += *row.sector[k];
    }
    EXPECT_NEAR(sum, row.lap.lap_time(), 1e-9) << r;
  }
  for (const TheoreticalBest* best : {&table.per_set[0], &table.both}) {
    ASSERT_TRUE(best->theoretical && best->fastest_row);
    EXPECT_LE(*best->theoretical, table.rows[*best->fastest_row].lap.lap_time() + 1e-9);
    EXPECT_GE(*best->gain, -1e-9);
  }
  for (int k = 0; k < 3; ++k) {
    int flagged = 0;
    for (const auto& row : table.rows) flagged += row.best_in_set[k] ? 1 : 0;
    EXPECT_EQ(flagged, 1) << "one best per sector, sector " << k;
  }
}

TEST(SectorTableTest, GeneratedLogSectorsAgreeWithTheTruthWithinASamplePeriod) {
  expect_sectors_match_the_truth(test::two_session_log());
  // A coarse distance counter (1.8 m a count) and standing starts in three
  // sessions.
  expect_sectors_match_the_truth(test::DecodedLog({.pages = 300, .sessions = 3, .seed = 7, .pulses_per_mile = 900}));
}

TEST(SectorTableTest, LapsFarFromTheTypicalDistanceStayOutOfTheBests) {
  LogState log;
  log.datasets[0] = dataset_of_laps({{30, 20, 25}, {32, 22, 27}, {31, 21, 26}}, 900);
  // The first lap ran on for 1350 m (a line crossing the instrument missed):
  // its "sectors" are quicker than any real one.
  TVector& odo = log.datasets[0].ch_lap_odo;
  const LapRef first = lap_ref(log.datasets[0], 0);
  for (long i = first.samples.first; i <= first.samples.last; ++i) odo.set(i, odo[i] * 1.5);
  const SectorTable table = sector_table(log, {300, 500});
  EXPECT_NEAR(table.typical_metres[0], 900, 30);
  EXPECT_FALSE(table.rows[0].in_bests);
  EXPECT_NEAR(table.rows[0].lap_metres, 1350, 45);
  EXPECT_TRUE(table.rows[1].in_bests && table.rows[2].in_bests);
  ASSERT_TRUE(table.rows[0].sector[0]);
  EXPECT_LT(*table.rows[0].sector[0], *table.rows[1].sector[0]) << "it would have been the best";
  for (int k = 0; k < 3; ++k) {
    EXPECT_FALSE(table.rows[0].best_in_set[k] || table.rows[0].best_overall[k]) << k;
    EXPECT_TRUE(table.rows[1].best_in_set[k]) << k;
  }
  EXPECT_NEAR(*table.per_set[0].theoretical, table.rows[1].lap.lap_time(), 1e-9);
  EXPECT_EQ(table.per_set[0].fastest_row, 1u);
  EXPECT_NEAR(*table.both.gain, 0.0, 1e-9);
}

TEST(SectorTableTest, TypicalLapDistance) {
  EXPECT_EQ(typical_lap_metres({}), 0.0);
  EXPECT_EQ(typical_lap_metres({600, 1000}), 1000.0) << "a tie: the longer";
  EXPECT_EQ(typical_lap_metres({600, 1000, 1010, 620, 990}), 1010.0) << "three agree, the longest of them";
  EXPECT_EQ(typical_lap_metres({0, 0, 500}), 500.0) << "laps without samples agree on nothing";
  EXPECT_EQ(typical_lap_metres({1350, 900}, {905, 898}), 900.0) << "a tie: the other set decides";
}

TEST(SectorTableTest, UnreachableBoundaries) {
  LogState log;
  log.datasets[0] = dataset_of_laps({{30, 20, 25}, {32, 22, 27}}, 900);
  const SectorTable too_far = sector_table(log, {300, 600, 2000});
  EXPECT_EQ(too_far.sector_count, 4);
  EXPECT_FALSE(too_far.per_set[0].theoretical) << "no lap reaches 2000 m";
  EXPECT_TRUE(too_far.per_set[0].best_sector[1]);
  EXPECT_FALSE(too_far.per_set[0].best_sector[2]);
  EXPECT_TRUE(sector_table(LogState{}, {300}).rows.empty());
}

}  // namespace
}  // namespace kv::lap_tools
