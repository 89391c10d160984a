#include "tests/support/emulator_fixture.h"

#include <cstdlib>
#include <stdexcept>

namespace kv::test {

EmulatorFixture::EmulatorFixture(emu::Instrument instrument, int port_number) : port_number_(port_number) {
  ::setenv("XDG_RUNTIME_DIR", runtime_dir_.path().c_str(), 1);
  emulator_ = std::make_unique<emu::Emulator>(std::move(instrument));
  if (!emulator_->link_as_com(port_number)) throw std::runtime_error("cannot create the emulator's port");
  emulator_->start();
}

EmulatorFixture::~EmulatorFixture() { emulator_->stop(); }

bool EmulatorFixture::open(SerialState& serial, Ui& ui) const {
  // Radio item 0 is COM 1, item 1 COM 2, and so on.
  if (!select_port(serial, port_number_ - 1, ui)) return false;
  // A shared build machine can hold a thread off the processor for longer
  // than the program's 50 ms; the tests check what happens, not how fast.
  serial.serial_port.set_read_timeout_ms(kTestReadTimeoutMs);
  return true;
}

}  // namespace kv::test
