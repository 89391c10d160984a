#include <gtest/gtest.h>

#include <unistd.h>

#include "link/port_path.h"
#include "link/serial_state.h"
#include "tests/support/emulator_fixture.h"
#include "ui/scripted_ui.h"

namespace kv {
namespace {

TEST(SerialPort, OpeningBuildsTheControlTextAndPortName) {
  test::EmulatorFixture instrument({}, 3);
  SerialState serial;
  ScriptedUi ui;
  ASSERT_TRUE(select_port(serial, 2, ui));
  EXPECT_EQ(serial.port_open, 1);
  EXPECT_EQ(serial.selected_port, 3);
  EXPECT_EQ(serial.serial_port.device_control_text(), "COM3: baud=115200 parity=N data=8 stop=1 xon=off TO=ON");
  EXPECT_EQ(serial.serial_port.port_name(), "COM3:");
  EXPECT_TRUE(ui.messages().empty());
}

TEST(SerialPort, ReadWithNothingSentTimesOutWithZero) {
  test::EmulatorFixture instrument;
  SerialState serial;
  ScriptedUi ui;
  ASSERT_TRUE(instrument.open(serial, ui));
  EXPECT_EQ(serial.serial_port.read_byte_timed(), std::nullopt);
  EXPECT_EQ(serial.serial_port.read_byte(), 0);
}

TEST(SerialPort, NeverOpenedPortReadsZero) {
  TSerialPort port;
  EXPECT_EQ(port.read_byte(), 0);
  port.write_byte('p');  // not detected, must not crash
}

TEST(SerialPort, ReceivedZeroIsToldApartFromTimeOut) {
  emu::Instrument unit;
  unit.config[10] = 0x00;
  test::EmulatorFixture instrument(unit);
  SerialState serial;
  ScriptedUi ui;
  ASSERT_TRUE(instrument.open(serial, ui));
  serial.serial_port.write_byte('r');
  serial.serial_port.write_byte(214);
  EXPECT_EQ(serial.serial_port.read_byte_timed(), std::optional<std::uint8_t>(0));
}

TEST(SelectPort, UnopenablePortWarnsAndFallsBackToOne) {
  test::EmulatorFixture instrument({}, 1);  // gives a private link folder with COM1 only
  SerialState serial;
  ScriptedUi ui;
  // COM3 has no link and, in a test sandbox, no /dev/ttyUSB2 or similar.
  if (port_device_path(3).find("korvanta") == std::string::npos && ::access(port_device_path(3).c_str(), F_OK) == 0) {
    GTEST_SKIP() << "this machine has a real serial device for COM3";
  }
  EXPECT_FALSE(select_port(serial, 2, ui));
  EXPECT_EQ(serial.port_open, 0);
  EXPECT_EQ(serial.selected_port, 1);
  ASSERT_EQ(ui.messages().size(), 1u);
  EXPECT_EQ(ui.messages()[0].text, "Cannot Open COM Port 3");
  EXPECT_EQ(ui.messages()[0].kind, MsgKind::Warning);
  EXPECT_EQ(ui.messages()[0].buttons, kOk);
}

TEST(SelectPort, ItemIndexMapsToPortNumber) {
  test::EmulatorFixture instrument({}, 1);
  SerialState serial;
  ScriptedUi ui;
  EXPECT_TRUE(select_port(serial, -1, ui));  // no selection opens COM 1
  EXPECT_EQ(serial.selected_port, 1);
  EXPECT_TRUE(select_port(serial, 0, ui));  // reopening the same port works
  EXPECT_EQ(serial.port_open, 1);
}

}  // namespace
}  // namespace kv
