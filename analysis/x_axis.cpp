#include "analysis/x_axis.h"

namespace kv::analysis {
namespace {

TVector Dataset::*x_array(XChannel x) {
  switch (x) {
    case XChannel::Time: return &Dataset::ch_time;
    case XChannel::Distance: return &Dataset::ch_odo;
    case XChannel::Rpm: return &Dataset::ch_rpm;
    case XChannel::Speed: return &Dataset::ch_speed;
    case XChannel::Gear: return &Dataset::ch_gear;
    case XChannel::Brake: return &Dataset::ch_brake;
    case XChannel::OilPressure: return &Dataset::ch_oil_pressure;
    case XChannel::OilTemp: return &Dataset::ch_oil_temp;
    case XChannel::WaterTemp: return &Dataset::ch_water_temp;
    case XChannel::Fuel: return &Dataset::ch_fuel;
    case XChannel::Battery: return &Dataset::ch_battery;
    case XChannel::LapNumber: return &Dataset::ch_lap;
    case XChannel::LapTime: return &Dataset::ch_lap_time;
  }
  return &Dataset::ch_time;
}

void copy_into(TVector& work, const TVector& source, double factor) {
  const long n = source.NrOfElem();
  // The copy has the source's length, also when that is shorter than before
  // (a length below 1 cannot be set, so an empty source empties the copy).
  if (n < 1) {
    work = TVector();
    return;
  }
  work.setNrOfElem(n);
  const double* from = source.data();
  double* to = work.data();
  for (long i = 0; i < n; ++i) to[i] = from[i] * factor;
}

std::optional<std::pair<std::string, std::string>> unit_label_for(XChannel x, const HeldUnits& units) {
  switch (x) {
    case XChannel::Speed: return std::pair{std::string(kSpeedUnitLabel), speed_unit_text(units)};
    case XChannel::OilPressure: return std::pair{std::string(kPressureUnitLabel), pressure_unit_text(units)};
    case XChannel::OilTemp: return std::pair{std::string(kOilTempUnitLabel), temp_unit_text(units)};
    case XChannel::WaterTemp: return std::pair{std::string(kWaterTempUnitLabel), temp_unit_text(units)};
    default: return std::nullopt;
  }
}

}  // namespace

const TVector& x_source(const Dataset& data, XChannel x, PlotMode mode) {
  if (x == XChannel::Distance && mode == PlotMode::LapOverlay) return data.ch_lap_odo;
  return data.*x_array(x);
}

std::string x_caption(XChannel x, const HeldUnits& units, bool distance_in_feet) {
  switch (x) {
    case XChannel::Time: return "Time(s)";
    case XChannel::Distance: return distance_in_feet ? "Distance(ft)" : "Distance(m)";
    case XChannel::Speed: return units.speed_in_mph ? "Speed(MPH)" : "Speed(KMH)";
    case XChannel::OilPressure: return units.pressure_in_psi ? "Oil Pressure(psi)" : "Oil Pressure(Bar)";
    case XChannel::OilTemp: return units.temp_in_degc ? "Oil Temp(degC)" : "Oil Temp(degF)";
    case XChannel::WaterTemp: return units.temp_in_degc ? "Water Temp(degC)" : "Water Temp(degF)";
    default: return x_channel_items()[static_cast<std::size_t>(x)];
  }
}

XAxisView change_x_axis(LogState& log, const PlotSettings& settings, bool distance_in_feet, Ui& ui) {
  BusyCursor busy(ui);
  const XChannel x = settings.x_channel;
  const bool feet_copy = x == XChannel::Distance && settings.plot_mode == PlotMode::AllPlotData && distance_in_feet;
  for (Dataset& data : log.datasets) {
    copy_into(data.ch_work, x_source(data, x, settings.plot_mode), feet_copy ? kFeetPerMetre : 1.0);
  }
  return XAxisView{x_caption(x, log.shown_units, distance_in_feet), x == XChannel::Time,
                   unit_label_for(x, log.shown_units)};
}

}  // namespace kv::analysis
