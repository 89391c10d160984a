#pragma once
// This machine's SQLite index of the library folder: one row per file.
// The schema carries its version in user_version; an index of an older
// version is migrated step by step, one of a newer version (made by a newer
// program) is emptied and filled again from the folder.
#include <optional>
#include <string>
#include <vector>

#include "library/library_files.h"
#include "library/session_row.h"
#include "library/sqlite_db.h"

namespace kv::library {

inline constexpr int kIndexSchemaVersion = 2;

class SessionIndex {
 public:
  // Opens or creates the index file and brings its schema up to date.
  // Throws SqlError.
  SessionIndex(const std::string& path, int busy_timeout_ms);

  Database& db() { return db_; }

  // True when the schema had to be made from nothing (a new or emptied index).
  bool created() const { return created_; }

  // Inserts or replaces the row of row.path; returns its id.
  std::int64_t put(const SessionRow& row);
  void remove(const std::string& path);
  void clear();

  std::vector<SessionRow> all_rows();
  std::optional<SessionRow> find(const std::string& path);
  bool has_hash(const std::string& content_hash);

  struct Stamped {
    std::string path;
    FileStamp stamp;
  };
  std::vector<Stamped> stamps();

 private:
  void migrate();
  Database db_;
  bool created_ = false;
};

}  // namespace kv::library
