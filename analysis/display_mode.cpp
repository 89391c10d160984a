#include "analysis/display_mode.h"

namespace kv::analysis {
namespace {

bool decoded(const LogState& log, std::uint8_t which) { return log.dataset(which).decoded_valid == 1; }

}  // namespace

DisplayView change_display_mode(const LogState& log, const PlotSettings& settings) {
  DisplayView view;
  const bool a = decoded(log, kDataSetA);
  const bool b = decoded(log, kDataSetB);
  view.show_legend = {a, b};
  const bool overlay = settings.plot_mode == PlotMode::LapOverlay;
  view.axis_controls_enabled = a && b && !overlay;
  if (!overlay && settings.b_on_second_axis) {
    if (a) view.scales_visible[0] = true;
    if (b) view.scales_visible[1] = true;
    return view;
  }
  view.scales_visible = {true, false};
  return view;
}

bool lap_overlay_allowed(const LogState& log, Ui& ui) {
  if (log.dataset(kDataSetA).lap_count() > 0 || log.dataset(kDataSetB).lap_count() > 0) return true;
  ui.information(kNoLapData);
  return false;
}

void ask_for_laps_when_none_chosen(const PlotState& plot, Ui& ui) {
  // Added laps are laps chosen too: adding the first one enters Lap Overlay.
  if (!plot.overlay[0].chosen && !plot.overlay[1].chosen && plot.extra_laps.empty()) ui.information(kSelectLaps);
}

const ModeCaptions& all_plot_captions() {
  static const ModeCaptions captions{"Plot All", "Data A Line Type", "Data B Line Type", "Data A", "Data B"};
  return captions;
}

}  // namespace kv::analysis
