#pragma once
// Reading one library file into its index row, and rewriting a file's set-up
// sheet in place.
#include <functional>
#include <optional>
#include <string>

#include "library/session_row.h"
#include "logdata/dataset.h"

namespace kv::library {

// Far beyond any log (a full memory is under 2 MB of text): a bigger file is
// not read at all, so nothing in the folder can make a scan eat the memory.
inline constexpr std::int64_t kMaxLogFileBytes = 64 * 1024 * 1024;

struct FileRead {
  std::optional<std::string> bytes;
  std::string error;  // when bytes is empty
};

// Reads a regular file of at most kMaxLogFileBytes (never a FIFO or device).
FileRead read_log_bytes(const std::string& path);

// The row of `bytes` lying at `relative` (stamped as the file now is).
SessionRow row_for_bytes(const std::string& bytes, const std::string& relative, std::int64_t size,
                         std::int64_t mtime_ns);
// The same when the summary is known already.
void place_row(SessionRow& row, const std::string& bytes, const std::string& relative, std::int64_t size,
               std::int64_t mtime_ns);

// The row of the file at root/relative; nothing (with error) when it cannot
// be read.
std::optional<SessionRow> row_for_file(const std::string& root, const std::string& relative, std::string& error);

// Reads the log file at `path`, lets `change` edit its sheet and writes it
// back atomically, exactly as the save would. Empty on success, else why.
std::string rewrite_sheet(const std::string& path, const std::function<void(SetupSheet&)>& change);

// A path relative to the root that stays inside it: no absolute path, no
// "..", no empty part.
bool is_safe_relative(const std::string& relative);

}  // namespace kv::library
