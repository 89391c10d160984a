#include "analysis/lap_tools/lap_stats_csv.h"

#include "common/file_dialog_flow.h"
#include "common/text_lines.h"
#include "logdata/log_file.h"
#include "logdata/number_format.h"
#include "logdata/saved_file.h"

namespace kv::lap_tools {
namespace {

const SaveDialogTexts kSaveTexts{.title = lap_stats_text::kTitle,
                                 .filter = lap_stats_text::kFilter,
                                 .extension = lap_stats_text::kExtension,
                                 .cancelled = log_file_msg::kSaveCancelled,
                                 .invalid_name = log_file_msg::kSaveInvalidName,
                                 .not_overwritten = log_file_msg::kNotOverwritten};

constexpr int kTimeDecimals = 2;
constexpr int kRpmDecimals = 2;
constexpr int kValueDecimals = 1;

// The figures of a row, in column order, with their decimals.
struct FigureColumn {
  double LapStats::*figure;
  int decimals;
};

constexpr FigureColumn kFigureColumns[] = {
    {&LapStats::max_rpm, kRpmDecimals},          {&LapStats::max_speed, kValueDecimals},
    {&LapStats::min_speed, kValueDecimals},      {&LapStats::avg_speed, kValueDecimals},
    {&LapStats::max_oil_temp, kValueDecimals},   {&LapStats::max_water_temp, kValueDecimals},
    {&LapStats::min_oil_pressure, kValueDecimals}, {&LapStats::brake_percent, kValueDecimals},
};

void append_row(std::string& out, const LapStatsRow& row) {
  out += row.lap.set == kDataSetB ? "B," : "A,";
  out += std::to_string(row.lap.session) + ',' + std::to_string(row.lap.lap) + ',';
  append_fixed(out, row.lap.lap_time(), kTimeDecimals);
  out += ',' + std::to_string(row.stats.samples);
  for (const auto& column : kFigureColumns) {
    out += ',';
    if (row.stats.samples > 0) append_fixed(out, row.stats.*column.figure, column.decimals);
  }
  out += kLineEnd;
}

}  // namespace

std::string lap_stats_header(const HeldUnits& units) {
  const std::string speed = units.speed_in_mph ? "MPH" : "KMH";
  const std::string temp = units.temp_in_degc ? "degC" : "degF";
  return "Data,Session,Lap,Lap Time(s),Samples,Max RPM/100,Max Speed(" + speed + "),Min Speed(" + speed +
         "),Avg Speed(" + speed + "),Max Oil Temp (" + temp + "),Max Water Temp (" + temp +
         "),Min Oil Pressure (" + (units.pressure_in_psi ? "psi" : "Bar") + "),Brake (%)";
}

std::string lap_stats_csv(const std::vector<LapStatsRow>& rows, const HeldUnits& units) {
  std::string out = lap_stats_header(units) + kLineEnd;
  for (const LapStatsRow& row : rows) append_row(out, row);
  return out;
}

bool save_lap_stats(const LogState& log, DialogDefault& remembered, Ui& ui) {
  const std::vector<LapStatsRow> rows = lap_stats_table(log);
  if (rows.empty()) {
    ui.information(log_file_msg::kNoValidData);
    return false;
  }
  const auto path = ask_save_path(ui, remembered, kSaveTexts);
  if (!path) return false;
  return write_saved_file(ui, remembered, *path, [&] { return lap_stats_csv(rows, log.shown_units); });
}

}  // namespace kv::lap_tools
