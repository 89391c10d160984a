#pragma once
// Builds a realistic log memory image and the ground truth it encodes: a
// circuit of a few kilometres driven in several sessions, sampled at 10 Hz,
// with slow-channel readings every second or two and a lap record with three
// splits at the end of every lap.
#include <array>
#include <cstdint>
#include <vector>

#include "emulator/instrument.h"

namespace kv::emu {

constexpr int kFullMemoryPages = 2048;

struct GeneratorOptions {
  int pages = 64;                  // memory to fill, 1 … kFullMemoryPages pages of 256 bytes
  int sessions = 2;                // at least 1; each restarts its lap count at 1
  unsigned seed = 1;
  double circuit_metres = 0;       // 0: a circuit of a few kilometres chosen by the seed
  std::uint16_t pulses_per_mile = 1609;
  std::uint8_t unit_flags1 = 0x00;  // bit 7: speeds in mph
  std::uint8_t unit_flags2 = 0x03;  // bit 1: pressure in psi; bit 0: temperatures in degC
};

// One sample packet's raw fields.
struct SampleTruth {
  std::uint16_t rpm = 0;           // engine speed, rev/min
  std::uint16_t speed = 0;         // road speed in the unit flags' unit
  char gear_code = 'N';            // '1'-'6', 'N' standing, 'C' during a change
  int gear = 0;                    // the gear the code stands for (the previous one for 'C')
  bool brake = false;
  std::uint8_t oil_pressure = 0;
  std::uint16_t lap_counts = 0;    // distance into the lap in sensor pulses
};

// One slow-channel packet, logged after sample `after_sample` (1-based).
struct SlowTruth {
  long after_sample = 0;
  std::uint16_t oil_temp = 0;
  std::uint16_t water_temp = 0;
  std::uint8_t battery_volts = 0;
  std::uint8_t battery_tenths = 0;
  std::uint8_t fuel = 0;
};

// One lap record and its split packet.
struct LapTruth {
  std::uint8_t lap = 0;
  int session = 0;                 // 1-based
  std::uint32_t lap_time_ms = 0;
  std::uint16_t distance_counts = 0;
  std::uint8_t split_signs = 0;    // bit k-1 set: split k positive
  std::array<std::uint16_t, 3> split_ms{};
  long end_sample = 0;             // the sample at which the lap distance restarted
};

struct GeneratedLog {
  LogMemory memory;                // data padded to whole pages with erased bytes
  std::uint32_t used_bytes = 0;    // memory.used_pages * 256 + memory.tail_count
  std::uint16_t pulses_per_mile = 1609;
  std::uint8_t unit_flags1 = 0;
  std::uint8_t unit_flags2 = 0;
  double circuit_metres = 0;
  int sessions = 0;
  std::vector<SampleTruth> samples;
  std::vector<SlowTruth> slow;
  std::vector<LapTruth> laps;
};

GeneratedLog generate_log(const GeneratorOptions& options);

// `base` with the generated log in its memory and the log's distance scale
// and unit flags as its identity.
Instrument with_log(const GeneratedLog& log, Instrument base = {});

}  // namespace kv::emu
