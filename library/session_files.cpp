#include "library/session_files.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include "common/atomic_file.h"
#include "library/library_files.h"
#include "library/library_paths.h"
#include "library/session_summary.h"
#include "library/sha256.h"
#include "logdata/log_file.h"
#include "logdata/log_file_format.h"
#include "ui/scripted_ui.h"

namespace kv::library {
namespace {

constexpr std::int64_t kNanosPerSecond = 1'000'000'000;

class FileDescriptor {
 public:
  explicit FileDescriptor(int fd) : fd_(fd) {}
  ~FileDescriptor() {
    if (fd_ >= 0) ::close(fd_);
  }
  FileDescriptor(const FileDescriptor&) = delete;
  FileDescriptor& operator=(const FileDescriptor&) = delete;
  int get() const { return fd_; }

 private:
  int fd_;
};

}  // namespace

FileRead read_log_bytes(const std::string& path) {
  FileRead read;
  // O_NONBLOCK: opening a FIFO must not wait for a writer; it is refused below.
  FileDescriptor fd(::open(path.c_str(), O_RDONLY | O_CLOEXEC | O_NONBLOCK));
  struct stat st {};
  if (fd.get() < 0 || ::fstat(fd.get(), &st) != 0) {
    read.error = system_reason();
    return read;
  }
  if (!S_ISREG(st.st_mode)) {
    read.error = "not a regular file";
    return read;
  }
  if (st.st_size > kMaxLogFileBytes) {
    read.error = "too large for a log file";
    return read;
  }
  std::string bytes(static_cast<std::size_t>(st.st_size), '\0');
  std::size_t got = 0;
  while (got < bytes.size()) {
    const ssize_t n = ::read(fd.get(), bytes.data() + got, bytes.size() - got);
    if (n < 0 && errno == EINTR) continue;
    if (n < 0) {
      read.error = system_reason();
      return read;
    }
    if (n == 0) break;  // shrank while being read
    got += static_cast<std::size_t>(n);
  }
  bytes.resize(got);
  read.bytes = std::move(bytes);
  return read;
}

SessionRow row_for_bytes(const std::string& bytes, const std::string& relative, std::int64_t size,
                         std::int64_t mtime_ns) {
  SessionRow row = summarize_log_file(bytes);
  place_row(row, bytes, relative, size, mtime_ns);
  return row;
}

void place_row(SessionRow& row, const std::string& bytes, const std::string& relative, std::int64_t size,
               std::int64_t mtime_ns) {
  row.path = relative;
  row.session_time = time_from_session_name(relative).value_or(mtime_ns / kNanosPerSecond);
  row.file_size = size;
  row.file_mtime_ns = mtime_ns;
  row.content_hash = sha256_hex(bytes);
}

std::optional<SessionRow> row_for_file(const std::string& root, const std::string& relative, std::string& error) {
  const std::string path = root + "/" + relative;
  const auto before = file_stamp(path);
  FileRead read = read_log_bytes(path);
  if (!before || !read.bytes) {
    error = read.error.empty() ? system_reason() : read.error;
    return std::nullopt;
  }
  return row_for_bytes(*read.bytes, relative, before->size, before->mtime_ns);
}

std::string rewrite_sheet(const std::string& path, const std::function<void(SetupSheet&)>& change) {
  const FileRead file = read_log_bytes(path);
  if (!file.bytes) return file.error;
  ScriptedUi quiet;
  LogFileRead read = read_log_file_text(*file.bytes, quiet);
  if (read.fault != LogFileFault::None) return refusal_text(read);
  LogFileContents& contents = read.contents;
  change(contents.sheet);
  const std::string text =
      write_log_file_text(contents.sheet, contents.identity, contents.raw_memory, contents.used_bytes, false, quiet);
  if (!write_file_atomically(path, text)) return system_reason();
  return {};
}

bool is_safe_relative(const std::string& relative) {
  if (relative.empty() || relative.front() == '/') return false;
  std::size_t start = 0;
  while (start <= relative.size()) {
    const std::size_t end = std::min(relative.find('/', start), relative.size());
    const std::string part = relative.substr(start, end - start);
    if (part.empty() || part == "." || part == "..") return false;
    start = end + 1;
  }
  return true;
}

}  // namespace kv::library
