#include "library/session_index.h"

#include <algorithm>
#include <functional>

namespace kv::library {
namespace {

// The fixed columns in the order put() binds and read_row() reads them; the
// set-up sheet's column follows.
constexpr const char* kColumns[] = {
    "path", "session_time", "file_size", "file_mtime_ns", "content_hash", "readable", "unreadable_message",
    "unit_version", "pulses_per_mile", "speed_in_mph", "pressure_in_psi", "temp_in_degc", "pages", "samples",
    "sessions", "laps", "fastest_time", "fastest_session", "fastest_lap", "fastest_speed", "theoretical_best",
    "notes_first_line", "notes_text", "track", "car", "driver", "free_tags"};
constexpr int kFixedColumns = static_cast<int>(std::size(kColumns));

std::string fixed_column_list() {
  std::string list;
  for (const char* name : kColumns) list += std::string(list.empty() ? "" : ", ") + name;
  return list;
}

// Since version 2 the 65 set-up fields share one column, one field a line
// (a log file holds each on a line of its own, so none holds a line break):
// reading a row then takes one column instead of 65, which is most of the
// cost of opening a large library.
std::string column_list() { return fixed_column_list() + ", setup"; }

constexpr const char* kFixedColumnsSql =
    "id INTEGER PRIMARY KEY, path TEXT NOT NULL UNIQUE, session_time INTEGER NOT NULL,"
    " file_size INTEGER NOT NULL, file_mtime_ns INTEGER NOT NULL, content_hash TEXT NOT NULL,"
    " readable INTEGER NOT NULL, unreadable_message TEXT NOT NULL, unit_version INTEGER NOT NULL,"
    " pulses_per_mile INTEGER NOT NULL, speed_in_mph INTEGER NOT NULL, pressure_in_psi INTEGER NOT NULL,"
    " temp_in_degc INTEGER NOT NULL, pages INTEGER NOT NULL, samples INTEGER NOT NULL, sessions INTEGER NOT NULL,"
    " laps INTEGER NOT NULL, fastest_time REAL, fastest_session INTEGER, fastest_lap INTEGER, fastest_speed REAL,"
    " theoretical_best REAL, notes_first_line TEXT NOT NULL, notes_text TEXT NOT NULL, track TEXT NOT NULL,"
    " car TEXT NOT NULL, driver TEXT NOT NULL, free_tags TEXT NOT NULL";

constexpr const char* kIndexesSql =
    "CREATE INDEX sessions_by_hash ON sessions(content_hash);\n"
    "CREATE INDEX sessions_by_time ON sessions(session_time);";

std::string create_v1() {
  std::string sql = std::string("CREATE TABLE sessions (") + kFixedColumnsSql;
  for (int slot = 1; slot <= kSetupFieldsInRow; ++slot) sql += ", setup_" + std::to_string(slot) + " TEXT NOT NULL";
  return sql + ");\n" + kIndexesSql;
}

// The 65 set-up columns become one, their rows kept.
std::string packed_setup_v2() {
  std::string packed;
  for (int slot = 1; slot <= kSetupFieldsInRow; ++slot) {
    if (slot > 1) packed += " || char(10) || ";
    packed += "replace(replace(setup_" + std::to_string(slot) + ", char(13), ' '), char(10), ' ')";
  }
  return std::string("CREATE TABLE sessions_v2 (") + kFixedColumnsSql + ", setup TEXT NOT NULL);\n" +
         "INSERT INTO sessions_v2 (id, " + fixed_column_list() + ", setup) SELECT id, " + fixed_column_list() + ", " +
         packed + " FROM sessions;\nDROP TABLE sessions;\nALTER TABLE sessions_v2 RENAME TO sessions;\n" +
         kIndexesSql;
}

// Step n brings a version n - 1 index to version n.
const std::vector<std::function<void(Database&)>>& migrations() {
  static const std::vector<std::function<void(Database&)>> steps = {
      [](Database& db) { db.exec(create_v1()); },
      [](Database& db) { db.exec(packed_setup_v2()); },
  };
  return steps;
}

// Fills `row` in place: the texts are copied straight from SQLite's buffers
// into the row, with no string in between.
void read_row(const Statement& q, SessionRow& row) {
  int c = 0;
  row.id = q.column_int(c++);
  row.path = q.column_view(c++);
  row.session_time = q.column_int(c++);
  row.file_size = q.column_int(c++);
  row.file_mtime_ns = q.column_int(c++);
  row.content_hash = q.column_view(c++);
  row.readable = q.column_int(c++) != 0;
  row.unreadable_message = q.column_view(c++);
  row.unit_version = static_cast<int>(q.column_int(c++));
  row.pulses_per_mile = static_cast<int>(q.column_int(c++));
  row.speed_in_mph = q.column_int(c++) != 0;
  row.pressure_in_psi = q.column_int(c++) != 0;
  row.temp_in_degc = q.column_int(c++) != 0;
  row.pages = static_cast<long>(q.column_int(c++));
  row.samples = static_cast<long>(q.column_int(c++));
  row.sessions = static_cast<long>(q.column_int(c++));
  row.laps = static_cast<long>(q.column_int(c++));
  if (const auto time = q.column_optional_double(c)) {
    row.fastest = FastestLap{*time, static_cast<int>(q.column_int(c + 1)), static_cast<int>(q.column_int(c + 2)),
                             q.column_optional_double(c + 3)};
  }
  c += 4;
  row.theoretical_best = q.column_optional_double(c++);
  row.notes_first_line = q.column_view(c++);
  row.notes_text = q.column_view(c++);
  row.tags.track = q.column_view(c++);
  row.tags.car = q.column_view(c++);
  row.tags.driver = q.column_view(c++);
  row.tags.free_tags = q.column_view(c++);
  row.setup.assign_joined(q.column_view(c));
}

SessionRow read_row(const Statement& q) {
  SessionRow row;
  read_row(q, row);
  return row;
}

void bind_row(Statement& q, const SessionRow& row) {
  int c = 1;
  q.bind(c++, row.path);
  q.bind(c++, row.session_time);
  q.bind(c++, row.file_size);
  q.bind(c++, row.file_mtime_ns);
  q.bind(c++, row.content_hash);
  q.bind(c++, std::int64_t{row.readable});
  q.bind(c++, row.unreadable_message);
  q.bind(c++, std::int64_t{row.unit_version});
  q.bind(c++, std::int64_t{row.pulses_per_mile});
  q.bind(c++, std::int64_t{row.speed_in_mph});
  q.bind(c++, std::int64_t{row.pressure_in_psi});
  q.bind(c++, std::int64_t{row.temp_in_degc});
  q.bind(c++, std::int64_t{row.pages});
  q.bind(c++, std::int64_t{row.samples});
  q.bind(c++, std::int64_t{row.sessions});
  q.bind(c++, std::int64_t{row.laps});
  if (row.fastest) {
    q.bind(c++, row.fastest->lap_time);
    q.bind(c++, std::int64_t{row.fastest->session});
    q.bind(c++, std::int64_t{row.fastest->lap});
    q.bind(c++, row.fastest->average_speed);
  } else {
    for (int k = 0; k < 4; ++k) q.bind_null(c++);
  }
  q.bind(c++, row.theoretical_best);
  q.bind(c++, row.notes_first_line);
  q.bind(c++, row.notes_text);
  q.bind(c++, row.tags.track);
  q.bind(c++, row.tags.car);
  q.bind(c++, row.tags.driver);
  q.bind(c++, row.tags.free_tags);
  q.bind(c, row.setup.joined());
}

std::string placeholders() {
  std::string marks;
  for (int i = 0; i < kFixedColumns + 1; ++i) marks += i == 0 ? "?" : ", ?";
  return marks;
}

}  // namespace

SessionIndex::SessionIndex(const std::string& path, int busy_timeout_ms) : db_(path, busy_timeout_ms) {
  migrate();
}

void SessionIndex::migrate() {
  // An index in step takes no write lock, so it opens while another program
  // writes.
  if (db_.user_version() == kIndexSchemaVersion) return;
  Transaction change(db_);
  int version = db_.user_version();
  if (version > kIndexSchemaVersion) {
    // Made by a newer program: its rows are only a copy of the files.
    db_.exec("DROP TABLE IF EXISTS sessions");
    version = 0;
  }
  created_ = version == 0;
  const auto& steps = migrations();
  for (int step = version; step < kIndexSchemaVersion; ++step) steps[static_cast<std::size_t>(step)](db_);
  if (version != kIndexSchemaVersion) db_.set_user_version(kIndexSchemaVersion);
  change.commit();
}

std::int64_t SessionIndex::put(const SessionRow& row) {
  Statement q(db_, "INSERT OR REPLACE INTO sessions (" + column_list() + ") VALUES (" + placeholders() + ")");
  bind_row(q, row);
  q.run();
  return db_.last_insert_id();
}

void SessionIndex::remove(const std::string& path) {
  Statement q(db_, "DELETE FROM sessions WHERE path = ?");
  q.bind(1, path).run();
}

void SessionIndex::clear() { db_.exec("DELETE FROM sessions"); }

std::vector<SessionRow> SessionIndex::all_rows() {
  // Read in the table's order and put in time order here: a compact row
  // moves cheaply, while SQLite's ORDER BY would look each row up through
  // the time index. One snapshot for the count and the rows, so the rows
  // are read into one allocation.
  ReadSnapshot snapshot(db_);
  std::vector<SessionRow> rows;
  Statement count(db_, "SELECT count(*) FROM sessions");
  if (count.step()) rows.reserve(static_cast<std::size_t>(std::max<std::int64_t>(0, count.column_int(0))));
  Statement q(db_, "SELECT id, " + column_list() + " FROM sessions");
  while (q.step()) read_row(q, rows.emplace_back());
  // order[k]: the row that belongs at place k.
  std::vector<std::size_t> order(rows.size());
  for (std::size_t i = 0; i < order.size(); ++i) order[i] = i;
  std::sort(order.begin(), order.end(), [&](std::size_t a, std::size_t b) {
    const SessionRow& x = rows[a];
    const SessionRow& y = rows[b];
    return x.session_time != y.session_time ? x.session_time < y.session_time : x.path < y.path;
  });
  // Each cycle of the permutation is walked once, every row moved once.
  for (std::size_t start = 0; start < order.size(); ++start) {
    if (order[start] == start) continue;
    SessionRow held = std::move(rows[start]);
    std::size_t at = start;
    while (order[at] != start) {
      const std::size_t from = order[at];
      rows[at] = std::move(rows[from]);
      order[at] = at;
      at = from;
    }
    rows[at] = std::move(held);
    order[at] = at;
  }
  return rows;
}

std::optional<SessionRow> SessionIndex::find(const std::string& path) {
  Statement q(db_, "SELECT id, " + column_list() + " FROM sessions WHERE path = ?");
  q.bind(1, path);
  if (!q.step()) return std::nullopt;
  return read_row(q);
}

bool SessionIndex::has_hash(const std::string& content_hash) {
  Statement q(db_, "SELECT 1 FROM sessions WHERE content_hash = ? LIMIT 1");
  q.bind(1, content_hash);
  return q.step();
}

std::vector<SessionIndex::Stamped> SessionIndex::stamps() {
  Statement q(db_, "SELECT path, file_size, file_mtime_ns FROM sessions");
  std::vector<Stamped> out;
  while (q.step()) out.push_back({q.column_text(0), {q.column_int(1), q.column_int(2)}});
  return out;
}

}  // namespace kv::library
