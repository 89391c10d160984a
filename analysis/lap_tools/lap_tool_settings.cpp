#include "analysis/lap_tools/lap_tool_settings.h"

#include "analysis/lap_tools/sector_times.h"

namespace kv::lap_tools {

std::vector<double> sector_boundaries(const LapToolSettings& settings, const ConfigBytes& config_image) {
  if (settings.sector_boundaries) return usable_boundaries(*settings.sector_boundaries);
  return boundaries_from_config(config_image);
}

double histogram_bin_width(const LapToolSettings& settings) {
  // time_histogram() itself falls back from a width it cannot use.
  return settings.histogram_bin_width.value_or(histogram_channel(settings.histogram_channel).default_bin_width);
}

}  // namespace kv::lap_tools
