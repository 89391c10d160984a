#include "analysis/lap_tools/histogram.h"

#include <algorithm>
#include <cmath>

namespace kv::lap_tools {
namespace {

constexpr double kPercent = 100.0;

// `index` as a whole number in 0 … highest; NaN (from absurd values that
// overflow the arithmetic) counts as 0.
long clamped_index(double index, long highest) {
  if (!(index > 0)) return 0;
  if (index >= static_cast<double>(highest)) return highest;
  return static_cast<long>(index);
}

// Bin of `value` counted from the bin that starts at `origin`.
long bin_of(double value, double origin, double width, long bins) {
  return clamped_index(std::floor((value - origin) / width), bins - 1);
}

// Counts `values` into `h` on the grid of `grid_bins` bins of h.bin_width from
// `origin`, keeping the bins from the lowest counted one to the highest.
void fill_bins(Histogram& h, const std::vector<double>& values, double origin, long grid_bins) {
  if (h.samples == 0) return;
  std::vector<long> counts(static_cast<std::size_t>(grid_bins), 0);
  long lowest = grid_bins - 1, highest = 0;
  for (const double v : values) {
    if (!std::isfinite(v)) continue;
    const long b = bin_of(v, origin, h.bin_width, grid_bins);
    ++counts[static_cast<std::size_t>(b)];
    lowest = std::min(lowest, b);
    highest = std::max(highest, b);
  }
  const auto total = static_cast<double>(h.samples);
  h.seconds = total * kSamplePeriod;
  h.bins.reserve(static_cast<std::size_t>(highest - lowest + 1));
  for (long b = lowest; b <= highest; ++b) {
    const long n = counts[static_cast<std::size_t>(b)];
    const double bin_low = origin + static_cast<double>(b) * h.bin_width;
    h.bins.push_back({bin_low, bin_low + h.bin_width, n, static_cast<double>(n) * kSamplePeriod,
                      static_cast<double>(n) / total * kPercent});
  }
}

}  // namespace

const HistogramChannelInfo& histogram_channel(HistogramChannel channel) {
  for (const auto& info : kHistogramChannels) {
    if (info.id == channel) return info;
  }
  return kHistogramChannels[0];
}

std::vector<double> channel_values(const Dataset& data, HistogramChannel channel, SampleRange samples) {
  const TVector& values = data.*histogram_channel(channel).array;
  const SampleRange range = clamp_range(data, samples.first, samples.last);
  std::vector<double> out;
  out.reserve(static_cast<std::size_t>(range.size()));
  for (long i = range.first; i <= range.last; ++i) out.push_back(values.get(i));
  return out;
}

std::vector<double> channel_values(const Dataset& data, HistogramChannel channel, SampleRange samples,
                                   const XWindow& window) {
  if (window.x == nullptr) return {};
  const TVector& values = data.*histogram_channel(channel).array;
  const SampleRange range = clamp_range(data, samples.first, samples.last);
  // A zoom box drawn right to left leaves the ends the other way round.
  const double low = std::min(window.low, window.high);
  const double high = std::max(window.low, window.high);
  std::vector<double> out;
  for (long i = range.first; i <= range.last; ++i) {
    const double x = window.x->get(i) - window.x_offset;
    if (x >= low && x <= high) out.push_back(values.get(i));
  }
  return out;
}

std::vector<Histogram> time_histograms(const std::vector<std::vector<double>>& series, HistogramChannel channel,
                                       double bin_width) {
  std::vector<Histogram> out(series.size());
  double width = std::isfinite(bin_width) && bin_width > 0 ? bin_width : histogram_channel(channel).default_bin_width;
  double low = 0.0, high = 0.0;
  long counted = 0;
  for (std::size_t k = 0; k < series.size(); ++k) {
    for (const double v : series[k]) {
      if (!std::isfinite(v)) continue;
      low = counted == 0 ? v : std::min(low, v);
      high = counted == 0 ? v : std::max(high, v);
      ++counted;
      ++out[k].samples;
    }
  }
  const double span = high - low;
  if (counted > 0 && span / width >= kMaxHistogramBins - 1) width = span / (kMaxHistogramBins - 1);
  const double origin = counted > 0 ? std::floor(low / width) * width : 0.0;
  const long grid_bins = counted > 0 ? clamped_index(std::floor((high - origin) / width), kMaxHistogramBins - 1) + 1 : 0;
  for (std::size_t k = 0; k < series.size(); ++k) {
    out[k].bin_width = width;
    fill_bins(out[k], series[k], origin, grid_bins);
  }
  return out;
}

Histogram time_histogram(const Dataset& data, HistogramChannel channel, SampleRange samples, double bin_width) {
  return time_histograms({channel_values(data, channel, samples)}, channel, bin_width).front();
}

}  // namespace kv::lap_tools
