// The index: rebuilt from the files, moved aside when damaged, migrated,
// shared by two programs, and kept out of its own scans.
#include <gtest/gtest.h>
#include <sqlite3.h>
#include <sys/wait.h>
#include <unistd.h>

#include <filesystem>
#include <functional>

#include "library/library_messages.h"
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

void expect_same_rows(const std::vector<SessionRow>& a, const std::vector<SessionRow>& b) {
  ASSERT_EQ(a.size(), b.size());
  for (std::size_t i = 0; i < a.size(); ++i) EXPECT_TRUE(same_content(a[i], b[i])) << a[i].path << " / " << b[i].path;
}

class IndexTest : public ::testing::Test {
 public:
  std::string root() const { return dir.file("library"); }

  // Three archived sessions, two of them tagged, and one imported.
  void fill(SessionLibrary& library) {
    const std::string first = library.archive(downloaded_dataset({.pages = 12, .seed = 1}), sample_time()).path;
    const std::string second = library.archive(downloaded_dataset({.pages = 16, .seed = 2}), sample_time(1)).path;
    library.archive(downloaded_dataset({.pages = 10, .seed = 3}), sample_time(2));
    ASSERT_TRUE(library.set_tags(first, {"Brands", "Mk2", "Ann", "wet"}).ok);
    ASSERT_TRUE(library.set_tags(second, {"Snetterton", "Mk2", "Bob", ""}).ok);
    test::write_generated_file(dir.file("old.kvl"), {.pages = 6, .seed = 4});
    ASSERT_EQ(library.import_paths({dir.file("old.kvl")}).added.size(), 1u);
  }

  kv::test::TempDir dir;
};

TEST_F(IndexTest, DeletingTheIndexLosesNothing) {
  auto library = test::open_library(root());
  fill(*library);
  const auto before = library->rows();
  ASSERT_EQ(before.size(), 4u);

  const ScanReport rebuilt = library->rebuild();
  EXPECT_EQ(rebuilt.added, 4);
  expect_same_rows(library->rows(), before);

  library.reset();
  ASSERT_TRUE(fs::remove(index_path(root())));
  const auto reopened = test::open_library(root());
  const auto after = reopened->rows();
  expect_same_rows(after, before);
  EXPECT_EQ(after[0].tags, (SessionTags{"Brands", "Mk2", "Ann", "wet"}));
}

std::string damaged_copy(const std::string& root) {
  for (const auto& entry : fs::directory_iterator(index_folder(root))) {
    if (entry.path().filename().string().find(".damaged-") != std::string::npos) return entry.path().string();
  }
  return {};
}

// Damages the index of a filled library as `damage` says (old bytes in, new
// bytes out); the next open moves it aside, says so and rebuilds it.
void expect_damage_repaired(IndexTest& fixture, const std::string& root,
                            const std::function<std::string(std::string)>& damage) {
  auto library = test::open_library(root);
  fixture.fill(*library);
  const auto before = library->rows();
  library.reset();
  const std::string damaged = damage(kv::test::read_file(index_path(root)));
  kv::test::write_file(index_path(root), damaged);

  OpenResult opened = SessionLibrary::open({root});
  ASSERT_TRUE(opened.library) << opened.error;
  const std::string moved = damaged_copy(root);
  ASSERT_FALSE(moved.empty());
  EXPECT_EQ(kv::test::read_file(moved), damaged);
  ASSERT_EQ(opened.notices.size(), 1u);
  EXPECT_EQ(opened.notices[0], msg::index_rebuilt(index_path(root), moved));
  expect_same_rows(opened.library->rows(), before);
}

TEST_F(IndexTest, AnIndexThatIsNoDatabaseIsMovedAsideAndRebuilt) {
  expect_damage_repaired(*this, root(), [](std::string) { return std::string(8192, 'x'); });
}

TEST_F(IndexTest, AnIndexWithDamagedPagesIsMovedAsideAndRebuilt) {
  expect_damage_repaired(*this, root(), [](std::string bytes) {
    // Keep the header page, scribble over the tables' pages.
    EXPECT_GT(bytes.size(), 8192u);
    for (std::size_t i = 4096; i < bytes.size(); i += 7) bytes[i] = static_cast<char>(i * 31);
    return bytes;
  });
}

TEST_F(IndexTest, AnIndexOfANewerSchemaIsMadeAgain) {
  auto library = test::open_library(root());
  fill(*library);
  const auto before = library->rows();
  library.reset();
  {
    Database db(index_path(root()), 1000);
    db.exec("DROP TABLE sessions; CREATE TABLE sessions (something_else TEXT)");
    db.set_user_version(kIndexSchemaVersion + 1);
  }
  expect_same_rows(test::open_library(root())->rows(), before);
  Database db(index_path(root()), 1000);
  EXPECT_EQ(db.user_version(), kIndexSchemaVersion);
}

// Holds the index's write lock as another program writing would.
class WriteLock {
 public:
  explicit WriteLock(const std::string& path) {
    sqlite3_open(path.c_str(), &db_);
    ok_ = sqlite3_exec(db_, "BEGIN IMMEDIATE", nullptr, nullptr, nullptr) == SQLITE_OK;
  }
  ~WriteLock() {
    sqlite3_exec(db_, "ROLLBACK", nullptr, nullptr, nullptr);
    sqlite3_close(db_);
  }
  bool ok() const { return ok_; }

