// The emulator's link folder is trusted only when nobody else can plant a
// port in it.
#include <gtest/gtest.h>
#include <sys/stat.h>
#include <unistd.h>

#include <filesystem>

#include "link/port_path.h"
#include "link/serial_state.h"
#include "tests/support/emulator_fixture.h"
#include "tests/support/temp_dir.h"
#include "ui/scripted_ui.h"

namespace kv {
namespace {

TEST(LinkFolder, OnlyAPrivateRealFolderAndOwnLinksPass) {
  test::TempDir dir;
  const uid_t me = ::geteuid();
  const std::string folder = dir.file("links");
  ASSERT_EQ(::mkdir(folder.c_str(), 0700), 0);
  EXPECT_EQ(link_folder_problem(folder, me), std::nullopt);
  EXPECT_EQ(link_folder_problem(folder, me + 1), "it belongs to another user");
  ::chmod(folder.c_str(), 0770);
  EXPECT_EQ(link_folder_problem(folder, me), "other users may write to it");
  ::chmod(folder.c_str(), 0703);
  EXPECT_EQ(link_folder_problem(folder, me), "other users may write to it");
  ::chmod(folder.c_str(), 0755);
  EXPECT_EQ(link_folder_problem(folder, me), std::nullopt);
  std::filesystem::create_directory_symlink(folder, dir.file("alias"));
  EXPECT_EQ(link_folder_problem(dir.file("alias"), me), "it is not a folder");
  EXPECT_EQ(link_folder_problem(dir.file("absent"), me), "it cannot be examined");

  std::filesystem::create_symlink("/dev/null", folder + "/COM1");
  test::write_file(folder + "/COM2", "");
  EXPECT_EQ(link_entry_problem(folder + "/COM1", me), std::nullopt);
  EXPECT_EQ(link_entry_problem(folder + "/COM1", me + 1), "it belongs to another user");
  EXPECT_EQ(link_entry_problem(folder + "/COM2", me), "it is not a link");
}

// The attack: a link folder others can write to holds a COM1 that answers
// like an instrument. The program must not talk to it, and must say why.
TEST(LinkFolder, APlantedPortIsSkippedWithAWarningNamingTheFolder) {
  test::EmulatorFixture planted;
  const std::string folder = emulator_link_folder();
  ::chmod(folder.c_str(), 0777);
  SerialState serial;
  ScriptedUi ui;
  const bool opened = select_port(serial, 0, ui);
  EXPECT_NE(serial.serial_port.device_path(), folder + "/COM1");
  ASSERT_FALSE(ui.messages().empty());
  EXPECT_EQ(ui.messages()[0].kind, MsgKind::Warning);
  EXPECT_EQ(ui.messages()[0].text, "COM 1: skipped the folder " + folder + ": other users may write to it");
  if (!opened) EXPECT_EQ(ui.messages().back().text, "Cannot Open COM Port 1");

  // Made private again, the same link is used without a word.
  ::chmod(folder.c_str(), 0700);
  ScriptedUi quiet;
  EXPECT_TRUE(select_port(serial, 0, quiet));
  EXPECT_EQ(serial.serial_port.device_path(), folder + "/COM1");
  EXPECT_TRUE(quiet.messages().empty());
}

TEST(LinkFolder, TheEmulatorMakesItPrivateAndRefusesOneOthersCanWrite) {
  test::TempDir runtime;
  ::setenv("XDG_RUNTIME_DIR", runtime.path().c_str(), 1);
  const mode_t before = ::umask(0);
  {
    emu::Emulator emulator;
    ASSERT_TRUE(emulator.link_as_com(2));
    struct stat info {};
    ASSERT_EQ(::lstat(emulator_link_folder().c_str(), &info), 0);
    EXPECT_EQ(info.st_mode & 0777, 0700u);
  }
  ::umask(before);
  ::chmod(emulator_link_folder().c_str(), 0775);
  emu::Emulator emulator;
  EXPECT_FALSE(emulator.link_as_com(2));
  EXPECT_EQ(emulator.link_error(), "the folder " + emulator_link_folder() + ": other users may write to it");
}

}  // namespace
}  // namespace kv
