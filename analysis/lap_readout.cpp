#include "analysis/lap_readout.h"

#include <algorithm>
#include <array>

#include "analysis/lap_tools/lap_ref.h"
#include "analysis/lap_tools/time_slip.h"
#include "analysis/plot_text.h"

namespace kv::analysis {
namespace {

constexpr int kValueDecimals = 1;
constexpr int kLapTimeDecimals = 2;
constexpr double kBrakePercent = 100;

// Short names that tell the two oil channels apart.
constexpr std::array<const char*, kChannelCount> kReadoutNames = {
    "RPM/100", "Speed", "Gear", "Brake %", "Oil P", "Oil T", "Water", "Fuel %", "Battery", "Lap", "Lap Time"};

const char* name_of(Channel c) { return kReadoutNames[static_cast<std::size_t>(index_of(c))]; }

// Gear, brake and lap number change in steps: a value between two samples
// ("gear 3.5") was never true, so they read the nearer sample instead.
bool changes_in_steps(Channel c) { return c == Channel::Gear || c == Channel::Brake || c == Channel::LapNumber; }

double value_between(Channel c, double y0, double y1, double t) {
  if (changes_in_steps(c)) return t < 0.5 ? y0 : y1;
  return y0 + t * (y1 - y0);
}

std::string value_text(Channel c, double value) {
  return fixed_text(value, c == Channel::LapTime ? kLapTimeDecimals : kValueDecimals);
}

std::string signed_text(double value, int decimals) {
  const std::string text = fixed_text(value, decimals);
  return text.front() == '-' ? text : "+" + text;
}

std::string slip_value_text(const LapReading& at) {
  if (at.reference) return "ref";
  return at.slip ? signed_text(*at.slip, kLapTimeDecimals) : "-";
}

std::string slip_part(const LapReading& at) {
  if (at.reference) return "Slip ref";
  return at.slip ? lap_tools::slip_text(*at.slip) : std::string();
}

}  // namespace

ChannelValues lap_values_at(const LogState& log, const PlotState& plot, const LapSelection& lap, double x) {
  ChannelValues values;
  const Dataset& data = log.dataset(lap.set_letter == "A" ? kDataSetA : kDataSetB);
  const SampleSpan span = lap_span(log, plot, lap);
  const long first = std::max(span.first, 1L);
  const long last = std::min(span.last, lap_tools::sample_total(data));
  const TVector& xs = data.ch_work;
  for (long k = first; k <= last; ++k) {
    const double x1 = xs.get(k) - span.x_offset;
    const bool exact = x1 == x;
    const double x0 = k > first ? xs.get(k - 1) - span.x_offset : x1;
    if (!exact && !(k > first && x0 <= x && x <= x1)) continue;
    const double t = exact || x1 == x0 ? 1.0 : (x - x0) / (x1 - x0);
    for (const ChannelInfo& info : channel_catalogue()) {
      if (!plot.settings.channel_shown[static_cast<std::size_t>(index_of(info.id))]) continue;
      const TVector& ys = data.*info.array;
      const double y0 = exact ? ys.get(k) : ys.get(k - 1);
      const double y = value_between(info.id, y0, ys.get(k), t);
      values.emplace_back(info.id, info.id == Channel::Brake ? y * kBrakePercent : y);
    }
    return values;
  }
  return values;
}

std::vector<LapReading> lap_readings(const LogState& log, const PlotState& plot, const std::vector<OverlaidLap>& laps,
                                     const OverlaySlips& slips, double x) {
  std::vector<LapReading> readings;
  for (std::size_t i = 0; i < laps.size(); ++i) {
    LapReading at{laps[i].name, {}, std::nullopt, slips.reference == i};
    if (laps[i].drawn()) at.values = lap_values_at(log, plot, laps[i].lap, x);
    if (const LapSlipCurve* c = slip_curve_of(slips, i)) at.slip = lap_tools::slip_at(c->curve, x);
    readings.push_back(std::move(at));
  }
  return readings;
}

std::vector<std::string> overlay_readout_lines(const LogState& log, const PlotState& plot,
                                               const std::vector<OverlaidLap>& laps, const OverlaySlips& slips,
                                               double x) {
  std::vector<std::string> lines;
  if (plot.settings.plot_mode != PlotMode::LapOverlay) return lines;
  if (plot.settings.x_channel == XChannel::Distance) {
    for (const LapReading& at : lap_readings(log, plot, laps, slips, x)) lines.push_back(reading_line(at));
  } else if (plot.settings.x_channel == XChannel::Time) {
    for (const OverlaidLap& lap : laps) {
      if (lap.added) lines.push_back(extra_lap_readout_line(lap));
    }
  }
  return lines;
}

std::string reading_line(const LapReading& at) {
  if (at.values.empty()) return at.name + ": -";
  std::string line = at.name + ":";
  const char* gap = " ";
  for (const auto& [channel, value] : at.values) {
    line += gap + std::string(name_of(channel)) + " " + value_text(channel, value);
    gap = "  ";
  }
  const std::string slip = slip_part(at);
  return slip.empty() ? line : line + gap + slip;
}

std::string marker_reading_line(const LapReading& at1, const LapReading& at2) {
  std::string line = at1.name;
  const bool both = !at1.values.empty() && at1.values.size() == at2.values.size();
  for (std::size_t i = 0; i < std::max(at1.values.size(), at2.values.size()); ++i) {
    const auto& [channel, v1] = i < at1.values.size() ? at1.values[i] : at2.values[i];
    const std::string t1 = i < at1.values.size() ? value_text(channel, v1) : "-";
    const std::string t2 = i < at2.values.size() ? value_text(channel, at2.values[i].second) : "-";
    const std::string diff = both ? value_text(channel, v1 - at2.values[i].second) : "-";
    line += std::string("  ") + name_of(channel) + " " + t1 + " / " + t2 + " / " + diff;
  }
  line += "  Slip " + slip_value_text(at1) + " / " + slip_value_text(at2);
  if (at1.slip && at2.slip && !at1.reference) line += " / " + signed_text(*at1.slip - *at2.slip, kLapTimeDecimals);
  return line;
}

}  // namespace kv::analysis