 private:
  sqlite3* db_ = nullptr;
  bool ok_ = false;
};

TEST_F(IndexTest, ASecondHandleWritingMakesTheImportSayTheLibraryIsBusy) {
  auto library = test::open_library(root());
  library.reset();
  OpenResult opened = SessionLibrary::open({root(), 100});
  ASSERT_TRUE(opened.library);
  test::write_generated_file(dir.file("one.kvl"), {.pages = 6});
  {
    WriteLock other(index_path(root()));
    ASSERT_TRUE(other.ok());
    const ImportReport report = opened.library->import_paths({dir.file("one.kvl")});
    EXPECT_EQ(report.error, msg::library_busy(root()));
    EXPECT_TRUE(report.added.empty());
  }
  // Nothing was left behind, so trying again brings the file in once.
  opened.library->sync();
  EXPECT_TRUE(opened.library->rows().empty());
  EXPECT_EQ(opened.library->import_paths({dir.file("one.kvl")}).added.size(), 1u);
  opened.library->sync();
  ASSERT_EQ(opened.library->rows().size(), 1u);
}

TEST_F(IndexTest, AnotherProcessHoldingTheIndexGetsAClearMessageAndNoDamage) {
  auto library = test::open_library(root());
  fill(*library);
  library.reset();
  int ready[2];
  ASSERT_EQ(::pipe(ready), 0);
  const pid_t child = ::fork();
  ASSERT_GE(child, 0);
  if (child == 0) {
    WriteLock held(index_path(root()));
    const char byte = held.ok() ? '1' : '0';
    (void)::write(ready[1], &byte, 1);
    ::pause();
    ::_exit(0);
  }
  char byte = 0;
  ASSERT_EQ(::read(ready[0], &byte, 1), 1);
  ASSERT_EQ(byte, '1');
  kv::test::write_file(dir.file("late.kvl"), test::saved_text(downloaded_dataset({.pages = 5, .seed = 9})));
  // Open while the other program writes: it opens, says so, and the import
  // after it is refused with the same words.
  OpenResult opened = SessionLibrary::open({root(), 100});
  ASSERT_TRUE(opened.library) << opened.error;
  EXPECT_EQ(opened.library->rows().size(), 4u);
  EXPECT_EQ(opened.library->import_paths({dir.file("late.kvl")}).error, msg::library_busy(root()));
  ::kill(child, SIGKILL);
  ::waitpid(child, nullptr, 0);

  EXPECT_TRUE(opened.library->sync().error.empty());
  EXPECT_EQ(opened.library->rows().size(), 4u);  // the refused import left nothing behind
  EXPECT_TRUE(opened.library->import_paths({dir.file("late.kvl")}).error.empty());
  EXPECT_EQ(opened.library->rows().size(), 5u);
  Database db(index_path(root()), 1000);
  EXPECT_EQ(db.integrity_check(), "ok");
}

TEST_F(IndexTest, OnlySessionFilesAreScanned) {
  auto library = test::open_library(root());
  const std::string text = test::saved_text(downloaded_dataset({.pages = 6}));
  fs::create_directories(root() + "/2026");
  fs::create_directories(root() + "/trash/2025");
  kv::test::write_file(root() + "/2026/.2026-05-17_143012.kvl.tmp-abc123", text);
  kv::test::write_file(root() + "/2026/UPPER.KVL", text);
  kv::test::write_file(root() + "/trash/2025/old.kvl", text);
  kv::test::write_file(root() + "/.index/stray.kvl", text);
  kv::test::write_file(root() + "/2026/mine.kvl", text);
  const std::string stale = root() + "/2026/.x.kvl.tmp-stage-1-0";
  kv::test::write_file(stale, text.substr(0, 100));
  fs::last_write_time(stale, fs::file_time_type::clock::now() - std::chrono::hours(2));

  const ScanReport scan = library->sync();
  EXPECT_EQ(scan.added, 1);
  EXPECT_EQ(scan.temporaries_removed, 1);
  EXPECT_FALSE(fs::exists(stale));
  EXPECT_TRUE(fs::exists(root() + "/2026/.2026-05-17_143012.kvl.tmp-abc123"));  // may be a live writer's
  const auto rows = library->rows();
  ASSERT_EQ(rows.size(), 1u);
  EXPECT_EQ(rows[0].path, "2026/mine.kvl");
}

TEST_F(IndexTest, ChangedAndVanishedFilesAreFollowed) {
  auto library = test::open_library(root());
  fill(*library);
  const auto rows = library->rows();
  fs::remove(library->absolute_path(rows[1].path));
  // Another machine's sync tool brings a newer copy with other tags.
  kv::test::write_file(library->absolute_path(rows[2].path),
                       test::saved_text(downloaded_dataset({.pages = 30, .seed = 8})));
  const ScanReport scan = library->sync();
  EXPECT_EQ(scan.removed, 1);
  EXPECT_EQ(scan.updated, 1);
  const auto after = library->rows();
  ASSERT_EQ(after.size(), 3u);
  EXPECT_EQ(after[1].path, rows[2].path);
  EXPECT_NE(after[1].content_hash, rows[2].content_hash);
}

}  // namespace
}  // namespace kv::library
