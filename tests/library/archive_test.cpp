// Archiving a download, updating the archived file, tags and the trash.
#include <gtest/gtest.h>
#include <sys/resource.h>

#include <csignal>
#include <filesystem>

#include "library/library_messages.h"
#include "library/library_paths.h"
#include "library/session_library.h"
#include "logdata/decoder.h"
#include "logdata/log_file.h"
#include "tests/library/library_logs.h"
#include "tests/support/temp_dir.h"
#include "ui/scripted_ui.h"

namespace kv::library {
namespace {

namespace fs = std::filesystem;
using kv::test::read_file;
using test::downloaded_dataset;
using test::sample_time;

SetupSheet sample_sheet() {
  SetupSheet sheet;
  sheet.notes_text = {"Dry, new softs", "//two slashes", ""};
  sheet.set_field(1, "85");
  sheet.set_field(31, "24\xB0");  // Windows-1252 degree sign, kept byte for byte
  sheet.set_field(65, "3.9");
  return sheet;
}

// Every file under the folder, relative, sorted.
std::vector<std::string> files_under(const fs::path& root) {
  std::vector<std::string> files;
  for (const auto& entry : fs::recursive_directory_iterator(root)) {
    if (entry.is_regular_file()) files.push_back(fs::relative(entry.path(), root).generic_string());
  }
  std::sort(files.begin(), files.end());
  return files;
}

class ArchiveTest : public ::testing::Test {
 protected:
  std::string root() const { return dir.file("library"); }
  kv::test::TempDir dir;
};

TEST_F(ArchiveTest, ADownloadIsArchivedByteForByteAsTheSaveWritesIt) {
  const Dataset data = downloaded_dataset({.pages = 600, .sessions = 3, .seed = 5}, sample_sheet());
  LogState log;
  log.current() = data;
  DialogDefaults defaults;
  ScriptedUi ui;
  ui.queue_file(dir.file("saved.kvl"));
  ASSERT_TRUE(save_log_data(log, defaults, ui));

  auto library = test::open_library(root());
  const WriteResult archived = library->archive(data, sample_time());
  ASSERT_TRUE(archived.ok) << archived.error;
  EXPECT_EQ(archived.path, "2026/2026-05-17_143012.kvl");
  EXPECT_EQ(read_file(library->absolute_path(archived.path)), read_file(dir.file("saved.kvl")));

  const auto row = library->row(archived.path);
  ASSERT_TRUE(row);
  EXPECT_TRUE(row->readable);
  EXPECT_EQ(row->session_time, sample_time());
  EXPECT_EQ(row->unit_version, 321);
  EXPECT_EQ(row->sessions, 3);
  EXPECT_GT(row->laps, 3);
  EXPECT_EQ(row->setup_field(31), "24\xB0");
  EXPECT_EQ(row->notes_first_line, "Dry, new softs");
  ASSERT_TRUE(row->fastest);
  ASSERT_TRUE(row->theoretical_best);
  EXPECT_LE(*row->theoretical_best, row->fastest->lap_time + 1e-9);
}

// A download arrives decoded; its row comes from the decode in hand and must
// be the row the file itself gives.
TEST_F(ArchiveTest, ADecodedDownloadGetsTheRowItsFileGives) {
  LogState log;
  log.current() = downloaded_dataset({.pages = 600, .sessions = 3, .seed = 6}, sample_sheet());
  ScriptedUi ui;
  ASSERT_TRUE(process_data_packets(log, ui));
  auto library = test::open_library(root());
  const std::string path = library->archive(log.current(), sample_time()).path;
  const auto archived = library->rows();
  library->rebuild();
  const auto rebuilt = library->rows();
  ASSERT_EQ(archived.size(), 1u);
  ASSERT_EQ(rebuilt.size(), 1u);
  EXPECT_TRUE(same_content(archived[0], rebuilt[0]));
  EXPECT_TRUE(archived[0].theoretical_best);
}

TEST_F(ArchiveTest, TwoDownloadsInOneSecondGetTwoFiles) {
  auto library = test::open_library(root());
  const Dataset data = downloaded_dataset({.pages = 8});
  EXPECT_EQ(library->archive(data, sample_time()).path, "2026/2026-05-17_143012.kvl");
  EXPECT_EQ(library->archive(data, sample_time()).path, "2026/2026-05-17_143012_2.kvl");
  EXPECT_EQ(library->rows().size(), 2u);
}

TEST_F(ArchiveTest, ADatasetWithoutValidMemoryIsNotArchived) {
  auto library = test::open_library(root());
  Dataset data = downloaded_dataset({.pages = 8});
  data.memory_valid = 0;
  const WriteResult result = library->archive(data, sample_time());
  EXPECT_FALSE(result.ok);
  EXPECT_EQ(result.error, msg::not_archived(root(), "No Valid Data to Save"));
  EXPECT_TRUE(library->rows().empty());
}

TEST_F(ArchiveTest, AnUnwritableFolderGivesOneErrorAndNoFile) {
  auto library = test::open_library(root());
  kv::test::write_file(root() + "/2026", "a file where the year's folder belongs");
  const WriteResult result = library->archive(downloaded_dataset({.pages = 8}), sample_time());
  EXPECT_FALSE(result.ok);
  EXPECT_EQ(result.error.rfind(msg::not_archived(root(), ""), 0), 0u) << result.error;
  EXPECT_TRUE(library->rows().empty());
}

// A disk that fills up half-way through the file: RLIMIT_FSIZE makes every
// write beyond the limit fail as a full disk would.
TEST_F(ArchiveTest, AFullDiskLeavesNoFileAndNoRow) {
  auto library = test::open_library(root());
  const Dataset data = downloaded_dataset({.pages = 64});
  rlimit old{};
  ASSERT_EQ(::getrlimit(RLIMIT_FSIZE, &old), 0);
  const auto old_handler = std::signal(SIGXFSZ, SIG_IGN);
  rlimit small = old;
  small.rlim_cur = 4096;
  ASSERT_EQ(::setrlimit(RLIMIT_FSIZE, &small), 0);
  const WriteResult result = library->archive(data, sample_time());
  ::setrlimit(RLIMIT_FSIZE, &old);
  std::signal(SIGXFSZ, old_handler);

  EXPECT_FALSE(result.ok);
  EXPECT_EQ(result.error.rfind(msg::not_archived(root(), ""), 0), 0u) << result.error;
  for (const auto& file : files_under(root())) EXPECT_EQ(file.rfind(".index/", 0), 0u) << file;
  EXPECT_TRUE(library->rows().empty());
}

TEST_F(ArchiveTest, UpdatingTheSheetKeepsTheLogAndTheTags) {
  auto library = test::open_library(root());
  Dataset data = downloaded_dataset({.pages = 16}, sample_sheet());
  const std::string path = library->archive(data, sample_time()).path;
  const SessionTags tags{"Brands", "Mk2", "Ann", "wet"};
  ASSERT_TRUE(library->set_tags(path, tags).ok);

  data.sheet.notes_text = {"Changed the rear bar"};
  data.sheet.set_field(17, "4");
  data.sheet.set_field(kTrackSlot, "not from the notes window");
  const WriteResult updated = library->update_archived(path, data.sheet);
  ASSERT_TRUE(updated.ok) << updated.error;

  Dataset expected = data;
  expected.sheet.set_field(kTrackSlot, tags.track);
  expected.sheet.set_field(kCarSlot, tags.car);
  expected.sheet.set_field(kDriverSlot, tags.driver);
  expected.sheet.set_field(kFreeTagsSlot, tags.free_tags);
  EXPECT_EQ(read_file(library->absolute_path(path)), test::saved_text(expected));
  const auto row = library->row(path);
  ASSERT_TRUE(row);
  EXPECT_EQ(row->tags, tags);
  EXPECT_EQ(row->notes_first_line, "Changed the rear bar");
  EXPECT_EQ(row->setup_field(17), "4");
}

TEST_F(ArchiveTest, OnlyFilesOfTheLibraryAreRewritten) {
  auto library = test::open_library(root());
  kv::test::write_file(dir.file("outside.kvl"), test::saved_text(downloaded_dataset({.pages = 8})));
  for (const std::string path : {"../outside.kvl", "/etc/passwd", "2026/none.kvl", ""}) {
    const WriteResult result = library->set_tags(path, {"T", "", "", ""});
    EXPECT_FALSE(result.ok) << path;
    EXPECT_EQ(result.error, msg::not_in_library(path));
  }
}

TEST_F(ArchiveTest, ARemovedSessionGoesToTheTrashAndStaysOutOfTheIndex) {
  auto library = test::open_library(root());
  const Dataset data = downloaded_dataset({.pages = 8});
  const std::string path = library->archive(data, sample_time()).path;
  const std::string bytes = read_file(library->absolute_path(path));
  const WriteResult removed = library->remove_to_trash(path);
  ASSERT_TRUE(removed.ok) << removed.error;
  EXPECT_EQ(removed.path, "trash/" + path);
  EXPECT_EQ(read_file(library->absolute_path(removed.path)), bytes);
  EXPECT_TRUE(library->rows().empty());

  // The same session removed again goes beside the first, never over it.
  library->archive(data, sample_time());
  EXPECT_EQ(library->remove_to_trash(path).path, "trash/2026/2026-05-17_143012_2.kvl");
  library.reset();
  EXPECT_TRUE(test::open_library(root())->rows().empty());
}

}  // namespace
}  // namespace kv::library
