#pragma once
// The four unit switches of the plot window. Every decoded dataset knows the
// units its arrays hold, so a switch brings each set from what it holds to
// the switch's unit and never converts a set twice. The lap distance stays in
// metres like the odometer; feet apply to the x-axis copy only.
#include "analysis/channels.h"
#include "analysis/plot_state.h"
#include "analysis/x_axis.h"
#include "logdata/log_state.h"
#include "ui/ui.h"

namespace kv::plot_files {

enum class UnitSwitch { Speed, Temperature, Pressure, Distance };

// The items the four switches show: speed 0 MPH / 1 KMH, temperature 0 degC /
// 1 degF, pressure 0 PSI / 1 Bar, distance 0 Metres / 1 Feet.
struct UnitChoices {
  int speed = 0;
  int temperature = 0;
  int pressure = 0;
  int distance = 0;
  bool operator==(const UnitChoices&) const = default;
};

struct UnitSwitchResult {
  bool converted = false;     // some array changed: redraw the curves
  bool rebuild_x = false;     // the x axis shows this switch's channel: rebuild it (change_data_axis)
};

// A switch moved to `index`: converts every decoded set that holds another
// unit, then records the new unit (`distance_in_feet` for the distance
// switch). The distance switch always asks for the x axis to be rebuilt.
UnitSwitchResult change_unit(LogState& log, bool& distance_in_feet, UnitSwitch which, int index,
                             analysis::XChannel x_channel);

// At window show and after a log load: brings every decoded set from the
// units it holds to the shown units (the last decoded log's recorded units
// unless a switch moved since) and returns the items the switches must show. The window
// sets them without converting anything further (with the sets already in
// those units a switch's handler finds nothing to convert).
UnitChoices synchronise_units(LogState& log, bool distance_in_feet);

// The x axis with the distance unit applied to either distance array: the
// window's change_x_axis, with the Lap Overlay lap distance copy in feet too.
analysis::XAxisView change_x_axis_in_units(LogState& log, const analysis::PlotSettings& settings,
                                           bool distance_in_feet, Ui& ui);

inline constexpr double kKmhPerMph = 1.6;
inline constexpr double kMphPerKmh = 0.625;
inline constexpr double kDegFPerDegC = 1.8;
inline constexpr double kDegFOffset = 32;
inline constexpr double kDegCPerDegF = 0.5555555555555556;
inline constexpr double kBarPerPsi = 0.06895;
inline constexpr double kPsiPerBar = 14.503;

}  // namespace kv::plot_files
