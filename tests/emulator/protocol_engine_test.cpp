#include <gtest/gtest.h>

#include "emulator/protocol_engine.h"

namespace kv::emu {
namespace {

std::vector<std::uint8_t> feed(ProtocolEngine& engine, Instrument& unit, Traffic& traffic,
                               std::initializer_list<std::uint8_t> bytes) {
  std::vector<std::uint8_t> out;
  for (auto b : bytes) {
    auto reply = engine.on_byte(b, unit, traffic);
    out.insert(out.end(), reply.begin(), reply.end());
  }
  return out;
}

TEST(ProtocolEngine, PagesCarryLeadBytesDataAndChecksum) {
  Instrument unit;
  unit.memory.data.assign(300, 0x01);
  unit.memory.lead_bytes[1] = {0xAA, 0x55};
  ProtocolEngine engine;
  Traffic traffic;
  const auto first = feed(engine, unit, traffic, {'c'});
  ASSERT_EQ(first.size(), 259u);
  EXPECT_EQ(first[0], 0);
  EXPECT_EQ(first[1], 0);
  EXPECT_EQ(first[258], 0);  // 256 ones wrap to 0
  const auto second = feed(engine, unit, traffic, {'n'});
  EXPECT_EQ(second[0], 0xAA);
  EXPECT_EQ(second[2], 0x01);   // byte 256 of the memory
  EXPECT_EQ(second[100], 0xFF); // past the data: erased
  std::uint8_t sum = 0;
  for (std::size_t i = 0; i < 258; ++i) sum = static_cast<std::uint8_t>(sum + second[i]);
  EXPECT_EQ(second[258], sum);
}

TEST(ProtocolEngine, ConfigurationReadAndWrite) {
  Instrument unit;
  ProtocolEngine engine;
  Traffic traffic;
  EXPECT_EQ(feed(engine, unit, traffic, {'w', 210, 0x5A}), std::vector<std::uint8_t>{0});
  EXPECT_EQ(feed(engine, unit, traffic, {'r', 210}), std::vector<std::uint8_t>{0x5A});
  EXPECT_EQ(unit.config[6], 0x5A);
  unit.faults.nack_address = 211;
  EXPECT_EQ(feed(engine, unit, traffic, {'w', 211, 1}), std::vector<std::uint8_t>{1});
  EXPECT_EQ(unit.config[7], 0);
  EXPECT_EQ(feed(engine, unit, traffic, {'r', 100}), std::vector<std::uint8_t>{0xFF});
}

TEST(ProtocolEngine, IdentityAndStatusAreHighByteFirst) {
  Instrument unit;
  unit.version_minor = 21;
  unit.pulses_per_mile = 0x0102;
  unit.memory.total_pages = 0x0800;
  unit.memory.used_pages = 0x0003;
  unit.memory.tail_count = 0x0064;
  ProtocolEngine engine;
  Traffic traffic;
  EXPECT_EQ(feed(engine, unit, traffic, {'x'}), (std::vector<std::uint8_t>{3, 21, 1, 2, 0, 1}));
  EXPECT_EQ(feed(engine, unit, traffic, {'s'}), (std::vector<std::uint8_t>{8, 0, 0, 3, 0, 100}));
}

}  // namespace
}  // namespace kv::emu
