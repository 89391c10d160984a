#include "analysis/plot_files/unit_switches.h"

#include <algorithm>

namespace kv::plot_files {
namespace {

using analysis::XChannel;

// The N decoded samples of an array (never past its end).
template <typename Op>
void for_each_sample(TVector& array, long samples, Op op) {
  const long n = std::min(samples, array.NrOfElem());
  double* v = array.data();
  for (long i = 0; i < n; ++i) v[i] = op(v[i]);
}

void scale(TVector& array, long samples, double factor) {
  for_each_sample(array, samples, [factor](double v) { return v * factor; });
}

void convert_speed(Dataset& d, bool to_mph) {
  scale(d.ch_speed, d.sample_count(), to_mph ? kMphPerKmh : kKmhPerMph);
}

void convert_pressure(Dataset& d, bool to_psi) {
  scale(d.ch_oil_pressure, d.sample_count(), to_psi ? kPsiPerBar : kBarPerPsi);
}

void convert_temperature(Dataset& d, bool to_degc) {
  for (TVector* array : {&d.ch_oil_temp, &d.ch_water_temp}) {
    if (to_degc) {
      for_each_sample(*array, d.sample_count(), [](double v) { return (v - kDegFOffset) * kDegCPerDegF; });
    } else {
      for_each_sample(*array, d.sample_count(), [](double v) { return v * kDegFPerDegC + kDegFOffset; });
    }
  }
}

// One of the three converted units: its flag (in the units shown and in the
// units each set holds), and the conversion.
struct ConvertedUnit {
  bool HeldUnits::*held;
  void (*convert)(Dataset&, bool to_flag);
  XChannel x1;
  XChannel x2;
};

ConvertedUnit converted_unit(UnitSwitch which) {
  switch (which) {
    case UnitSwitch::Temperature:
      return {&HeldUnits::temp_in_degc, convert_temperature, XChannel::OilTemp,
              XChannel::WaterTemp};
    case UnitSwitch::Pressure:
      return {&HeldUnits::pressure_in_psi, convert_pressure, XChannel::OilPressure,
              XChannel::OilPressure};
    default:
      return {&HeldUnits::speed_in_mph, convert_speed, XChannel::Speed, XChannel::Speed};
  }
}

// Brings every decoded set to the unit the flag value names; true when an
// array changed.
bool bring_sets_to(LogState& log, const ConvertedUnit& unit, bool flag) {
  bool converted = false;
  for (Dataset& d : log.datasets) {
    if (d.decoded_valid != 1 || d.held_units.*unit.held == flag) continue;
    unit.convert(d, flag);
    d.held_units.*unit.held = flag;
    converted = true;
  }
  return converted;
}

// Item 0 of each switch is the flag's "true" unit (MPH, degC, PSI).
int item_of(bool flag) { return flag ? 0 : 1; }

}  // namespace

UnitSwitchResult change_unit(LogState& log, bool& distance_in_feet, UnitSwitch which, int index, XChannel x_channel) {
  if (which == UnitSwitch::Distance) {
    distance_in_feet = index == 1;
    return {false, true};
  }
  const ConvertedUnit unit = converted_unit(which);
  const bool flag = index == 0;
  bool& shown = log.shown_units.*unit.held;
  const bool relabelled = shown != flag;
  shown = flag;
  const bool converted = bring_sets_to(log, unit, flag);
  const bool on_x = x_channel == unit.x1 || x_channel == unit.x2;
  return {converted, on_x && (converted || relabelled)};
}

UnitChoices synchronise_units(LogState& log, bool distance_in_feet) {
  struct Shown {
    UnitSwitch which;
    int UnitChoices::*item;
  };
  constexpr Shown kConverted[] = {{UnitSwitch::Speed, &UnitChoices::speed},
                                  {UnitSwitch::Temperature, &UnitChoices::temperature},
                                  {UnitSwitch::Pressure, &UnitChoices::pressure}};
  UnitChoices choices;
  for (const Shown& shown : kConverted) {
    const ConvertedUnit unit = converted_unit(shown.which);
    const bool flag = log.shown_units.*unit.held;
    bring_sets_to(log, unit, flag);
    choices.*shown.item = item_of(flag);
  }
  choices.distance = distance_in_feet ? 1 : 0;
  return choices;
}

analysis::XAxisView change_x_axis_in_units(LogState& log, const analysis::PlotSettings& settings,
                                           bool distance_in_feet, Ui& ui) {
  analysis::XAxisView view = analysis::change_x_axis(log, settings, distance_in_feet, ui);
  const bool lap_distance = settings.x_channel == XChannel::Distance &&
                            settings.plot_mode == analysis::PlotMode::LapOverlay;
  if (lap_distance && distance_in_feet) {
    for (Dataset& d : log.datasets) scale(d.ch_work, d.ch_work.NrOfElem(), analysis::kFeetPerMetre);
  }
  return view;
}

}  // namespace kv::plot_files
