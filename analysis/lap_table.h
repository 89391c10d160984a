#pragma once
// The "Lap Times" page: one grid per dataset with a row per lap record,
// an "End Log" row closing each logging session, and the fastest lap.
#include <array>
#include <cstdint>
#include <optional>
#include <string>
#include <vector>

#include "logdata/dataset.h"
#include "logdata/log_state.h"
#include "ui/ui.h"

namespace kv::analysis {

inline constexpr int kLapColumns = 8;
using LapRow = std::array<std::string, kLapColumns>;

inline constexpr const char* kBadLapTime = "Bad Lap Time Data";

struct FastestLap {
  std::uint8_t lap = 0;
  std::uint8_t session = 0;
  float lap_time = 0;
  float average = 0;  // in the recorded speed unit
};

struct LapTableView {
  std::vector<LapRow> rows;  // row 0 holds the headings
  std::optional<FastestLap> fastest;
  const char* unit = "KMH";  // beside the fastest lap's average
  int bad_time_laps = 0;     // laps whose average could not be computed (shown as 0)
};

// Average speed of a lap, km/h or (mph) x 5/8; nothing when the lap time
// gives no quotient (0, or not a number).
std::optional<float> average_speed(float lap_distance, float lap_time, bool mph);

// A lap with a usable time (above 0) beats one without; among usable times
// only a strictly lower one wins, so a tie keeps the earlier lap.
bool faster_lap(float candidate, float best);

// The grid of one dataset. Sessions need not count 1, 2, 3: rows are counted
// as written. A lap row is one whose "Lap" column is not empty.
LapTableView lap_table_view(const Dataset& data, bool mph);

// The same, warning "Bad Lap Time Data" once per lap without an average.
LapTableView build_lap_table(const Dataset& data, bool mph, Ui& ui);

// Lap "%d", session "%d", time "%.2f", average "%.2f".
std::array<std::string, 4> fastest_lap_texts(const FastestLap& fastest);

// "Data A Lap Times: " (or B) and the dataset's legend source text.
std::string lap_group_caption(std::uint8_t data_set, const std::string& source);

}  // namespace kv::analysis
