#include <cstdio>

#include "link/serial_state.h"

namespace kv {

bool select_port(SerialState& serial, int item_index, Ui& ui) {
  constexpr int kItemsAfterFirst = 3;
  const int port = (item_index >= 1 && item_index <= kItemsAfterFirst) ? item_index + 1 : 1;
  serial.selected_port = static_cast<std::uint8_t>(port);
  serial.serial_port.close_port();
  serial.port_open = serial.serial_port.open_port(port) ? 1 : 0;
  // Said before any outcome: the person should know a planted port was refused.
  if (const auto& warning = serial.serial_port.path_warning(); !warning.empty()) {
    ui.message(MsgKind::Warning, warning, kOk);
  }
  if (serial.port_open != 0) return true;
  char text[64];
  std::snprintf(text, sizeof text, "Cannot Open COM Port %d", port);
  ui.message(MsgKind::Warning, text, kOk);
  serial.selected_port = 1;
  return false;
}

}  // namespace kv
