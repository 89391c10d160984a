#include "link/port_path.h"

#include <sys/stat.h>
#include <unistd.h>

#include <cstdlib>

namespace kv {

std::string emulator_link_folder() {
  const char* runtime = std::getenv("XDG_RUNTIME_DIR");
  if (runtime != nullptr && runtime[0] != '\0') return std::string(runtime) + "/korvanta";
  return "/tmp/korvanta-" + std::to_string(::getuid());
}

std::vector<std::string> port_path_candidates(int port_number) {
  const std::string index = std::to_string(port_number - 1);
  return {
      emulator_link_folder() + "/COM" + std::to_string(port_number),
      "/dev/ttyUSB" + index,
      "/dev/ttyACM" + index,
      "/dev/ttyS" + index,
  };
}

std::optional<std::string> link_folder_problem(const std::string& folder, uid_t owner) {
  struct stat info {};
  if (::lstat(folder.c_str(), &info) != 0) return "it cannot be examined";
  if (!S_ISDIR(info.st_mode)) return "it is not a folder";
  if (info.st_uid != owner) return "it belongs to another user";
  if ((info.st_mode & (S_IWGRP | S_IWOTH)) != 0) return "other users may write to it";
  return std::nullopt;
}

std::optional<std::string> link_entry_problem(const std::string& entry, uid_t owner) {
  struct stat info {};
  if (::lstat(entry.c_str(), &info) != 0) return "it cannot be examined";
  if (!S_ISLNK(info.st_mode)) return "it is not a link";
  if (info.st_uid != owner) return "it belongs to another user";
  return std::nullopt;
}

namespace {

bool exists(const std::string& path) {
  struct stat info {};
  return ::stat(path.c_str(), &info) == 0;
}

bool entry_present(const std::string& path) {
  struct stat info {};
  return ::lstat(path.c_str(), &info) == 0;
}

// Why the emulator's link for COM n must not be used, or nothing.
std::optional<std::string> link_problem(const std::string& folder, const std::string& entry) {
  const uid_t me = ::geteuid();
  if (const auto problem = link_folder_problem(folder, me)) return "the folder " + folder + ": " + *problem;
  if (const auto problem = link_entry_problem(entry, me)) return entry + ": " + *problem;
  return std::nullopt;
}

}  // namespace

PortDevice find_port_device(int port_number) {
  const auto candidates = port_path_candidates(port_number);
  PortDevice found;
  // Only an entry that is there can be planted; an empty place needs no word.
  std::size_t first_trusted = 0;
  if (entry_present(candidates.front())) {
    if (const auto problem = link_problem(emulator_link_folder(), candidates.front())) {
      found.warning = "COM " + std::to_string(port_number) + ": skipped " + *problem;
      first_trusted = 1;
    }
  }
  for (std::size_t i = first_trusted; i < candidates.size(); ++i) {
    if (exists(candidates[i])) {
      found.path = candidates[i];
      return found;
    }
  }
  found.path = candidates[first_trusted];
  return found;
}

std::string port_device_path(int port_number) { return find_port_device(port_number).path; }

}  // namespace kv
