#include "library/library_files.h"

#include <dirent.h>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <atomic>
#include <cerrno>
#include <cstring>
#include <filesystem>

#include "common/atomic_file.h"
#include "library/library_paths.h"

namespace fs = std::filesystem;

namespace kv::library {
namespace {

constexpr int kMaxClashes = 1000;

// A name unique to this program and call, in the temporaries' own pattern so
// that a killed program's leftover is recognised and never read as a session.
std::string staging_path(const fs::path& folder, const std::string& base) {
  static std::atomic<unsigned> counter{0};
  return (folder / ("." + base + ".tmp-stage-" + std::to_string(::getpid()) + "-" + std::to_string(counter++)))
      .string();
}

// Links `from` under the first free name; true with `placed.relative` set.
bool link_free_name(const std::string& from, const std::string& root, const std::string& relative,
                    PlacedFile& placed) {
  for (int n = 1; n <= kMaxClashes; ++n) {
    const std::string candidate = with_clash_suffix(relative, n);
    if (::link(from.c_str(), (root + "/" + candidate).c_str()) == 0) {
      placed.relative = candidate;
      return true;
    }
    if (errno != EEXIST) {
      placed.error = system_reason();
      return false;
    }
  }
  placed.error = "no free file name for " + relative;
  return false;
}

bool make_folders(const fs::path& folder, std::string& error) {
  std::error_code ec;
  fs::create_directories(folder, ec);
  if (ec) {
    error = ec.message();
    return false;
  }
  return true;
}

bool is_session_name(const std::string& name) {
  return name.size() > 4 && name.compare(name.size() - 4, 4, ".kvl") == 0 && name[0] != '.';
}

FileStamp stamp_of(const struct stat& st) {
  return FileStamp{static_cast<std::int64_t>(st.st_size),
                   static_cast<std::int64_t>(st.st_mtim.tv_sec) * 1'000'000'000 + st.st_mtim.tv_nsec};
}

bool is_real_folder(int folder, const dirent& entry) {
  if (entry.d_type != DT_UNKNOWN) return entry.d_type == DT_DIR;
  struct stat st {};
  return ::fstatat(folder, entry.d_name, &st, AT_SYMLINK_NOFOLLOW) == 0 && S_ISDIR(st.st_mode);
}

// Lists the folder open as `fd` (taken over and closed), whose path relative
// to the root is `prefix`. Straight system calls: a library of ten thousand
// sessions is listed at every open, and the files are stat'ed on the way.
void list_folder(int fd, const std::string& prefix, int depth, FolderListing& listing) {
  DIR* folder = ::fdopendir(fd);
  if (folder == nullptr) {
    ::close(fd);
    return;
  }
  while (const dirent* entry = ::readdir(folder)) {
    const std::string name = entry->d_name;
    if (name == "." || name == "..") continue;
    if (is_real_folder(fd, *entry)) {
      // The index folder, other dot-folders and trash/ hold no sessions.
      if (name[0] == '.' || (depth == 0 && name == "trash") || depth + 1 > kMaxListingDepth) continue;
      const int child = ::openat(fd, entry->d_name, O_RDONLY | O_DIRECTORY | O_NOFOLLOW | O_CLOEXEC);
      if (child >= 0) list_folder(child, prefix + name + "/", depth + 1, listing);
      continue;
    }
    struct stat st {};
    if (is_temporary_name(name)) {
      listing.temporaries.push_back(prefix + name);
    } else if (is_session_name(name) && ::fstatat(fd, entry->d_name, &st, 0) == 0 && S_ISREG(st.st_mode)) {
      listing.sessions.push_back(prefix + name);
      listing.stamps.push_back(stamp_of(st));
    }
  }
  ::closedir(folder);
}

}  // namespace

std::string system_reason() { return std::strerror(errno); }

std::string with_clash_suffix(const std::string& relative, int number) {
  if (number <= 1) return relative;
  const std::size_t dot = relative.rfind('.');
  const std::size_t slash = relative.rfind('/');
  const bool has_ext = dot != std::string::npos && (slash == std::string::npos || dot > slash);
  const std::string stem = has_ext ? relative.substr(0, dot) : relative;
  const std::string ext = has_ext ? relative.substr(dot) : std::string();
  return stem + "_" + std::to_string(number) + ext;
}

PlacedFile place_new_file(const std::string& root, const std::string& relative, std::string_view bytes) {
  PlacedFile placed;
  const fs::path target = fs::path(root) / relative;
  if (!make_folders(target.parent_path(), placed.error)) return placed;
  const std::string staged = staging_path(target.parent_path(), target.filename().string());
  if (!write_file_atomically(staged, bytes)) {
    placed.error = system_reason();
    ::unlink(staged.c_str());
    return placed;
  }
  link_free_name(staged, root, relative, placed);
  ::unlink(staged.c_str());
  return placed;
}

PlacedFile move_without_replacing(const std::string& from, const std::string& root, const std::string& relative) {
  PlacedFile placed;
  if (!make_folders((fs::path(root) / relative).parent_path(), placed.error)) return placed;
  if (link_free_name(from, root, relative, placed) && ::unlink(from.c_str()) != 0) {
    placed.error = system_reason();
    ::unlink((root + "/" + placed.relative).c_str());
  }
  return placed;
}

FolderListing list_library_folder(const std::string& root) {
  FolderListing listing;
  const int top = ::open(root.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
  if (top >= 0) list_folder(top, "", 0, listing);
  return listing;
}

std::optional<FileStamp> file_stamp(const std::string& path) {
  struct stat st {};
  if (::stat(path.c_str(), &st) != 0 || !S_ISREG(st.st_mode)) return std::nullopt;
  return stamp_of(st);
}

}  // namespace kv::library
