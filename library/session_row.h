#pragma once
// One session of the library as its index row holds it: where the file lies,
// what the log says of itself, its fastest lap, its set-up sheet and the
// person's tags. Everything here is read back from the file, so a rebuilt
// index gives the same rows.
#include <array>
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

namespace kv::library {

inline constexpr int kSetupFieldsInRow = 65;  // set-up slots 1-65

// Set-up slots that carry the tags inside each log file. The notes window
// never shows slots 66-80, so the tags travel with the file unseen.
inline constexpr int kTrackSlot = 66;
inline constexpr int kCarSlot = 67;
inline constexpr int kDriverSlot = 68;
inline constexpr int kFreeTagsSlot = 69;
// The set-up slot of the track temperature.
inline constexpr int kTrackTempSlot = 31;

struct SessionTags {
  std::string track;
  std::string car;
  std::string driver;
  std::string free_tags;  // free text, e.g. "wet, new tyres"
  bool operator==(const SessionTags&) const = default;
};

struct FastestLap {
  double lap_time = 0.0;   // s
  int session = 0;
  int lap = 0;             // lap number as logged
  // Lap distance over lap time, in the log's own speed unit (mph or km/h
  // by speed_in_mph); nothing when the lap has no distance or time.
  std::optional<double> average_speed;
  bool operator==(const FastestLap&) const = default;
};

// The 65 set-up fields of a row in one text, one field a line, as the index
// keeps them: a library of thousands of rows is read at every opening, and
// one string a row instead of 65 is most of what that costs. A field is
// found when asked for. A field never holds a line break (the log file keeps
// each on a line of its own); one given here becomes a blank.
class SetupFields {
 public:
  std::string_view field(int slot) const;  // slots 1-65; "" outside
  void set(int slot, std::string_view text);
  // The 65 fields joined by '\n', and back. A damaged or foreign text gives
  // empty or cut fields, never more than 65.
  std::string joined() const;
  void assign_joined(std::string_view joined);
  // Field by field: an empty text and 65 empty fields are equal.
  bool operator==(const SetupFields& other) const;

 private:
  std::string text_;  // as given to assign_joined(), carriage returns blanked
};

struct SessionRow {
  std::int64_t id = 0;        // index row id; changes on rebuild
  std::string path;           // relative to the library root, '/' separated
  // When the session was downloaded (archived) or, for an imported file,
  // when its source was last written; seconds since 1970 (UTC). Read from the
  // file name (YYYY-MM-DD_HHMMSS, local time), else the file's own time.
  std::int64_t session_time = 0;
  std::int64_t file_size = 0;
  std::int64_t file_mtime_ns = 0;
  std::string content_hash;   // SHA-256 of the file's bytes, lower-case hex

  // False for a file that fails the log file's checks; `unreadable_message`
  // is then the message the load would show and the log fields are empty.
  // A file that passes them but whose log does not decode stays readable
  // (it loads and saves) with the decoder's message here and no laps.
  bool readable = true;
  std::string unreadable_message;

  int unit_version = 0;       // major * 100 + minor
  int pulses_per_mile = 0;
  bool speed_in_mph = false;
  bool pressure_in_psi = false;
  bool temp_in_degc = false;
  long pages = 0;             // 256-byte pages the log fills, rounded up
  long samples = 0;
  long sessions = 0;
  long laps = 0;
  std::optional<FastestLap> fastest;
  // Best sectors put together (sector boundaries at a third and two thirds
  // of the log's typical lap distance); nothing without enough whole laps.
  std::optional<double> theoretical_best;

  SetupFields setup;
  std::string notes_first_line;
  std::string notes_text;     // every notes line, joined by '\n', for searching
  SessionTags tags;

  std::string_view setup_field(int slot) const { return setup.field(slot); }
  bool operator==(const SessionRow&) const = default;
};

// The same row with what changes on every rebuild left out (id), for
// comparing two indexes of the same folder.
bool same_content(const SessionRow& a, const SessionRow& b);

}  // namespace kv::library
