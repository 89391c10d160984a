#pragma once
// An emulated instrument on COM n of a private link folder (each test program
// gets its own XDG_RUNTIME_DIR, so parallel tests never share a port).
#include <memory>

#include "emulator/emulator.h"
#include "link/serial_state.h"
#include "tests/support/temp_dir.h"
#include "ui/ui.h"

namespace kv::test {

constexpr int kTestReadTimeoutMs = 200;

class EmulatorFixture {
 public:
  explicit EmulatorFixture(emu::Instrument instrument = {}, int port_number = 1);
  ~EmulatorFixture();

  emu::Emulator& emulator() { return *emulator_; }
  int port_number() const { return port_number_; }

  // Opens the program's port on the emulator the way the radio group does
  // (select_port with the matching item index), with the tests' longer read
  // time-out. True when port_open is 1.
  bool open(SerialState& serial, Ui& ui) const;

 private:
  TempDir runtime_dir_;
  int port_number_;
  std::unique_ptr<emu::Emulator> emulator_;
};

}  // namespace kv::test
