#pragma once
// What the instrument says of itself: its version and calibration ('x'
// reply), its unit word ('q') and its memory figures ('s'). Each log keeps the
// identity of the instrument that recorded it.
#include <cstdint>

namespace kv {

constexpr std::uint16_t kMinUnitVersion = 319;
constexpr std::uint16_t kMaxUnitVersionExclusive = 330;

constexpr bool version_accepted(std::uint16_t version) {
  return version >= kMinUnitVersion && version < kMaxUnitVersionExclusive;
}

struct UnitIdentity {
  std::uint16_t unit_version = 0;   // major * 100 + minor
  std::uint16_t pulses_per_mile = 0;
  std::uint8_t unit_flags1 = 0;     // bit 7: speeds in mph; low bits as config offset 50
  std::uint8_t unit_flags2 = 0;     // bit 1: pressure in psi; bit 0: temperatures in degC
  std::uint16_t unit_word = 0;      // the 'q' reply, only carried into the log file

  // The units the instrument recorded in.
  bool speed_in_mph() const { return (unit_flags1 & 0x80) != 0; }
  bool pressure_in_psi() const { return (unit_flags2 & 0x02) != 0; }
  bool temp_in_degc() const { return (unit_flags2 & 0x01) != 0; }

  void set_flags(std::uint8_t flags1, std::uint8_t flags2) {
    unit_flags1 = flags1;
    unit_flags2 = flags2;
  }

  bool operator==(const UnitIdentity&) const = default;
};

// Figures from the 's' reply, shown by the download window.
struct MemoryStatus {
  std::uint16_t total_pages = 0;
  std::uint16_t used_pages = 0;
  std::uint16_t tail_count = 0;
  std::uint8_t memory_size_mbit = 0;
  double percent_used = 0.0;

  bool operator==(const MemoryStatus&) const = default;
};

}  // namespace kv
