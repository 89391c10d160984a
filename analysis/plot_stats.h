#pragma once
// The statistics line: maximum, minimum or mean of one channel of a trace
// set over all data, the overlaid lap or the visible window.
#include <array>
#include <optional>
#include <string>

#include "analysis/plot_state.h"
#include "logdata/log_state.h"

namespace kv::analysis {

// The items of the channel list, in index order.
const std::array<const char*, 9>& stats_channel_items();

enum class StatsKind : int { Max = 0, Min = 1, Avg = 2 };
enum class StatsRange : int { AllData = 0, InWindow = 1 };

struct StatsSummary {
  double max = 0;
  double min = 0;
  double mean = 0;
};

// Over samples first … last of the channel (clamped into its samples,
// swapped when reversed), times the channel's factor; nothing without samples.
std::optional<StatsSummary> channel_stats(const Dataset& data, int stats_channel, long first, long last);

// What one trace set's result box shows: which box (0 Edit72, 1 Edit73) and
// "%.1f" of the chosen figure; nothing off the time axis. `x_window` is the
// x range of the trace set's layer.
struct StatsResult {
  int box = 0;
  std::string text;
};
std::optional<StatsResult> update_stats(const LogState& log, const PlotState& plot, std::uint8_t data_set,
                                        int trace_set, double x_low, double x_high);

}  // namespace kv::analysis
