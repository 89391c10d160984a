#pragma once
// What one page of the session report says, without placing it: the lap
// table grouped by session with each lap's sector times, the fastest lap and
// the theoretical best, the set-up sheet with its captions and the notes.
// Texts are UTF-8; the stored Windows-1252 fields and notes are decoded.
#include <cstdint>
#include <string>
#include <vector>

#include "analysis/lap_tools/sector_times.h"
#include "logdata/log_state.h"

namespace kv::session_report {

struct ReportTable {
  std::vector<std::string> headings;
  std::vector<std::vector<std::string>> rows;  // each as long as `headings`
};

struct SetupRowText {
  std::string caption;
  std::vector<std::string> values;  // the row's boxes, left to right
};

struct SetupBlockText {
  std::string title;
  std::vector<std::string> column_heads;  // empty for a block without them
  std::size_t head_row = 0;               // the row the column heads stand above
  std::vector<SetupRowText> rows;
};

struct ReportContent {
  std::uint8_t data_set = kDataSetA;
  std::string title;        // "Session Report: Data A"
  std::string source;       // "Source: " and the dataset's name field
  std::string units;        // the units the figures are given in
  ReportTable laps;
  std::vector<std::string> summary;      // fastest lap, sectors, theoretical best
  std::vector<SetupBlockText> setup;     // left wheels, general, right wheels
  std::vector<std::string> notes;
};

// How the plot window shows the figures now.
struct ReportUnits {
  bool speed_in_mph = false;
  bool distance_in_feet = false;
};

// One page per decoded set, A first; none when no set is decoded.
// `sectors` is lap_tools::sector_table(log, boundaries_metres).
std::vector<ReportContent> report_contents(const LogState& log, const lap_tools::SectorTable& sectors,
                                           const std::vector<double>& boundaries_metres, const ReportUnits& units);

// The report of the plot window's current look: the sector table is computed here.
std::vector<ReportContent> report_contents(const LogState& log, const std::vector<double>& boundaries_metres,
                                           const ReportUnits& units);

}  // namespace kv::session_report
