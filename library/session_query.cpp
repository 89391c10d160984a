#include "library/session_query.h"

#include <algorithm>
#include <charconv>
#include <ctime>
#include <map>

namespace kv::library {
namespace {

std::string folded(std::string_view text) {
  std::string out(text);
  for (char& c : out) {
    if (c >= 'A' && c <= 'Z') c = static_cast<char>(c - 'A' + 'a');
  }
  return out;
}

bool tag_matches(const std::string& wanted, const std::string& tag) {
  return wanted.empty() || folded(wanted) == folded(tag);
}

bool contains_folded(const std::string& haystack, const std::string& folded_needle) {
  return folded(haystack).find(folded_needle) != std::string::npos;
}

// How a cell sorts: numbers before texts, empty cells last whatever the
// direction.
struct SortKey {
  int rank = 2;  // 0 number, 1 text, 2 empty
  double number = 0.0;
  std::string text;
};

SortKey number_key(double value) { return {0, value, {}}; }
SortKey optional_key(const std::optional<double>& value) { return value ? number_key(*value) : SortKey{}; }
SortKey text_key(const std::string& text) { return text.empty() ? SortKey{} : SortKey{1, 0.0, folded(text)}; }

SortKey field_key(std::string_view text) {
  if (const auto value = field_number(text)) return number_key(*value);
  return text_key(std::string(text));
}

SortKey sort_key(const SessionRow& row, const ColumnKey& key) {
  const auto& f = row.fastest;
  switch (key.column) {
    case Column::Time: return number_key(static_cast<double>(row.session_time));
    case Column::Version: return row.unit_version ? number_key(row.unit_version) : SortKey{};
    case Column::PulsesPerMile: return row.readable ? number_key(row.pulses_per_mile) : SortKey{};
    case Column::Pages: return number_key(static_cast<double>(row.pages));
    case Column::Samples: return number_key(static_cast<double>(row.samples));
    case Column::Sessions: return number_key(static_cast<double>(row.sessions));
    case Column::Laps: return number_key(static_cast<double>(row.laps));
    case Column::FastestLap: return f ? number_key(f->lap_time) : SortKey{};
    case Column::FastestSession: return f ? number_key(f->session) : SortKey{};
    case Column::FastestLapNumber: return f ? number_key(f->lap) : SortKey{};
    case Column::AverageSpeed: return f ? optional_key(f->average_speed) : SortKey{};
    case Column::TheoreticalBest: return optional_key(row.theoretical_best);
    case Column::Setup: return field_key(row.setup_field(key.setup_slot));
    default: return text_key(cell_text(row, key));
  }
}

// -1, 0 or 1 in ascending order.
int compare_keys(const SortKey& a, const SortKey& b) {
  if (a.rank != b.rank) return a.rank < b.rank ? -1 : 1;
  if (a.rank == 0 && a.number != b.number) return a.number < b.number ? -1 : 1;
  if (a.rank == 1) return a.text.compare(b.text) < 0 ? -1 : (a.text == b.text ? 0 : 1);
  return 0;
}

bool earlier(const SessionRow& a, const SessionRow& b) {
  return a.session_time != b.session_time ? a.session_time < b.session_time : a.path < b.path;
}

std::int64_t local_midnight(std::int64_t seconds) {
  const std::time_t when = static_cast<std::time_t>(seconds);
  std::tm local{};
  ::localtime_r(&when, &local);
  local.tm_hour = local.tm_min = local.tm_sec = 0;
  local.tm_isdst = -1;
  return static_cast<std::int64_t>(std::mktime(&local));
}

}  // namespace

bool row_matches(const SessionRow& row, const SessionFilter& filter) {
  if (!filter.include_unreadable && !row.readable) return false;
  if (filter.from_time && row.session_time < *filter.from_time) return false;
  if (filter.to_time && row.session_time >= *filter.to_time) return false;
  if (!tag_matches(filter.track, row.tags.track) || !tag_matches(filter.car, row.tags.car) ||
      !tag_matches(filter.driver, row.tags.driver)) {
    return false;
  }
  if (filter.text.empty()) return true;
  const std::string needle = folded(filter.text);
  return contains_folded(row.notes_text, needle) || contains_folded(row.tags.free_tags, needle);
}

std::vector<std::size_t> select_rows(const std::vector<SessionRow>& rows, const SessionFilter& filter,
                                     const SortOrder& order) {
  std::vector<std::size_t> chosen;
  std::vector<SortKey> keys(rows.size());
  for (std::size_t i = 0; i < rows.size(); ++i) {
    if (!row_matches(rows[i], filter)) continue;
    chosen.push_back(i);
    keys[i] = sort_key(rows[i], order.key);
  }
  std::sort(chosen.begin(), chosen.end(), [&](std::size_t a, std::size_t b) {
    int c = compare_keys(keys[a], keys[b]);
    if (order.descending && keys[a].rank == keys[b].rank) c = -c;
    if (c != 0) return c < 0;
    return earlier(rows[a], rows[b]);
  });
  return chosen;
}

std::optional<double> field_number(std::string_view text) {
  const std::size_t first = text.find_first_not_of(" \t");
  if (first == std::string::npos) return std::nullopt;
  std::string plain(text.substr(first, text.find_last_not_of(" \t") - first + 1));
  std::replace(plain.begin(), plain.end(), ',', '.');
  if (!plain.empty() && plain.front() == '+') plain.erase(0, 1);
  const bool digits_only = !plain.empty() && std::all_of(plain.begin(), plain.end(), [](char c) {
    return (c >= '0' && c <= '9') || c == '.' || c == '-';
  });
  if (!digits_only) return std::nullopt;
  double value = 0.0;
  const auto [end, ec] = std::from_chars(plain.data(), plain.data() + plain.size(), value, std::chars_format::fixed);
  if (ec != std::errc() || end != plain.data() + plain.size()) return std::nullopt;
  return value;
}

std::optional<double> lap_measure(const SessionRow& row, LapMeasure measure) {
  if (measure == LapMeasure::TheoreticalBest) return row.theoretical_best;
  if (row.fastest) return row.fastest->lap_time;
  return std::nullopt;
}

std::vector<ScatterPoint> scatter_points(const std::vector<SessionRow>& rows, const std::vector<std::size_t>& selected,
                                         const ScatterAxis& axis, LapMeasure measure) {
  std::vector<ScatterPoint> points;
  for (const std::size_t i : selected) {
    if (i >= rows.size()) continue;
    const auto y = lap_measure(rows[i], measure);
    const auto x = field_number(rows[i].setup_field(axis.setup_slot));
    if (x && y) points.push_back({i, *x, *y, date_text(rows[i].session_time)});
  }
  return points;
}

std::vector<DayBest> best_per_day(const std::vector<SessionRow>& rows, const std::vector<std::size_t>& selected,
                                  LapMeasure measure) {
  std::map<std::int64_t, DayBest> days;
  for (const std::size_t i : selected) {
    if (i >= rows.size()) continue;
    const auto time = lap_measure(rows[i], measure);
    if (!time) continue;
    const std::int64_t day = local_midnight(rows[i].session_time);
    const auto [at, fresh] = days.try_emplace(day, DayBest{day, date_text(rows[i].session_time), *time, i});
    const bool better = *time < at->second.lap_time ||
                        (*time == at->second.lap_time && earlier(rows[i], rows[at->second.row]));
    if (!fresh && better) at->second = DayBest{day, at->second.label, *time, i};
  }
  std::vector<DayBest> out;
  out.reserve(days.size());
  for (auto& [day, best] : days) out.push_back(std::move(best));
  return out;
}

std::vector<TrackCount> tracks_of(const std::vector<SessionRow>& rows, const std::vector<std::size_t>& selected) {
  std::map<std::string, TrackCount> by_folded;
  for (const std::size_t i : selected) {
    if (i >= rows.size()) continue;
    const std::string& track = rows[i].tags.track;
    auto& count = by_folded.try_emplace(folded(track), TrackCount{track, 0}).first->second;
    ++count.sessions;
  }
  std::vector<TrackCount> out;
  out.reserve(by_folded.size());
  for (auto& [key, count] : by_folded) out.push_back(std::move(count));
  // The map already orders by folded name: a stable sort keeps that for ties.
  std::stable_sort(out.begin(), out.end(),
                   [](const TrackCount& a, const TrackCount& b) { return a.sessions > b.sessions; });
  return out;
}

bool same_track(const std::string& a, const std::string& b) { return folded(a) == folded(b); }

std::vector<std::size_t> rows_at_track(const std::vector<SessionRow>& rows, const std::vector<std::size_t>& selected,
                                       const std::string& track) {
  std::vector<std::size_t> out;
  for (const std::size_t i : selected) {
    if (i < rows.size() && same_track(rows[i].tags.track, track)) out.push_back(i);
  }
  return out;
}

}  // namespace kv::library
