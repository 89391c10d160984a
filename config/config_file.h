#pragma once
// The configuration file (*.kvc): the 52 image bytes as two-digit upper-case
// hex lines ending in CR LF, offset 0 first. Nothing else: no header, no
// checksum.
#include <string>

#include "config/config_form.h"
#include "ui/dialog_defaults.h"
#include "ui/ui.h"

namespace kv::config {

namespace file_text {
inline constexpr const char* kSaveTitle = "Save Korvanta Config File";
inline constexpr const char* kLoadTitle = "Load Korvanta Config File";
inline constexpr const char* kFilter = "Korvanta Config (*.kvc)";
inline constexpr const char* kExtension = ".kvc";
inline constexpr const char* kNotInRange = "Config Data not in Range, Config Not Saved";
inline constexpr const char* kSaveCancelled = "Cancelled, Config Not Saved";
inline constexpr const char* kInvalidName = "Invalid Filename, Config Not Saved";
inline constexpr const char* kNotSaved = "Config Not Saved";
inline constexpr const char* kAlreadyOpen = "File Already Open, Config Not Saved";
inline constexpr const char* kWriteFailed = "Error Writing File, Config Not Saved";
inline constexpr const char* kSaved = "Config Saved OK";
inline constexpr const char* kNoDataLoaded = "No Data Loaded";
inline constexpr const char* kIllegalName = "Illegal Filename, No Data Loaded";
inline constexpr const char* kMissing = "Filename Does Not Exist, No Data Loaded";
inline constexpr const char* kOpenProblem = "Problem Opening File, No Data Loaded";
inline constexpr const char* kDataProblem = "Config Data Problem, No Data Loaded";
inline constexpr const char* kLoadedCheck = "Loaded OK, Check Data Ranges";
inline constexpr const char* kLoaded = "Config Loaded OK";
}  // namespace file_text

// One line per byte, CR LF after each, the last included.
std::string config_file_line(std::uint8_t value);

// Reads the file's lines into `staging` (lines past the 52nd are counted,
// not stored) and returns the number of lines. CR LF and LF alone both end
// a line; a last line without an ending counts.
std::size_t read_config_lines(const std::string& text, ConfigBytes& staging, Ui& ui);

// "Save Config": full check first, then the image from the controls, the
// dialog and the file. True when the file was written.
bool save_config_data(ConfigForm& form, DialogDefault& remembered, Ui& ui);

// The load once the file is read: the version fields are cleared, the
// lines go into the staging buffer, and only exactly 52 of them replace the
// image, which is then shown and checked. Ends with the load's message; true
// when the image was replaced.
bool load_config_text(ConfigForm& form, const std::string& text, Ui& ui);

// "Load Config": the dialog, the file, then load_config_text(). True when
// the image was replaced.
bool load_config_data(ConfigForm& form, DialogDefault& remembered, Ui& ui);

}  // namespace kv::config
