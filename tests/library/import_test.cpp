// Importing files and folders: copies, dedupe, unreadable files.
#include <gtest/gtest.h>
#include <sys/stat.h>

#include <filesystem>

#include "library/session_library.h"
#include "tests/library/library_logs.h"
#include "tests/support/temp_dir.h"

namespace kv::library {
namespace {

namespace fs = std::filesystem;
using kv::test::read_file;
using kv::test::write_file;

void set_mtime(const std::string& path, std::time_t when) {
  fs::last_write_time(path, fs::file_time_type::clock::from_sys(std::chrono::system_clock::from_time_t(when)));
}

class ImportTest : public ::testing::Test {
 protected:
  ImportTest() : library(test::open_library(dir.file("library"))) {}
  std::string src(const std::string& name) const { return dir.file("src/" + name); }
  std::string log(const std::string& name, unsigned seed, int pages = 6) {
    fs::create_directories(fs::path(src(name)).parent_path());
    return test::write_generated_file(src(name), {.pages = pages, .seed = seed});
  }

  kv::test::TempDir dir;
  std::unique_ptr<SessionLibrary> library;
};

TEST_F(ImportTest, AFileIsCopiedUnderItsOwnTime) {
  const std::string text = log("day.kvl", 1);
  set_mtime(src("day.kvl"), test::sample_time());
  const ImportReport report = library->import_paths({src("day.kvl")});
  ASSERT_EQ(report.added, std::vector<std::string>{"2026/2026-05-17_143012.kvl"});
  EXPECT_EQ(read_file(library->absolute_path(report.added[0])), text);
  EXPECT_EQ(read_file(src("day.kvl")), text);
  const auto rows = library->rows();
  ASSERT_EQ(rows.size(), 1u);
  EXPECT_EQ(rows[0].session_time, test::sample_time());
}

TEST_F(ImportTest, TheSameContentIsNeverAddedTwice) {
  log("a.kvl", 1);
  log("b.kvl", 2);
  fs::copy_file(src("a.kvl"), src("copy-of-a.kvl"));
  const ImportReport first = library->import_paths({src("a.kvl"), src("copy-of-a.kvl"), src("b.kvl")});
  EXPECT_EQ(first.added.size(), 2u);
  EXPECT_EQ(first.duplicates, std::vector<std::string>{src("copy-of-a.kvl")});
  const ImportReport again = library->import_paths({dir.file("src")});
  EXPECT_TRUE(again.added.empty());
  EXPECT_EQ(again.duplicates.size(), 3u);
  EXPECT_EQ(library->rows().size(), 2u);
}

TEST_F(ImportTest, UnreadableFilesAreListedWithTheirMessageAndTheRestGoOn) {
  log("1-good.kvl", 1);
  write_file(src("2-garbage.kvl"), "not a log\r\n");
  std::string newer = log("3-newer.kvl", 3);
  const std::size_t version_line = newer.find("\r\n03 15\r\n");
  ASSERT_NE(version_line, std::string::npos);
  newer.replace(version_line, 9, "\r\n03 1E\r\n");
  write_file(src("3-newer.kvl"), newer);
  log("sub/4-good.kvl", 4);
  write_file(src("notes.txt"), "not even a log name");
  ASSERT_EQ(::mkfifo(src("5-pipe.kvl").c_str(), 0600), 0);

  const ImportReport report = library->import_paths({dir.file("src")});
  EXPECT_EQ(report.added.size(), 2u);
  ASSERT_EQ(report.unreadable.size(), 2u);
  EXPECT_EQ(report.unreadable[0].path, src("2-garbage.kvl"));
  EXPECT_EQ(report.unreadable[0].message, "File Format Error, No Data Loaded");
  EXPECT_EQ(report.unreadable[1].path, src("3-newer.kvl"));
  EXPECT_EQ(report.unreadable[1].message, "File not Compatible with Pelmorix Version, No Data Loaded");
  EXPECT_TRUE(report.failed.empty());
  EXPECT_EQ(library->rows().size(), 2u);
}

TEST_F(ImportTest, SourcesThatAreNoLogFilesAreRefusedByName) {
  write_file(dir.file("notes.txt"), "text");
  ASSERT_EQ(::mkfifo(dir.file("pipe.kvl").c_str(), 0600), 0);
  const ImportReport report = library->import_paths({dir.file("missing.kvl"), dir.file("notes.txt"), dir.file("pipe.kvl")});
  ASSERT_EQ(report.failed.size(), 3u);
  EXPECT_EQ(report.failed[0].message, "Filename Does Not Exist, No Data Loaded");
  EXPECT_EQ(report.failed[1].message, "Invalid Filename, No Data Loaded");
  EXPECT_EQ(report.failed[2].message, "not a regular file");
  EXPECT_TRUE(library->rows().empty());
}

TEST_F(ImportTest, AFolderHoldingTheLibraryDoesNotImportTheLibraryIntoItself) {
  library->archive(test::downloaded_dataset({.pages = 6, .seed = 7}), test::sample_time());
  log("outside.kvl", 8);
  const ImportReport report = library->import_paths({dir.path().string()});
  EXPECT_EQ(report.added.size(), 1u);
  EXPECT_TRUE(report.duplicates.empty());
  EXPECT_EQ(library->rows().size(), 2u);
}

TEST_F(ImportTest, AnUnreadableFileInTheFolderIsIndexedWithItsMessage) {
  fs::create_directories(library->absolute_path("2025"));
  write_file(library->absolute_path("2025/2025-06-01_100000.kvl"), "@@only a slot line\r\n");
  log("good.kvl", 2);
  library->import_paths({src("good.kvl")});
  const ScanReport scan = library->rebuild();
  ASSERT_EQ(scan.unreadable.size(), 1u);
  EXPECT_EQ(scan.unreadable[0].path, "2025/2025-06-01_100000.kvl");
  EXPECT_EQ(scan.unreadable[0].message, "File Format Error, No Data Loaded");
  const auto rows = library->rows();
  ASSERT_EQ(rows.size(), 2u);
  EXPECT_FALSE(rows[0].readable);
  EXPECT_EQ(rows[0].unreadable_message, "File Format Error, No Data Loaded");
  EXPECT_TRUE(rows[1].readable);
}

}  // namespace
}  // namespace kv::library
