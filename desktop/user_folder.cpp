#include "desktop/user_folder.h"

#include <pwd.h>
#include <unistd.h>

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <iterator>

#include "common/atomic_file.h"

namespace kv::desktop {
namespace {

constexpr const char* kFolderName = "korvanta-tools";
constexpr const char* kLibraryFolderFileName = "library_folder.txt";
// Longer than any path the system can open: such a file is not ours.
constexpr std::size_t kLongestPath = 4096;

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

namespace {

// The file's one line, or "" when it is missing or longer than a path can be.
std::string first_line_of(const std::string& file) {
  std::ifstream in(file, std::ios::binary);
  if (!in) return "";
  std::string text(kLongestPath + 2, '\0');
  in.read(text.data(), static_cast<std::streamsize>(text.size()));
  text.resize(static_cast<std::size_t>(in.gcount()));
  if (!text.empty() && text.back() == '\n') text.pop_back();
  if (!text.empty() && text.back() == '\r') text.pop_back();
  if (text.size() > kLongestPath || text.find_first_of(std::string("\0\r\n", 3)) != std::string::npos) return "";
  return text;
}

}  // namespace

std::string library_folder_file(const std::string& program_folder) {
  return (std::filesystem::path(program_folder) / kLibraryFolderFileName).string();
}

std::string remembered_library_folder(const std::string& program_folder) {
  namespace fs = std::filesystem;
  const std::string folder = first_line_of(library_folder_file(program_folder));
  std::error_code ec;
  if (!folder.empty() && fs::path(folder).is_absolute() && fs::is_directory(folder, ec)) return folder;
  return default_library_folder(program_folder);
}

void recall_library_folder(const std::string& program_folder, std::string& library_folder, std::string& memo_file) {
  library_folder = remembered_library_folder(program_folder);
  memo_file = library_folder_file(program_folder);
}

bool remember_library_folder(const std::string& file, const std::string& folder) {
  return write_file_atomically(file, folder + "\n");
}

}  // namespace kv::desktop
