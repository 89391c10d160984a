#pragma once
// Which window takes each file handed to the program at start (by the file
// manager or on the command line).
#include <optional>
#include <string>
#include <vector>

namespace kv {

struct StartFiles {
  std::optional<std::string> log_a;   // loaded into data set A
  std::optional<std::string> log_b;   // loaded into data set B
  std::optional<std::string> config;  // loaded in the configure window
  std::optional<std::string> setup;   // loaded as set-up sheet of data set A
  std::vector<std::string> extra;     // more than the windows can take
};

// A configuration file (.kvc) or set-up file (.qsu) goes to its window; any
// other name is taken as a log, so one that is not a log is refused by the
// log load's own checks. Relative names are made absolute against `cwd`.
StartFiles plan_start_files(const std::vector<std::string>& files, const std::string& cwd);

// True when `path` ends with the log file's extension, as the load compares
// it (case-sensitively).
bool is_log_file_name(const std::string& path);

}  // namespace kv
