#pragma once
// Builds raw log images packet by packet for the tests.
#include <cstdint>
#include <initializer_list>
#include <vector>

#include "logdata/log_state.h"

namespace kv::test {

class PacketBuilder {
 public:
  PacketBuilder& sample(std::uint16_t rpm, std::uint16_t speed, char gear, bool brake, std::uint8_t oil,
                        std::uint16_t lap_counts) {
    return raw({0x18, static_cast<std::uint8_t>(((speed >> 8) & 1) << 7 | ((rpm >> 8) & 0x7F)),
                static_cast<std::uint8_t>(rpm), static_cast<std::uint8_t>(speed),
                static_cast<std::uint8_t>((brake ? 0x80 : 0) | gear), oil, static_cast<std::uint8_t>(lap_counts >> 8),
                static_cast<std::uint8_t>(lap_counts)});
  }
  // A plain sample at a lap distance.
  PacketBuilder& at(std::uint16_t lap_counts) { return sample(5000, 100, '3', false, 40, lap_counts); }
  PacketBuilder& lap(std::uint8_t number, std::uint32_t ms, std::uint16_t counts = 1000) {
    return raw({0x28, number, static_cast<std::uint8_t>(ms >> 24), static_cast<std::uint8_t>(ms >> 16),
                static_cast<std::uint8_t>(ms >> 8), static_cast<std::uint8_t>(ms), static_cast<std::uint8_t>(counts >> 8),
                static_cast<std::uint8_t>(counts)});
  }
  PacketBuilder& splits(std::uint8_t signs, std::uint16_t s1, std::uint16_t s2, std::uint16_t s3) {
    return raw({0x38, signs, static_cast<std::uint8_t>(s1 >> 8), static_cast<std::uint8_t>(s1),
                static_cast<std::uint8_t>(s2 >> 8), static_cast<std::uint8_t>(s2), static_cast<std::uint8_t>(s3 >> 8),
                static_cast<std::uint8_t>(s3)});
  }
  PacketBuilder& slow(std::uint16_t oil, std::uint16_t water, std::uint8_t volts, std::uint8_t tenths,
                      std::uint8_t fuel) {
    return raw({0x48, static_cast<std::uint8_t>(oil >> 8), static_cast<std::uint8_t>(oil),
                static_cast<std::uint8_t>(water >> 8), static_cast<std::uint8_t>(water), volts, tenths, fuel});
  }
  PacketBuilder& raw(std::initializer_list<std::uint8_t> bytes) {
    bytes_.insert(bytes_.end(), bytes);
    return *this;
  }
  const std::vector<std::uint8_t>& bytes() const { return bytes_; }

  // Puts the image into the current dataset the way a download does.
  void load_into(LogState& log, std::uint16_t pulses_per_mile = 1609) const {
    log.current().raw_memory = bytes_;
    log.current().memory_valid = 1;
    log.current().used_bytes = static_cast<std::uint32_t>(bytes_.size());
    log.current().identity.pulses_per_mile = pulses_per_mile;
  }

 private:
  std::vector<std::uint8_t> bytes_;
};

}  // namespace kv::test
