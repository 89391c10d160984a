#include "library/library_paths.h"

#include <unistd.h>

#include <climits>
#include <cstdio>

#include "desktop/user_folder.h"

namespace kv::library {
namespace {

// A host name as a file name: anything but letters, digits, '-' and '.'
// becomes '_', so no host name can climb out of the index folder.
std::string host_file_name() {
  char host[HOST_NAME_MAX + 1] = {};
  if (::gethostname(host, sizeof host - 1) != 0 || host[0] == '\0') return "this-machine";
  std::string name;
  for (const char* c = host; *c != '\0'; ++c) {
    const unsigned char u = static_cast<unsigned char>(*c);
    const bool plain = (u >= 'a' && u <= 'z') || (u >= 'A' && u <= 'Z') || (u >= '0' && u <= '9') || u == '-';
    name += plain ? *c : '_';
  }
  return name;
}

bool all_digits(const std::string& text, std::size_t from, std::size_t count) {
  if (from + count > text.size()) return false;
  for (std::size_t i = from; i < from + count; ++i) {
    if (text[i] < '0' || text[i] > '9') return false;
  }
  return true;
}

int number_at(const std::string& text, std::size_t from, std::size_t count) {
  return std::stoi(text.substr(from, count));
}

}  // namespace

std::string default_library_root(const std::string& program_folder) { return program_folder + "/library"; }

std::string default_library_root() { return default_library_root(desktop::user_program_folder(".")); }

std::string index_folder(const std::string& root) { return root + "/.index"; }

std::string index_path(const std::string& root) { return index_folder(root) + "/" + host_file_name() + ".sqlite3"; }

std::string trash_folder(const std::string& root) { return root + "/trash"; }

std::string session_relative_path(std::time_t when) {
  std::tm local{};
  ::localtime_r(&when, &local);
  char text[64];
  std::snprintf(text, sizeof text, "%04d/%04d-%02d-%02d_%02d%02d%02d.kvl", local.tm_year + 1900, local.tm_year + 1900,
                local.tm_mon + 1, local.tm_mday, local.tm_hour, local.tm_min, local.tm_sec);
  return text;
}

std::optional<std::int64_t> time_from_session_name(const std::string& file_name) {
  const std::size_t slash = file_name.find_last_of('/');
  const std::string name = slash == std::string::npos ? file_name : file_name.substr(slash + 1);
  // YYYY-MM-DD_HHMMSS
  if (name.size() < 17 || !all_digits(name, 0, 4) || name[4] != '-' || !all_digits(name, 5, 2) || name[7] != '-' ||
      !all_digits(name, 8, 2) || name[10] != '_' || !all_digits(name, 11, 6)) {
    return std::nullopt;
  }
  std::tm local{};
  local.tm_year = number_at(name, 0, 4) - 1900;
  local.tm_mon = number_at(name, 5, 2) - 1;
  local.tm_mday = number_at(name, 8, 2);
  local.tm_hour = number_at(name, 11, 2);
  local.tm_min = number_at(name, 13, 2);
  local.tm_sec = number_at(name, 15, 2);
  local.tm_isdst = -1;
  if (local.tm_mon > 11 || local.tm_mday < 1 || local.tm_mday > 31 || local.tm_hour > 23 || local.tm_min > 59 ||
      local.tm_sec > 60) {
    return std::nullopt;
  }
  const std::time_t when = std::mktime(&local);
  if (when == static_cast<std::time_t>(-1)) return std::nullopt;
  return static_cast<std::int64_t>(when);
}

bool is_temporary_name(const std::string& file_name) {
  const std::size_t slash = file_name.find_last_of('/');
  const std::string name = slash == std::string::npos ? file_name : file_name.substr(slash + 1);
  return !name.empty() && name[0] == '.' && name.find(".tmp-") != std::string::npos;
}

}  // namespace kv::library
