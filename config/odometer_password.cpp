#include "config/odometer_password.h"

namespace kv::config {

void open_password(ConfigForm& form) { form.state().odometer_write_enabled = false; }

bool enter_password(ConfigForm& form, const std::string& typed, Ui& ui) {
  if (typed == kOdometerPassword) {
    form.state().odometer_write_enabled = true;
    form.set_odometer_read_only(false);
    ui.information(password_text::kEnabled);
    return true;
  }
  form.set_factory_set(false);
  ui.error(password_text::kIncorrect);
  return false;
}

void close_password(ConfigForm& form) {
  if (!form.state().odometer_write_enabled) form.set_factory_set(false);
}

}  // namespace kv::config
