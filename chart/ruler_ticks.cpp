#include "chart/ruler_ticks.h"

#include <algorithm>
#include <array>
#include <charconv>
#include <cmath>
#include <cstdlib>

namespace kv::chart {
namespace {

constexpr double kNearInteger = 1e-10;
constexpr double kStepSlack = 0.001;  // of a step, past either end
constexpr int kMaxTicksPerKind = 1000;
constexpr double kScientificHigh = 1'000'000;
constexpr double kScientificLow = 0.0001;
constexpr double kNoDecimalsSpan = 100;
constexpr int kScientificDigits = 3;
constexpr std::size_t kMaxLabelChars = 14;
constexpr double kZeroFraction = 1e-14;

bool within_range(double t, double low, double high, double step) {
  const double slack = std::abs(step) * kStepSlack;
  const double sign = step > 0 ? 1.0 : -1.0;
  return sign * (t - high) <= slack && sign * (low - t) <= slack;
}

}  // namespace

RulerTicks compute_ticks(double low, double high, int min_ticks, bool short_ticks) {
  RulerTicks r;
  compute_ticks(low, high, min_ticks, short_ticks, r);
  return r;
}

void compute_ticks(double low, double high, int min_ticks, bool short_ticks, RulerTicks& r) {
  r.step = 0;
  r.minor_intervals = 0;
  r.major.clear();
  r.minor.clear();
  if (!std::isfinite(low) || !std::isfinite(high)) return;
  const double span = std::abs(high - low);
  if (span == 0.0) {
    r.major.push_back(low);
    return;
  }
  double d = std::log10(span / std::max(min_ticks, 1));
  double e = d - std::floor(d);
  if (e < kNearInteger || e > 1.0 - kNearInteger) {
    d = std::round(d);
    e = 0;
  }
  const double unit = std::pow(10.0, std::floor(d));
  if (e < std::log10(2.0) + kNearInteger) {
    r.step = unit;
    r.minor_intervals = 5;
  } else if (e < std::log10(5.0) + kNearInteger) {
    r.step = 2 * unit;
    r.minor_intervals = 4;
  } else {
    r.step = 5 * unit;
    r.minor_intervals = 5;
  }
  if (high < low) r.step = -r.step;
  const double step = r.step;
  const double sign = step > 0 ? 1.0 : -1.0;
  double t0 = (std::floor(low / step) - 1) * step;
  for (int guard = 0; std::abs(step) * kStepSlack < sign * (low - t0) && guard < kMaxTicksPerKind; ++guard) t0 += step;
  for (int k = 0; k < kMaxTicksPerKind; ++k) {
    const double t = t0 + k * step;
    if (sign * (t - high) > std::abs(step) * kStepSlack) break;
    r.major.push_back(t);
  }
  if (!short_ticks) return;
  const double minor_step = step / r.minor_intervals;
  const double m0 = t0 - step;
  for (int k = 0; k < kMaxTicksPerKind; ++k) {
    const double t = m0 + k * minor_step;
    if (sign * (t - high) > std::abs(step) * kStepSlack) break;
    if (k % r.minor_intervals != 0 && within_range(t, low, high, step)) r.minor.push_back(t);
  }
}

std::vector<double> recorded_ticks(const RulerTicks& ticks) {
  std::vector<double> out;
  recorded_ticks(ticks, out);
  return out;
}

void recorded_ticks(const RulerTicks& ticks, std::vector<double>& out) {
  out.assign(ticks.major.begin(), ticks.major.end());
  out.insert(out.end(), ticks.minor.begin(), ticks.minor.end());
  if (out.size() > static_cast<std::size_t>(kMaxRecordedTicks)) out.resize(kMaxRecordedTicks);
}

LabelFormat label_format(double span, int dec_places) {
  if (dec_places != kAutoDecimals) return {false, std::clamp(dec_places, 0, 15)};
  span = std::abs(span);
  if (span >= kScientificHigh || span <= kScientificLow) return {true, kScientificDigits};
  if (span >= kNoDecimalsSpan) return {false, 0};
  // nearbyint rounds halves to even under the default rounding mode.
  const int r = static_cast<int>(std::nearbyint(std::log(span) / 2.5));
  return {false, std::max(0, 2 - r)};
}

std::string format_tick(double value, double span, const LabelFormat& format) {
  if (!std::isfinite(value)) return {};
  if (std::abs(value) < kZeroFraction * std::abs(span)) value = 0.0;
  std::array<char, 64> buf{};
  const auto fmt = format.scientific ? std::chars_format::scientific : std::chars_format::fixed;
  auto [end, ec] = std::to_chars(buf.data(), buf.data() + buf.size(), value, fmt, format.decimals);
  if (ec != std::errc{}) return {};
  std::string text(buf.data(), end);
  if (text.rfind("-0", 0) == 0 && std::strtod(text.c_str(), nullptr) == 0.0) text.erase(0, 1);
  if (text.size() > kMaxLabelChars) text.resize(kMaxLabelChars);
  return text;
}

std::vector<double> spaced_positions(double low, double high, double spacing, int max_lines) {
  std::vector<double> out;
  spaced_positions(low, high, spacing, max_lines, out);
  return out;
}

void spaced_positions(double low, double high, double spacing, int max_lines, std::vector<double>& out) {
  out.clear();
  if (!(spacing > 0) || !std::isfinite(low) || !std::isfinite(high)) return;
  const double lo = std::min(low, high);
  const double hi = std::max(low, high);
  const double first = std::ceil(lo / spacing);
  for (int k = 0; k < max_lines; ++k) {
    const double t = (first + k) * spacing;
    if (t > hi) break;
    out.push_back(t);
  }
}

}  // namespace kv::chart
