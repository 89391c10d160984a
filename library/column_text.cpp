// The table's columns: their names on the command line, their captions and
// their cell texts.
#include <cstdio>
#include <ctime>

#include "library/session_query.h"
#include "logdata/number_format.h"
#include "notes/setup_layout.h"

namespace kv::library {
namespace {

struct FixedColumn {
  Column column;
  const char* name;
  const char* caption;
};

constexpr FixedColumn kFixed[] = {
    {Column::Time, "time", "Date"},
    {Column::Track, "track", "Track"},
    {Column::Car, "car", "Car"},
    {Column::Driver, "driver", "Driver"},
    {Column::FreeTags, "tags", "Tags"},
    {Column::FastestLap, "fastest", "Fastest Lap"},
    {Column::TheoreticalBest, "theoretical", "Theoretical Best"},
    {Column::FastestSession, "fastest-session", "Fastest Session"},
    {Column::FastestLapNumber, "fastest-lap", "Fastest Lap No."},
    {Column::AverageSpeed, "average-speed", "Average Speed"},
    {Column::Sessions, "sessions", "Sessions"},
    {Column::Laps, "laps", "Laps"},
    {Column::Samples, "samples", "Samples"},
    {Column::Pages, "pages", "Pages"},
    {Column::Version, "version", "Version"},
    {Column::PulsesPerMile, "pulses-per-mile", "Pulses/Mile"},
    {Column::Units, "units", "Units"},
    {Column::Notes, "notes", "Notes"},
    {Column::Path, "file", "File"},
    {Column::Hash, "hash", "Content Hash"},
    {Column::State, "state", "State"},
};

const FixedColumn* fixed(Column column) {
  for (const auto& c : kFixed) {
    if (c.column == column) return &c;
  }
  return nullptr;
}

constexpr const char* kWheelNames[] = {"Front Left", "Front Right", "Rear Left", "Rear Right", ""};

bool row_has_second_box(SheetBlock block, int row) {
  for (const auto& place : field_places()) {
    if (place.block == block && place.row == row && place.column > 0) return true;
  }
  return false;
}

// The box's own part of its row: a tyre temperature's O/M/I and a wing's
// Angle/Height from the block's column heads, the letter of a two-value row
// from its caption ("Tyre Press (C/H)").
std::string row_caption(const SheetRow& row, const FieldPlace& place) {
  std::string caption(row.caption);
  const std::size_t open = caption.find(" (");
  if (open != std::string::npos) {
    const std::string letters = caption.substr(open + 2);
    caption.resize(open);
    const std::size_t at = static_cast<std::size_t>(place.column) * 2;
    return at < letters.size() ? caption + " " + letters.substr(at, 1) : caption;
  }
  for (const auto& heads : block_heads()) {
    if (heads.block != place.block) continue;
    const bool headed = place.block == SheetBlock::kGeneral
                            ? row.row >= heads.head_row && row_has_second_box(place.block, row.row)
                            : row.row == heads.head_row;
    const std::string_view head = heads.column_heads[static_cast<std::size_t>(place.column) % kWheelColumns];
    if (headed && !head.empty()) return caption + " " + std::string(head);
  }
  return caption;
}

std::string setup_caption(int slot) {
  for (const auto& place : field_places()) {
    if (place.slot != slot) continue;
    for (const auto& row : sheet_rows()) {
      if (row.block != place.block || row.row != place.row) continue;
      const std::string wheel = kWheelNames[static_cast<int>(place.block)];
      return wheel.empty() ? row_caption(row, place) : row_caption(row, place) + " (" + wheel + ")";
    }
  }
  return "Set-up " + std::to_string(slot);
}

std::string local_time_text(std::int64_t seconds, const char* format) {
  const std::time_t when = static_cast<std::time_t>(seconds);
  std::tm local{};
  ::localtime_r(&when, &local);
  char text[32];
  std::strftime(text, sizeof text, format, &local);
  return text;
}

std::string number(long value) { return std::to_string(value); }

std::string optional_fixed(const std::optional<double>& value, int decimals) {
  return value ? format_fixed(*value, decimals) : std::string();
}

std::string units_text(const SessionRow& row) {
  if (!row.readable) return {};
  return std::string(row.speed_in_mph ? "mph" : "km/h") + " " + (row.pressure_in_psi ? "psi" : "Bar") + " " +
         (row.temp_in_degc ? "degC" : "degF");
}

std::string version_text(int version) {
  if (version == 0) return {};
  char text[16];
  std::snprintf(text, sizeof text, "%d.%02d", version / 100, version % 100);
  return text;
}

}  // namespace

std::string lap_time_text(double seconds) {
  const long long hundredths = round_half_even(seconds * 100.0);
  char text[32];
  std::snprintf(text, sizeof text, "%lld:%02lld.%02lld", hundredths / 6000, hundredths / 100 % 60, hundredths % 100);
  return text;
}

std::string date_text(std::int64_t seconds) { return local_time_text(seconds, "%Y-%m-%d"); }

std::vector<ColumnKey> all_columns() {
  std::vector<ColumnKey> keys;
  for (const auto& c : kFixed) keys.push_back({c.column, 0});
  for (int slot = 1; slot <= kSetupFieldsInRow; ++slot) keys.push_back({Column::Setup, slot});
  return keys;
}

std::string column_caption(const ColumnKey& key) {
  if (key.column == Column::Setup) return setup_caption(key.setup_slot);
  const FixedColumn* c = fixed(key.column);
  return c != nullptr ? c->caption : std::string();
}

std::string column_name(const ColumnKey& key) {
  if (key.column == Column::Setup) return "setup" + std::to_string(key.setup_slot);
  const FixedColumn* c = fixed(key.column);
  return c != nullptr ? c->name : std::string();
}

std::optional<ColumnKey> column_by_name(const std::string& name) {
  for (const auto& c : kFixed) {
    if (name == c.name) return ColumnKey{c.column, 0};
  }
  if (name.rfind("setup", 0) == 0 && name.size() > 5 && name.size() <= 7) {
    int slot = 0;
    for (std::size_t i = 5; i < name.size(); ++i) {
      if (name[i] < '0' || name[i] > '9') return std::nullopt;
      slot = slot * 10 + (name[i] - '0');
    }
    if (slot >= 1 && slot <= kSetupFieldsInRow) return ColumnKey{Column::Setup, slot};
  }
  return std::nullopt;
}

std::string cell_text(const SessionRow& row, const ColumnKey& key) {
  const auto& f = row.fastest;
  switch (key.column) {
    case Column::Time: return local_time_text(row.session_time, "%Y-%m-%d %H:%M:%S");
    case Column::Path: return row.path;
    case Column::Track: return row.tags.track;
    case Column::Car: return row.tags.car;
    case Column::Driver: return row.tags.driver;
    case Column::FreeTags: return row.tags.free_tags;
    case Column::Version: return version_text(row.unit_version);
    case Column::PulsesPerMile: return row.readable ? number(row.pulses_per_mile) : std::string();
    case Column::Units: return units_text(row);
    case Column::Pages: return number(row.pages);
    case Column::Samples: return number(row.samples);
    case Column::Sessions: return number(row.sessions);
    case Column::Laps: return number(row.laps);
    case Column::FastestLap: return f ? lap_time_text(f->lap_time) : std::string();
    case Column::FastestSession: return f ? number(f->session) : std::string();
    case Column::FastestLapNumber: return f ? number(f->lap) : std::string();
    case Column::AverageSpeed: return f ? optional_fixed(f->average_speed, 1) : std::string();
    case Column::TheoreticalBest: return row.theoretical_best ? lap_time_text(*row.theoretical_best) : std::string();
    case Column::Notes: return row.notes_first_line;
    case Column::Hash: return row.content_hash;
    case Column::State: return row.unreadable_message;
    case Column::Setup: return std::string(row.setup_field(key.setup_slot));
  }
  return {};
}

}  // namespace kv::library
