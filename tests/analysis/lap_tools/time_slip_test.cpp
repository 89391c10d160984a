// Time slip between two laps: against known motion, against itself, and
// against a copy of itself driven 1 % slower everywhere.
#include <gtest/gtest.h>

#include <algorithm>
#include <clocale>
#include <cmath>

#include "analysis/lap_tools/time_slip.h"
#include "lap_fixtures.h"

namespace kv::lap_tools {
namespace {

using test::dataset_with_lap_odo;
using test::lap_over;

// Leaves the line at sample 1 and covers `step` metres per sample, stopping
// for `stop_samples` samples on reaching `stop_at`.
std::vector<double> steady_lap(double step, double metres, double stop_at = -1, int stop_samples = 0) {
  std::vector<double> odo{0.0};
  while (odo.back() + step <= metres + 1e-9) {
    if (odo.back() == stop_at) odo.insert(odo.end(), static_cast<std::size_t>(stop_samples), stop_at);
    odo.push_back(odo.back() + step);
  }
  return odo;
}

TEST(TimeSlipTest, SlowerLapSlipsInProportionToDistance) {
  // Lap 1 at 10 m/s, lap 2 at 8 m/s from another dataset: lap 2 loses
  // 0.025 s per metre.
  const Dataset a = dataset_with_lap_odo(steady_lap(1.0, 100));
  const Dataset b = dataset_with_lap_odo(steady_lap(0.8, 80));
  const LapTrace lap1(lap_over(a, 1, 101)), lap2(lap_over(b, 1, 101));
  const auto curve = time_slip_curve(lap1, lap2);
  ASSERT_FALSE(curve.empty());
  EXPECT_DOUBLE_EQ(curve.front().distance, 0.0);
  EXPECT_NEAR(curve.back().distance, 80.0, 1e-9) << "up to the shorter lap";
  for (const auto& p : curve) EXPECT_NEAR(p.slip, 0.025 * p.distance, 1e-9) << p.distance;
  EXPECT_NEAR(*slip_at(lap1, lap2, 50.3), 0.025 * 50.3, 1e-9);
  EXPECT_NEAR(*slip_at(lap2, lap1, 50.3), -0.025 * 50.3, 1e-9) << "lap 2 faster: negative";
  EXPECT_FALSE(slip_at(lap1, lap2, 80.5)) << "beyond the shorter lap";
  EXPECT_TRUE(time_slip_curve(lap1, LapTrace()).empty());
}

TEST(TimeSlipTest, AStopShowsAsAJumpAtItsDistance) {
  const Dataset a = dataset_with_lap_odo(steady_lap(1.0, 100));
  const Dataset b = dataset_with_lap_odo(steady_lap(1.0, 100, 40.0, 30));
  const LapTrace lap1(lap_over(a, 1, 101)), lap2(lap_over(b, 1, 131));
  EXPECT_NEAR(*slip_at(lap1, lap2, 40.0), 0.0, 1e-9) << "arrived at the same time";
  EXPECT_NEAR(*slip_at(lap1, lap2, 40.5), 3.0, 1e-9) << "left three seconds later";
  EXPECT_NEAR(*slip_at(lap1, lap2, 100.0), 3.0, 1e-9);
  const auto curve = time_slip_curve(lap1, lap2);
  std::size_t at_stop = 0;
  for (const auto& p : curve) at_stop += p.distance == 40.0 ? 1 : 0;
  EXPECT_GE(at_stop, 2u) << "the jump is drawn upright";
}

TEST(TimeSlipTest, GeneratedLapAgainstItselfSlipsNothing) {
  const auto& d = test::two_session_log();
  ASSERT_TRUE(d.ok);
  for (std::size_t r = 0; r < record_total(d.data()); ++r) {
    const LapTrace lap(lap_ref(d.data(), r));
    ASSERT_FALSE(lap.empty()) << r;
    for (const auto& p : time_slip_curve(lap, lap)) ASSERT_EQ(p.slip, 0.0) << r << " at " << p.distance;
    for (double f : {0.0, 0.37, 0.999}) EXPECT_EQ(*slip_at(lap, lap, f * lap.length()), 0.0);
  }
}

TEST(TimeSlipTest, CopyDrivenOnePercentSlowerSlipsOnePercentOfTheTimeIntoTheLap) {
  const auto& d = test::two_session_log();
  ASSERT_TRUE(d.ok);
  Dataset slower = d.data();
  for (long i = 1; i <= slower.ch_time.NrOfElem(); ++i) slower.ch_time.set(i, slower.ch_time[i] * 1.01);
  ASSERT_GE(record_total(d.data()), 4u);
  for (std::size_t r : {std::size_t{0}, std::size_t{3}}) {
    const LapRef original = lap_ref(d.data(), r);
    const LapTrace lap1(original);
    const LapTrace lap2(LapRef{&slower, original.samples, original.lap_time * 1.01});
    const auto curve = time_slip_curve(lap1, lap2);
    ASSERT_GT(curve.size(), 100u);
    EXPECT_NEAR(curve.back().distance, lap1.length(), 1e-9);
    for (double d = 0; d <= lap1.length(); d += 0.25) ASSERT_NEAR(*slip_at(lap1, lap2, d), 0.01 * *lap1.time_at(d), 1e-9);
    // Every corner of the curve is 1 % of a time lap 1 was at that distance
    // (where the car crept, the curve steps from the first to the last).
    for (const auto& p : curve) {
      const auto& corners = lap1.points();
      const bool found = std::ranges::any_of(corners, [&](const TracePoint& c) {
        return c.distance == p.distance && std::fabs(p.slip - 0.01 * c.time) < 1e-9;
      });
      ASSERT_TRUE(found) << p.distance;
    }
  }
}

TEST(TimeSlipTest, ReadOutLine) {
  EXPECT_EQ(slip_text(0.123), "Slip: +0.12 s");
  EXPECT_EQ(slip_text(-1.5), "Slip: -1.50 s");
  EXPECT_EQ(slip_text(12.345678), "Slip: +12.35 s");
  EXPECT_EQ(slip_text(0.0), "Slip: +0.00 s");
  EXPECT_EQ(slip_text(-0.001), "Slip: +0.00 s") << "no minus zero";
  for (const char* name : {"de_DE.UTF-8", "de_DE.utf8", "fr_FR.UTF-8"}) {
    if (std::setlocale(LC_NUMERIC, name) != nullptr) break;
  }
  EXPECT_EQ(slip_text(-2.25), "Slip: -2.25 s");
  std::setlocale(LC_NUMERIC, "C");
}

}  // namespace
}  // namespace kv::lap_tools
