#pragma once
// The instrument's identity and recorded units: one copy for both datasets,
// written by a download ('x' and 'q' replies) and by a log file load.
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

  // The units of the channel arrays. Set from the flag bytes by a download or
  // load; the plot window's unit switches change them after converting.
  bool speed_in_mph = false;
  bool pressure_in_psi = false;
  bool temp_in_degc = false;

  void set_flags(std::uint8_t flags1, std::uint8_t flags2) {
    unit_flags1 = flags1;
    unit_flags2 = flags2;
    speed_in_mph = (flags1 & 0x80) != 0;
    pressure_in_psi = (flags2 & 0x02) != 0;
    temp_in_degc = (flags2 & 0x01) != 0;
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
