#pragma once
// Ruler ticks and their labels: a 1-2-5 step that gives at least MinTicks
// intervals over the range, minor ticks between, and the label text with a
// "." decimal point whatever the desktop's number settings.
#include <string>
#include <vector>

namespace kv::chart {

inline constexpr int kAutoDecimals = -2;
inline constexpr int kMaxRecordedTicks = 50;

struct RulerTicks {
  double step = 0;          // negative for a reversed range
  int minor_intervals = 0;  // per major step
  std::vector<double> major;
  std::vector<double> minor;
};

RulerTicks compute_ticks(double range_low, double range_high, int min_ticks, bool short_ticks);
// The same into `out`, whose lists keep their memory from picture to picture.
void compute_ticks(double range_low, double range_high, int min_ticks, bool short_ticks, RulerTicks& out);

// Tick positions that a grid with automatic spacing uses: the majors, then
// the minors, at most kMaxRecordedTicks.
std::vector<double> recorded_ticks(const RulerTicks& ticks);
void recorded_ticks(const RulerTicks& ticks, std::vector<double>& out);

struct LabelFormat {
  bool scientific = false;
  int decimals = 0;
};

LabelFormat label_format(double span, int dec_places);
std::string format_tick(double value, double span, const LabelFormat& format);

// Grid positions at every multiple of `spacing` between the range's ends,
// at most `max_lines`.
std::vector<double> spaced_positions(double range_low, double range_high, double spacing, int max_lines);
void spaced_positions(double range_low, double range_high, double spacing, int max_lines, std::vector<double>& out);

}  // namespace kv::chart
