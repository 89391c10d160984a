#pragma once
// The odometer may be overwritten only after the factory password: the
// "Odometer Password" dialog's three events, without the dialog.
#include <string>

#include "config/config_form.h"
#include "ui/ui.h"

namespace kv::config {

inline constexpr const char* kOdometerPassword = "tarnip";
inline constexpr int kPasswordMaxLength = 8;

namespace password_text {
inline constexpr const char* kEnabled = "Korvanta Odometer Overwrite Enabled";
inline constexpr const char* kIncorrect = "Incorrect Password";
}  // namespace password_text

// The dialog is activated: any earlier permission lapses.
void open_password(ConfigForm& form);
// "Enter": compares exactly and case-sensitively. True when accepted.
bool enter_password(ConfigForm& form, const std::string& typed, Ui& ui);
// The dialog closes by any means: without the permission "Factory Set" is
// unticked and the odometer is read-only again.
void close_password(ConfigForm& form);

}  // namespace kv::config
