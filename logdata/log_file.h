#pragma once
// Saving and loading a dataset as a native log file (*.kvl), with the dialog
// pattern and messages every file kind follows.
#include <string>

#include "logdata/log_file_format.h"
#include "logdata/log_state.h"
#include "ui/dialog_defaults.h"
#include "ui/ui.h"

namespace kv {

namespace log_file_msg {
inline constexpr const char* kNoValidData = "No Valid Data to Save";
inline constexpr const char* kSaveTitle = "Save Korvanta Data";
inline constexpr const char* kLoadTitle = "Load Korvanta Data";
inline constexpr const char* kFilter = "Korvanta files (*.kvl)";
inline constexpr const char* kExtension = ".kvl";
inline constexpr const char* kSaveCancelled = "Cancelled, No Data Saved";
inline constexpr const char* kSaveInvalidName = "Invalid Filename, No Data Saved";
inline constexpr const char* kNotOverwritten = "No Data Saved";
inline constexpr const char* kAlreadyOpen = "File Already Open, No Data Saved";
// The file could be created but not completely written (a full disk); the
// previous file of that name is kept.
inline constexpr const char* kWriteFailed = "Problem Writing File, No Data Saved";
inline constexpr const char* kLoadCancelled = "No Data Loaded";
inline constexpr const char* kLoadInvalidName = "Invalid Filename, No Data Loaded";
inline constexpr const char* kMissing = "Filename Does Not Exist, No Data Loaded";
inline constexpr const char* kCannotOpen = "Problem Opening File, No Data Loaded";
inline constexpr const char* kIncompatible = "File not Compatible with Pelmorix Version, No Data Loaded";
inline constexpr const char* kFormatError = "File Format Error, No Data Loaded";
}  // namespace log_file_msg

inline constexpr const char* kNoDataName = "No Data";

// "Data Out of Range in File, No Data Loaded: %d"
std::string out_of_range_text(int line_number);

// The load's message for a file that failed the reader's checks.
std::string refusal_text(const LogFileRead& read);

// Writes the current dataset to a file chosen in the save dialog. In dump
// mode every packet line holds 8 bytes. True when the file was written.
bool save_log_data(LogState& log, DialogDefaults& defaults, Ui& ui, bool dump_mode = false);

// Reads a file chosen in the open dialog into the current dataset and decodes
// it. A file that is refused leaves the dataset exactly as it was. True when
// the file was loaded and decoded.
bool load_log_data(LogState& log, DialogDefaults& defaults, Ui& ui);

// The download window's per-dataset buttons: select the dataset, then save or
// load.
bool save_log_dataSetA(LogState& log, DialogDefaults& defaults, Ui& ui);
bool save_log_dataSetB(LogState& log, DialogDefaults& defaults, Ui& ui);
bool load_log_dataSetA(LogState& log, DialogDefaults& defaults, Ui& ui);
bool load_log_dataSetB(LogState& log, DialogDefaults& defaults, Ui& ui);

// What a dataset's name fields show: "Memory A"/"Memory B" after a download,
// the log file name after a load, "No Data" when it holds no usable decode.
const std::string& dataset_name_text(const Dataset& data);

// The CSV name a loaded log suggests: every ".kvl", in any letter case,
// replaced by ".csv".
std::string csv_name_for(const std::string& log_name);

}  // namespace kv
