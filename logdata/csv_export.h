#pragma once
// Writes one dataset as comma-separated text for spreadsheets: its notes, one
// row per sample with every channel, then the lap table.
#include <string>

#include "logdata/log_state.h"
#include "ui/dialog_defaults.h"
#include "ui/ui.h"

namespace kv {

namespace csv_text {
inline constexpr const char* kTitle = "Save Excel .csv Data";
inline constexpr const char* kFilter = "Comma Seperated Variable files (*.csv)";
inline constexpr const char* kExtension = ".csv";
inline constexpr const char* kLapHeader =
    "Korvtime(s),Lap,Lap Distance(m),Lap Time(s),Split 1 Time(s),Split 2 Time(s),Split 3 Time(s),Session,Start,Stop";
}  // namespace csv_text

// The sample table's header line, captioned with the units the arrays hold.
std::string csv_sample_header(const HeldUnits& units);

// The whole export text of a dataset, lines ended by CR LF, each column
// captioned with the units that dataset's arrays hold now.
std::string csv_export_text(const Dataset& data);

// Exports the current dataset to a file chosen in the save dialog; a dataset
// whose image is not saveable or not decoded is refused with "No Valid Data
// to Save". True when the file was written.
bool save_csv_data(LogState& log, DialogDefaults& defaults, Ui& ui);
bool save_csv_dataSetA(LogState& log, DialogDefaults& defaults, Ui& ui);
bool save_csv_dataSetB(LogState& log, DialogDefaults& defaults, Ui& ui);

}  // namespace kv
