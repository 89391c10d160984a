#include "logdata/dataset.h"

namespace kv {

const std::string& SetupSheet::field(int slot) const {
  static const std::string empty;
  if (slot < 1 || slot > kSetupSlots) return empty;
  return setup_fields[static_cast<std::size_t>(slot)];
}

void SetupSheet::set_field(int slot, std::string text) {
  if (slot < 1 || slot > kSetupSlots) return;
  setup_fields[static_cast<std::size_t>(slot)] = std::move(text);
}

}  // namespace kv
