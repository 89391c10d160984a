#pragma once
// What the plot window knows besides the datasets: its settings (each held by
// one control of the window), the two lap overlay slots, which trace set is
// drawn where, the home range of each layer and the pointer position.
#include <array>
#include <cstdint>
#include <optional>
#include <string>
#include <vector>

#include "analysis/channels.h"
#include "chart/chart_types.h"

namespace kv::analysis {

enum class PlotMode : int { AllPlotData = 0, LapOverlay = 1 };
enum class LineType : int { Solid = 0, Dotted = 1, Points = 2 };
enum class GridLines : int { VertAndHoriz = 0, VerticalOnly = 1, HorizontalOnly = 2 };
enum class GridEnable : int { Off = 0, Axis1 = 1, Axis2 = 2 };

// The A or B half of the plot settings: how one trace set looks.
struct TraceLook {
  std::array<TColor, kChannelCount> colour{};
  LineType line_type = LineType::Solid;
  bool on = true;  // the "On" box: off builds the curves with an invisible pen
};

TraceLook default_trace_look(LineType line_type);

struct PlotSettings {
  XChannel x_channel = XChannel::Time;
  std::array<bool, kChannelCount> channel_shown = {true};  // RPM/100 only
  std::array<TraceLook, 2> trace = {default_trace_look(LineType::Solid), default_trace_look(LineType::Dotted)};
  PlotMode plot_mode = PlotMode::AllPlotData;
  bool b_on_second_axis = false;
  bool y_autoscale = true;
  int speed_unit = 0;     // 0 MPH, 1 KMH
  int temp_unit = 0;      // 0 degC, 1 degF
  int pressure_unit = 0;  // 0 PSI, 1 Bar
  int distance_unit = 0;  // 0 Metres, 1 Feet
  GridLines grid_lines = GridLines::VertAndHoriz;
  GridEnable grid_enable = GridEnable::Axis1;
  int grid_dy = 0;  // item of the "Horizontal" spacing list, 0 = "Auto"
  int grid_dx = 0;  // item of the "Vertical" spacing list, 0 = "Auto"
  int zoom_mode = 0;
  int markers_on = 0;
  int stats_channel = 0;
  int stats_kind = 0;
  int stats_range = 0;
  bool cursor_readout_on = true;

  bool any_channel_shown() const;
};

// A lap picked for overlay: the samples it spans and what it is.
struct LapSelection {
  std::int32_t first_sample = 0;
  std::int32_t last_sample = 0;
  std::uint8_t lap = 0;
  std::uint8_t session = 0;
  std::string set_letter = "A";  // "A" draws from dataset A, anything else from B
  double lap_time = 0;
};

// A slot keeps its lap when its list loses the selection, but is then not
// drawn.
struct OverlaySlot {
  LapSelection lap;
  bool chosen = false;
};

// A lap added to a Lap Overlay beside the two slots ("Add Lap"): drawn on
// layer 1 in one colour and line style of its own for all its channels.
struct ExtraLap {
  LapSelection lap;
  std::size_t record = 0;  // its lap record in its dataset
  std::size_t style = 0;   // entry of the extra laps' palette
};

// Names one lap of the overlay whatever list it sits in.
struct LapKey {
  std::string set_letter;
  std::int32_t first_sample = 0;
  std::int32_t last_sample = 0;
  friend bool operator==(const LapKey&, const LapKey&) = default;
};

// One of the two trace sets of a re-plot: which dataset it draws and where.
struct TraceSetPlan {
  bool drawn = false;
  std::uint8_t data_set = 1;  // 1 = A, 2 = B
  int layer = 1;
};

struct TracePlan {
  std::array<TraceSetPlan, 2> trace;  // trace sets 1 and 2
};

// xLow, yLow, xHigh, yHigh of a layer, as SetLayerRange takes them.
struct LayerRange {
  double x_low = 0;
  double y_low = 0;
  double x_high = 1;
  double y_high = 1;
  friend bool operator==(const LayerRange&, const LayerRange&) = default;
};

inline constexpr int kPlotLayers = 2;  // the window draws on layers 1 and 2

struct PlotState {
  PlotSettings settings;
  std::array<OverlaySlot, 2> overlay;
  std::vector<ExtraLap> extra_laps;
  // The lap every other lap's time slip is taken against; unset or no longer
  // overlaid: the fastest overlaid lap.
  std::optional<LapKey> slip_reference;
  TracePlan plan;
  // Per layer (1 and 2): the range of the last full re-plot, the bound of
  // zooming out. Empty until that layer has been drawn.
  std::array<std::optional<LayerRange>, kPlotLayers> home_range;
  // The last pointer position over the chart in layer 1 units, 0 outside.
  double mouse_x = 0;
  double mouse_y = 0;

  const std::optional<LayerRange>& home(int layer) const { return home_range[layer == 2 ? 1 : 0]; }
};

// layer_a and layer_b: trace set 2 goes onto layer 2 only in All Plot Data
// with "Data B on 2nd Axis".
int layer_a(const PlotSettings& settings);
int layer_b(const PlotSettings& settings);
// The layer the grid follows ("Grid Enable" "Axis 2" is layer_b).
int grid_layer(const PlotSettings& settings);

}  // namespace kv::analysis
