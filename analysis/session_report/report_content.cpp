#include "analysis/session_report/report_content.h"

#include <algorithm>

#include "analysis/lap_table.h"
#include "analysis/plot_text.h"
#include "analysis/x_axis.h"
#include "analysis/plot_files/label_text_1252.h"
#include "notes/setup_layout.h"

namespace kv::session_report {
namespace {

using analysis::fixed_text;

constexpr int kTimeDecimals = 2;
constexpr int kDistanceDecimals = 1;
constexpr int kLapColumn = 1;

// Stored text is Windows-1252; the page is written in UTF-8.
std::string utf8_of_1252(std::string_view bytes) { return plot_files::label_utf8_from_1252(bytes); }

std::string set_name(std::uint8_t set) { return set == kDataSetB ? "Data B" : "Data A"; }
std::size_t set_index(std::uint8_t set) { return set == kDataSetB ? 1 : 0; }

std::string seconds(const std::optional<double>& value) {
  return value ? fixed_text(*value, kTimeDecimals) : std::string();
}

// The sector rows of one set, by lap record.
std::vector<const lap_tools::SectorRow*> sector_rows_of(const lap_tools::SectorTable& table, std::uint8_t set,
                                                        std::size_t records) {
  std::vector<const lap_tools::SectorRow*> by_record(records, nullptr);
  for (const lap_tools::SectorRow& row : table.rows) {
    if (row.lap.set == set && row.lap.record < records) by_record[row.lap.record] = &row;
  }
  return by_record;
}

int shown_sectors(const lap_tools::SectorTable& table) {
  const int count = std::clamp(table.sector_count, 1, lap_tools::kMaxSectors);
  return count > 1 ? count : 0;  // one sector is the whole lap: nothing to add
}

ReportTable lap_table(const analysis::LapTableView& view, const lap_tools::SectorTable& sectors,
                      std::uint8_t set, std::size_t records) {
  ReportTable table;
  const int sector_columns = shown_sectors(sectors);
  table.headings.assign(view.rows.front().begin(), view.rows.front().end());
  for (int s = 1; s <= sector_columns; ++s) table.headings.push_back("Sector " + std::to_string(s) + " (s)");
  const auto by_record = sector_rows_of(sectors, set, records);
  std::size_t record = 0;
  for (std::size_t r = 1; r < view.rows.size(); ++r) {
    std::vector<std::string> row(view.rows[r].begin(), view.rows[r].end());
    const bool lap_row = !view.rows[r][kLapColumn].empty();
    const lap_tools::SectorRow* sector = lap_row && record < by_record.size() ? by_record[record] : nullptr;
    if (lap_row) ++record;
    for (int s = 0; s < sector_columns; ++s) {
      row.push_back(sector ? seconds(sector->sector[static_cast<std::size_t>(s)]) : std::string());
    }
    table.rows.push_back(std::move(row));
  }
  return table;
}

std::string boundaries_line(const std::vector<double>& metres, bool feet) {
  const std::vector<double> usable = lap_tools::usable_boundaries(metres);
  if (usable.empty()) return "Sector boundaries: none (one sector, the whole lap)";
  std::string line = "Sector boundaries:";
  for (std::size_t i = 0; i < usable.size(); ++i) {
    line += (i == 0 ? " " : ", ") + fixed_text(feet ? usable[i] * analysis::kFeetPerMetre : usable[i], kDistanceDecimals);
  }
  return line + (feet ? " ft" : " m");
}

std::vector<std::string> summary(const analysis::LapTableView& view, const lap_tools::SectorTable& sectors,
                                 std::uint8_t set, const std::vector<double>& boundaries, bool feet) {
  std::vector<std::string> lines;
  if (view.fastest) {
    const auto texts = analysis::fastest_lap_texts(*view.fastest);
    lines.push_back("Fastest Lap: Lap " + texts[0] + ", Session " + texts[1] + ", " + texts[2] + " s, " + texts[3] +
                    " " + view.unit);
  } else {
    lines.emplace_back("Fastest Lap: no laps recorded");
  }
  if (view.bad_time_laps > 0) {
    lines.push_back("Laps without a usable lap time: " + std::to_string(view.bad_time_laps));
  }
  lines.push_back(boundaries_line(boundaries, feet));
  const int sector_count = shown_sectors(sectors);
  if (sector_count == 0 || !view.fastest) return lines;
  const lap_tools::TheoreticalBest& best = sectors.per_set[set_index(set)];
  std::string bests = "Best sectors:";
  for (int s = 0; s < sector_count; ++s) {
    const std::string time = seconds(best.best_sector[static_cast<std::size_t>(s)]);
    bests += " S" + std::to_string(s + 1) + " " + (time.empty() ? "-" : time) + (s + 1 < sector_count ? "," : "");
  }
  lines.push_back(bests);
  if (best.theoretical) {
    lines.push_back("Theoretical Best: " + seconds(best.theoretical) + " s" +
                    (best.gain ? ", " + seconds(best.gain) + " s to find on the fastest lap" : std::string()));
  } else {
    lines.emplace_back("Theoretical Best: none (a sector has no time on any lap)");
  }
  return lines;
}

std::string block_title(const BlockHeads& heads) {
  if (!heads.title.empty()) return std::string(heads.title);
  return heads.block == SheetBlock::kLowerLeft ? "Drivers Rear Left" : "Drivers Rear Right";
}

SetupBlockText setup_block(SheetBlock block, const SetupSheet& sheet) {
  SetupBlockText text;
  for (const BlockHeads& heads : block_heads()) {
    if (heads.block != block) continue;
    text.title = block_title(heads);
    text.head_row = static_cast<std::size_t>(heads.head_row);
    for (const auto head : heads.column_heads) {
      if (!head.empty()) text.column_heads.emplace_back(head);
    }
  }
  for (const SheetRow& row : sheet_rows()) {
    if (row.block != block) continue;
    SetupRowText shown{std::string(row.caption), {}};
    std::vector<FieldPlace> boxes;
    for (const FieldPlace& place : field_places()) {
      if (place.block == block && place.row == row.row) boxes.push_back(place);
    }
    std::sort(boxes.begin(), boxes.end(), [](const FieldPlace& a, const FieldPlace& b) { return a.column < b.column; });
    for (const FieldPlace& box : boxes) shown.values.push_back(utf8_of_1252(sheet.setup_fields[box.slot]));
    text.rows.push_back(std::move(shown));
  }
  return text;
}

std::vector<SetupBlockText> setup_blocks(const SetupSheet& sheet) {
  constexpr SheetBlock kOrder[] = {SheetBlock::kUpperLeft, SheetBlock::kLowerLeft, SheetBlock::kGeneral,
                                   SheetBlock::kUpperRight, SheetBlock::kLowerRight};
  std::vector<SetupBlockText> blocks;
  for (const SheetBlock block : kOrder) blocks.push_back(setup_block(block, sheet));
  return blocks;
}

std::string units_line(const ReportUnits& units) {
  return std::string("Speeds in ") + (units.speed_in_mph ? "MPH" : "KMH") + ", sector boundaries in " +
         (units.distance_in_feet ? "feet" : "metres") + ", lap distances in metres, times in seconds";
}

ReportContent page_of(const LogState& log, std::uint8_t set, const lap_tools::SectorTable& sectors,
                      const std::vector<double>& boundaries, const ReportUnits& units) {
  const Dataset& data = log.dataset(set);
  const analysis::LapTableView view = analysis::lap_table_view(data, units.speed_in_mph);
  const std::size_t records = std::min(static_cast<std::size_t>(std::max(data.lap_count(), 0L)), data.lap_table.size());
  ReportContent page;
  page.data_set = set;
  page.title = "Session Report: " + set_name(set);
  page.source = "Source: " + utf8_of_1252(data.name_text);
  page.units = units_line(units);
  page.laps = lap_table(view, sectors, set, records);
  page.summary = summary(view, sectors, set, boundaries, units.distance_in_feet);
  page.setup = setup_blocks(data.sheet);
  for (const std::string& line : data.sheet.notes_text) page.notes.push_back(utf8_of_1252(line));
  return page;
}

}  // namespace

std::vector<ReportContent> report_contents(const LogState& log, const lap_tools::SectorTable& sectors,
                                           const std::vector<double>& boundaries_metres, const ReportUnits& units) {
  std::vector<ReportContent> pages;
  for (const std::uint8_t set : {kDataSetA, kDataSetB}) {
    if (log.dataset(set).decoded_valid == 1) pages.push_back(page_of(log, set, sectors, boundaries_metres, units));
  }
  return pages;
}

std::vector<ReportContent> report_contents(const LogState& log, const std::vector<double>& boundaries_metres,
                                           const ReportUnits& units) {
  return report_contents(log, lap_tools::sector_table(log, boundaries_metres), boundaries_metres, units);
}

}  // namespace kv::session_report
