#include "analysis/lap_tools/sector_times.h"

#include <algorithm>
#include <cmath>

#include "analysis/lap_tools/fastest_lap.h"
#include "config/config_layout.h"

namespace kv::lap_tools {
namespace {

using config::IntField;

constexpr IntField kSplitFields[kMaxSectorBoundaries] = {IntField::split_1_distance, IntField::split_2_distance,
                                                         IntField::split_3_distance};

double config_word(const ConfigBytes& image, IntField field) {
  const auto offset = static_cast<std::size_t>(config::spec_of(field).offset);
  return static_cast<double>(image[offset] | (image[offset + 1] << 8));
}

std::optional<double> positive(double seconds) {
  return seconds > 0 ? std::optional<double>(seconds) : std::nullopt;
}

using BestFlags = std::array<bool, kMaxSectors> SectorRow::*;

// Best sectors, theoretical best and fastest lap over the rows `members`,
// flagging each sector's earliest best row in `flags`.
TheoreticalBest summarise(std::vector<SectorRow>& rows, const std::vector<std::size_t>& members, int sectors,
                          BestFlags flags) {
  TheoreticalBest best;
  if (members.empty()) return best;
  double sum = 0.0;
  bool complete = true;
  for (int k = 0; k < sectors; ++k) {
    std::optional<std::size_t> best_row;
    for (const std::size_t r : members) {
      const auto& t = rows[r].sector[k];
      if (t && (!best_row || *t < *rows[*best_row].sector[k])) best_row = r;
    }
    if (!best_row) {
      complete = false;
      continue;
    }
    (rows[*best_row].*flags)[k] = true;
    best.best_sector[k] = rows[*best_row].sector[k];
    sum += *best.best_sector[k];
  }
  if (complete) best.theoretical = sum;

  std::vector<double> lap_times;
  lap_times.reserve(members.size());
  for (const std::size_t r : members) lap_times.push_back(rows[r].lap.lap_time());
  if (const auto fastest = fastest_lap(lap_times)) {
    best.fastest_row = members[*fastest];
    const double fastest_time = rows[*best.fastest_row].lap.lap_time();
    if (best.theoretical && fastest_time > 0) best.gain = fastest_time - *best.theoretical;
  }
  return best;
}

bool near_typical(double metres, double typical) {
  return std::abs(metres - typical) <= kTypicalLapTolerance * typical;
}

}  // namespace

double typical_lap_metres(const std::vector<double>& lap_metres, const std::vector<double>& other_laps) {
  const auto agreeing = [](const std::vector<double>& laps, double candidate) {
    return std::ranges::count_if(laps, [candidate](double m) { return near_typical(m, candidate); });
  };
  double typical = 0.0;
  std::pair<long, long> most{0, 0};  // laps of the set, then of the other set
  for (const double candidate : lap_metres) {
    if (!(candidate > 0)) continue;
    const std::pair<long, long> votes{agreeing(lap_metres, candidate), agreeing(other_laps, candidate)};
    if (votes > most || (votes == most && candidate > typical)) {
      most = votes;
      typical = candidate;
    }
  }
  return typical;
}

std::vector<double> usable_boundaries(std::vector<double> metres) {
  std::erase_if(metres, [](double m) { return !std::isfinite(m) || !(m > 0); });
  std::sort(metres.begin(), metres.end());
  metres.erase(std::unique(metres.begin(), metres.end()), metres.end());
  if (metres.size() > kMaxSectorBoundaries) metres.resize(kMaxSectorBoundaries);
  return metres;
}

std::vector<double> boundaries_from_config(const ConfigBytes& config_image) {
  std::vector<double> metres;
  for (const IntField field : kSplitFields) metres.push_back(config_word(config_image, field));
  if (metres.front() == 0) return {};
  return usable_boundaries(std::move(metres));
}

SectorTimes lap_sector_times(const LapTrace& trace, double lap_time, const std::vector<double>& boundaries) {
  SectorTimes sectors{};
  const std::size_t count = std::min<std::size_t>(boundaries.size(), kMaxSectorBoundaries);
  std::optional<double> start = trace.empty() ? std::nullopt : std::optional<double>(0.0);
  for (std::size_t k = 0; k <= count; ++k) {
    const bool last = k == count;
    const std::optional<double> end =
        last ? (lap_time > 0 && !trace.empty() ? std::optional<double>(lap_time) : std::nullopt)
             : trace.time_at(boundaries[k]);
    if (start && end) sectors[k] = positive(*end - *start);
    start = end;
  }
  return sectors;
}

SectorTable sector_table(const LogState& log, const std::vector<double>& boundaries_metres) {
  const std::vector<double> boundaries = usable_boundaries(boundaries_metres);
  SectorTable table;
  table.sector_count = static_cast<int>(boundaries.size()) + 1;
  std::array<std::vector<double>, 2> set_lengths;
  for (const LapEntry& lap : laps_of(log)) {
    const LapTrace trace(lap.ref);
    const double length = trace.length();
    table.rows.push_back({lap, length, true, lap_sector_times(trace, lap.lap_time(), boundaries), {}, {}});
    set_lengths[lap.set == kDataSetB ? 1 : 0].push_back(length);
  }
  for (std::size_t s = 0; s < set_lengths.size(); ++s) {
    table.typical_metres[s] = typical_lap_metres(set_lengths[s], set_lengths[1 - s]);
  }

  std::array<std::vector<std::size_t>, 2> set_members;
  std::vector<std::size_t> all_members;
  for (std::size_t r = 0; r < table.rows.size(); ++r) {
    SectorRow& row = table.rows[r];
    const std::size_t s = row.lap.set == kDataSetB ? 1 : 0;
    row.in_bests = near_typical(row.lap_metres, table.typical_metres[s]);
    if (!row.in_bests) continue;
    set_members[s].push_back(r);
    all_members.push_back(r);
  }
  for (std::size_t s = 0; s < set_members.size(); ++s) {
    table.per_set[s] = summarise(table.rows, set_members[s], table.sector_count, &SectorRow::best_in_set);
  }
  table.both = summarise(table.rows, all_members, table.sector_count, &SectorRow::best_overall);
  return table;
}

}  // namespace kv::lap_tools
