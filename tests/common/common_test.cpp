#include <gtest/gtest.h>
#include <sys/stat.h>

#include <filesystem>

#include "common/atomic_file.h"
#include "common/file_dialog_flow.h"
#include "common/text_lines.h"
#include "tests/support/temp_dir.h"
#include "ui/scripted_ui.h"

namespace kv {
namespace {

using test::TempDir;

TEST(SplitLines, TakesCrLfAndLfAlike) {
  EXPECT_EQ(split_lines("a\r\nb\nc"), (std::vector<std::string>{"a", "b", "c"}));
  EXPECT_EQ(split_lines("a\r\n\r\n"), (std::vector<std::string>{"a", ""}));
  EXPECT_TRUE(split_lines("").empty());
}

TEST(ParseDecimal, StrictWholeNumbers) {
  EXPECT_EQ(parse_decimal("1609"), 1609);
  EXPECT_EQ(parse_decimal(" -12 "), -12);
  EXPECT_EQ(parse_decimal("+7"), 7);
  EXPECT_EQ(parse_decimal("12a"), std::nullopt);
  EXPECT_EQ(parse_decimal(""), std::nullopt);
  EXPECT_EQ(parse_decimal("99999999999999999999"), std::nullopt);
}

TEST(AtomicFile, ReplacesOnlyWhenComplete) {
  TempDir dir;
  const auto target = dir.file("log.kvl");
  test::write_file(target, "old");
  {
    AtomicFile file(target);
    ASSERT_TRUE(file.open());
    file.write("new");
    // Not committed: the old file stays and no temporary file is left behind.
  }
  EXPECT_EQ(test::read_file(target), "old");
  EXPECT_EQ(test::list_folder(dir.path()), std::vector<std::string>{"log.kvl"});
  ASSERT_TRUE(write_file_atomically(target, "new"));
  EXPECT_EQ(test::read_file(target), "new");
  EXPECT_EQ(test::list_folder(dir.path()), std::vector<std::string>{"log.kvl"});
}

mode_t mode_of(const std::string& path) {
  struct stat info {};
  ::stat(path.c_str(), &info);
  return info.st_mode & 07777;
}

TEST(AtomicFile, NewFilesFollowTheUmaskAndReplacedFilesKeepTheirMode) {
  TempDir dir;
  const mode_t before = ::umask(077);
  ASSERT_TRUE(write_file_atomically(dir.file("private.csv"), "x"));
  ::umask(027);
  ASSERT_TRUE(write_file_atomically(dir.file("group.csv"), "x"));
  test::write_file(dir.file("shared.kvl"), "old");
  ::chmod(dir.file("shared.kvl").c_str(), 0664);
  ASSERT_TRUE(write_file_atomically(dir.file("shared.kvl"), "new"));
  ::umask(before);
  EXPECT_EQ(mode_of(dir.file("private.csv")), 0600u);
  EXPECT_EQ(mode_of(dir.file("group.csv")), 0640u);
  EXPECT_EQ(mode_of(dir.file("shared.kvl")), 0664u);
}

TEST(AtomicFile, MissingFolderCannotBeCreated) {
  TempDir dir;
  AtomicFile file(dir.file("no/such/folder/x.csv"));
  EXPECT_FALSE(file.open());
}

TEST(WithKindExtension, AppendsOrRefuses) {
  EXPECT_EQ(with_kind_extension("/a/setup", ".kvc"), "/a/setup.kvc");
  EXPECT_EQ(with_kind_extension("/a/setup.kvc", ".kvc"), "/a/setup.kvc");
  EXPECT_EQ(with_kind_extension("/a/SETUP.KVC", ".kvc"), std::nullopt);
  EXPECT_EQ(with_kind_extension("/a.b/setup", ".kvc"), "/a.b/setup.kvc");
  EXPECT_EQ(with_kind_extension("", ".kvc"), std::nullopt);
}

const SaveDialogTexts kSave{"Save", "Korvanta files (*.kvl)|*.kvl", ".kvl", "Cancelled, No Data Saved",
                            "Invalid Filename, No Data Saved", "No Data Saved"};

TEST(AskSavePath, CancelInvalidAndOverwrite) {
  TempDir dir;
  ScriptedUi ui;
  const DialogDefault remembered{dir.path().string(), "default.kvl"};
  EXPECT_EQ(ask_save_path(ui, remembered, kSave), std::nullopt);
  ASSERT_EQ(ui.dialogs().size(), 1u);
  EXPECT_EQ(ui.dialogs()[0].file_name, "default.kvl");
  EXPECT_EQ(ui.dialogs()[0].default_ext, "kvl");
  ui.queue_file(dir.file("x.KVL"));
  EXPECT_EQ(ask_save_path(ui, remembered, kSave), std::nullopt);
  test::write_file(dir.file("x.kvl"), "old");
  ui.queue_file(dir.file("x"));
  ui.queue_answer(kNo);
  EXPECT_EQ(ask_save_path(ui, remembered, kSave), std::nullopt);
  ui.queue_file(dir.file("x"));
  EXPECT_EQ(ask_save_path(ui, remembered, kSave), dir.file("x.kvl"));
  EXPECT_EQ(ui.texts(), (std::vector<std::string>{"Cancelled, No Data Saved", "Invalid Filename, No Data Saved",
                                                  "File Exists, Overwrite File ?", "No Data Saved",
                                                  "File Exists, Overwrite File ?"}));
}

// A folder stands where a file is expected: it exists, so it is not
// "missing", but it cannot be read, whoever runs the program.
TEST(FolderWhereAFileIsExpected, ExistsButDoesNotRead) {
  TempDir dir;
  std::filesystem::create_directory(dir.file("held.kvl"));
  EXPECT_EQ(read_whole_file(dir.file("held.kvl")), std::nullopt);
  ScriptedUi ui;
  ui.queue_file(dir.file("held"));
  const OpenDialogTexts open{"Load", "", ".kvl", "No Data Loaded", "Invalid Filename", "Filename Does Not Exist"};
  EXPECT_EQ(ask_open_path(ui, {dir.path().string(), "default.kvl"}, open), dir.file("held.kvl"));
  EXPECT_TRUE(ui.messages().empty());
}

TEST(RememberPath, SplitsFolderAndName) {
  DialogDefault remembered;
  remember_path(remembered, "/data/track/day1.kvl");
  EXPECT_EQ(remembered.folder, "/data/track");
  EXPECT_EQ(remembered.file_name, "day1.kvl");
}

}  // namespace
}  // namespace kv
