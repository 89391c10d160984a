#pragma once
// Logs for the library's tests: datasets as a download leaves them, their
// file texts, and a library folder to open.
#include <ctime>
#include <memory>
#include <string>

#include "emulator/log_generator.h"
#include "library/session_library.h"
#include "logdata/dataset.h"

namespace kv::library::test {

// A dataset as a download of `options`' generated log leaves it (raw image,
// identity, memory_valid), with `sheet` as its set-up sheet.
Dataset downloaded_dataset(const emu::GeneratorOptions& options, const SetupSheet& sheet = {});

// The text "Save Data Set A" writes for the dataset.
std::string saved_text(const Dataset& data);

// Writes a generated log file; returns its text.
std::string write_generated_file(const std::string& path, const emu::GeneratorOptions& options,
                                 const SetupSheet& sheet = {});

// Opens the library at `root`, failing the test when it does not open.
std::unique_ptr<SessionLibrary> open_library(const std::string& root);

// 2026-05-17 14:30:12 local time.
std::time_t sample_time(int day_offset = 0, int second_offset = 0);

// Another program writing to the library at `root`: a child process that
// holds the index's write lock from construction until destruction.
class OtherProgramWriting {
 public:
  explicit OtherProgramWriting(const std::string& root);
  ~OtherProgramWriting();
  OtherProgramWriting(const OtherProgramWriting&) = delete;
  OtherProgramWriting& operator=(const OtherProgramWriting&) = delete;
  // False when the child could not take the lock.
  bool holding() const { return holding_; }

 private:
  int child_ = -1;
  bool holding_ = false;
};

}  // namespace kv::library::test
