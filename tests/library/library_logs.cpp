#include "tests/library/library_logs.h"

#include <gtest/gtest.h>
#include <signal.h>
#include <sqlite3.h>
#include <sys/wait.h>
#include <unistd.h>

#include "emulator/generated_download.h"
#include "library/library_paths.h"
#include "logdata/log_file_format.h"
#include "tests/support/temp_dir.h"
#include "ui/scripted_ui.h"

namespace kv::library::test {

Dataset downloaded_dataset(const emu::GeneratorOptions& options, const SetupSheet& sheet) {
  Dataset data;
  emu::load_download(data, emu::generate_log(options), 321);
  data.identity.unit_word = 0x1234;
  data.sheet = sheet;
  return data;
}

std::string saved_text(const Dataset& data) {
  ScriptedUi ui;
  return write_log_file_text(data.sheet, data.identity, data.raw_memory, data.used_bytes, false, ui);
}

std::string write_generated_file(const std::string& path, const emu::GeneratorOptions& options,
                                 const SetupSheet& sheet) {
  const std::string text = saved_text(downloaded_dataset(options, sheet));
  kv::test::write_file(path, text);
  return text;
}

std::unique_ptr<SessionLibrary> open_library(const std::string& root) {
  OpenResult opened = SessionLibrary::open({root});
  EXPECT_TRUE(opened.library) << opened.error;
  return std::move(opened.library);
}

std::time_t sample_time(int day_offset, int second_offset) {
  std::tm local{};
  local.tm_year = 2026 - 1900;
  local.tm_mon = 4;
  local.tm_mday = 17 + day_offset;
  local.tm_hour = 14;
  local.tm_min = 30;
  local.tm_sec = 12 + second_offset;
  local.tm_isdst = -1;
  return std::mktime(&local);
}

OtherProgramWriting::OtherProgramWriting(const std::string& root) {
  int ready[2];
  if (::pipe(ready) != 0) return;
  child_ = ::fork();
  if (child_ == 0) {
    sqlite3* db = nullptr;
    sqlite3_open(index_path(root).c_str(), &db);
    const char byte = sqlite3_exec(db, "BEGIN IMMEDIATE", nullptr, nullptr, nullptr) == SQLITE_OK ? '1' : '0';
    (void)::write(ready[1], &byte, 1);
    ::pause();
    ::_exit(0);
  }
  char byte = 0;
  holding_ = child_ > 0 && ::read(ready[0], &byte, 1) == 1 && byte == '1';
  ::close(ready[0]);
  ::close(ready[1]);
}

OtherProgramWriting::~OtherProgramWriting() {
  if (child_ <= 0) return;
  ::kill(child_, SIGKILL);
  ::waitpid(child_, nullptr, 0);
}

}  // namespace kv::library::test
