#pragma once
// The channels the plot window can draw and put on its x axis: which array of
// a dataset each one reads, its controls, colours and drawing factor.
#include <array>
#include <string>

#include "chart/chart_types.h"
#include "logdata/dataset.h"

namespace kv::analysis {

using chart::TColor;

// The eleven channels drawn as y curves, in the order of the "Data Select"
// panel (and of the colour columns).
enum class Channel : int {
  Rpm, Speed, Gear, Brake, OilPressure, OilTemp, WaterTemp, Fuel, Battery, LapNumber, LapTime
};
inline constexpr int kChannelCount = 11;

struct ChannelInfo {
  Channel id;
  TVector Dataset::*array;
  const char* check_box;  // object name of its "shown" box
  const char* caption;    // the box's caption
  const char* colour_a;   // colour selector of trace set 1
  const char* colour_b;   // colour selector of trace set 2
  TColor default_colour;  // the same for both trace sets
  double y_factor;        // so gear (1-6) and brake (0/1) share a scale with RPM/100
};

const std::array<ChannelInfo, kChannelCount>& channel_catalogue();
const ChannelInfo& channel_info(Channel c);
constexpr int index_of(Channel c) { return static_cast<int>(c); }

// The order in which a trace set's curves are added to the chart.
inline constexpr std::array<Channel, kChannelCount> kDrawingOrder = {
    Channel::Rpm,     Channel::Speed, Channel::OilPressure, Channel::OilTemp,   Channel::WaterTemp, Channel::Battery,
    Channel::Gear,    Channel::Fuel,  Channel::Brake,       Channel::LapNumber, Channel::LapTime};

// The thirteen x-axis choices of "X-Axis Data".
enum class XChannel : int {
  Time, Distance, Rpm, Speed, Gear, Brake, OilPressure, OilTemp, WaterTemp, Fuel, Battery, LapNumber, LapTime
};
inline constexpr int kXChannelCount = 13;

// The items of the x-axis list, in index order.
const std::array<const char*, kXChannelCount>& x_channel_items();

// A choice outside the list falls back to Time.
XChannel x_channel_from_index(int index);

// The unit labels beside four channel boxes.
inline constexpr const char* kSpeedUnitLabel = "Label8";
inline constexpr const char* kPressureUnitLabel = "Label9";
inline constexpr const char* kOilTempUnitLabel = "Label10";
inline constexpr const char* kWaterTempUnitLabel = "Label11";

std::string speed_unit_text(const HeldUnits& units);     // "(MPH)" / "(KMH)"
std::string pressure_unit_text(const HeldUnits& units);  // "(psi)" / "(Bar)"
std::string temp_unit_text(const HeldUnits& units);      // "(degC)" / "(degF)"

}  // namespace kv::analysis
