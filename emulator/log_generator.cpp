#include "emulator/log_generator.h"

#include <algorithm>
#include <cmath>
#include <random>

namespace kv::emu {
namespace {

constexpr double kDt = 0.1;                 // s between samples
constexpr std::size_t kPacketBytes = 8;
constexpr std::size_t kLapPacketsBytes = 2 * kPacketBytes;  // lap record and its splits
constexpr double kMetresPerMile = 1609.0;
constexpr double kKmhPerMs = 3.6;
constexpr double kMphPerMs = 2.2369363;
constexpr double kTopSpeed = 58.0;          // m/s
constexpr double kLateralGrip = 11.5;       // m/s^2
constexpr double kBrakeDecel = 9.5;         // m/s^2
constexpr double kAccel = 6.5;              // m/s^2 from rest, falling with speed
constexpr double kBrakeLightDecel = 2.5;    // m/s^2 above which the driver is on the brake
constexpr int kIdleRpm = 950;
constexpr int kUpshiftRpm = 7200;
constexpr int kDownshiftRpm = 3600;
constexpr int kTopGear = 6;
// Engine rev/min per km/h in each gear (index 0 unused).
constexpr double kRpmPerKmh[kTopGear + 1] = {0, 118, 84, 64, 52, 44, 38};
constexpr int kStandingSamples = 30;        // idling before each session's first lap
constexpr int kSplits = 3;
constexpr std::uint16_t kMaxCounter = 0xFFFF;
constexpr double kMinCircuit = 400;         // m
constexpr double kMaxCircuit = 6000;        // m

using Bytes = std::vector<std::uint8_t>;

template <typename T>
T clamp_to(double value, double high) {
  return static_cast<T>(std::lround(std::clamp(value, 0.0, high)));
}

// The circuit as the best speed at each metre of a flying lap.
struct Circuit {
  std::vector<double> profile;
  double length() const { return static_cast<double>(profile.size()); }
  double speed_at(double d) const {
    const auto i = static_cast<std::size_t>(std::clamp(d, 0.0, length() - 1));
    return profile[i];
  }
};

// A straight and a corner at a time, until the circuit is long enough: the
// chosen length, or 6-10 corners.
std::vector<double> corner_limits(std::mt19937& rng, double wanted, double max_length) {
  std::uniform_real_distribution<double> straight(150, 700), radius(25, 150), arc(60, 220);
  const int corners = std::uniform_int_distribution<int>(6, 10)(rng);
  std::vector<double> limits;
  for (int c = 0; wanted > 0 ? static_cast<double>(limits.size()) < wanted : c < corners; ++c) {
    limits.insert(limits.end(), static_cast<std::size_t>(straight(rng)), kTopSpeed);
    const double corner_speed = std::min(kTopSpeed, std::sqrt(kLateralGrip * radius(rng)));
    limits.insert(limits.end(), static_cast<std::size_t>(arc(rng)), corner_speed);
  }
  const double length = std::min(wanted > 0 ? wanted : static_cast<double>(limits.size()), max_length);
  limits.resize(static_cast<std::size_t>(std::max(length, kMinCircuit)), kTopSpeed);
  return limits;
}

double acceleration(double v) { return kAccel * (1.0 - 0.8 * v / kTopSpeed); }

// Accelerating out of every corner and braking into the next, over three laps
// so the middle one joins up with itself.
Circuit build_circuit(std::mt19937& rng, double wanted, std::uint16_t pulses_per_mile) {
  const double max_length = std::min(kMaxCircuit, kMaxCounter * kMetresPerMile / pulses_per_mile);
  const std::vector<double> lap = corner_limits(rng, wanted, max_length);
  const std::size_t n = lap.size();
  std::vector<double> v(3 * n);
  for (std::size_t i = 0; i < v.size(); ++i) v[i] = lap[i % n];
  for (std::size_t i = 1; i < v.size(); ++i) {
    v[i] = std::min(v[i], std::sqrt(v[i - 1] * v[i - 1] + 2 * acceleration(v[i - 1])));
  }
  for (std::size_t i = v.size() - 1; i-- > 0;) {
    v[i] = std::min(v[i], std::sqrt(v[i + 1] * v[i + 1] + 2 * kBrakeDecel));
  }
  return {std::vector<double>(v.begin() + static_cast<long>(n), v.begin() + static_cast<long>(2 * n))};
}

// The packets, as the instrument lays them out: a header (type, length 8),
// then the fields, counters high byte first.
constexpr std::uint8_t hi(unsigned value) { return static_cast<std::uint8_t>((value >> 8) & 0xFF); }
constexpr std::uint8_t lo(unsigned value) { return static_cast<std::uint8_t>(value & 0xFF); }

void put_sample(Bytes& out, const SampleTruth& s) {
  const auto speed_and_rpm = static_cast<std::uint8_t>((hi(s.speed) & 1) << 7 | (hi(s.rpm) & 0x7F));
  const auto brake_and_gear = static_cast<std::uint8_t>((s.brake ? 0x80 : 0) | (s.gear_code & 0x7F));
  out.insert(out.end(), {0x18, speed_and_rpm, lo(s.rpm), lo(s.speed), brake_and_gear, s.oil_pressure,
                         hi(s.lap_counts), lo(s.lap_counts)});
}

void put_slow(Bytes& out, const SlowTruth& s) {
  out.insert(out.end(), {0x48, static_cast<std::uint8_t>(hi(s.oil_temp) & 1), lo(s.oil_temp),
                         static_cast<std::uint8_t>(hi(s.water_temp) & 1), lo(s.water_temp), s.battery_volts,
                         s.battery_tenths, s.fuel});
}

void put_lap(Bytes& out, const LapTruth& lap) {
  const std::uint32_t ms = lap.lap_time_ms;
  out.insert(out.end(), {0x28, lap.lap, hi(ms >> 16), lo(ms >> 16), hi(ms), lo(ms), hi(lap.distance_counts),
                         lo(lap.distance_counts)});
  out.insert(out.end(), {0x38, lap.split_signs});
  for (std::uint16_t split : lap.split_ms) out.insert(out.end(), {hi(split), lo(split)});
}

// Engine, temperatures, battery and fuel: what changes with time rather than
// with the position on the circuit.
struct Car {
  int gear = 0;
  double water = 22, oil = 22, fuel = 96;

