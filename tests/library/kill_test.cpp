// A program killed while it archives or imports: the folder holds only whole
// files, and the next open brings the index in step with it.
#include <gtest/gtest.h>
#include <signal.h>
#include <sys/wait.h>
#include <unistd.h>

#include <algorithm>
#include <chrono>
#include <filesystem>
#include <set>
#include <thread>

#include "library/library_files.h"
#include "library/session_library.h"
#include "logdata/log_file_format.h"
#include "tests/library/library_logs.h"
#include "tests/support/temp_dir.h"
#include "ui/scripted_ui.h"

namespace kv::library {
namespace {

namespace fs = std::filesystem;

class KillTest : public ::testing::Test {
 protected:
  std::string root() const { return dir.file("library"); }

  // Runs `work` over and over in a child process and kills it after `delay`.
  template <typename Work>
  void kill_during(Work work, std::chrono::milliseconds delay) {
    const pid_t child = ::fork();
    ASSERT_GE(child, 0);
    if (child == 0) {
      OpenResult opened = SessionLibrary::open({root()});
      if (opened.library) {
        for (int round = 0;; ++round) work(*opened.library, round);
      }
      ::_exit(1);
    }
    std::this_thread::sleep_for(delay);
    ::kill(child, SIGKILL);
    int status = 0;
    ::waitpid(child, &status, 0);
    EXPECT_TRUE(WIFSIGNALED(status) && WTERMSIG(status) == SIGKILL) << "the child ended on its own";
  }

  // Every session file is one of `whole` byte for byte, and a fresh open
  // indexes exactly those files.
  void expect_whole_files_indexed(const std::set<std::string>& whole) {
    const FolderListing listing = list_library_folder(root());
    for (const std::string& relative : listing.sessions) {
      EXPECT_EQ(whole.count(kv::test::read_file(root() + "/" + relative)), 1u) << relative << " is not whole";
    }
    OpenResult opened = SessionLibrary::open({root()});
    ASSERT_TRUE(opened.library) << opened.error;
    std::vector<std::string> indexed;
    for (const SessionRow& row : opened.library->rows()) {
      EXPECT_TRUE(row.readable) << row.path;
      indexed.push_back(row.path);
    }
    std::vector<std::string> files = listing.sessions;
    std::sort(files.begin(), files.end());
    std::sort(indexed.begin(), indexed.end());
    EXPECT_EQ(indexed, files);
  }

  kv::test::TempDir dir;
};

TEST_F(KillTest, KilledWhileArchiving) {
  const Dataset data = test::downloaded_dataset({.pages = 512, .sessions = 3, .seed = 2});
  const std::set<std::string> whole = {test::saved_text(data)};
  for (const int ms : {10, 40, 120, 300, 700}) {
    kill_during([&](SessionLibrary& library, int round) { library.archive(data, test::sample_time(0, round % 3)); },
                std::chrono::milliseconds(ms));
  }
  expect_whole_files_indexed(whole);
  EXPECT_FALSE(list_library_folder(root()).sessions.empty()) << "no archive finished before the kills";
}

TEST_F(KillTest, KilledWhileImporting) {
  std::set<std::string> whole;
  std::vector<std::string> sources;
  for (unsigned seed = 1; seed <= 24; ++seed) {
    sources.push_back(dir.file("src" + std::to_string(seed) + ".kvl"));
    whole.insert(test::write_generated_file(sources.back(), {.pages = 256, .seed = seed}));
  }
  for (const int ms : {10, 40, 120, 300, 700}) {
    kill_during([&](SessionLibrary& library, int) { library.import_paths(sources); }, std::chrono::milliseconds(ms));
  }
  expect_whole_files_indexed(whole);
}

}  // namespace
}  // namespace kv::library
