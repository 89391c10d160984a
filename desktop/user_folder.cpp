#include "desktop/user_folder.h"

#include <pwd.h>
#include <unistd.h>

#include <cstdlib>
#include <filesystem>

namespace kv::desktop {
namespace {

constexpr const char* kFolderName = "korvanta-tools";

std::string environment(const char* name) {
  const char* value = std::getenv(name);
  return value != nullptr ? value : "";
}

std::string home_folder() {
  std::string home = environment("HOME");
  if (!home.empty()) return home;
  const passwd* entry = ::getpwuid(::getuid());
  return entry != nullptr && entry->pw_dir != nullptr ? entry->pw_dir : "";
}

}  // namespace

std::string user_folder_path() {
  namespace fs = std::filesystem;
  const std::string data_home = environment("XDG_DATA_HOME");
  // A relative value is to be ignored, as if it were not set.
  if (!data_home.empty() && fs::path(data_home).is_absolute()) return (fs::path(data_home) / kFolderName).string();
  const std::string home = home_folder();
  if (home.empty()) return "";
  return (fs::path(home) / ".local" / "share" / kFolderName).string();
}

std::string user_program_folder(const std::string& fallback) {
  const std::string folder = user_folder_path();
  if (folder.empty()) return fallback;
  std::error_code ec;
  std::filesystem::create_directories(folder, ec);
  return std::filesystem::is_directory(folder, ec) ? folder : fallback;
}

}  // namespace kv::desktop
