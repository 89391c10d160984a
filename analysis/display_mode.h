#pragma once
// Which legend groups, scales and axis controls the plot window shows, and
// the checks of switching between All Plot Data and Lap Overlay.
#include <array>
#include <optional>

#include "analysis/plot_state.h"
#include "logdata/log_state.h"
#include "ui/ui.h"

namespace kv::analysis {

struct DisplayView {
  // "Data B on 2nd Axis", "Match Window Scaling", "Restore Original Scaling".
  bool axis_controls_enabled = false;
  // Legend groups to show (a group once shown is never hidden again).
  std::array<bool, 2> show_legend{};
  // Visibility of the scales of layers 1 and 2; empty leaves them as they are.
  std::array<std::optional<bool>, kPlotLayers> scales_visible;
};

DisplayView change_display_mode(const LogState& log, const PlotSettings& settings);

inline constexpr const char* kNoLapData = "No Lap Data to View";
inline constexpr const char* kSelectLaps = "Select Laps to View from Lap Times Area";

// Entering Lap Overlay needs lap records in some dataset; false after telling
// the user (the mode then goes back to All Plot Data).
bool lap_overlay_allowed(const LogState& log, Ui& ui);
// After the overlay re-plot: tells the user to pick laps when none is chosen.
void ask_for_laps_when_none_chosen(const PlotState& plot, Ui& ui);

// The captions a plot mode gives the window.
struct ModeCaptions {
  const char* view;  // beside "View:"
  const char* line_type_a;
  const char* line_type_b;
  const char* heading_a;  // colour column and statistics row of trace set 1
  const char* heading_b;
};
const ModeCaptions& all_plot_captions();
inline constexpr const char* kLapOverlayCaption = "Lap Overlay";

}  // namespace kv::analysis
