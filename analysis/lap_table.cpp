#include "analysis/lap_table.h"

#include <cmath>

#include "analysis/plot_text.h"

namespace kv::analysis {
namespace {

constexpr int kTimeDecimals = 2;
constexpr int kDistanceDecimals = 1;
constexpr int kSpeedDecimals = 2;
constexpr std::size_t kAverageColumn = 7;

LapRow heading_row(bool mph) {
  return {"Session", "Lap", "Lap Time (s)", "Split 1 (s)", "Split 2 (s)", "Split 3 (s)", "Distance (m)",
          mph ? "Avg MPH" : "Avg KMH"};
}

LapRow end_log_row(std::uint8_t session) { return {"End Log" + std::to_string(session)}; }

LapRow lap_row(const LapRecord& r, float average) {
  LapRow row{std::to_string(r.session), std::to_string(r.lap), fixed_text(r.lap_time, kTimeDecimals)};
  for (std::size_t k = 0; k < r.split.size(); ++k) row[3 + k] = fixed_text(r.split[k], kTimeDecimals);
  row[6] = fixed_text(r.lap_distance, kDistanceDecimals);
  row[kAverageColumn] = fixed_text(average, kSpeedDecimals);
  return row;
}

bool usable_time(float t) { return std::isfinite(t) && t > 0; }

}  // namespace

std::optional<float> average_speed(float lap_distance, float lap_time, bool mph) {
  if (lap_time == 0 || !std::isfinite(lap_time)) return std::nullopt;
  constexpr long double kKmhPerMps = 3600.0L / 1000.0L;
  constexpr long double kMphPerKmh = 5.0L / 8.0L;
  long double speed = static_cast<long double>(lap_distance) / static_cast<long double>(lap_time) * kKmhPerMps;
  if (mph) speed *= kMphPerKmh;
  return static_cast<float>(speed);
}

bool faster_lap(float candidate, float best) {
  if (!usable_time(candidate)) return false;
  return !usable_time(best) || candidate < best;
}

LapTableView lap_table_view(const Dataset& data, bool mph) {
  LapTableView view;
  view.unit = mph ? "MPH" : "KMH";
  view.rows.push_back(heading_row(mph));
  const std::size_t n = std::min(static_cast<std::size_t>(std::max(data.lap_count(), 0L)), data.lap_table.size());
  if (n == 0) return view;
  view.rows.reserve(n + 4);
  std::uint8_t session = data.lap_table.front().session;
  for (std::size_t i = 0; i < n; ++i) {
    const LapRecord& r = data.lap_table[i];
    if (r.session != session) {
      view.rows.push_back(end_log_row(session));
      session = r.session;
    }
    const std::optional<float> average = average_speed(r.lap_distance, r.lap_time, mph);
    if (!average) ++view.bad_time_laps;
    view.rows.push_back(lap_row(r, average.value_or(0.0f)));
    const FastestLap lap{r.lap, r.session, r.lap_time, average.value_or(0.0f)};
    if (!view.fastest || faster_lap(r.lap_time, view.fastest->lap_time)) view.fastest = lap;
  }
  view.rows.push_back(end_log_row(session));
  return view;
}

LapTableView build_lap_table(const Dataset& data, bool mph, Ui& ui) {
  LapTableView view = lap_table_view(data, mph);
  for (int i = 0; i < view.bad_time_laps; ++i) ui.warning(kBadLapTime);
  return view;
}

std::array<std::string, 4> fastest_lap_texts(const FastestLap& fastest) {
  return {std::to_string(fastest.lap), std::to_string(fastest.session), fixed_text(fastest.lap_time, kTimeDecimals),
          fixed_text(fastest.average, kSpeedDecimals)};
}

std::string lap_group_caption(std::uint8_t data_set, const std::string& source) {
  return std::string(data_set == kDataSetA ? "Data A Lap Times: " : "Data B Lap Times: ") + source;
}

}  // namespace kv::analysis
