#pragma once
// Writes a file so that a failure never destroys what was there: the text goes
// to a temporary file in the target's folder, which replaces the target only
// once it is complete and flushed to disk.
#include <string>
#include <string_view>

namespace kv {

class AtomicFile {
 public:
  explicit AtomicFile(std::string target_path);
  ~AtomicFile();  // removes the temporary file unless committed
  AtomicFile(const AtomicFile&) = delete;
  AtomicFile& operator=(const AtomicFile&) = delete;

  // Creates the temporary file. False when the target cannot be written (its
  // folder is missing or read-only, or the target itself is read-only).
  bool open();
  void write(std::string_view text) { buffer_.append(text); }
  // Writes, flushes and renames over the target. False leaves the target as
  // it was.
  bool commit();

  const std::string& target() const { return target_; }

 private:
  std::string target_;
  std::string temp_path_;
  std::string buffer_;
  int fd_ = -1;
  bool committed_ = false;
};

// Convenience: the whole text in one go.
bool write_file_atomically(const std::string& target_path, std::string_view text);

}  // namespace kv
