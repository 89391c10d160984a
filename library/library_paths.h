#pragma once
// Where things lie in a library folder:
//   <root>/YYYY/YYYY-MM-DD_HHMMSS.kvl   the sessions (a clash in the same
//                                       second gets "_2", "_3", …)
//   <root>/trash/…                      removed sessions, kept as they were
//   <root>/.index/<host>.sqlite3        this machine's index
// The folder may be shared between machines by any file sync: each machine
// keeps its own index in .index/, named after its host name, and no machine
// ever writes another's. Folders and files whose names begin with a dot, and
// trash/, are never scanned as sessions.
#include <cstdint>
#include <ctime>
#include <optional>
#include <string>

namespace kv::library {

// "<program folder>/library": the root the window and korvanta-cli use unless
// told otherwise.
std::string default_library_root(const std::string& program_folder);
// The default root for the per-user program folder of this desktop.
std::string default_library_root();

std::string index_folder(const std::string& root);   // <root>/.index
std::string index_path(const std::string& root);     // <root>/.index/<host>.sqlite3
std::string trash_folder(const std::string& root);   // <root>/trash

// "YYYY/YYYY-MM-DD_HHMMSS.kvl" for `when` in local time.
std::string session_relative_path(std::time_t when);

// The time a session file's name gives ("…/2026-05-17_143012.kvl" or with a
// "_N" clash suffix), in seconds since 1970, or nothing for any other name.
std::optional<std::int64_t> time_from_session_name(const std::string& file_name);

// True for names the writers use for unfinished files (".name.tmp-XXXXXX"):
// never a session, removed by the next scan.
bool is_temporary_name(const std::string& file_name);

}  // namespace kv::library
