#pragma once
// Choosing and ordering the library's rows for the window and korvanta-cli,
// and the points of the "Set-up vs Lap Time" scatter. All of it works on the
// rows in memory (SessionLibrary::rows()): 10,000 rows filter and sort in a
// few milliseconds, and any set-up field sorts without an index per column.
#include <cstddef>
#include <cstdint>
#include <optional>
#include <string>
#include <vector>

#include "library/session_row.h"

namespace kv::library {

// A column of the table. Setup is one of the 65 set-up fields, chosen by
// `ColumnKey::setup_slot`.
enum class Column {
  Time, Path, Track, Car, Driver, FreeTags, Version, PulsesPerMile, Units, Pages, Samples, Sessions, Laps,
  FastestLap, FastestSession, FastestLapNumber, AverageSpeed, TheoreticalBest, Notes, Hash, State, Setup,
};

struct ColumnKey {
  Column column = Column::Time;
  int setup_slot = 0;  // 1-65 for Column::Setup
  bool operator==(const ColumnKey&) const = default;
};

// Every column a table may show: the fixed ones, then set-up slots 1-65.
std::vector<ColumnKey> all_columns();
// The header text: "Date", "Track", … and for a set-up field its notes
// window caption with its part ("Tyre Press (C/H) C, Front Left").
std::string column_caption(const ColumnKey& key);
// The cell text (times as "2026-05-17 14:30:12", lap times "1:23.45").
std::string cell_text(const SessionRow& row, const ColumnKey& key);
// A column by its name on the command line ("time", "track", "setup31", …).
std::optional<ColumnKey> column_by_name(const std::string& name);
std::string column_name(const ColumnKey& key);

// A lap time as the table shows it: "1:23.45".
std::string lap_time_text(double seconds);
// A local date: "2026-05-17".
std::string date_text(std::int64_t seconds);

struct SessionFilter {
  std::optional<std::int64_t> from_time;  // inclusive, seconds since 1970
  std::optional<std::int64_t> to_time;    // exclusive
  // Empty matches everything; otherwise a case-insensitive match of the
  // whole tag (track, car, driver) or of a part of the notes' first line,
  // the free tags and the set-up notes.
  std::string track, car, driver;
  std::string text;
  bool include_unreadable = true;
};

struct SortOrder {
  ColumnKey key;
  bool descending = false;
};

// Indexes into `rows` of the rows the filter keeps, in the sort order; ties
// keep the time order. Numbers sort as numbers, set-up fields that read as
// numbers before the others, empty values last.
std::vector<std::size_t> select_rows(const std::vector<SessionRow>& rows, const SessionFilter& filter,
                                     const SortOrder& order);

bool row_matches(const SessionRow& row, const SessionFilter& filter);

// --- Set-up vs Lap Time ---

enum class LapMeasure { FastestLap, TheoreticalBest };

// What the scatter's x axis shows: a set-up slot (1-65), the track
// temperature being slot 31.
struct ScatterAxis {
  int setup_slot = kTrackTempSlot;
};

struct ScatterPoint {
  std::size_t row = 0;  // index into rows
  double x = 0.0;       // the set-up field as a number
  double y = 0.0;       // s
  std::string label;    // the session's date, "2026-05-17"
};

// A number as people type it in a set-up field: leading and trailing blanks
// ignored, a decimal point or comma, an optional sign; nothing for anything
// else ("28psi", "", "n/a").
std::optional<double> field_number(std::string_view text);

// One point per selected row that has the measure and whose field reads as
// a number; the others are left out.
std::vector<ScatterPoint> scatter_points(const std::vector<SessionRow>& rows, const std::vector<std::size_t>& selected,
                                         const ScatterAxis& axis, LapMeasure measure);

struct DayBest {
  std::int64_t day_start = 0;  // local midnight, seconds since 1970
  std::string label;           // "2026-05-17"
  double lap_time = 0.0;       // the day's best of the measure, s
  std::size_t row = 0;         // the row holding it
};

// The best of the measure per local calendar day over the selected rows, in
// date order: a season's progress at one track when the filter holds one.
std::vector<DayBest> best_per_day(const std::vector<SessionRow>& rows, const std::vector<std::size_t>& selected,
                                  LapMeasure measure);

// A track among the selected rows: its tag as first written (tags match in
// any letter case, as the filter does; "" for rows without one) and how many
// of the rows carry it.
struct TrackCount {
  std::string track;
  std::size_t sessions = 0;
};

// The tracks of the selected rows, the one with most sessions first, ties in
// the order of their names.
std::vector<TrackCount> tracks_of(const std::vector<SessionRow>& rows, const std::vector<std::size_t>& selected);

// True when two track tags name the same track: any letter case.
bool same_track(const std::string& a, const std::string& b);

// The selected rows at `track` (in any letter case), in their order.
std::vector<std::size_t> rows_at_track(const std::vector<SessionRow>& rows, const std::vector<std::size_t>& selected,
                                       const std::string& track);

// The measure of a row, if it has one.
std::optional<double> lap_measure(const SessionRow& row, LapMeasure measure);

}  // namespace kv::library
