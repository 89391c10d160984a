// korvanta-cli library list / import / rebuild / export-csv, run as a
// separate process on a library in a temporary folder.
#include <gtest/gtest.h>
#include <sys/wait.h>

#include <cstdlib>
#include <filesystem>

#include "common/text_lines.h"
#include "library/library_paths.h"
#include "tests/library/library_logs.h"
#include "tests/support/temp_dir.h"

namespace kv {
namespace {

namespace fs = std::filesystem;
using library::test::write_generated_file;

struct CliRun {
  int exit_code = -1;
  std::string out;
  std::string err;
};

class LibraryCliTest : public ::testing::Test {
 protected:
  // Runs korvanta-cli with `args` (each quoted) on the test's library.
  CliRun cli(const std::vector<std::string>& args) {
    std::string command = std::string("'") + KV_CLI_PATH + "' library";
    for (const auto& arg : args) command += " '" + arg + "'";
    command += " --library '" + root() + "' >'" + dir.file("out") + "' 2>'" + dir.file("err") + "'";
    const int status = std::system(command.c_str());
    return {WIFEXITED(status) ? WEXITSTATUS(status) : -1, kv::test::read_file(dir.file("out")),
            kv::test::read_file(dir.file("err"))};
  }
  std::string root() const { return dir.file("library"); }
  std::string src(const std::string& name) const { return dir.file("src/" + name); }

  kv::test::TempDir dir;
};

TEST_F(LibraryCliTest, ImportListAndExport) {
  fs::create_directories(dir.file("src/sub"));
  SetupSheet sheet;
  sheet.set_field(library::kTrackSlot, "Brands");
  sheet.set_field(31, "19,5");
  write_generated_file(src("a.kvl"), {.pages = 300, .seed = 1}, sheet);
  write_generated_file(src("sub/b.kvl"), {.pages = 6, .seed = 2});
  kv::test::write_file(src("bad.kvl"), "nothing\r\n");

  const CliRun imported = cli({"import", dir.file("src")});
  EXPECT_EQ(imported.exit_code, 1);
  EXPECT_EQ(imported.err, "korvanta-cli: " + src("bad.kvl") + ": File Format Error, No Data Loaded\n");
  EXPECT_NE(imported.out.find("2 added, 0 already in the library, 1 unreadable, 0 failed\n"), std::string::npos)
      << imported.out;
  const CliRun again = cli({"import", src("a.kvl")});
  EXPECT_EQ(again.exit_code, 0);
  EXPECT_EQ(again.out, "already in the library: " + src("a.kvl") + "\n0 added, 1 already in the library, 0 unreadable, 0 failed\n");

  const CliRun listed = cli({"list", "--track", "brands", "--columns", "track,setup31,laps"});
  EXPECT_EQ(listed.exit_code, 0) << listed.err;
  const auto lines = split_lines(listed.out);
  ASSERT_EQ(lines.size(), 2u) << listed.out;
  EXPECT_EQ(lines[0], "track\tsetup31\tlaps");
  EXPECT_EQ(lines[1].rfind("Brands\t19,5\t", 0), 0u) << lines[1];

  const CliRun exported = cli({"export-csv", dir.file("all.csv")});
  EXPECT_EQ(exported.exit_code, 0) << exported.err;
  const auto csv = split_lines(kv::test::read_file(dir.file("all.csv")));
  ASSERT_EQ(csv.size(), 3u);
  EXPECT_EQ(csv[0].substr(0, 23), "Date,Track,Car,Driver,T");
  EXPECT_NE((csv[1] + csv[2]).find(",\"19,5\","), std::string::npos);
  EXPECT_EQ(cli({"export-csv", dir.file("all.csv")}).exit_code, 1);  // exists, no --force
}

TEST_F(LibraryCliTest, RebuildAfterTheIndexIsGone) {
  fs::create_directories(dir.file("src"));
  write_generated_file(src("a.kvl"), {.pages = 6, .seed = 1});
  ASSERT_EQ(cli({"import", src("a.kvl")}).exit_code, 0);
  fs::remove(library::index_path(root()));
  const CliRun rebuilt = cli({"rebuild"});
  EXPECT_EQ(rebuilt.exit_code, 0) << rebuilt.err;
  EXPECT_EQ(rebuilt.out, "1 sessions indexed, 0 of them unreadable\n");
}

TEST_F(LibraryCliTest, BadOptionsAreUsageErrors) {
  EXPECT_EQ(cli({"list", "--sort", "nothing"}).exit_code, 2);
  EXPECT_EQ(cli({"list", "--from", "17/05/2026"}).exit_code, 2);
  EXPECT_EQ(cli({"list", "--columns", "time,setup66"}).exit_code, 2);
  EXPECT_EQ(cli({"frobnicate"}).exit_code, 2);
  EXPECT_EQ(cli({"import"}).exit_code, 2);
}

}  // namespace
}  // namespace kv