  void warm(bool driving) {
    const double water_target = driving ? 88 : 60, oil_target = driving ? 104 : 55;
    water += (water_target - water) * kDt / 240;
    oil += (oil_target - oil) * kDt / 360;
    if (driving) fuel = std::max(5.0, fuel - 0.008 * kDt);
  }
  void cool_in_pits() {
    water = std::max(35.0, water - 25);
    oil = std::max(35.0, oil - 30);
  }
};

class Generator {
 public:
  explicit Generator(const GeneratorOptions& options)
      : opt_(options), rng_(options.seed),
        pulses_(options.pulses_per_mile == 0 ? 1609 : options.pulses_per_mile),
        circuit_(build_circuit(rng_, options.circuit_metres, pulses_)) {
    opt_.pages = std::clamp(opt_.pages, 1, kFullMemoryPages);
    opt_.sessions = std::max(opt_.sessions, 1);
  }

  GeneratedLog run() {
    const std::size_t budget = static_cast<std::size_t>(opt_.pages) * kPageBytes;
    for (int s = 1; s <= opt_.sessions; ++s) {
      const std::size_t end = budget * static_cast<std::size_t>(s) / static_cast<std::size_t>(opt_.sessions);
      drive_session(s, end);
    }
    return finish();
  }

 private:
  double counts(double metres) const { return metres * pulses_ / kMetresPerMile; }
  bool mph() const { return (opt_.unit_flags1 & 0x80) != 0; }
  bool psi() const { return (opt_.unit_flags2 & 0x02) != 0; }
  bool degc() const { return (opt_.unit_flags2 & 0x01) != 0; }

