// Reading a library back: the folder walk that finds its sessions, and the
// rows' time order however the index came to hold them.
#include <gtest/gtest.h>

#include <algorithm>
#include <filesystem>

#include "library/library_files.h"
#include "library/library_paths.h"
#include "library/session_index.h"
#include "library/session_library.h"
#include "tests/library/library_logs.h"
#include "tests/support/temp_dir.h"

namespace kv::library {
namespace {

namespace fs = std::filesystem;
using test::downloaded_dataset;
using test::sample_time;

class ReadingTest : public ::testing::Test {
 public:
  std::string root() const { return dir.file("library"); }
  kv::test::TempDir dir;
};

TEST_F(ReadingTest, SessionsAreFoundAtAnyDepthButLinkedFoldersAreNotEntered) {
  auto library = test::open_library(root());
  const std::string text = test::saved_text(downloaded_dataset({.pages = 6}));
  fs::create_directories(root() + "/2026/a/b");
  fs::create_directories(root() + "/2025/trash");
  kv::test::write_file(root() + "/2026/a/b/deep.kvl", text);
  kv::test::write_file(root() + "/2025/trash/kept.kvl", text);  // only the top trash/ is the trash
  fs::create_directory_symlink(root() + "/2026", root() + "/linked");
  fs::create_symlink(root() + "/2026/a/b/deep.kvl", root() + "/2025/link.kvl");

  const FolderListing listing = list_library_folder(root());
  ASSERT_EQ(listing.sessions.size(), 3u);
  ASSERT_EQ(listing.stamps.size(), 3u);
  for (std::size_t i = 0; i < listing.sessions.size(); ++i) {
    EXPECT_EQ(listing.stamps[i], *file_stamp(root() + "/" + listing.sessions[i])) << listing.sessions[i];
  }
  EXPECT_EQ(library->sync().added, 3);
  std::vector<std::string> paths;
  for (const SessionRow& row : library->rows()) paths.push_back(row.path);
  std::sort(paths.begin(), paths.end());
  EXPECT_EQ(paths, (std::vector<std::string>{"2025/link.kvl", "2025/trash/kept.kvl", "2026/a/b/deep.kvl"}));
}

TEST_F(ReadingTest, RowsComeInTimeOrderWhateverOrderTheIndexHoldsThem) {
  auto library = test::open_library(root());
  const std::string late = library->archive(downloaded_dataset({.pages = 6, .seed = 1}), sample_time(2)).path;
  const std::string early = library->archive(downloaded_dataset({.pages = 7, .seed = 2}), sample_time(0)).path;
  const std::string clash = library->archive(downloaded_dataset({.pages = 8, .seed = 3}), sample_time(0)).path;
  const std::string middle = library->archive(downloaded_dataset({.pages = 9, .seed = 4}), sample_time(1)).path;
  // A rewritten file's row is stored again, after all the others.
  ASSERT_TRUE(library->set_tags(early, {"Brands", "", "", ""}).ok);

  const auto expect_order = [&](const std::vector<SessionRow>& rows) {
    ASSERT_EQ(rows.size(), 4u);
    EXPECT_EQ(rows[0].path, early);
    EXPECT_EQ(rows[1].path, clash);
    EXPECT_EQ(rows[2].path, middle);
    EXPECT_EQ(rows[3].path, late);
    EXPECT_EQ(rows[0].tags.track, "Brands");
  };
  expect_order(library->rows());
  library->rebuild();
  expect_order(library->rows());
}

// An index written by the first schema, one column per set-up field, with
// values that differ from the files: only a migration keeping the rows shows
// them afterwards (the files' stamps match, so nothing is read again).
TEST_F(ReadingTest, AnIndexOfTheFirstSchemaKeepsItsRowsWhenMigrated) {
  auto library = test::open_library(root());
  library->archive(downloaded_dataset({.pages = 6, .seed = 1}), sample_time(0));
  library->archive(downloaded_dataset({.pages = 7, .seed = 2}), sample_time(1));
  const auto before = library->rows();
  library.reset();
  {
    Database db(index_path(root()), 1000);
    for (int slot = 1; slot <= kSetupFieldsInRow; ++slot) {
      const std::string column = "setup_" + std::to_string(slot);
      db.exec("ALTER TABLE sessions ADD COLUMN " + column + " TEXT NOT NULL DEFAULT ''");
      db.exec("UPDATE sessions SET " + column + " = 'f" + std::to_string(slot) + "-' || path");
    }
    db.exec("UPDATE sessions SET setup_3 = 'two' || char(13) || char(10) || 'lines'");
    db.exec("ALTER TABLE sessions DROP COLUMN setup");
    db.set_user_version(1);
  }
  const auto after = test::open_library(root())->rows();
  ASSERT_EQ(after.size(), before.size());
  for (std::size_t i = 0; i < after.size(); ++i) {
    SessionRow expected = before[i];
    for (int slot = 1; slot <= kSetupFieldsInRow; ++slot) {
      expected.setup[static_cast<std::size_t>(slot - 1)] = "f" + std::to_string(slot) + "-" + expected.path;
    }
    expected.setup[2] = "two  lines";  // a line break never stands in a field, as in the file
    EXPECT_TRUE(same_content(after[i], expected)) << after[i].path;
  }
  EXPECT_EQ(Database(index_path(root()), 1000).user_version(), kIndexSchemaVersion);
}

}  // namespace
}  // namespace kv::library
