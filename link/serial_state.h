#pragma once
// The program-wide serial port and its flags, with the protocol bound to it.
#include <cstdint>

#include "link/protocol.h"
#include "link/protocol_log.h"
#include "link/serial_port.h"

namespace kv {

struct SerialState {
  TSerialPort serial_port;
  std::uint8_t port_open = 0;
  std::uint8_t selected_port = 0;  // 1-4 once chosen
  ProtocolLog protocol_log;        // off until given a file
  LinkProtocol link{serial_port, port_open, &protocol_log};
};

// The handler behind both "Serial Port" radio groups: maps the item index to a
// port (1 -> COM2, 2 -> COM3, 3 -> COM4, anything else -> COM1), closes and
// reopens. Returns false after reporting "Cannot Open COM Port %d"; the caller
// then clears its radio group.
bool select_port(SerialState& serial, int item_index, Ui& ui);

}  // namespace kv
