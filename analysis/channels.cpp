#include "analysis/channels.h"

namespace kv::analysis {
namespace {

constexpr TColor kGreen = 0x008000;
constexpr TColor kFuchsia = 0xFF00FF;
constexpr TColor kYellow = 0x00FFFF;
constexpr TColor kAqua = 0xFFFF00;
constexpr TColor kRed = 0x0000FF;
constexpr TColor kLime = 0x00FF00;
constexpr TColor kBlue = 0xFF0000;
constexpr TColor kMoneyGreen = 0xC0DCC0;
constexpr TColor kGray = 0x808080;
constexpr TColor kOlive = 0x008080;
constexpr TColor kMaroon = 0x000080;

const std::array<ChannelInfo, kChannelCount> kCatalogue = {{
    {Channel::Rpm, &Dataset::ch_rpm, "CheckBox1", "RPM/100", "ColorPick1", "ColorPick10", kGreen, 1},
    {Channel::Speed, &Dataset::ch_speed, "CheckBox2", "Speed", "ColorPick2", "ColorPick11", kFuchsia, 1},
    {Channel::Gear, &Dataset::ch_gear, "CheckBox6", "Gear", "ColorPick3", "ColorPick12", kYellow, 10},
    {Channel::Brake, &Dataset::ch_brake, "CheckBox10", "Brake %", "ColorPick4", "ColorPick13", kAqua, 100},
    {Channel::OilPressure, &Dataset::ch_oil_pressure, "CheckBox3", "Oil  ", "ColorPick5", "ColorPick14", kRed, 1},
    {Channel::OilTemp, &Dataset::ch_oil_temp, "CheckBox4", "Oil  ", "ColorPick6", "ColorPick15", kLime, 1},
    {Channel::WaterTemp, &Dataset::ch_water_temp, "CheckBox5", "Water", "ColorPick7", "ColorPick16", kBlue, 1},
    {Channel::Fuel, &Dataset::ch_fuel, "CheckBox7", "Fuel %", "ColorPick8", "ColorPick17", kMoneyGreen, 1},
    {Channel::Battery, &Dataset::ch_battery, "CheckBox9", "Battery", "ColorPick9", "ColorPick18", kGray, 1},
    {Channel::LapNumber, &Dataset::ch_lap, "CheckBox15", "Lap Number", "ColorPick19", "ColorPick20", kOlive, 1},
    {Channel::LapTime, &Dataset::ch_lap_time, "CheckBox16", "Lap Time", "ColorPick21", "ColorPick22", kMaroon, 1},
}};

const std::array<const char*, kXChannelCount> kXItems = {
    "Time", "Distance", "RPM/100", "Speed", "Gear", "Brake %", "Oil Pressure", "Oil Temp", "Water Temp",
    "Fuel %", "Battery Volts", "Lap Number", "Lap Time"};

}  // namespace

const std::array<ChannelInfo, kChannelCount>& channel_catalogue() { return kCatalogue; }

const ChannelInfo& channel_info(Channel c) { return kCatalogue[static_cast<std::size_t>(index_of(c))]; }

const std::array<const char*, kXChannelCount>& x_channel_items() { return kXItems; }

XChannel x_channel_from_index(int index) {
  return index >= 0 && index < kXChannelCount ? static_cast<XChannel>(index) : XChannel::Time;
}

std::string speed_unit_text(const HeldUnits& units) { return units.speed_in_mph ? "(MPH)" : "(KMH)"; }
std::string pressure_unit_text(const HeldUnits& units) { return units.pressure_in_psi ? "(psi)" : "(Bar)"; }
std::string temp_unit_text(const HeldUnits& units) { return units.temp_in_degc ? "(degC)" : "(degF)"; }

}  // namespace kv::analysis
