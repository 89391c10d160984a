// Which samples make a lap, and the distance-to-time trace built from them.
#include <gtest/gtest.h>

#include <cmath>

#include "analysis/lap_tools/lap_trace.h"
#include "lap_fixtures.h"

namespace kv::lap_tools {
namespace {

using test::dataset_with_lap_odo;
using test::lap_over;

constexpr double kTol = 1e-9;

TEST(LapRangeTest, OverlayRuleAndClamping) {
  Dataset data = dataset_with_lap_odo(std::vector<double>(150, 1.0));
  LapRecord r;
  r.end_time = 12.0;
  r.lap_time = 10.0f;
  const SampleRange lap = overlay_range(data, r);
  EXPECT_EQ(lap.first, 20);
  EXPECT_EQ(lap.last, 119);

  r.end_time = 20.0;  // runs past the 150 samples held
  EXPECT_EQ(overlay_range(data, r).last, 150);
  r.end_time = 0.0;  // a lap whose end was never seen
  EXPECT_TRUE(overlay_range(data, r).empty());
  EXPECT_TRUE(overlay_range(Dataset{}, r).empty()) << "no samples at all";
}

TEST(LapRangeTest, LapsComeFromDecodedSetsAndStayInsideTheirTables) {
  LogState log;
  log.datasets[0] = dataset_with_lap_odo(std::vector<double>(50, 1.0));
  log.datasets[0].lap_table.resize(2);
  log.datasets[0].packet_count[2] = 5;  // more records counted than the table holds
  log.datasets[1] = dataset_with_lap_odo(std::vector<double>(50, 1.0));
  log.datasets[1].lap_table.resize(3);
  log.datasets[1].packet_count[2] = 3;
  log.datasets[1].decoded_valid = 0;
  const auto laps = laps_of(log);
  ASSERT_EQ(laps.size(), 2u);
  EXPECT_EQ(laps[1].record, 1u);
  EXPECT_EQ(laps[1].set, kDataSetA);
  EXPECT_EQ(lap_ref(log.datasets[0], 7).samples.size(), 0) << "a record that does not exist is an empty lap";
}

TEST(LapRangeTest, SamplesBetweenTwoTimes) {
  const Dataset data = dataset_with_lap_odo(std::vector<double>(100, 0.0));
  const SampleRange r = samples_between(data, 1.0, 2.05);
  EXPECT_EQ(r.first, 10);
  EXPECT_EQ(r.last, 20);
  EXPECT_EQ(samples_between(data, -5, 0.05).size(), 0);
  EXPECT_EQ(samples_between(data, 9.95, 50).size(), 1);
  EXPECT_EQ(samples_between(data, 3, 2).size(), 0) << "reversed";
  EXPECT_EQ(samples_between(data, NAN, 2).size(), 0);
  EXPECT_EQ(samples_between(Dataset{}, 0, 10).size(), 0);

  // Lap Overlay's time axis starts each lap at 0.
  const SampleRange in_lap = lap_samples_between(data, {40, 60}, 0.5, 5.0);
  EXPECT_EQ(in_lap.first, 45);
  EXPECT_EQ(in_lap.last, 60) << "not beyond the lap";
  EXPECT_TRUE(lap_samples_between(data, {90, 130}, 2.0, 3.0).empty()) << "past the data";
  EXPECT_TRUE(lap_samples_between(data, {60, 40}, 0, 1).empty());
}

TEST(LapTraceTest, InterpolatesBetweenSamplesAndBeginsAtTheLine) {
  // 100 m/s; the first sample lies 5 m past the line, so the lap began 0.05 s
  // before it.
  const Dataset data = dataset_with_lap_odo({900, 5, 15, 25, 35});
  const LapTrace trace(lap_over(data, 2, 5));
  ASSERT_FALSE(trace.empty());
  EXPECT_NEAR(trace.start_time(), 0.15, kTol);
  EXPECT_NEAR(trace.length(), 35, kTol);
  EXPECT_NEAR(*trace.time_at(0), 0.0, kTol);
  EXPECT_NEAR(*trace.time_at(5), 0.05, kTol);
  EXPECT_NEAR(*trace.time_at(20), 0.2, kTol);
  EXPECT_NEAR(*trace.time_at(35), 0.35, kTol);
  EXPECT_FALSE(trace.time_at(35.001));
  EXPECT_FALSE(trace.time_at(-0.001));
  EXPECT_FALSE(trace.time_at(NAN));

  // The overlay's rounding may start the range on the lap before's last
  // sample: the lap still begins at the restart.
  const LapTrace early(lap_over(data, 1, 5));
  EXPECT_NEAR(early.start_time(), 0.15, kTol);
  EXPECT_NEAR(*early.time_at(20), 0.2, kTol);

  // Feet on the axis: distances scale, times do not.
  const LapTrace feet(lap_over(data, 2, 5), 3.281);
  EXPECT_NEAR(feet.length(), 35 * 3.281, 1e-9);
  EXPECT_NEAR(*feet.time_at(20 * 3.281), 0.2, kTol);
}

TEST(LapTraceTest, LeadInBeforeTheFirstSampleIsLimited) {
  // 50 m past the line yet crawling at 10 m/s: the extrapolation would reach
  // 5 s back, but the lap began at most two sample periods before.
  const Dataset data = dataset_with_lap_odo({50, 51, 52});
  const LapTrace trace(lap_over(data, 1, 3));
  EXPECT_NEAR(trace.start_time(), 0.1 - 0.2, kTol);
  EXPECT_NEAR(*trace.time_at(50), 0.2, kTol);
  EXPECT_NEAR(*trace.time_at(25), 0.1, kTol);
}

TEST(LapTraceTest, AStandingStartIsTimedBackFromTheLapsEnd) {
  // The counter reads 0 while the car pulls away; the lap ended 0.08 s before
  // the sample after the range (4 m past the line at 50 m/s) and took 0.8 s.
  const Dataset data = dataset_with_lap_odo({0, 0, 0, 0, 1, 3, 6, 10, 15, 20, 25, 4, 9});
  const LapTrace trace(lap_over(data, 1, 11, 0.8));
  EXPECT_NEAR(trace.start_time(), 1.12 - 0.8, kTol);
  EXPECT_NEAR(*trace.time_at(1), 0.5 - 0.32, kTol);
  EXPECT_NEAR(*trace.time_at(25), 1.1 - 0.32, kTol);
  EXPECT_NEAR(LapTrace(lap_over(data, 1, 11)).start_time(), 0.4, kTol) << "no lap time: when it left the line";
  EXPECT_NEAR(LapTrace(lap_over(data, 1, 11, 50.0)).start_time(), 0.1 - 0.2, kTol) << "absurd lap time";
}

TEST(LapTraceTest, StandingStillOrGoingBackCountsTheFirstTimeADistanceIsReached) {
  // Waits on the line, drives, stops at 20 m for 0.3 s, steps back, drives on.
  const Dataset data = dataset_with_lap_odo({0, 0, 0, 10, 20, 20, 20, 15, 25, 35});
  const LapTrace trace(lap_over(data, 1, 10));
  EXPECT_NEAR(trace.start_time(), 0.3, kTol) << "the lap begins when the car leaves the line";
  EXPECT_NEAR(*trace.time_at(0), 0.0, kTol);
  EXPECT_NEAR(*trace.time_at(10), 0.1, kTol);
  EXPECT_NEAR(*trace.time_at(20), 0.2, kTol) << "first arrival, not the stop's end";
  EXPECT_NEAR(*trace.time_at(17), 0.17, kTol) << "passing 17 m backwards does not count";
  // Past 20 m only after the step back: 15 m at 0.5 s, 25 m at 0.6 s.
  EXPECT_NEAR(*trace.time_at(20.5), 0.55 + 0.005, kTol);
  EXPECT_NEAR(*trace.time_at(35), 0.7, kTol);
  for (std::size_t i = 1; i < trace.points().size(); ++i) {
    EXPECT_GE(trace.points()[i].distance, trace.points()[i - 1].distance);
    EXPECT_GE(trace.points()[i].time, trace.points()[i - 1].time);
  }
}

TEST(LapTraceTest, EmptyAndOutOfRangeLapsGiveEmptyTraces) {
  const Dataset data = dataset_with_lap_odo({0, 10, 20, 30});
  EXPECT_TRUE(LapTrace(LapRef{}).empty()) << "no dataset";
  EXPECT_TRUE(LapTrace(lap_over(data, 3, 2)).empty()) << "reversed range";
  EXPECT_TRUE(LapTrace(lap_over(data, 9, 20)).empty()) << "past the samples";
  EXPECT_TRUE(LapTrace(lap_over(Dataset{}, 1, 100)).empty()) << "no samples";
  EXPECT_TRUE(LapTrace(lap_over(dataset_with_lap_odo({0, 0, 0}), 1, 3)).empty()) << "never moved";
  for (double bad : {0.0, -1.0, double{NAN}, double{INFINITY}}) EXPECT_TRUE(LapTrace(lap_over(data, 1, 4), bad).empty()) << bad;
  const LapTrace clamped(lap_over(data, -5, 400));
  EXPECT_NEAR(clamped.length(), 30, kTol) << "a range wider than the data is clamped";
  EXPECT_FALSE(LapTrace().time_at(0));
}

}  // namespace
}  // namespace kv::lap_tools
