#pragma once
#include <array>
#include <cstdint>

namespace kv {

struct LapRecord {
  double end_time = 0.0;        // s; time of the last lap-distance drop before the record
  std::uint8_t lap = 0;         // lap number as logged
  float lap_time = 0.0f;        // s, floored to 0.01 s
  float lap_distance = 0.0f;    // m
  std::uint8_t session = 0;     // 1 for the first record, +1 at every break in the lap count
  std::uint8_t split_signs = 0; // bit k-1 set: split k is positive
  std::array<float, 3> split{}; // s, floored to 0.01 s; negative when the sign bit is clear

  bool operator==(const LapRecord&) const = default;
};

}  // namespace kv
