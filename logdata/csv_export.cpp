#include "logdata/csv_export.h"

#include <charconv>
#include <cstdio>

#include "logdata/saved_file.h"
#include "common/text_lines.h"
#include "logdata/log_file.h"
#include "logdata/number_format.h"
#include "logdata/sample_time.h"

namespace kv {
namespace {

const SaveDialogTexts kSaveTexts{.title = csv_text::kTitle,
                                 .filter = csv_text::kFilter,
                                 .extension = csv_text::kExtension,
                                 .cancelled = log_file_msg::kSaveCancelled,
                                 .invalid_name = log_file_msg::kSaveInvalidName,
                                 .not_overwritten = log_file_msg::kNotOverwritten};

void append_int(std::string& out, long long value) {
  char buffer[24];
  const auto result = std::to_chars(buffer, buffer + sizeof buffer, value);
  out.append(buffer, result.ptr);
}

// One column of the sample table: its array and its decimals.
struct SampleColumn {
  TVector Dataset::*channel;
  int decimals;
};

constexpr SampleColumn kSampleColumns[] = {
    {&Dataset::ch_time, 1},     {&Dataset::ch_rpm, 0},         {&Dataset::ch_speed, 0},
    {&Dataset::ch_gear, 0},     {&Dataset::ch_brake, 0},       {&Dataset::ch_oil_pressure, 0},
    {&Dataset::ch_oil_temp, 0}, {&Dataset::ch_water_temp, 0},  {&Dataset::ch_battery, 1},
    {&Dataset::ch_fuel, 0},     {&Dataset::ch_odo, 2},         {&Dataset::ch_lap_odo, 2},
    {&Dataset::ch_lap, 0},      {&Dataset::ch_session, 0},     {&Dataset::ch_lap_time, 2},
};

void append_samples(std::string& out, const Dataset& data) {
  const long samples = data.sample_count();
  if (samples <= 0) return;
  out += csv_sample_header(data.held_units) + kLineEnd;
  for (long i = 1; i <= samples; ++i) {
    for (const auto& column : kSampleColumns) {
      append_fixed(out, (data.*column.channel).get(i), column.decimals);
      out += ',';
    }
    append_int(out, i);
    out += kLineEnd;
  }
}

void append_laps(std::string& out, const Dataset& data) {
  const std::size_t count = std::min<std::size_t>(data.lap_count(), data.lap_table.size());
  if (data.lap_count() <= 0) return;
  out += kLineEnd;
  out += kLineEnd;
  out += std::string(csv_text::kLapHeader) + kLineEnd;
  for (std::size_t r = 0; r < count; ++r) {
    const LapRecord& rec = data.lap_table[r];
    append_fixed(out, rec.end_time, 1);
    out += ',';
    append_int(out, rec.lap);
    out += ',';
    append_fixed(out, rec.lap_distance, 1);
    for (double seconds : {rec.lap_time, rec.split[0], rec.split[1], rec.split[2]}) {
      out += ',';
      append_fixed(out, seconds, 2);
    }
    for (long long n : {static_cast<long long>(rec.session), static_cast<long long>(lap_first_sample(rec)),
                        static_cast<long long>(lap_last_sample(rec))}) {
      out += ',';
      append_int(out, n);
    }
    out += kLineEnd;
  }
}

}  // namespace

std::string csv_sample_header(const HeldUnits& units) {
  const char* temp = units.temp_in_degc ? "degC" : "degF";
  return std::string("Korvtime(s),RPM/100,Speed(") + (units.speed_in_mph ? "MPH" : "KMH") +
         "),Gear,Brake,Oil Pressure (" + (units.pressure_in_psi ? "psi" : "Bar") + "),Oil Temp (" + temp +
         "),Water Temp (" + temp +
         "),Battery (VDC),Fuel (%),Odo (m),Lap Odo (m),Lap,Session,Lap Time(s),Index";
}

std::string csv_export_text(const Dataset& data) {
  std::string out;
  out.reserve(static_cast<std::size_t>(std::max(data.sample_count(), 0L)) * 96 + 4096);
  for (const auto& line : data.sheet.notes_text) out += "//" + line + kLineEnd;
  append_samples(out, data);
  append_laps(out, data);
  return out;
}

bool save_csv_data(LogState& log, DialogDefaults& defaults, Ui& ui) {
  const Dataset& data = log.current();
  // The rows come from the decode, so an image that did not decode has
  // nothing to export, whatever its memory flag says.
  const bool savable = data.memory_valid == 1 && data.decoded_valid == 1;
  return save_dataset_file(ui, savable, defaults.csv, kSaveTexts, [&] { return csv_export_text(data); });
}

bool save_csv_dataSetA(LogState& log, DialogDefaults& defaults, Ui& ui) {
  log.current_data_set = kDataSetA;
  return save_csv_data(log, defaults, ui);
}

bool save_csv_dataSetB(LogState& log, DialogDefaults& defaults, Ui& ui) {
  log.current_data_set = kDataSetB;
  return save_csv_data(log, defaults, ui);
}

}  // namespace kv
