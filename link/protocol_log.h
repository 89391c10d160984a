#pragma once
// A record of the traffic on the line, for support: every byte sent and
// received on its own line, with the milliseconds since its exchange began,
// the direction, the byte in hex and, when printable, as a character; a line
// where each exchange starts and ends, naming its outcome; and a line for
// every read that timed out.
//
//   === download start 2026-12-08 09:42:11.123 UTC
//         0.021 sent 70 'p'
//         0.311 recv 55 'U'
//        50.402 recv time-out
//   === download end 812.940 ms: done
//
// Lines are buffered and flushed at every exchange start and end, page and
// time-out, so a program killed mid-download leaves every page it read on
// disk. Only a regular file is written, never through a final symbolic link;
// a file that cannot be written is reported once (take_failure) and logging
// stops; the exchange itself never notices.
#include <chrono>
#include <cstdint>
#include <cstdio>
#include <memory>
#include <optional>
#include <string>
#include <vector>

namespace kv {

class ProtocolLog {
 public:
  // Logs to `path` from the next exchange on; the file is replaced when it
  // is first written in this run. An empty path logs nothing.
  void set_path(std::string path);
  bool enabled() const { return !path_.empty() && !failed_; }

  void begin_exchange(const char* name);
  void end_exchange(const char* outcome);
  void sent(std::uint8_t byte) { if (file_) byte_line("sent", byte); }
  void received(std::uint8_t byte) { if (file_) byte_line("recv", byte); }
  void timed_out();
  // Puts what is buffered on disk (after each page of a download).
  void flush();

  // Why the log could not be written, the first time only.
  std::optional<std::string> take_failure();

 private:
  struct FileCloser {
    void operator()(std::FILE* file) const { std::fclose(file); }
  };

  bool open();
  void byte_line(const char* direction, std::uint8_t byte);
  // Appends the milliseconds since the exchange began, right-aligned.
  void put_elapsed(std::string& line) const;
  void write(const std::string& line);
  void fail_with(int error);
  void fail(const std::string& reason);

  std::string path_;
  std::unique_ptr<std::FILE, FileCloser> file_;
  std::vector<char> buffer_;
  bool failed_ = false;
  bool failure_taken_ = false;
  std::string failure_;
  std::string exchange_;
  std::chrono::steady_clock::time_point start_{};
  std::string line_;  // reused for every line, so a byte costs no allocation
};

}  // namespace kv
