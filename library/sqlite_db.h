#pragma once
// A thin owner of SQLite handles: the connection and prepared statements are
// closed by their destructors, and every failure becomes a SqlError holding
// SQLite's own text and code.
#include <cstdint>
#include <optional>
#include <stdexcept>
#include <string>
#include <string_view>

struct sqlite3;
struct sqlite3_stmt;

namespace kv::library {

class SqlError : public std::runtime_error {
 public:
  SqlError(const std::string& what, int code) : std::runtime_error(what), code_(code) {}
  int code() const { return code_; }
  // SQLITE_BUSY or SQLITE_LOCKED: another connection holds the database.
  bool busy() const;

 private:
  int code_;
};

class Statement;

class Database {
 public:
  // Opens (creating when missing) the file, with a busy timeout.
  Database(const std::string& path, int busy_timeout_ms);
  ~Database();
  Database(const Database&) = delete;
  Database& operator=(const Database&) = delete;

  void exec(std::string_view sql);
  Statement prepare(std::string_view sql);
  std::int64_t last_insert_id() const;
  // Rows this connection has inserted, changed or deleted since it opened.
  std::int64_t total_changes() const;
  int user_version();
  void set_user_version(int version);
  // "ok" when the file is sound, else SQLite's findings. SQLite's quick
  // check: every page and record read and verified, without the slow
  // cross-check of each index against its table (an index is only a copy).
  std::string integrity_check();

  sqlite3* handle() const { return db_; }

 private:
  sqlite3* db_ = nullptr;
};

// A transaction rolled back unless committed. BEGIN IMMEDIATE takes the
// write lock at once, so two writers never deadlock half-way.
class Transaction {
 public:
  explicit Transaction(Database& db);
  ~Transaction();
  Transaction(const Transaction&) = delete;
  Transaction& operator=(const Transaction&) = delete;
  void commit();

 private:
  Database& db_;
  bool done_ = false;
};

// A read transaction: several statements see the same state of the file,
// even while another program waits to write. Reads only, so ending it
// never fails in a way that matters.
class ReadSnapshot {
 public:
  explicit ReadSnapshot(Database& db);
  ~ReadSnapshot();
  ReadSnapshot(const ReadSnapshot&) = delete;
  ReadSnapshot& operator=(const ReadSnapshot&) = delete;

 private:
  Database& db_;
};

class Statement {
 public:
  Statement(Database& db, std::string_view sql);
  ~Statement();
  Statement(Statement&& other) noexcept;
  Statement(const Statement&) = delete;
  Statement& operator=(const Statement&) = delete;
  Statement& operator=(Statement&&) = delete;

  // Parameters are 1-based, as in SQL's "?".
  Statement& bind(int index, std::int64_t value);
  Statement& bind(int index, double value);
  Statement& bind(int index, std::string_view text);
  Statement& bind_null(int index);
  Statement& bind(int index, const std::optional<double>& value);

  // True while a row is ready; false at the end.
  bool step();
  void run();    // steps to the end
  void reset();  // ready to bind and run again

  std::int64_t column_int(int index) const;
  double column_double(int index) const;
  std::optional<double> column_optional_double(int index) const;
  std::string column_text(int index) const;
  // The text without a copy; valid until the next step() or reset().
  std::string_view column_view(int index) const;

 private:
  Database* db_;
  sqlite3_stmt* stmt_ = nullptr;
};

}  // namespace kv::library
