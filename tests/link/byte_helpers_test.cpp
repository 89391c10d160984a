#include <gtest/gtest.h>

#include <cstdlib>

#include "link/byte_helpers.h"
#include "link/port_path.h"
#include "link/serial_port.h"

namespace kv {
namespace {

TEST(TakeHexByte, TakesFieldsOffTheFrontAndRepeatsTheLast) {
  std::string line = "0A FF 1c";
  EXPECT_EQ(take_hex_byte(line), 10);
  EXPECT_EQ(take_hex_byte(line), 255);
  EXPECT_EQ(take_hex_byte(line), 28);
  EXPECT_EQ(line, "1c");
  EXPECT_EQ(take_hex_byte(line), 28);
}

TEST(TakeHexByte, ShortAndOddFields) {
  std::string one = "F";
  EXPECT_EQ(take_hex_byte(one), 0x0F);
  std::string padded = "F ";
  EXPECT_EQ(take_hex_byte(padded), 0xF0);  // the blank counts 0 in the low digit
  std::string lower = "ff";
  EXPECT_EQ(take_hex_byte(lower), 0xFF);
  std::string three = "0A7";
  EXPECT_EQ(take_hex_byte(three), 0x0A);
  EXPECT_EQ(three, "");
  std::string junk = "zz 01";
  EXPECT_EQ(take_hex_byte(junk), 0);
  std::string empty;
  EXPECT_EQ(take_hex_byte(empty), 0);
}

TEST(BitSet, TestsSingleBits) {
  EXPECT_TRUE(bit_set(0x05, 2));
  EXPECT_FALSE(bit_set(0x05, 1));
  EXPECT_TRUE(bit_set(0x80, 7));
  EXPECT_FALSE(bit_set(0xFF, 8));  // no such bit
  EXPECT_TRUE(bit_set_word(0x8000, 15));
  EXPECT_FALSE(bit_set_word(0x7FFF, 15));
}

TEST(DeviceControlText, MatchesTheFixedLineSettings) {
  EXPECT_EQ(build_device_control_text(3, 115200, false, 8, 1, false),
            "COM3: baud=115200 parity=N data=8 stop=1 xon=off TO=ON");
  EXPECT_EQ(build_device_control_text(5, 9600, true, 7, 2, true), " baud=9600 parity=Y data=7 stop=2 xon=on TO=ON");
}

TEST(PortPath, TriesTheEmulatorLinkThenTheUsualDevices) {
  ::setenv("XDG_RUNTIME_DIR", "/run/user/1000", 1);
  EXPECT_EQ(port_path_candidates(2), (std::vector<std::string>{"/run/user/1000/korvanta/COM2", "/dev/ttyUSB1",
                                                               "/dev/ttyACM1", "/dev/ttyS1"}));
  ::unsetenv("XDG_RUNTIME_DIR");
  EXPECT_EQ(port_path_candidates(1).front(), "/tmp/korvanta-" + std::to_string(::getuid()) + "/COM1");
}

}  // namespace
}  // namespace kv
