#include "config/config_file.h"

#include <cstdio>

#include "common/atomic_file.h"
#include "common/file_dialog_flow.h"
#include "common/text_lines.h"
#include "link/byte_helpers.h"

namespace kv::config {
namespace {

SaveDialogTexts save_texts() {
  return {file_text::kSaveTitle, file_text::kFilter,  file_text::kExtension, file_text::kSaveCancelled,
          file_text::kInvalidName, file_text::kNotSaved, MsgKind::Warning};
}

OpenDialogTexts open_texts() {
  return {file_text::kLoadTitle,   file_text::kFilter,  file_text::kExtension,
          file_text::kNoDataLoaded, file_text::kIllegalName, file_text::kMissing, MsgKind::Warning};
}

}  // namespace

std::string config_file_line(std::uint8_t value) {
  char text[8];
  std::snprintf(text, sizeof text, "%.2X", value);
  return std::string(text) + kLineEnd;
}

std::size_t read_config_lines(const std::string& text, ConfigBytes& staging, Ui& ui) {
  std::vector<std::string> lines = split_lines(text);
  for (std::size_t i = 0; i < lines.size(); ++i) {
    ui.pump();
    const std::uint8_t value = take_hex_byte(lines[i]);
    if (i < staging.size()) staging[i] = value;
  }
  return lines.size();
}

bool save_config_data(ConfigForm& form, DialogDefault& remembered, Ui& ui) {
  if (!form.full_check()) {
    ui.information(file_text::kNotInRange);
    return false;
  }
  form.process_form_data();
  const auto chosen = ask_save_file(ui, remembered, save_texts());
  if (!chosen) return false;
  AtomicFile file(chosen->path);
  if (!file.open()) {
    ui.warning(file_text::kAlreadyOpen);
    return false;
  }
  // The dialog proposes the name as the person gave it, not with the
  // extension the save appended.
  remember_path(remembered, chosen->as_chosen);
  for (const std::uint8_t value : form.state().config_image) {
    ui.pump();
    file.write(config_file_line(value));
  }
  if (!file.commit()) {
    ui.error(file_text::kWriteFailed);
    return false;
  }
  ui.information(file_text::kSaved);
  return true;
}

bool load_config_text(ConfigForm& form, const std::string& text, Ui& ui) {
  form.clear_version();
  ConfigState& state = form.state();
  if (read_config_lines(text, state.config_staging, ui) != kConfigBytes) {
    ui.warning(file_text::kDataProblem);
    return false;
  }
  state.config_image = state.config_staging;
  state.config_range_error = false;
  form.process_eeprom_data();
  form.check_form_data();
  form.image_shown();
  ui.information(state.config_range_error ? file_text::kLoadedCheck : file_text::kLoaded);
  return true;
}

bool load_config_data(ConfigForm& form, DialogDefault& remembered, Ui& ui) {
  const auto chosen = ask_open_file(ui, remembered, open_texts());
  if (!chosen) return false;
  const auto text = read_whole_file(chosen->path);
  if (!text) {
    ui.warning(file_text::kOpenProblem);
    return false;
  }
  if (!load_config_text(form, *text, ui)) return false;
  remember_path(remembered, chosen->as_chosen);
  return true;
}

}  // namespace kv::config
