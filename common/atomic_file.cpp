#include "common/atomic_file.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <cstdio>
#include <filesystem>

namespace kv {
namespace {

bool write_all(int fd, std::string_view text) {
  while (!text.empty()) {
    const ssize_t n = ::write(fd, text.data(), text.size());
    if (n < 0) {
      if (errno == EINTR) continue;
      return false;
    }
    text.remove_prefix(static_cast<std::size_t>(n));
  }
  return true;
}

// The process's file-creation mask. The kernel shows it without changing it;
// where it does not, reading means setting it for a moment, and the strictest
// mask is the one left in place if another thread creates a file meanwhile.
mode_t current_umask() {
  if (std::FILE* status = std::fopen("/proc/self/status", "re")) {
    char line[256];
    unsigned mask = 0;
    bool found = false;
    while (!found && std::fgets(line, sizeof line, status) != nullptr) {
      found = std::sscanf(line, "Umask: %o", &mask) == 1;
    }
    std::fclose(status);
    if (found) return static_cast<mode_t>(mask & 0777);
  }
  const mode_t mask = ::umask(077);
  ::umask(mask);
  return mask;
}

}  // namespace

AtomicFile::AtomicFile(std::string target_path) : target_(std::move(target_path)) {}

AtomicFile::~AtomicFile() {
  if (fd_ >= 0) ::close(fd_);
  if (!committed_ && !temp_path_.empty()) ::unlink(temp_path_.c_str());
}

bool AtomicFile::open() {
  if (fd_ >= 0) return true;
  struct stat existing {};
  const bool exists = ::stat(target_.c_str(), &existing) == 0;
  if (exists && (S_ISDIR(existing.st_mode) || ::access(target_.c_str(), W_OK) != 0)) return false;
  std::filesystem::path target(target_);
  const std::string folder = target.has_parent_path() ? target.parent_path().string() : std::string(".");
  std::string pattern = folder + "/." + target.filename().string() + ".tmp-XXXXXX";
  fd_ = ::mkstemp(pattern.data());
  if (fd_ < 0) return false;
  temp_path_ = pattern;
  // mkstemp makes the file 0600: a replaced file keeps its own mode, a new one
  // gets what any program's new file gets under the person's umask.
  ::fchmod(fd_, exists ? (existing.st_mode & 07777) : (0666 & ~current_umask()));
  return true;
}

bool AtomicFile::commit() {
  if (!open()) return false;
  const bool written = write_all(fd_, buffer_) && ::fsync(fd_) == 0;
  const bool closed = ::close(fd_) == 0;
  fd_ = -1;
  if (!written || !closed) return false;
  if (::rename(temp_path_.c_str(), target_.c_str()) != 0) return false;
  committed_ = true;
  return true;
}

bool write_file_atomically(const std::string& target_path, std::string_view text) {
  AtomicFile file(target_path);
  if (!file.open()) return false;
  file.write(text);
  return file.commit();
}

}  // namespace kv
