#include "library/sqlite_db.h"

#include <sqlite3.h>

namespace kv::library {
namespace {

[[noreturn]] void fail(sqlite3* db, int code, std::string_view doing) {
  const std::string detail = db != nullptr ? sqlite3_errmsg(db) : sqlite3_errstr(code);
  throw SqlError(std::string(doing) + ": " + detail, code);
}

}  // namespace

bool SqlError::busy() const {
  const int primary = code_ & 0xff;
  return primary == SQLITE_BUSY || primary == SQLITE_LOCKED;
}

Database::Database(const std::string& path, int busy_timeout_ms) {
  const int code = sqlite3_open_v2(path.c_str(), &db_, SQLITE_OPEN_READWRITE | SQLITE_OPEN_CREATE | SQLITE_OPEN_NOMUTEX,
                                   nullptr);
  if (code != SQLITE_OK) {
    const std::string detail = db_ != nullptr ? sqlite3_errmsg(db_) : sqlite3_errstr(code);
    sqlite3_close(db_);
    db_ = nullptr;
    throw SqlError(detail, code);
  }
  sqlite3_extended_result_codes(db_, 1);
  sqlite3_busy_timeout(db_, busy_timeout_ms);
}

Database::~Database() { sqlite3_close(db_); }

void Database::exec(std::string_view sql) {
  const std::string text(sql);
  const int code = sqlite3_exec(db_, text.c_str(), nullptr, nullptr, nullptr);
  if (code != SQLITE_OK) fail(db_, code, "SQL");
}

Statement Database::prepare(std::string_view sql) { return Statement(*this, sql); }

std::int64_t Database::last_insert_id() const { return sqlite3_last_insert_rowid(db_); }

std::int64_t Database::total_changes() const { return sqlite3_total_changes64(db_); }

int Database::user_version() {
  Statement read(*this, "PRAGMA user_version");
  return read.step() ? static_cast<int>(read.column_int(0)) : 0;
}

void Database::set_user_version(int version) { exec("PRAGMA user_version = " + std::to_string(version)); }

std::string Database::integrity_check() {
  Statement check(*this, "PRAGMA quick_check");
  std::string findings;
  while (check.step()) {
    if (!findings.empty()) findings += "; ";
    findings += check.column_text(0);
  }
  return findings;
}

ReadSnapshot::ReadSnapshot(Database& db) : db_(db) { db_.exec("BEGIN DEFERRED"); }

ReadSnapshot::~ReadSnapshot() { sqlite3_exec(db_.handle(), "COMMIT", nullptr, nullptr, nullptr); }

Transaction::Transaction(Database& db) : db_(db) { db_.exec("BEGIN IMMEDIATE"); }

Transaction::~Transaction() {
  if (!done_) sqlite3_exec(db_.handle(), "ROLLBACK", nullptr, nullptr, nullptr);
}

void Transaction::commit() {
  db_.exec("COMMIT");
  done_ = true;
}

Statement::Statement(Database& db, std::string_view sql) : db_(&db) {
  const int code = sqlite3_prepare_v2(db.handle(), sql.data(), static_cast<int>(sql.size()), &stmt_, nullptr);
  if (code != SQLITE_OK) fail(db.handle(), code, "SQL");
}

Statement::~Statement() { sqlite3_finalize(stmt_); }

Statement::Statement(Statement&& other) noexcept : db_(other.db_), stmt_(other.stmt_) { other.stmt_ = nullptr; }

Statement& Statement::bind(int index, std::int64_t value) {
  const int code = sqlite3_bind_int64(stmt_, index, value);
  if (code != SQLITE_OK) fail(db_->handle(), code, "bind");
  return *this;
}

Statement& Statement::bind(int index, double value) {
  const int code = sqlite3_bind_double(stmt_, index, value);
  if (code != SQLITE_OK) fail(db_->handle(), code, "bind");
  return *this;
}

Statement& Statement::bind(int index, std::string_view text) {
  const int code = sqlite3_bind_text64(stmt_, index, text.data(), text.size(), SQLITE_TRANSIENT, SQLITE_UTF8);
  if (code != SQLITE_OK) fail(db_->handle(), code, "bind");
  return *this;
}

Statement& Statement::bind_null(int index) {
  const int code = sqlite3_bind_null(stmt_, index);
  if (code != SQLITE_OK) fail(db_->handle(), code, "bind");
  return *this;
}

Statement& Statement::bind(int index, const std::optional<double>& value) {
  return value ? bind(index, *value) : bind_null(index);
}

bool Statement::step() {
  const int code = sqlite3_step(stmt_);
  if (code == SQLITE_ROW) return true;
  if (code == SQLITE_DONE) return false;
  fail(db_->handle(), code, "SQL");
}

void Statement::run() {
  while (step()) {
  }
}

void Statement::reset() {
  sqlite3_reset(stmt_);
  sqlite3_clear_bindings(stmt_);
}

std::int64_t Statement::column_int(int index) const { return sqlite3_column_int64(stmt_, index); }

double Statement::column_double(int index) const { return sqlite3_column_double(stmt_, index); }

std::optional<double> Statement::column_optional_double(int index) const {
  if (sqlite3_column_type(stmt_, index) == SQLITE_NULL) return std::nullopt;
  return sqlite3_column_double(stmt_, index);
}

std::string Statement::column_text(int index) const { return std::string(column_view(index)); }

std::string_view Statement::column_view(int index) const {
  const auto* text = sqlite3_column_text(stmt_, index);
  const int size = sqlite3_column_bytes(stmt_, index);
  return text != nullptr ? std::string_view(reinterpret_cast<const char*>(text), static_cast<std::size_t>(size))
                         : std::string_view();
}

}  // namespace kv::library
