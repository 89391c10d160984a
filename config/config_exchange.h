#pragma once
// Read Config and Write Config: the configure window's two exchanges with
// the instrument, shared with the command-line tool.
#include "config/config_form.h"
#include "link/protocol.h"
#include "ui/ui.h"

namespace kv::config {

namespace exchange_text {
inline constexpr const char* kDownloaded = "Korvanta Config Downloaded OK";
inline constexpr const char* kDownloadedCheck = "Download OK, Check Data Ranges";
inline constexpr const char* kNotInRange = "Config Data not in Range, Cannot Upload";
}  // namespace exchange_text

enum class ReadResult { failed, in_range, out_of_range };

// Reads the 52 bytes into the staging buffer, then the image, shows them and
// checks every field. A refused exchange leaves the image untouched.
ReadResult get_config_data(ConfigForm& form, LinkProtocol& link, Ui& ui);

// Checks every field first and refuses while any is out of range; then
// rebuilds the image from the controls and writes it. True when the
// instrument accepted every byte.
bool set_config_data(ConfigForm& form, LinkProtocol& link, Ui& ui);

}  // namespace kv::config
