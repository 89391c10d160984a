// The configuration file reader on an arbitrary file; whatever it accepts is
// shown, checked, rebuilt and saved as the configure window would, and the
// saved lines must read back as the same image.
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <string>

#include "config/config_file.h"
#include "ui/scripted_ui.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  kv::ScriptedUi ui;
  kv::ConfigState state;
  kv::config::ConfigForm form(state);
  const std::string text(reinterpret_cast<const char*>(data), size);
  if (!kv::config::load_config_text(form, text, ui)) return 0;
  form.full_check();
  form.process_form_data();
  std::string saved;
  for (const std::uint8_t value : state.config_image) saved += kv::config::config_file_line(value);
  kv::ConfigBytes again{};
  if (kv::config::read_config_lines(saved, again, ui) != kv::kConfigBytes || again != state.config_image) std::abort();
  return 0;
}
