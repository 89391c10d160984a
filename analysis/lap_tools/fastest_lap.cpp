#include "analysis/lap_tools/fastest_lap.h"

namespace kv::lap_tools {

std::optional<std::size_t> fastest_lap(std::span<const double> lap_times) {
  if (lap_times.empty()) return std::nullopt;
  std::optional<std::size_t> fastest;
  for (std::size_t i = 0; i < lap_times.size(); ++i) {
    const double t = lap_times[i];
    if (!(t > 0)) continue;
    if (!fastest || t < lap_times[*fastest]) fastest = i;
  }
  return fastest ? fastest : std::optional<std::size_t>(0);
}

}  // namespace kv::lap_tools
