#pragma once
// "Save Lap Stats": the per-lap statistics as a comma-separated file, one
// header line and one line per lap, "." as the decimal separator whatever the
// locale, lines ended by CR LF. Saved through the usual dialog pattern and
// written atomically.
#include <string>
#include <vector>

#include "analysis/lap_tools/lap_stats.h"
#include "logdata/dataset.h"
#include "ui/dialog_defaults.h"
#include "ui/ui.h"

namespace kv::lap_tools {

namespace lap_stats_text {
inline constexpr const char* kTitle = "Save Lap Stats";
inline constexpr const char* kFilter = "CSV Files (*.csv)";
inline constexpr const char* kExtension = ".csv";
}  // namespace lap_stats_text

// The header line (without its line end), captioned with the arrays' units.
std::string lap_stats_header(const HeldUnits& units);

// The whole file text. A lap without samples leaves its figures empty.
std::string lap_stats_csv(const std::vector<LapStatsRow>& rows, const HeldUnits& units);

// Asks for a file on `remembered` (the CSV kind's folder and name) and writes
// lap_stats_table(log) to it; reports "No Valid Data to Save" when no decoded
// set has a lap, and otherwise the pattern's messages, "File Saved OK" on
// success. True when the file was written.
bool save_lap_stats(const LogState& log, DialogDefault& remembered, Ui& ui);

}  // namespace kv::lap_tools
