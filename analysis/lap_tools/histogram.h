#pragma once
// Time spent per value band of one channel over a stretch of samples (all of
// a dataset, an overlaid lap, or the visible time window): where the engine
// lives in its rev range, how long each gear is held, how hot it runs.
#include <vector>

#include "analysis/lap_tools/lap_ref.h"

namespace kv::lap_tools {

enum class HistogramChannel { rpm, speed, gear, oil_pressure, oil_temp, water_temp };

struct HistogramChannelInfo {
  HistogramChannel id;
  const char* caption;  // the channel's name in the channel lists
  TVector Dataset::*array;
  double default_bin_width;  // in the array's unit
};

inline constexpr HistogramChannelInfo kHistogramChannels[] = {
    {HistogramChannel::rpm, "RPM/100", &Dataset::ch_rpm, 5.0},
    {HistogramChannel::speed, "Speed", &Dataset::ch_speed, 10.0},
    {HistogramChannel::gear, "Gear", &Dataset::ch_gear, 1.0},
    {HistogramChannel::oil_pressure, "Oil Pressure", &Dataset::ch_oil_pressure, 5.0},
    {HistogramChannel::oil_temp, "Oil Temp", &Dataset::ch_oil_temp, 5.0},
    {HistogramChannel::water_temp, "Water Temp", &Dataset::ch_water_temp, 5.0},
};

const HistogramChannelInfo& histogram_channel(HistogramChannel channel);

// At most this many bins: a narrower width asked for is widened to fit.
inline constexpr long kMaxHistogramBins = 2000;

struct HistogramBin {
  double low = 0.0;   // the bin holds values in [low, high)
  double high = 0.0;
  long samples = 0;
  double seconds = 0.0;  // samples x the sample period
  double percent = 0.0;  // of the time of all counted samples
};

struct Histogram {
  double bin_width = 0.0;  // as used
  long samples = 0;        // samples counted (non-finite values are not)
  double seconds = 0.0;
  // Consecutive bins from the lowest value's to the highest's, empty ones
  // between included, ready to be drawn as bars; none when nothing counted.
  // Their percentages add up to 100.
  std::vector<HistogramBin> bins;
};

// The histogram of `channel` over `samples` of `data` (clamped to the
// samples it holds). A bin width that is not a positive finite number falls
// back to the channel's default; bins are aligned on multiples of the width.
Histogram time_histogram(const Dataset& data, HistogramChannel channel, SampleRange samples, double bin_width);

// The part of an x axis on screen: the samples whose x value (`x` less
// `x_offset`, as the plot draws them) lies between `low` and `high`.
struct XWindow {
  const TVector* x = nullptr;
  double x_offset = 0.0;
  double low = 0.0;
  double high = 0.0;
};

// The values of `channel` at `samples` of `data` (clamped to the samples it
// holds), or at those of them inside `window`.
std::vector<double> channel_values(const Dataset& data, HistogramChannel channel, SampleRange samples);
std::vector<double> channel_values(const Dataset& data, HistogramChannel channel, SampleRange samples,
                                   const XWindow& window);

// Histograms of several series of values on one grid, so that they can be
// compared bin by bin: one bin width for all (the width asked for, widened
// when all the series together would need more than kMaxHistogramBins), bins
// aligned on its multiples. Each series' bins run from its own lowest value's
// bin to its highest's, and its percentages add up to 100.
std::vector<Histogram> time_histograms(const std::vector<std::vector<double>>& series, HistogramChannel channel,
                                       double bin_width);

}  // namespace kv::lap_tools