  void drive_session(int session, std::size_t byte_limit) {
    car_.cool_in_pits();
    car_.gear = 0;
    double d = 0, v = 0, t = 0, lap_start = -1;
    std::array<double, kSplits> sector_start{};
    std::array<double, kSplits> sector{};
    std::array<double, kSplits> best{};
    int lap = 1, standing = kStandingSamples;
    double pace = next_pace();
    // Room for a sample, a lap record with splits and a slow packet.
    while (bytes_.size() + kPacketBytes + kLapPacketsBytes + kPacketBytes <= byte_limit) {
      const bool driving = standing-- <= 0;
      double v_new = v;
      if (driving) {
        if (lap_start < 0) lap_start = sector_start[0] = t;
        const double target = pace * circuit_.speed_at(d);
        v_new = target < v ? target : std::min(target, v + acceleration(v) * kDt);
      }
      const double d_new = d + (v + v_new) / 2 * kDt;
      const bool braking = (v - v_new) / kDt > kBrakeLightDecel;
      t += kDt;
      for (int k = 1; k < kSplits; ++k) {
        const double point = circuit_.length() * k / kSplits;
        if (d < point && d_new >= point) {
          const double at = crossing_time(t, d, d_new, point);
          sector[static_cast<std::size_t>(k - 1)] = at - sector_start[static_cast<std::size_t>(k - 1)];
          sector_start[static_cast<std::size_t>(k)] = at;
        }
      }
      const bool lap_done = d_new >= circuit_.length();
      const double lap_end = lap_done ? crossing_time(t, d, d_new, circuit_.length()) : 0;
      d = lap_done ? d_new - circuit_.length() : d_new;
      v = v_new;
      car_.warm(driving);
      add_sample(v, d, braking, driving);
      if (lap_done) {
        sector[kSplits - 1] = lap_end - sector_start[kSplits - 1];
        add_lap(session, lap++, lap_end - lap_start, sector, best);
        lap_start = sector_start[0] = lap_end;
        pace = next_pace();
      }
      maybe_add_slow();
    }
    sessions_ = session;
  }

  static double crossing_time(double t, double d0, double d1, double point) {
    return t - kDt + kDt * (point - d0) / std::max(d1 - d0, 1e-9);
  }

  double next_pace() { return std::uniform_real_distribution<double>(0.955, 1.0)(rng_); }

  void add_sample(double v, double d, bool braking, bool driving) {
    SampleTruth s;
    const double unit_speed = v * (mph() ? kMphPerMs : kKmhPerMs);
    const double kmh = v * kKmhPerMs;
    char code = 'N';
    if (driving) {
      const int before = std::max(car_.gear, 1);
      int gear = before;
      if (kmh * kRpmPerKmh[gear] > kUpshiftRpm && gear < kTopGear) ++gear;
      else if (gear > 1 && kmh * kRpmPerKmh[gear] < kDownshiftRpm) --gear;
      code = (gear != before && car_.gear != 0) ? 'C' : static_cast<char>('0' + gear);
      car_.gear = gear;
    }
    std::normal_distribution<double> noise(0, 12);
    const double rpm = driving ? std::max<double>(kIdleRpm + 300, kmh * kRpmPerKmh[car_.gear]) : kIdleRpm;
    s.rpm = clamp_to<std::uint16_t>(rpm + noise(rng_), 0x7FFF);
    s.speed = clamp_to<std::uint16_t>(unit_speed, 511);
    s.gear_code = code;
    s.gear = code == 'C' ? previous_decoded_gear_ : (code == 'N' ? 0 : code - '0');
    previous_decoded_gear_ = s.gear;
    s.brake = braking;
    const double pressure_psi = 14 + s.rpm * 0.0085;
    s.oil_pressure = clamp_to<std::uint8_t>(psi() ? pressure_psi : pressure_psi / 14.5, 255);
    s.lap_counts = clamp_to<std::uint16_t>(counts(d), kMaxCounter);
    samples_.push_back(s);
    put_sample(bytes_, s);
  }

