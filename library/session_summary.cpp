#include "library/session_summary.h"

#include <algorithm>
#include <vector>

#include "analysis/lap_tools/fastest_lap.h"
#include "analysis/lap_tools/sector_times.h"
#include "logdata/decoder.h"
#include "logdata/log_file.h"
#include "logdata/log_file_format.h"
#include "ui/scripted_ui.h"

namespace kv::library {
namespace {

constexpr long kPageBytes = 256;
constexpr double kKmhPerMetrePerSecond = 3.6;
constexpr double kMphPerMetrePerSecond = 3600.0 / 1609.344;

// The decoder reports through a Ui; here nobody is watching, but a failed
// decode's error text is kept for the row.
std::string last_error_text(const ScriptedUi& ui) {
  const auto& messages = ui.messages();
  for (auto it = messages.rbegin(); it != messages.rend(); ++it) {
    if (it->kind == MsgKind::Error) return it->text;
  }
  return {};
}

void fill_identity(SessionRow& row, const Dataset& data) {
  row.unit_version = data.identity.unit_version;
  row.pulses_per_mile = data.identity.pulses_per_mile;
  row.speed_in_mph = data.identity.speed_in_mph();
  row.pressure_in_psi = data.identity.pressure_in_psi();
  row.temp_in_degc = data.identity.temp_in_degc();
  row.pages = (static_cast<long>(data.used_bytes) + kPageBytes - 1) / kPageBytes;
}

void fill_sheet(SessionRow& row, const SetupSheet& sheet) {
  for (int slot = 1; slot <= kSetupFieldsInRow; ++slot) row.setup.set(slot, sheet.field(slot));
  row.notes_first_line = sheet.notes_text.empty() ? std::string() : sheet.notes_text.front();
  for (const std::string& line : sheet.notes_text) {
    if (!row.notes_text.empty()) row.notes_text += '\n';
    row.notes_text += line;
  }
  row.tags = tags_of(sheet);
}

std::optional<FastestLap> fastest_of(const Dataset& data, bool in_mph) {
  const std::size_t records = std::min<std::size_t>(data.lap_table.size(), static_cast<std::size_t>(data.lap_count()));
  std::vector<double> times;
  times.reserve(records);
  for (std::size_t i = 0; i < records; ++i) times.push_back(data.lap_table[i].lap_time);
  const auto index = lap_tools::fastest_lap(times);
  if (!index || times[*index] <= 0.0) return std::nullopt;
  const LapRecord& record = data.lap_table[*index];
  FastestLap fastest{record.lap_time, record.session, record.lap, std::nullopt};
  if (record.lap_distance > 0.0f) {
    const double metres_per_second = record.lap_distance / static_cast<double>(record.lap_time);
    fastest.average_speed = metres_per_second * (in_mph ? kMphPerMetrePerSecond : kKmhPerMetrePerSecond);
  }
  return fastest;
}

long session_count(const Dataset& data) {
  long sessions = 0;
  const std::size_t records = std::min<std::size_t>(data.lap_table.size(), static_cast<std::size_t>(data.lap_count()));
  for (std::size_t i = 0; i < records; ++i) sessions = std::max<long>(sessions, data.lap_table[i].session);
  return sessions;
}

// Without the instrument's configuration at hand the sectors are the thirds
// of the lap most laps agree on, the same for every session of a track.
std::optional<double> theoretical_best(const LogState& log) {
  const lap_tools::SectorTable whole_laps = lap_tools::sector_table(log, {});
  const double typical = whole_laps.typical_metres[0];
  if (typical <= 0.0) return std::nullopt;
  return lap_tools::sector_table(log, {typical / 3.0, typical * 2.0 / 3.0}).per_set[0].theoretical;
}

}  // namespace

SessionRow summarize_log_file(const std::string& bytes) {
  ScriptedUi quiet;
  LogFileRead read = read_log_file_text(bytes, quiet);
  if (read.fault != LogFileFault::None) {
    SessionRow row;
    row.readable = false;
    row.unreadable_message = refusal_text(read);
    return row;
  }
  Dataset data;
  data.raw_memory = std::move(read.contents.raw_memory);
  data.used_bytes = read.contents.used_bytes;
  data.identity = read.contents.identity;
  data.sheet = std::move(read.contents.sheet);
  data.memory_valid = 1;
  return summarize_dataset(data);
}

SessionRow summarize_dataset(const Dataset& data) {
  SessionRow row;
  fill_identity(row, data);
  fill_sheet(row, data.sheet);
  LogState log;
  Dataset& laps = log.current();
  if (data.decoded_valid == 1) {
    // What the lap tools read: times, lap distances and the lap table.
    laps.decoded_valid = 1;
    laps.packet_count = data.packet_count;
    laps.ch_time = data.ch_time;
    laps.ch_lap_odo = data.ch_lap_odo;
    laps.lap_table = data.lap_table;
  } else {
    laps.raw_memory = data.raw_memory;
    laps.used_bytes = data.used_bytes;
    laps.identity = data.identity;
    laps.memory_valid = 1;
    ScriptedUi quiet;
    if (!process_data_packets(log, quiet, false)) {
      // The file loads and saves, but holds no usable log: say why.
      row.unreadable_message = last_error_text(quiet);
      return row;
    }
  }
  row.samples = laps.sample_count();
  row.laps = laps.lap_count();
  row.sessions = session_count(laps);
  row.fastest = fastest_of(laps, row.speed_in_mph);
  row.theoretical_best = theoretical_best(log);
  return row;
}

SessionTags tags_of(const SetupSheet& sheet) {
  return {sheet.field(kTrackSlot), sheet.field(kCarSlot), sheet.field(kDriverSlot), sheet.field(kFreeTagsSlot)};
}

void put_tags(SetupSheet& sheet, const SessionTags& tags) {
  sheet.set_field(kTrackSlot, tags.track);
  sheet.set_field(kCarSlot, tags.car);
  sheet.set_field(kDriverSlot, tags.driver);
  sheet.set_field(kFreeTagsSlot, tags.free_tags);
}

}  // namespace kv::library
