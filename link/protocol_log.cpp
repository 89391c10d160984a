#include "link/protocol_log.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <charconv>
#include <cstring>
#include <ctime>

namespace kv {
namespace {

// Room for a few pages of lines; the log is flushed after every page anyway,
// so what a killed program leaves covers every page it read.
constexpr std::size_t kFileBuffer = 1 << 16;
constexpr int kElapsedWidth = 10;  // "    12.345"
constexpr char kHexDigits[] = "0123456789ABCDEF";
constexpr std::uint8_t kFirstPrintable = 0x20;
constexpr std::uint8_t kLastPrintable = 0x7E;

std::string wall_clock_now() {
  const auto now = std::chrono::system_clock::now();
  const std::time_t seconds = std::chrono::system_clock::to_time_t(now);
  const auto millis =
      std::chrono::duration_cast<std::chrono::milliseconds>(now.time_since_epoch()).count() % 1000;
  std::tm utc{};
  ::gmtime_r(&seconds, &utc);
  char text[48];
  std::strftime(text, sizeof text, "%Y-%m-%d %H:%M:%S", &utc);
  char full[64];
  std::snprintf(full, sizeof full, "%s.%03d UTC", text, static_cast<int>(millis));
  return full;
}

}  // namespace

void ProtocolLog::set_path(std::string path) {
  path_ = std::move(path);
  file_.reset();
  failed_ = false;
  failure_taken_ = false;
}

bool ProtocolLog::open() {
  if (file_) return true;
  if (!enabled()) return false;
  // Never wait and never follow a planted name: a FIFO with no reader would
  // block here for good, and a final link could point anywhere.
  const int fd = ::open(path_.c_str(), O_WRONLY | O_CREAT | O_NOFOLLOW | O_NONBLOCK | O_NOCTTY | O_CLOEXEC, 0666);
  if (fd < 0) {
    const int error = errno;
    if (error == ELOOP) fail("it is a symbolic link");
    else if (error == ENXIO) fail("it is not a regular file");
    else fail_with(error);
    return false;
  }
  struct stat info {};
  if (::fstat(fd, &info) != 0 || !S_ISREG(info.st_mode)) {
    ::close(fd);
    fail("it is not a regular file");
    return false;
  }
  // Emptied only once known to be a plain file of its own.
  if (::ftruncate(fd, 0) != 0 || ::fcntl(fd, F_SETFL, 0) != 0) {
    fail_with(errno);
    ::close(fd);
    return false;
  }
  file_.reset(::fdopen(fd, "wb"));
  if (!file_) {
    fail_with(errno);
    ::close(fd);
    return false;
  }
  buffer_.resize(kFileBuffer);
  std::setvbuf(file_.get(), buffer_.data(), _IOFBF, buffer_.size());
  return true;
}

void ProtocolLog::begin_exchange(const char* name) {
  if (!open()) return;
  exchange_ = name;
  start_ = std::chrono::steady_clock::now();
  write("=== " + exchange_ + " start " + wall_clock_now() + "\n");
  flush();
}

void ProtocolLog::end_exchange(const char* outcome) {
  if (!file_) return;
  std::string line = "=== " + exchange_ + " end ";
  const auto elapsed = std::chrono::duration<double, std::milli>(std::chrono::steady_clock::now() - start_);
  char ms[32];
  std::snprintf(ms, sizeof ms, "%.3f ms: ", elapsed.count());
  write(line + ms + outcome + "\n");
  flush();
}

void ProtocolLog::put_elapsed(std::string& line) const {
  const auto micros =
      std::chrono::duration_cast<std::chrono::microseconds>(std::chrono::steady_clock::now() - start_).count();
  char digits[32];
  const auto whole = std::to_chars(digits, digits + sizeof digits, micros / 1000).ptr;
  const auto width = static_cast<int>(whole - digits) + 4;  // ".uuu"
  line.append(static_cast<std::size_t>(std::max(0, kElapsedWidth - width)), ' ');
  line.append(digits, whole);
  const auto fraction = static_cast<int>(micros % 1000);
  line += '.';
  line += static_cast<char>('0' + fraction / 100);
  line += static_cast<char>('0' + fraction / 10 % 10);
  line += static_cast<char>('0' + fraction % 10);
}

void ProtocolLog::byte_line(const char* direction, std::uint8_t byte) {
  line_.clear();
  put_elapsed(line_);
  line_ += ' ';
  line_ += direction;
  line_ += ' ';
  line_ += kHexDigits[byte >> 4];
  line_ += kHexDigits[byte & 0x0F];
  if (byte >= kFirstPrintable && byte <= kLastPrintable) {
    line_ += " '";
    line_ += static_cast<char>(byte);
    line_ += '\'';
  }
  line_ += '\n';
  write(line_);
}

void ProtocolLog::timed_out() {
  if (!file_) return;
  line_.clear();
  put_elapsed(line_);
  line_ += " recv time-out\n";
  write(line_);
  // A time-out is where a support case usually lies: keep it on disk even
  // if the program goes no further.
  flush();
}

void ProtocolLog::write(const std::string& line) {
  if (!file_) return;
  if (std::fwrite(line.data(), 1, line.size(), file_.get()) != line.size()) fail_with(errno);
}

void ProtocolLog::flush() {
  if (file_ && std::fflush(file_.get()) != 0) fail_with(errno);
}

void ProtocolLog::fail_with(int error) { fail(std::strerror(error != 0 ? error : EIO)); }

void ProtocolLog::fail(const std::string& reason) {
  failed_ = true;
  failure_ = "Cannot write the protocol log " + path_ + ": " + reason;
  // Closing may try to write the rest of the buffer; its result adds nothing.
  file_.reset();
}

std::optional<std::string> ProtocolLog::take_failure() {
  if (!failed_ || failure_taken_) return std::nullopt;
  failure_taken_ = true;
  return failure_;
}

}  // namespace kv
