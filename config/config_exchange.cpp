#include "config/config_exchange.h"

namespace kv::config {
namespace {

VersionObserver version_shown_in(ConfigForm& form) {
  return {[&form](std::uint8_t major, std::uint8_t minor) { form.show_version(major, minor); }};
}

}  // namespace

ReadResult get_config_data(ConfigForm& form, LinkProtocol& link, Ui& ui) {
  ConfigState& state = form.state();
  if (link.read_config(state.config_staging, state.config_image, ui, version_shown_in(form)) != LinkOutcome::Done) {
    return ReadResult::failed;
  }
  {
    const BusyCursor busy(ui);
    state.config_range_error = false;
    form.process_eeprom_data();
    form.check_form_data();
  }
  form.image_shown();
  if (state.config_range_error) {
    ui.information(exchange_text::kDownloadedCheck);
    return ReadResult::out_of_range;
  }
  ui.information(exchange_text::kDownloaded);
  return ReadResult::in_range;
}

bool set_config_data(ConfigForm& form, LinkProtocol& link, Ui& ui) {
  if (!form.full_check()) {
    ui.warning(exchange_text::kNotInRange);
    return false;
  }
  form.process_form_data();
  const ConfigState& state = form.state();
  return link.write_config(state.config_image, state.odometer_write_enabled, ui, version_shown_in(form)) ==
         LinkOutcome::Done;
}

}  // namespace kv::config
