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

}  // namespace

const HistogramChannelInfo& histogram_channel(HistogramChannel channel) {
  for (const auto& info : kHistogramChannels) {
    if (info.id == channel) return info;
  }
  return kHistogramChannels[0];
}

Histogram time_histogram(const Dataset& data, HistogramChannel channel, SampleRange samples, double bin_width) {
  const HistogramChannelInfo& info = histogram_channel(channel);
  const TVector& values = data.*info.array;
  const SampleRange range = clamp_range(data, samples.first, samples.last);
  Histogram h;
  h.bin_width = std::isfinite(bin_width) && bin_width > 0 ? bin_width : info.default_bin_width;

  double low = 0.0, high = 0.0;
  for (long i = range.first; i <= range.last; ++i) {
    const double v = values.get(i);
    if (!std::isfinite(v)) continue;
    low = h.samples == 0 ? v : std::min(low, v);
    high = h.samples == 0 ? v : std::max(high, v);
    ++h.samples;
  }
  if (h.samples == 0) return h;

  const double span = high - low;
  if (span / h.bin_width >= kMaxHistogramBins - 1) h.bin_width = span / (kMaxHistogramBins - 1);
  const double origin = std::floor(low / h.bin_width) * h.bin_width;
  const long bins = clamped_index(std::floor((high - origin) / h.bin_width), kMaxHistogramBins - 1) + 1;
  std::vector<long> counts(static_cast<std::size_t>(bins), 0);
  for (long i = range.first; i <= range.last; ++i) {
    const double v = values.get(i);
    if (std::isfinite(v)) ++counts[static_cast<std::size_t>(bin_of(v, origin, h.bin_width, bins))];
  }

  const auto total = static_cast<double>(h.samples);
  h.seconds = total * kSamplePeriod;
  h.bins.reserve(counts.size());
  for (long b = 0; b < bins; ++b) {
    const long n = counts[static_cast<std::size_t>(b)];
    const double bin_low = origin + static_cast<double>(b) * h.bin_width;
    h.bins.push_back({bin_low, bin_low + h.bin_width, n, static_cast<double>(n) * kSamplePeriod,
                      static_cast<double>(n) / total * kPercent});
  }
  return h;
}

}  // namespace kv::lap_tools
