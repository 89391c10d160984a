// korvanta-cli download, dump and convert, run as a separate process; the
// downloads talk to an emulated instrument on COM 1.
#include <gtest/gtest.h>

#include <QProcess>

#include "common/text_lines.h"
#include "emulator/log_generator.h"
#include "tests/support/emulator_fixture.h"
#include "tests/support/temp_dir.h"

namespace kv {
namespace {

struct CliRun {
  int exit_code;
  std::string messages;
  bool has(const std::string& text) const { return messages.find(text) != std::string::npos; }
};

class LogCliTest : public ::testing::Test {
 protected:
  LogCliTest() : truth(emu::generate_log({.pages = 16, .seed = 9})), instrument(emu::with_log(truth)) {}

  CliRun cli(const QStringList& arguments) {
    QProcess process;
    process.setWorkingDirectory(QString::fromStdString(dir.path().string()));
    process.start(KV_CLI_PATH, arguments);
    process.waitForFinished(60000);
    return {process.exitCode(), process.readAllStandardError().toStdString()};
  }
  QString file(const char* name) const { return QString::fromStdString(dir.file(name)); }

  emu::GeneratedLog truth;
  test::TempDir dir;
  test::EmulatorFixture instrument;
};

TEST_F(LogCliTest, DownloadSavesTheDecodedLogAndConvertExportsIt) {
  const CliRun download = cli({"download", "--port", "1", "--set", "B", file("day1.kvl")});
  EXPECT_EQ(download.exit_code, 0) << download.messages;
  EXPECT_TRUE(download.has("Processed " + std::to_string(truth.used_bytes) + " bytes of Data")) << download.messages;
  EXPECT_TRUE(download.has("File Saved OK"));

  const CliRun convert = cli({"convert", file("day1.kvl")});
  EXPECT_EQ(convert.exit_code, 0) << convert.messages;
  const auto csv = split_lines(test::read_file(dir.file("day1.csv")));
  ASSERT_GT(csv.size(), truth.samples.size());
  EXPECT_EQ(csv[0].substr(0, 27), "Korvtime(s),RPM/100,Speed(K");

  const CliRun named = cli({"convert", "day1", "out"});
  EXPECT_EQ(named.exit_code, 0) << named.messages;
  EXPECT_EQ(test::read_file(dir.file("out.csv")), test::read_file(dir.file("day1.csv")));
}

TEST_F(LogCliTest, DumpWritesEightByteLines) {
  const CliRun run = cli({"dump", "--port", "1", file("all.kvl")});
  EXPECT_EQ(run.exit_code, 0) << run.messages;
  EXPECT_EQ(split_lines(test::read_file(dir.file("all.kvl"))).size(), 85u + 512 * 256 / 8);
}

TEST_F(LogCliTest, RefusalsExitNonZero) {
  EXPECT_EQ(cli({"convert", file("absent.kvl")}).exit_code, 1);
  test::write_file(dir.file("bad.kvl"), "not a log\r\n");
  const CliRun bad = cli({"convert", file("bad.kvl")});
  EXPECT_EQ(bad.exit_code, 1);
  EXPECT_TRUE(bad.has("File Format Error, No Data Loaded")) << bad.messages;
  EXPECT_EQ(cli({"convert", file("x.KVL")}).exit_code, 1);
  EXPECT_EQ(cli({"download", "--port", "1", "--set", "C", file("x.kvl")}).exit_code, 2);
  EXPECT_EQ(cli({"download", "--port", "1"}).exit_code, 2);
  instrument.emulator().update([](emu::Instrument& unit) { unit.version_minor = 30; });
  const CliRun refused = cli({"download", "--port", "1", file("y.kvl")});
  EXPECT_EQ(refused.exit_code, 1);
  EXPECT_TRUE(refused.has("Pelmorix Version not compatible with Korvanta Version")) << refused.messages;
  EXPECT_FALSE(std::filesystem::exists(dir.file("y.kvl")));
}

}  // namespace
}  // namespace kv
