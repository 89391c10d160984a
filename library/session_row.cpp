#include "library/session_row.h"

namespace kv::library {

const std::string& SessionRow::setup_field(int slot) const {
  static const std::string kEmpty;
  if (slot < 1 || slot > kSetupFieldsInRow) return kEmpty;
  return setup[static_cast<std::size_t>(slot - 1)];
}

bool same_content(const SessionRow& a, const SessionRow& b) {
  SessionRow left = a;
  left.id = b.id;
  return left == b;
}

}  // namespace kv::library
