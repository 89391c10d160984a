#include "chart/demo_traces.h"

#include <algorithm>
#include <cmath>
#include <random>

namespace kv::chart::demo {
namespace {

constexpr double kSampleTime = 0.1;
constexpr double kLapSeconds = 92.0;
constexpr double kPi = 3.14159265358979;

// Speed over the lap: five straights, each ending in a braking zone.
double lap_speed(double lap_phase) {
  const double corners = 5.0;
  const double x = std::fmod(lap_phase * corners, 1.0);
  const double accel = 1.0 - std::exp(-4.0 * x);
  const double braking = x > 0.85 ? (x - 0.85) / 0.15 : 0.0;
  return 55.0 + 120.0 * accel * (1.0 - 0.7 * braking);
}

// Shift points in km/h; the engine runs from 35 to 85 hundred rpm in each gear.
constexpr double kShift[] = {0, 45, 75, 105, 135, 160, 210};

int gear_for(double kmh) {
  int g = 1;
  while (g < 6 && kmh > kShift[g]) ++g;
  return g;
}

double rpm100_for(double kmh, int gear) {
  const double lo = kShift[gear - 1];
  const double hi = kShift[gear];
  return 35.0 + 50.0 * std::clamp((kmh - lo) / (hi - lo), 0.0, 1.0);
}

}  // namespace

Session make_session(int samples, std::uint32_t seed) {
  std::mt19937 rng(seed);
  std::normal_distribution<double> noise(0.0, 1.0);
  Session s;
  s.time.resize(static_cast<std::size_t>(samples));
  for (auto& c : s.channel) c.resize(static_cast<std::size_t>(samples));
  const double lap_scale = 1.0 + 0.02 * noise(rng);
  double prev_speed = 0;
  for (int i = 0; i < samples; ++i) {
    const std::size_t k = static_cast<std::size_t>(i);
    const double t = i * kSampleTime;
    const double lap_t = std::fmod(t, kLapSeconds * lap_scale);
    const double speed = lap_speed(lap_t / (kLapSeconds * lap_scale)) + 0.8 * noise(rng);
    const int gear = gear_for(speed);
    const double rpm100 = rpm100_for(speed, gear) + 0.4 * noise(rng);
    const double warm = 1.0 - std::exp(-t / 600.0);
    s.time[k] = t;
    s.channel[0][k] = rpm100;
    s.channel[1][k] = speed;
    s.channel[2][k] = 20 + rpm100 * 0.45 + 0.6 * noise(rng);
    s.channel[3][k] = 40 + 55 * warm + 0.3 * noise(rng);
    s.channel[4][k] = 35 + 50 * warm + 0.3 * noise(rng);
    s.channel[5][k] = 13.8 + 0.1 * std::sin(t * 2 * kPi / 7.0) + 0.05 * noise(rng);
    s.channel[6][k] = 10.0 * gear;
    s.channel[7][k] = std::max(0.0, 60 - t / 120.0);
    s.channel[8][k] = speed < prev_speed - 0.5 ? 100 : 0;
    s.channel[9][k] = std::floor(t / (kLapSeconds * lap_scale)) + 1;
    s.channel[10][k] = lap_t;
    prev_speed = speed;
  }
  return s;
}

}  // namespace kv::chart::demo
