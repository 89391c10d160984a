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
      expected.setup.set(slot, "f" + std::to_string(slot) + "-" + expected.path);
    }
    expected.setup.set(3, "two  lines");  // a line break never stands in a field, as in the file
    EXPECT_TRUE(same_content(after[i], expected)) << after[i].path;
  }
  EXPECT_EQ(Database(index_path(root()), 1000).user_version(), kIndexSchemaVersion);
}


TEST(SetupFieldsTest, FieldsKeepTheirPlacesWhateverTheJoinedTextHolds) {
  SetupFields fields;
  EXPECT_EQ(fields, SetupFields{});
  fields.set(2, "27.5");
  fields.set(65, "last");
  fields.set(1, "a\r\nb");  // a line break becomes blanks, the others stay put
  fields.set(66, "not a field");
  EXPECT_EQ(fields.field(1), "a  b");
  EXPECT_EQ(fields.field(2), "27.5");
  EXPECT_EQ(fields.field(3), "");
  EXPECT_EQ(fields.field(65), "last");
  EXPECT_EQ(fields.field(0), "");
  EXPECT_EQ(fields.field(66), "");
  fields.set(2, "");
  EXPECT_EQ(fields.field(65), "last");

  SetupFields read;
  read.assign_joined(fields.joined());
  EXPECT_EQ(read, fields);
  // 65 empty fields are the empty set-up.
  read.assign_joined(std::string(kSetupFieldsInRow - 1, '\n'));
  EXPECT_EQ(read, SetupFields{});
  // A foreign or damaged text: short, carriage returns, more than 65 lines.
  read.assign_joined("x\ry\n\nz");
  EXPECT_EQ(read.field(1), "x y");
  EXPECT_EQ(read.field(3), "z");
  EXPECT_EQ(read.field(4), "");
  std::string many;
  for (int line = 1; line <= 70; ++line) many += std::to_string(line) + "\n";
  read.assign_joined(many);
  EXPECT_EQ(read.field(64), "64");
  EXPECT_EQ(read.field(65), "65");
  EXPECT_EQ(read.joined().find("66"), std::string::npos);
}

// A program that shows the index's rows at once and checks the folder
// afterwards still ends with the folder's truth.
TEST_F(ReadingTest, ALaterCheckCatchesWhatChangedWhileNoProgramRan) {
  std::string kept, removed, edited;
  {
    auto library = test::open_library(root());
    kept = library->archive(downloaded_dataset({.pages = 6, .seed = 1}), sample_time(0)).path;
    removed = library->archive(downloaded_dataset({.pages = 7, .seed = 2}), sample_time(1)).path;
    edited = library->archive(downloaded_dataset({.pages = 8, .seed = 3}), sample_time(2)).path;
  }
  fs::remove(root() + "/" + removed);
  SetupSheet sheet;
  sheet.set_field(kTrackSlot, "Oulton");
  kv::test::write_file(root() + "/" + edited, test::saved_text(downloaded_dataset({.pages = 9, .seed = 3}, sheet)));
  fs::create_directories(root() + "/imported");
  test::write_generated_file(root() + "/imported/new.kvl", {.pages = 10, .seed = 4});

  OpenResult opened = SessionLibrary::open({.root = root(), .sync_at_open = false});
  ASSERT_TRUE(opened.library) << opened.error;
  SessionLibrary& library = *opened.library;
  EXPECT_EQ(library.rows().size(), 3u);  // the index as the last program left it
  const ScanReport report = library.sync(list_library_folder(root()));
  EXPECT_EQ(report.added, 1);
  EXPECT_EQ(report.updated, 1);
  EXPECT_EQ(report.removed, 1);
  const auto rows = library.rows();
  ASSERT_EQ(rows.size(), 3u);
  EXPECT_EQ(library.row(edited)->tags.track, "Oulton");
  EXPECT_FALSE(library.row(removed));
  EXPECT_TRUE(library.row("imported/new.kvl"));
  library.rebuild();
  const auto rebuilt = library.rows();
  ASSERT_EQ(rebuilt.size(), rows.size());
  for (std::size_t i = 0; i < rows.size(); ++i) EXPECT_TRUE(same_content(rows[i], rebuilt[i])) << rows[i].path;
}

}  // namespace
}  // namespace kv::library
