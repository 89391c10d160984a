#pragma once
// One of the two logs the program holds: the raw image as downloaded or
// loaded, the decoded channels and laps, and its set-up sheet.
#include <array>
#include <cstdint>
#include <string>
#include <vector>

#include "link/unit_identity.h"
#include "logdata/lap_record.h"
#include "logdata/tvector.h"

namespace kv {

constexpr int kPacketTypes = 15;      // packet types 0-14
constexpr int kSetupSlots = 80;       // set-up sheet slots, 1-based
constexpr int kSetupSlotsInUse = 65;

struct SetupSheet {
  std::vector<std::string> notes_text;
  // Slots 1 … 80; element 0 is unused so slot numbers index directly.
  std::array<std::string, kSetupSlots + 1> setup_fields{};

  const std::string& field(int slot) const;
  void set_field(int slot, std::string text);
  bool operator==(const SetupSheet&) const = default;
};

// Where the session library keeps a copy of a dataset's log, and the sheet
// that copy carries, so a changed sheet is written there once.
struct LibraryCopy {
  std::string root;  // the library folder
  std::string path;  // the file, relative to the root; empty: no copy
  SetupSheet sheet;  // the notes and set-up sheet last written to it
  bool empty() const { return path.empty(); }
  bool operator==(const LibraryCopy&) const = default;
};

// The units a dataset's channel arrays hold. Two logs may come from
// differently set up instruments, and the plot window's unit switches must
// convert each set from what it holds, never twice.
struct HeldUnits {
  bool speed_in_mph = false;
  bool pressure_in_psi = false;
  bool temp_in_degc = false;
  bool operator==(const HeldUnits&) const = default;
};

// The units a log was recorded in, by its instrument's flag bytes.
inline HeldUnits recorded_units(const UnitIdentity& identity) {
  return {identity.speed_in_mph(), identity.pressure_in_psi(), identity.temp_in_degc()};
}

struct Dataset {
  std::vector<std::uint8_t> raw_memory;
  // The meaningful length of raw_memory and the instrument that recorded it:
  // they travel with the image, so a save writes this log's own calibration
  // and units whatever the other dataset holds.
  std::uint32_t used_bytes = 0;
  UnitIdentity identity;
  std::uint8_t memory_valid = 0;
  std::uint8_t decoded_valid = 0;
  // 32 bits: a full memory holds up to 65,536 samples, which wraps 16 bits.
  std::array<std::uint32_t, kPacketTypes> packet_count{};

  TVector ch_time, ch_rpm, ch_speed, ch_gear, ch_brake, ch_oil_pressure, ch_oil_temp, ch_water_temp,
      ch_battery, ch_fuel, ch_odo, ch_lap_odo, ch_lap, ch_session, ch_lap_time, ch_work;

  std::vector<LapRecord> lap_table;
  HeldUnits held_units;  // set by the decoder from the log's unit flags
  SetupSheet sheet;

  // What the dataset's name fields show: "Memory A"/"Memory B" after a
  // download, the log file name after a load, "No Data" otherwise.
  std::string name_text = "No Data";

  // The session library's copy of this log (written at its download, or the
  // file it was opened from), kept up to date when its sheet changes.
  LibraryCopy library_copy;

  // Samples decoded (packets of type 1) and lap records (type 2).
  long sample_count() const { return static_cast<long>(packet_count[1]); }
  long lap_count() const { return static_cast<long>(packet_count[2]); }

  bool operator==(const Dataset&) const = default;
};

}  // namespace kv
