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

LapTrace smooth(const LapRef& lap) { return LapTrace(lap, 1.0, TraceSmoothing::light); }

TEST(TimeSlipTest, SlowerLapSlipsInProportionToDistance) {
  // Lap 1 at 10 m/s, lap 2 at 8 m/s from another dataset: lap 2 loses
  // 0.025 s per metre. Steady motion comes through the smoothing exactly.
  const Dataset a = dataset_with_lap_odo(steady_lap(1.0, 100));
  const Dataset b = dataset_with_lap_odo(steady_lap(0.8, 80));
  const LapTrace lap1 = smooth(lap_over(a, 1, 101)), lap2 = smooth(lap_over(b, 1, 101));
  const auto curve = time_slip_curve(lap1, lap2);
  ASSERT_EQ(curve.size(), static_cast<std::size_t>(kSlipGridSteps + 1));
  EXPECT_DOUBLE_EQ(curve.front().distance, 0.0);
  EXPECT_NEAR(curve.back().distance, 80.0, 1e-9) << "up to the shorter lap";
  EXPECT_NEAR(curve[1].distance - curve[0].distance, curve.back().distance - curve[curve.size() - 2].distance, 1e-9)
      << "an even grid";
  for (const auto& p : curve) EXPECT_NEAR(p.slip, 0.025 * p.distance, 1e-9) << p.distance;
  EXPECT_NEAR(*slip_at(curve, 50.3), 0.025 * 50.3, 1e-9);
  EXPECT_NEAR(*slip_at(time_slip_curve(lap2, lap1), 50.3), -0.025 * 50.3, 1e-9) << "lap 2 faster: negative";
  EXPECT_FALSE(slip_at(curve, 80.5)) << "beyond the shorter lap";
  EXPECT_FALSE(slip_at(curve, -0.1));
  EXPECT_TRUE(time_slip_curve(lap1, LapTrace()).empty());
  EXPECT_FALSE(slip_at({}, 0.0));
}

TEST(TimeSlipTest, AStopShowsAsASteepClimbAtItsDistance) {
  const Dataset a = dataset_with_lap_odo(steady_lap(1.0, 100));
  const Dataset b = dataset_with_lap_odo(steady_lap(1.0, 100, 40.0, 30));
  const auto curve = time_slip_curve(smooth(lap_over(a, 1, 101)), smooth(lap_over(b, 1, 131)));
  EXPECT_NEAR(*slip_at(curve, 30.0), 0.0, 1e-9) << "the same until the stop";
  EXPECT_NEAR(*slip_at(curve, 50.0), 3.0, 1e-9) << "three seconds later once under way again";
  EXPECT_NEAR(*slip_at(curve, 100.0), 3.0, 1e-9);
  EXPECT_GT(*slip_at(curve, 40.5) - *slip_at(curve, 39.5), 2.0) << "most of it within a metre of the stop";
  for (std::size_t j = 1; j < curve.size(); ++j) ASSERT_GE(curve[j].slip, curve[j - 1].slip - 1e-9) << j;
}

// The distance counter counts whole metres: a car at 8.7 m/s reads 0, 1, 1,
// 2, 3, 3, 4 ... metres, its lap distance stepping by 0 or 1 metre a sample.
std::vector<double> counted_lap(double speed, double metres) {
  std::vector<double> odo;
  for (int i = 0; std::floor(speed * 0.1 * i) <= metres; ++i) odo.push_back(std::floor(speed * 0.1 * i));
  return odo;
}

TEST(TimeSlipTest, TheCounterSawIsSmoothedAway) {
  // Two steady laps at 8.7 and 9.3 m/s: the true slip rises straight, by
  // 1/8.7 - 1/9.3 s a metre. Read straight from the counted samples it
  // carries a saw of up to a tenth of a second.
  const Dataset a = dataset_with_lap_odo(counted_lap(8.7, 300));
  const Dataset b = dataset_with_lap_odo(counted_lap(9.3, 300));
  const auto all = [](const Dataset& d) { return lap_over(d, 1, d.ch_lap_odo.NrOfElem()); };
  const double per_metre = 1 / 8.7 - 1 / 9.3;
  const auto worst_error = [per_metre](const std::vector<SlipPoint>& curve) {
    double worst = 0;
    for (const auto& p : curve) {
      if (p.distance > 10 && p.distance < 290) worst = std::max(worst, std::abs(p.slip - per_metre * p.distance));
    }
    return worst;
  };
  EXPECT_GT(worst_error(time_slip_curve(LapTrace(all(b)), LapTrace(all(a)))), 0.04) << "the saw, unsmoothed";
  const double smoothed = worst_error(time_slip_curve(smooth(all(b)), smooth(all(a))));
  EXPECT_LT(smoothed, 0.02);
}

// How far the curve goes up and down beyond its general course: the sum of
// the changes of its slope from grid step to grid step.
double roughness(const std::vector<SlipPoint>& curve) {
  double sum = 0;
  for (std::size_t j = 2; j < curve.size(); ++j) {
    sum += std::abs(curve[j].slip - 2 * curve[j - 1].slip + curve[j - 2].slip);
  }
  return sum;
}

TEST(TimeSlipTest, GeneratedLapsSlipSmoothly) {
  const auto& d = test::two_session_log();
  ASSERT_TRUE(d.ok);
  const LapRef lap1 = lap_ref(d.data(), 1), lap2 = lap_ref(d.data(), 2);
  const auto raw = time_slip_curve(LapTrace(lap1), LapTrace(lap2));
  const auto smoothed = time_slip_curve(smooth(lap1), smooth(lap2));
  EXPECT_LT(roughness(smoothed), roughness(raw) / 10) << "24 times smoother when measured";
  EXPECT_NEAR(smoothed.back().slip, raw.back().slip, 0.05) << "the same time lost over the lap";
}

TEST(TimeSlipTest, GeneratedLapAgainstItselfSlipsNothing) {
  const auto& d = test::two_session_log();
  ASSERT_TRUE(d.ok);
  for (std::size_t r = 0; r < record_total(d.data()); ++r) {
    const LapTrace lap = smooth(lap_ref(d.data(), r));
    ASSERT_FALSE(lap.empty()) << r;
    const auto curve = time_slip_curve(lap, lap);
    for (const auto& p : curve) ASSERT_EQ(p.slip, 0.0) << r << " at " << p.distance;
    for (double f : {0.0, 0.37, 0.999}) EXPECT_EQ(*slip_at(curve, f * lap.length()), 0.0);
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
    const LapTrace lap1 = smooth(original);
    const LapTrace lap2 = smooth(LapRef{&slower, original.samples, original.lap_time * 1.01});
    const auto curve = time_slip_curve(lap1, lap2);
    EXPECT_NEAR(curve.back().distance, lap1.length(), 1e-9);
    for (const auto& p : curve) ASSERT_NEAR(p.slip, 0.01 * *lap1.time_at(p.distance), 1e-9) << p.distance;
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