  void add_lap(int session, int lap_number, double lap_seconds, const std::array<double, kSplits>& sector,
               std::array<double, kSplits>& best) {
    LapTruth lap;
    lap.lap = static_cast<std::uint8_t>(lap_number);
    lap.session = session;
    lap.lap_time_ms = static_cast<std::uint32_t>(std::lround(lap_seconds * 1000));
    lap.distance_counts = clamp_to<std::uint16_t>(counts(circuit_.length()), kMaxCounter);
    for (std::size_t k = 0; k < kSplits; ++k) {
      // Each split against the session's best sector so far; the first lap
      // shows its own sector times.
      const double delta = lap_number == 1 ? sector[k] : sector[k] - best[k];
      if (delta >= 0) lap.split_signs |= static_cast<std::uint8_t>(1u << k);
      lap.split_ms[k] = clamp_to<std::uint16_t>(std::fabs(delta) * 1000, kMaxCounter);
      if (lap_number == 1 || sector[k] < best[k]) best[k] = sector[k];
    }
    lap.end_sample = static_cast<long>(samples_.size());
    laps_.push_back(lap);
    put_lap(bytes_, lap);
  }

  void maybe_add_slow() {
    if (--until_slow_ > 0) return;
    until_slow_ = std::uniform_int_distribution<int>(10, 20)(rng_);
    SlowTruth s;
    s.after_sample = static_cast<long>(samples_.size());
    auto temp = [&](double c) { return clamp_to<std::uint16_t>(degc() ? c : c * 9 / 5 + 32, 511); };
    s.oil_temp = temp(car_.oil);
    s.water_temp = temp(car_.water);
    const int tenths = static_cast<int>(std::lround(138 + std::uniform_real_distribution<double>(0, 4)(rng_)));
    s.battery_volts = static_cast<std::uint8_t>(tenths / 10);
    s.battery_tenths = static_cast<std::uint8_t>(tenths % 10);
    s.fuel = clamp_to<std::uint8_t>(car_.fuel, 255);
    slow_.push_back(s);
    put_slow(bytes_, s);
  }

  GeneratedLog finish() {
    GeneratedLog log;
    log.used_bytes = static_cast<std::uint32_t>(bytes_.size());
    log.memory.total_pages = kFullMemoryPages;
    log.memory.used_pages = static_cast<std::uint16_t>(log.used_bytes / kPageBytes);
    log.memory.tail_count = static_cast<std::uint16_t>(log.used_bytes % kPageBytes);
    log.memory.data = std::move(bytes_);
    const std::size_t whole_pages = (log.memory.data.size() + kPageBytes - 1) / kPageBytes * kPageBytes;
    log.memory.data.resize(whole_pages, 0xFF);  // erased memory
    log.pulses_per_mile = opt_.pulses_per_mile;
    log.unit_flags1 = opt_.unit_flags1;
    log.unit_flags2 = opt_.unit_flags2;
    log.circuit_metres = circuit_.length();
    log.sessions = sessions_;
    log.samples = std::move(samples_);
    log.slow = std::move(slow_);
    log.laps = std::move(laps_);
    return log;
  }

  GeneratorOptions opt_;
  std::mt19937 rng_;
  std::uint16_t pulses_;
  Circuit circuit_;
  Car car_;
  Bytes bytes_;
  std::vector<SampleTruth> samples_;
  std::vector<SlowTruth> slow_;
  std::vector<LapTruth> laps_;
  int previous_decoded_gear_ = 0;
  int until_slow_ = 5;
  int sessions_ = 0;
};

}  // namespace

GeneratedLog generate_log(const GeneratorOptions& options) { return Generator(options).run(); }

Instrument with_log(const GeneratedLog& log, Instrument base) {
  base.memory = log.memory;
  base.pulses_per_mile = log.pulses_per_mile;
  base.unit_flags1 = log.unit_flags1;
  base.unit_flags2 = log.unit_flags2;
  return base;
}

}  // namespace kv::emu
