#pragma once
// Sector times of every lap and the theoretical best lap: up to three
// boundaries by lap distance cut each lap into sectors; the best time of each
// sector, summed, is the lap the driver could do by putting their best
// sectors together.
#include <array>
#include <cstddef>
#include <optional>
#include <vector>

#include "analysis/lap_tools/lap_ref.h"
#include "analysis/lap_tools/lap_trace.h"
#include "link/protocol.h"

namespace kv::lap_tools {

inline constexpr int kMaxSectorBoundaries = 3;
inline constexpr int kMaxSectors = kMaxSectorBoundaries + 1;

using SectorTimes = std::array<std::optional<double>, kMaxSectors>;

// Boundaries a person typed, made usable: values that are not positive
// finite numbers are dropped (0 switches a boundary off), the rest sorted
// with repeats dropped, and only the first three kept.
std::vector<double> usable_boundaries(std::vector<double> metres);

// The configuration's split distances (metres) as boundaries; none when
// split 1 is 0, as that switches split timing off in the instrument.
std::vector<double> boundaries_from_config(const ConfigBytes& config_image);

// One lap's sectors: sector k (0-based) runs from boundary k - 1 (or the
// lap's start) to boundary k, the last from the last boundary to the lap's
// end, its recorded lap time. A sector has no time when the lap does not
// reach one of its ends, when the lap time is unknown (for the last), or
// when it comes out not above zero. `boundaries` are usable_boundaries() in
// the trace's distance unit; there are boundaries.size() + 1 sectors.
SectorTimes lap_sector_times(const LapTrace& trace, double lap_time, const std::vector<double>& boundaries);

// A lap whose distance differs from its set's typical lap distance by more
// than this share (an out-lap from the pits, an in-lap, a lap cut short by
// the end of the log) ran over another stretch of track: its sectors are
// not comparable and stay out of the bests.
inline constexpr double kTypicalLapTolerance = 0.05;

struct SectorRow {
  LapEntry lap;
  double lap_metres = 0.0;  // how far the lap went: its trace's length
  bool in_bests = true;     // false: far from the set's typical lap distance
  SectorTimes sector{};
  std::array<bool, kMaxSectors> best_in_set{};   // the earliest lap with the set's best time of a sector
  std::array<bool, kMaxSectors> best_overall{};  // the same over both sets
  friend bool operator==(const SectorRow&, const SectorRow&) = default;
};

// Over the laps in the bests only. A lap's sector times add up to its lap
// time, so the theoretical best is never slower than any lap holding every
// sector time, the fastest included, and equals the fastest lap when that
// lap holds every best sector.
struct TheoreticalBest {
  SectorTimes best_sector{};               // best time of each sector
  std::optional<double> theoretical;       // their sum; nothing when a sector has no time
  std::optional<std::size_t> fastest_row;  // index into SectorTable::rows, by the lap table's rule
  std::optional<double> gain;              // fastest lap time - theoretical: what is left to find
  friend bool operator==(const TheoreticalBest&, const TheoreticalBest&) = default;
};

struct SectorTable {
  int sector_count = 1;
  std::vector<SectorRow> rows;               // laps_of(log): A's laps, then B's
  // Per set, the lap distance most of its laps agree on
  // (typical_lap_metres()); 0 without laps.
  std::array<double, 2> typical_metres{};
  std::array<TheoreticalBest, 2> per_set{};  // [0] A, [1] B
  TheoreticalBest both;                      // over the laps of both sets
  friend bool operator==(const SectorTable&, const SectorTable&) = default;
};

// The table for every lap of each decoded set. `boundaries_metres` as the
// person set them (usable_boundaries() is applied).
//
// The distance a set's laps agree on: the length of the lap with the most
// laps within kTypicalLapTolerance of it; on a tie the one more laps of
// `other_laps` (the other set's) agree with, then the longer; 0 for none.
double typical_lap_metres(const std::vector<double>& lap_metres, const std::vector<double>& other_laps = {});
SectorTable sector_table(const LogState& log, const std::vector<double>& boundaries_metres);

}  // namespace kv::lap_tools
