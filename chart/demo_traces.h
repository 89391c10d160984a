#pragma once
// Race-shaped traces for the chart demo, its tests and benchmarks: a logging
// session at 10 samples a second of laps with straights and corners, the
// eleven channels the plot window draws.
#include <array>
#include <cstdint>
#include <vector>

namespace kv::chart::demo {

inline constexpr int kChannels = 11;

struct Session {
  std::vector<double> time;
  // RPM/100, speed, oil pressure, oil temp, water, battery, gear x10,
  // fuel, brake x100, lap number, lap time.
  std::array<std::vector<double>, kChannels> channel;
};

Session make_session(int samples, std::uint32_t seed);

}  // namespace kv::chart::demo
