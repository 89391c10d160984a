#pragma once
// What the person chose in the lap tools: kept while the program runs (in
// the plot window's state), never saved, and never part of a plot
// configuration file.
#include <optional>
#include <vector>

#include "analysis/lap_tools/histogram.h"
#include "link/protocol.h"

namespace kv::lap_tools {

// Which samples a histogram covers.
enum class HistogramSpan { all_data, overlay_slot_1, overlay_slot_2, visible_window };

struct LapToolSettings {
  // Sector boundaries in metres as typed (up to three, 0 = off); nothing
  // until the person types any: then the configuration's split distances.
  std::optional<std::vector<double>> sector_boundaries;
  HistogramChannel histogram_channel = HistogramChannel::rpm;
  std::optional<double> histogram_bin_width;  // nothing: the channel's default
  HistogramSpan histogram_span = HistogramSpan::all_data;
};

// The boundaries in force: the typed ones, else the split distances of the
// configuration image the configure window holds (500, 1000 and 1500 m in a
// fresh program).
std::vector<double> sector_boundaries(const LapToolSettings& settings, const ConfigBytes& config_image);

// The bin width in force for the chosen channel.
double histogram_bin_width(const LapToolSettings& settings);

}  // namespace kv::lap_tools
