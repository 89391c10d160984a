#include "analysis/plot_state.h"

#include <algorithm>

namespace kv::analysis {

TraceLook default_trace_look(LineType line_type) {
  TraceLook look;
  for (const ChannelInfo& c : channel_catalogue()) look.colour[static_cast<std::size_t>(index_of(c.id))] = c.default_colour;
  look.line_type = line_type;
  return look;
}

bool PlotSettings::any_channel_shown() const {
  return std::any_of(channel_shown.begin(), channel_shown.end(), [](bool on) { return on; });
}

int layer_a(const PlotSettings&) { return 1; }

int layer_b(const PlotSettings& settings) {
  return settings.plot_mode == PlotMode::AllPlotData && settings.b_on_second_axis ? 2 : 1;
}

int grid_layer(const PlotSettings& settings) {
  return settings.grid_enable == GridEnable::Axis2 ? layer_b(settings) : layer_a(settings);
}

}  // namespace kv::analysis
