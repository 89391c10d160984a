#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <cmath>
#include <limits>

#include "chart/ruler_ticks.h"

namespace kv::chart {
namespace {

using ::testing::ElementsAre;

std::vector<std::string> labels(double low, double high) {
  const RulerTicks t = compute_ticks(low, high, 3, true);
  const LabelFormat f = label_format(high - low, kAutoDecimals);
  std::vector<std::string> out;
  for (double v : t.major) out.push_back(format_tick(v, high - low, f));
  return out;
}

TEST(RulerTicks, ZeroToHundredStepsByTwentyWithFourMinorIntervals) {
  const RulerTicks t = compute_ticks(0, 100, 3, true);
  EXPECT_DOUBLE_EQ(t.step, 20);
  EXPECT_EQ(t.minor_intervals, 4);
  EXPECT_EQ(labels(0, 100), (std::vector<std::string>{"0", "20", "40", "60", "80", "100"}));
  EXPECT_EQ(t.minor.size(), 15u);  // 3 inside each of the 5 major steps
}

TEST(RulerTicks, ZeroToOneStepsByPointTwoWithTwoDecimals) {
  const RulerTicks t = compute_ticks(0, 1, 3, true);
  EXPECT_DOUBLE_EQ(t.step, 0.2);
  EXPECT_EQ(labels(0, 1), (std::vector<std::string>{"0.00", "0.20", "0.40", "0.60", "0.80", "1.00"}));
}

TEST(RulerTicks, ReversedRangeCountsDown) {
  const RulerTicks t = compute_ticks(100, 0, 3, false);
  EXPECT_DOUBLE_EQ(t.step, -20);
  EXPECT_EQ(labels(100, 0), (std::vector<std::string>{"100", "80", "60", "40", "20", "0"}));
  EXPECT_TRUE(t.minor.empty());  // ShortTicks off
}

TEST(RulerTicks, StepChoiceAndStart) {
  EXPECT_DOUBLE_EQ(compute_ticks(0, 30, 3, false).step, 10);  // d = 1: exact power of ten
  EXPECT_DOUBLE_EQ(compute_ticks(0, 12, 3, false).step, 2);   // log10(4) = 0.60
  EXPECT_DOUBLE_EQ(compute_ticks(0, 20, 3, false).step, 5);   // log10(6.67) = 0.82
  const RulerTicks t = compute_ticks(-7.3, 41, 3, false);
  EXPECT_DOUBLE_EQ(t.step, 10);
  EXPECT_EQ(t.major.front(), 0);
  EXPECT_EQ(t.major.back(), 40);
}

TEST(RulerTicks, EqualEndsGiveOneTick) {
  const RulerTicks t = compute_ticks(5, 5, 3, true);
  ASSERT_EQ(t.major.size(), 1u);
  EXPECT_EQ(t.major[0], 5);
}

TEST(RulerTicks, NonFiniteRangeGivesNoTicks) {
  EXPECT_TRUE(compute_ticks(0, std::numeric_limits<double>::infinity(), 3, true).major.empty());
  EXPECT_TRUE(compute_ticks(std::nan(""), 1, 3, true).major.empty());
}

TEST(RulerTicks, AutomaticDecimals) {
  EXPECT_EQ(label_format(10, kAutoDecimals).decimals, 1);
  EXPECT_EQ(label_format(1, kAutoDecimals).decimals, 2);
  EXPECT_EQ(label_format(0.1, kAutoDecimals).decimals, 3);
  EXPECT_EQ(label_format(100, kAutoDecimals).decimals, 0);
  EXPECT_EQ(label_format(-10, kAutoDecimals).decimals, 1);
  EXPECT_TRUE(label_format(1e6, kAutoDecimals).scientific);
  EXPECT_TRUE(label_format(1e-4, kAutoDecimals).scientific);
  EXPECT_EQ(label_format(5, 4).decimals, 4);
}

TEST(RulerTicks, LabelText) {
  const LabelFormat two{false, 2};
  EXPECT_EQ(format_tick(1.005e-16, 1, two), "0.00");  // below 1e-14 of the span
  EXPECT_EQ(format_tick(-0.001, 1, two), "0.00");     // no "-0.00"
  EXPECT_EQ(format_tick(-12.5, 100, LabelFormat{false, 1}), "-12.5");
  EXPECT_EQ(format_tick(2.5e6, 1e7, label_format(1e7, kAutoDecimals)), "2.500e+06");
  EXPECT_EQ(format_tick(1234567890123.25, 10, two).size(), 14u);  // cut to 14 characters
}

TEST(RulerTicks, RecordedTicksMajorsFirstAtMostFifty) {
  const RulerTicks t = compute_ticks(0, 100, 3, true);
  const std::vector<double> r = recorded_ticks(t);
  ASSERT_EQ(r.size(), 21u);
  EXPECT_EQ(r[0], 0);
  EXPECT_EQ(r[5], 100);
  RulerTicks many;
  many.major.assign(60, 1.0);
  EXPECT_EQ(recorded_ticks(many).size(), 50u);
}

TEST(RulerTicks, SpacedGridPositions) {
  EXPECT_THAT(spaced_positions(-0.5, 2.2, 1, 1000), ElementsAre(0, 1, 2));
  EXPECT_THAT(spaced_positions(2.2, -0.5, 1, 1000), ElementsAre(0, 1, 2));
  EXPECT_EQ(spaced_positions(0, 1e9, 1, 1000).size(), 1000u);
  EXPECT_TRUE(spaced_positions(0, 1, 0, 1000).empty());
}

}  // namespace
}  // namespace kv::chart
