// Time-in-bin histograms: bin edges, widths, ranges and the 100 % total.
#include <gtest/gtest.h>

#include <cmath>

#include "analysis/lap_tools/histogram.h"
#include "lap_fixtures.h"

namespace kv::lap_tools {
namespace {

using test::dataset_with_lap_odo;
using test::fill;

double percent_total(const Histogram& h) {
  double sum = 0;
  for (const auto& bin : h.bins) sum += bin.percent;
  return sum;
}

TEST(HistogramTest, BinsCoverTheValuesWithEdgesGoingUp) {
  Dataset data = dataset_with_lap_odo(std::vector<double>(6, 0.0));
  fill(data.ch_oil_pressure, {0, 4.9, 5, 9.99, 10, 25});
  const Histogram h = time_histogram(data, HistogramChannel::oil_pressure, all_samples(data), 5);
  ASSERT_EQ(h.bins.size(), 6u) << "empty bins between are kept for drawing";
  const long expected[] = {2, 2, 1, 0, 0, 1};
  for (std::size_t b = 0; b < 6; ++b) {
    EXPECT_DOUBLE_EQ(h.bins[b].low, 5.0 * b);
    EXPECT_DOUBLE_EQ(h.bins[b].high, 5.0 * (b + 1));
    EXPECT_EQ(h.bins[b].samples, expected[b]) << b;
    EXPECT_NEAR(h.bins[b].seconds, 0.1 * expected[b], 1e-12);
    EXPECT_NEAR(h.bins[b].percent, 100.0 * expected[b] / 6, 1e-12);
  }
  EXPECT_EQ(h.samples, 6);
  EXPECT_NEAR(h.seconds, 0.6, 1e-12);

  const Histogram lap = time_histogram(data, HistogramChannel::oil_pressure, {3, 5}, 5);
  ASSERT_EQ(lap.bins.size(), 2u) << "bins start at the lowest value's bin";
  EXPECT_DOUBLE_EQ(lap.bins[0].low, 5);
  EXPECT_EQ(lap.bins[0].samples, 2);
}

TEST(HistogramTest, GearsAndWidths) {
  Dataset data = dataset_with_lap_odo(std::vector<double>(8, 0.0));
  fill(data.ch_gear, {0, 1, 1, 2, 2, 2, 3, 6});
  const Histogram gears = time_histogram(data, HistogramChannel::gear, all_samples(data), NAN);
  EXPECT_EQ(gears.bin_width, 1.0) << "an unusable width falls back to the channel's default";
  ASSERT_EQ(gears.bins.size(), 7u);
  EXPECT_EQ(gears.bins[2].samples, 3);
  EXPECT_NEAR(gears.bins[2].percent, 37.5, 1e-12);
  EXPECT_EQ(time_histogram(data, HistogramChannel::gear, all_samples(data), -2).bin_width, 1.0);
  EXPECT_EQ(time_histogram(data, HistogramChannel::gear, all_samples(data), 2.5).bins.size(), 3u);

  const Histogram fine = time_histogram(data, HistogramChannel::gear, all_samples(data), 1e-12);
  EXPECT_LE(static_cast<long>(fine.bins.size()), kMaxHistogramBins) << "too narrow a width is widened";
  EXPECT_NEAR(percent_total(fine), 100.0, 1e-9);
  EXPECT_EQ(fine.bins.back().samples, 1) << "the highest value stays in the last bin";
}

TEST(HistogramTest, NothingToCount) {
  Dataset data = dataset_with_lap_odo({0, 0, 0});
  fill(data.ch_speed, {NAN, INFINITY, 12});
  const Histogram h = time_histogram(data, HistogramChannel::speed, all_samples(data), 10);
  EXPECT_EQ(h.samples, 1) << "values that are not numbers take no time";
  EXPECT_NEAR(percent_total(h), 100.0, 1e-12);
  EXPECT_TRUE(time_histogram(data, HistogramChannel::speed, {3, 1}, 10).bins.empty());
  EXPECT_TRUE(time_histogram(Dataset{}, HistogramChannel::speed, {1, 100}, 10).bins.empty());
  fill(data.ch_speed, {-1e308, 1e308, 0});
  EXPECT_NEAR(percent_total(time_histogram(data, HistogramChannel::speed, all_samples(data), 10)), 100.0, 1e-9);
}

TEST(HistogramTest, SeveralSeriesShareOneGrid) {
  // A narrow width that A's values fit in but A and B together do not.
  const std::vector<double> a = {10.0, 10.05, 20.0, 49.9};
  const std::vector<double> b = {0.0, 120.0, 300.0, NAN};
  const auto hs = time_histograms({a, b, {}}, HistogramChannel::speed, 0.1);
  ASSERT_EQ(hs.size(), 3u);
  const double width = 300.0 / (kMaxHistogramBins - 1);
  for (const Histogram& h : hs) EXPECT_DOUBLE_EQ(h.bin_width, width) << "widened once, for all";
  EXPECT_EQ(hs[0].samples, 4);
  EXPECT_EQ(hs[1].samples, 3);
  EXPECT_TRUE(hs[2].bins.empty());
  for (const Histogram* h : {&hs[0], &hs[1]}) {
    EXPECT_NEAR(percent_total(*h), 100.0, 1e-9);
    // Every bin edge on the same grid: a whole number of widths from 0.
    for (const auto& bin : h->bins) {
      const double steps = bin.low / width;
      EXPECT_NEAR(steps, std::round(steps), 1e-6) << bin.low;
    }
  }
  EXPECT_NEAR(hs[0].bins.front().low, std::floor(10.0 / width) * width, 1e-9) << "A's bins begin at its own lowest";
  EXPECT_LE(static_cast<long>(hs[1].bins.size()), kMaxHistogramBins);
  EXPECT_EQ(hs[1].bins.back().samples, 1) << "the highest value in the last bin";
  EXPECT_EQ(time_histograms({a}, HistogramChannel::speed, 0.1).front().bin_width, 0.1) << "A alone fits";
}

TEST(HistogramTest, ValuesInsideAnXWindow) {
  Dataset data = dataset_with_lap_odo({0, 5, 10, 15, 20, 10});
  fill(data.ch_rpm, {1, 2, 3, 4, 5, 6});
  const SampleRange all = all_samples(data);
  EXPECT_EQ(channel_values(data, HistogramChannel::rpm, all, {&data.ch_lap_odo, 0.0, 9.0, 16.0}),
            (std::vector<double>{3, 4, 6})) << "every sample whose x is on screen, also going back";
  EXPECT_EQ(channel_values(data, HistogramChannel::rpm, all, {&data.ch_lap_odo, 0.0, 16.0, 9.0}),
            (std::vector<double>{3, 4, 6})) << "ends the other way round";
  EXPECT_EQ(channel_values(data, HistogramChannel::rpm, {2, 4}, {&data.ch_lap_odo, 5.0, 0.0, 5.0}),
            (std::vector<double>{2, 3})) << "x counted from an offset, within the range";
  EXPECT_TRUE(channel_values(data, HistogramChannel::rpm, all, {nullptr, 0.0, 0.0, 100.0}).empty());
}

TEST(HistogramTest, GeneratedLogPercentagesAddUpToAHundredForEveryChannelAndRange) {
  const auto& d = test::two_session_log();
  ASSERT_TRUE(d.ok);
  const Dataset& ds = d.data();
  const SampleRange ranges[] = {all_samples(ds), lap_ref(ds, 2).samples, samples_between(ds, 99.95, 160.05)};
  EXPECT_EQ(ranges[2].size(), 601);
  for (const auto& info : kHistogramChannels) {
    for (const SampleRange& range : ranges) {
      const Histogram h = time_histogram(ds, info.id, range, info.default_bin_width);
      ASSERT_FALSE(h.bins.empty()) << info.caption;
      EXPECT_EQ(h.samples, range.size()) << info.caption;
      EXPECT_NEAR(percent_total(h), 100.0, 1e-9) << info.caption;
      long counted = 0;
      for (std::size_t b = 0; b < h.bins.size(); ++b) {
        counted += h.bins[b].samples;
        if (b > 0) {
          EXPECT_DOUBLE_EQ(h.bins[b].low, h.bins[b - 1].high) << info.caption;
        }
      }
      EXPECT_EQ(counted, range.size()) << info.caption;
    }
  }
}

}  // namespace
}  // namespace kv::lap_tools
