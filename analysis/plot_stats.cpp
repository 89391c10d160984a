#include "analysis/plot_stats.h"

#include <algorithm>

#include "analysis/plot_text.h"
#include "logdata/sample_time.h"

namespace kv::analysis {
namespace {

struct StatsChannel {
  const char* item;
  TVector Dataset::*array;
  double factor;
};

// Brake is logged as 0/1 and shown as a percentage.
constexpr double kBrakePercent = 100;
constexpr std::array<StatsChannel, 9> kStatsChannels = {{{"RPM/100", &Dataset::ch_rpm, 1},
                                                          {"Speed", &Dataset::ch_speed, 1},
                                                          {"Gear", &Dataset::ch_gear, 1},
                                                          {"Brake %", &Dataset::ch_brake, kBrakePercent},
                                                          {"Oil Pressure", &Dataset::ch_oil_pressure, 1},
                                                          {"Oil Temp", &Dataset::ch_oil_temp, 1},
                                                          {"Water Temp", &Dataset::ch_water_temp, 1},
                                                          {"Battery Volts", &Dataset::ch_battery, 1},
                                                          {"Lap Time", &Dataset::ch_lap_time, 1}}};

constexpr int kStatsDecimals = 1;

const StatsChannel& stats_channel(int index) {
  return kStatsChannels[static_cast<std::size_t>(std::clamp(index, 0, static_cast<int>(kStatsChannels.size()) - 1))];
}

}  // namespace

const std::array<const char*, 9>& stats_channel_items() {
  static const std::array<const char*, 9> items = [] {
    std::array<const char*, 9> names{};
    for (std::size_t k = 0; k < names.size(); ++k) names[k] = kStatsChannels[k].item;
    return names;
  }();
  return items;
}

std::optional<StatsSummary> channel_stats(const Dataset& data, int index, long first, long last) {
  const StatsChannel& channel = stats_channel(index);
  const TVector& values = data.*channel.array;
  const long n = data.sample_count();
  if (n <= 0) return std::nullopt;
  first = std::clamp(first, 1L, n);
  last = std::clamp(last, 1L, n);
  if (last < first) std::swap(first, last);
  double high = -1.7e308;
  double low = 1.7e308;
  double sum = 0;
  const long stored = std::clamp(values.NrOfElem(), first - 1, last);
  if (stored >= first) {
    const double* end = values.data() + stored;
    for (const double* v = values.data() + (first - 1); v != end; ++v) {
      high = std::max(high, *v);
      low = std::min(low, *v);
      sum += *v;
    }
  }
  // A channel may hold fewer than N samples (no slow-channel packet came):
  // the missing ones read 0, as the curve draws them.
  if (stored < last) {
    high = std::max(high, 0.0);
    low = std::min(low, 0.0);
  }
  const double mean = sum / static_cast<double>(last - first + 1);
  return StatsSummary{high * channel.factor, low * channel.factor, mean * channel.factor};
}

std::optional<StatsResult> update_stats(const LogState& log, const PlotState& plot, std::uint8_t data_set,
                                        int trace_set, double x_low, double x_high) {
  const PlotSettings& s = plot.settings;
  if (s.x_channel != XChannel::Time) return std::nullopt;
  const Dataset& data = log.dataset(data_set);
  long first = 1;
  long last = data.sample_count();
  if (s.plot_mode == PlotMode::LapOverlay) {
    const LapSelection& lap = plot.overlay[trace_set == 2 ? 1 : 0].lap;
    first = lap.first_sample;
    last = lap.last_sample;
  } else if (s.stats_range == static_cast<int>(StatsRange::InWindow)) {
    first = sample_at(x_low);
    last = sample_at(x_high);
  }
  const int box = (s.plot_mode == PlotMode::LapOverlay ? trace_set : data_set) == 1 ? 0 : 1;
  const std::optional<StatsSummary> stats = channel_stats(data, s.stats_channel, first, last);
  if (!stats) return StatsResult{box, {}};
  const double figure = s.stats_kind == static_cast<int>(StatsKind::Min)   ? stats->min
                        : s.stats_kind == static_cast<int>(StatsKind::Avg) ? stats->mean
                                                                           : stats->max;
  return StatsResult{box, fixed_text(figure, kStatsDecimals)};
}

}  // namespace kv::analysis
