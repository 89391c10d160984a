// The per-user folder that stands for the program's own, and the command
// line of korvanta-tools.
#include <gtest/gtest.h>

#include <cstdlib>
#include <filesystem>

#include "desktop/start_options.h"
#include "desktop/user_folder.h"
#include "tests/support/temp_dir.h"

namespace kv::desktop {
namespace {

// Sets the variables for one test and puts the old values back after it.
class Environment {
 public:
  void set(const char* name, const std::string& value) {
    remember(name);
    ::setenv(name, value.c_str(), 1);
  }
  void unset(const char* name) {
    remember(name);
    ::unsetenv(name);
  }
  ~Environment() {
    for (const auto& [name, value] : saved_) {
      if (value) ::setenv(name.c_str(), value->c_str(), 1);
      else ::unsetenv(name.c_str());
    }
  }

 private:
  void remember(const char* name) {
    const char* value = std::getenv(name);
    saved_.emplace_back(name, value ? std::optional<std::string>(value) : std::nullopt);
  }
  std::vector<std::pair<std::string, std::optional<std::string>>> saved_;
};

TEST(UserFolder, FollowsXdgDataHomeElseTheHomeFolderAndIsMadeAtFirstUse) {
  test::TempDir dir;
  Environment env;
  env.set("HOME", dir.file("home"));
  env.set("XDG_DATA_HOME", dir.file("data"));
  EXPECT_EQ(user_program_folder("/fallback"), dir.file("data") + "/korvanta-tools");
  EXPECT_TRUE(std::filesystem::is_directory(dir.file("data") + "/korvanta-tools"));

  for (const char* ignored : {"", "relative/data"}) {
    env.set("XDG_DATA_HOME", ignored);
    EXPECT_EQ(user_program_folder("/fallback"), dir.file("home") + "/.local/share/korvanta-tools");
  }
  env.unset("XDG_DATA_HOME");
  EXPECT_EQ(user_folder_path(), dir.file("home") + "/.local/share/korvanta-tools");
  EXPECT_TRUE(std::filesystem::is_directory(dir.file("home") + "/.local/share/korvanta-tools"));
}

TEST(UserFolder, AFolderThatCannotBeMadeFallsBackToTheProgramsOwn) {
  test::TempDir dir;
  Environment env;
  test::write_file(dir.file("data"), "a file where the folder should go");
  env.set("XDG_DATA_HOME", dir.file("data"));
  EXPECT_EQ(user_program_folder("/opt/korvanta/bin"), "/opt/korvanta/bin");
}

TEST(LibraryFolderMemo, AChosenFolderIsReadBackWhole) {
  test::TempDir dir;
  const std::string program = dir.path().string();
  const std::string chosen = dir.file("My Laps");
  std::filesystem::create_directory(chosen);
  const std::string memo = library_folder_file(program);
  EXPECT_EQ(memo, dir.file("library_folder.txt"));
  EXPECT_EQ(remembered_library_folder(program), default_library_folder(program));  // nothing remembered yet
  ASSERT_TRUE(remember_library_folder(memo, chosen));
  EXPECT_EQ(test::read_file(memo), chosen + "\n");
  EXPECT_EQ(remembered_library_folder(program), chosen);
  test::write_file(memo, chosen + "\r\n");  // edited on another desktop
  EXPECT_EQ(remembered_library_folder(program), chosen);
  // A folder where the file should be: cannot be written, and nothing breaks.
  std::filesystem::remove(memo);
  std::filesystem::create_directory(memo);
  EXPECT_FALSE(remember_library_folder(memo, chosen));
  EXPECT_EQ(remembered_library_folder(program), default_library_folder(program));
}

TEST(LibraryFolderMemo, AnythingButOneAbsoluteExistingFolderGivesTheDefault) {
  test::TempDir dir;
  const std::string program = dir.path().string();
  const std::string memo = library_folder_file(program);
  const std::string fallback = default_library_folder(program);
  const std::string a_file = dir.file("notes.txt");
  test::write_file(a_file, "x");
  std::filesystem::create_directory(dir.file("laps"));
  const std::string deep = "/" + std::string(5000, 'a');
  const std::string cases[] = {
      "",                                      // empty
      "\n",                                    // an empty line
      "laps\n",                                // relative
      a_file + "\n",                           // a file, not a folder
      dir.file("gone") + "\n",                 // no such folder
      dir.file("laps") + "\n/tmp\n",           // two lines
      dir.file("laps") + std::string("\0x", 2),  // a NUL inside
      deep,                                    // longer than any path
      std::string(9000, '\xff'),               // binary rubbish
  };
  for (const std::string& bytes : cases) {
    test::write_file(memo, bytes);
    EXPECT_EQ(remembered_library_folder(program), fallback) << bytes.substr(0, 80);
  }
}

TEST(StartOptions, ProtocolLogQuitAfterStartAndHelp) {
  const auto parsed = parse_start_options({"--protocol-log", "/tmp/line.log", "--quit-after-start"});
  ASSERT_FALSE(parsed.error);
  EXPECT_EQ(parsed.options.protocol_log, "/tmp/line.log");
  EXPECT_TRUE(parsed.options.quit_after_start);
  EXPECT_FALSE(parsed.options.help);
  EXPECT_TRUE(parse_start_options({"-h"}).options.help);
  EXPECT_EQ(parse_start_options({"--protocol-log"}).error, "--protocol-log needs a file name");
  EXPECT_EQ(parse_start_options({"--verbose"}).error, "unknown argument --verbose");
  EXPECT_TRUE(parse_start_options({}).options.protocol_log.empty());
  const char* const asking[] = {"korvanta-tools", "--protocol-log", "x", "-h", "--version"};
  EXPECT_EQ(console_answer(4, asking, "1.21"), std::string(start_help_text()));
  EXPECT_EQ(console_answer(3, asking, "1.21"), std::nullopt);
  const char* const version[] = {"korvanta-tools", "--version"};
  EXPECT_EQ(console_answer(2, version, "1.21"), "korvanta-tools 1.21\n");
}

TEST(StartOptions, FilesToOpenAreKeptInOrder) {
  const auto parsed = parse_start_options({"day1.kvl", "--quit-after-start", "/tmp/day2.kvl"});
  ASSERT_FALSE(parsed.error);
  EXPECT_EQ(parsed.options.files, (std::vector<std::string>{"day1.kvl", "/tmp/day2.kvl"}));
  EXPECT_EQ(parse_start_options({"-"}).options.files, std::vector<std::string>{"-"});
}

}  // namespace
}  // namespace kv::desktop
