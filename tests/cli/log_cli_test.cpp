// korvanta-cli download, dump and convert, run as a separate process; the
// downloads talk to an emulated instrument on COM 1.
#include <gtest/gtest.h>

#include <sys/stat.h>

#include <QProcess>
#include <algorithm>
#include <csignal>
#include <filesystem>
#include <thread>

#include "common/text_lines.h"
#include "emulator/log_generator.h"
#include "link/port_path.h"
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
  const CliRun download =
      cli({"--protocol-log", file("line.log"), "download", "--port", "1", "--set", "B", file("day1.kvl")});
  EXPECT_EQ(download.exit_code, 0) << download.messages;
  const auto line_log = split_lines(test::read_file(dir.file("line.log")));
  ASSERT_FALSE(line_log.empty());
  EXPECT_EQ(line_log.front().substr(0, 19), "=== download start ");
  EXPECT_EQ(line_log.back().substr(line_log.back().size() - 8), "ms: done");
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

TEST_F(LogCliTest, KeepPartialSavesTheGoodPagesBeforeAFailedOneWithoutAsking) {
  instrument.emulator().update([](emu::Instrument& unit) { unit.faults.bad_checksum_page = 6; });
  const CliRun dropped = cli({"download", "--port", "1", file("none.kvl")});
  EXPECT_EQ(dropped.exit_code, 1);
  EXPECT_TRUE(dropped.has("Problem with Data in Download")) << dropped.messages;
  EXPECT_FALSE(dropped.has("Keep the")) << "the command line never asks";
  EXPECT_FALSE(std::filesystem::exists(dir.file("none.kvl")));

  const CliRun kept = cli({"download", "--keep-partial", "--port", "1", file("part.kvl")});
  EXPECT_EQ(kept.exit_code, 1) << "still a failed download";
  EXPECT_TRUE(kept.has("Processed ")) << kept.messages;
  EXPECT_TRUE(kept.has("File Saved OK"));
  const CliRun dump = cli({"dump", "--port", "1", "--keep-partial", file("dump.kvl")});
  EXPECT_EQ(dump.exit_code, 1);
  EXPECT_EQ(split_lines(test::read_file(dir.file("dump.kvl"))).size(), 85u + 6 * 256 / 8);
}

// The number in "Download Cancelled, N of M pages kept", or -1.
int pages_kept(const std::string& messages) {
  const std::string lead = "Download Cancelled, ";
  const auto at = messages.find(lead);
  return at == std::string::npos ? -1 : std::atoi(messages.c_str() + at + lead.size());
}

// Runs the command against a line paced like the real one and sends it
// Ctrl+C (SIGINT) once a few pages have gone out. The memory is large enough
// that a loaded machine still interrupts long before the last page.
CliRun interrupted(test::EmulatorFixture& instrument, const QString& folder, const QStringList& arguments,
                   int signal = SIGINT) {
  const auto larger = emu::with_log(emu::generate_log({.pages = 64, .seed = 9}));
  instrument.emulator().update([&](emu::Instrument& unit) {
    unit.memory = larger.memory;
    unit.pacing_baud = 115200;
  });
  QProcess process;
  process.setWorkingDirectory(folder);
  process.start(KV_CLI_PATH, arguments);
  process.waitForStarted();
  const auto give_up = std::chrono::steady_clock::now() + std::chrono::seconds(30);
  while (instrument.emulator().traffic().pages_served < 4 && std::chrono::steady_clock::now() < give_up) {
    std::this_thread::sleep_for(std::chrono::milliseconds(5));
  }
  ::kill(static_cast<pid_t>(process.processId()), signal);
  process.waitForFinished(60000);
  return {process.exitCode(), process.readAllStandardError().toStdString()};
}

TEST_F(LogCliTest, CtrlCStopsADownloadAndSavesWhatArrived) {
  const CliRun run = interrupted(instrument, QString::fromStdString(dir.path().string()),
                                 {"download", "--port", "1", file("part.kvl")});
  EXPECT_EQ(run.exit_code, 1) << run.messages;
  const int kept = pages_kept(run.messages);
  EXPECT_GE(kept, 2) << run.messages;
  const int pages = instrument.emulator().instrument().memory.used_pages + 1;
  EXPECT_TRUE(run.has(" of " + std::to_string(pages) + " pages kept")) << run.messages;
  EXPECT_TRUE(run.has("File Saved OK")) << run.messages;
  const CliRun convert = cli({"convert", file("part.kvl")});
  EXPECT_EQ(convert.exit_code, 0) << convert.messages;
}

TEST_F(LogCliTest, CtrlCStopsADumpAndSavesThePagesThatArrived) {
  const CliRun run = interrupted(instrument, QString::fromStdString(dir.path().string()),
                                 {"dump", "--port", "1", file("part.kvl")});
  EXPECT_EQ(run.exit_code, 1) << run.messages;
  const int kept = pages_kept(run.messages);
  ASSERT_GE(kept, 2) << run.messages;
  EXPECT_EQ(split_lines(test::read_file(dir.file("part.kvl"))).size(), 85u + kept * 256 / 8);
}

// What the protocol log is for: a download that never ends cleanly.
TEST_F(LogCliTest, AKilledDownloadLeavesALogOfThePagesBeforeTheKill) {
  interrupted(instrument, QString::fromStdString(dir.path().string()),
              {"--protocol-log", file("line.log"), "download", "--port", "1", file("part.kvl")}, SIGKILL);
  const auto lines = split_lines(test::read_file(dir.file("line.log")));
  ASSERT_FALSE(lines.empty());
  EXPECT_EQ(lines.front().substr(0, 19), "=== download start ");
  // Four pages were on the line; at least the first two had reached the
  // program, each 2 lead bytes, 256 data bytes and a checksum.
  const auto received = std::count_if(lines.begin(), lines.end(), [](const std::string& line) {
    return line.find(" recv ") != std::string::npos && line.find("time-out") == std::string::npos;
  });
  EXPECT_GE(received, 2 * 259) << lines.size() << " lines";
}

TEST_F(LogCliTest, FilesAreCreatedUnderThePersonsUmask) {
  ASSERT_EQ(cli({"download", "--port", "1", file("day.kvl")}).exit_code, 0);
  const mode_t before = ::umask(077);
  const CliRun convert = cli({"convert", file("day.kvl")});
  ::umask(before);
  EXPECT_EQ(convert.exit_code, 0) << convert.messages;
  struct stat info {};
  ASSERT_EQ(::stat(dir.file("day.csv").c_str(), &info), 0);
  EXPECT_EQ(info.st_mode & 0777, 0600u);
}

TEST_F(LogCliTest, OutputNamesAreCheckedBeforeThePortIsOpened) {
  test::write_file(dir.file("day.kvl"), "keep me");
  const CliRun exists = cli({"download", "--port", "1", file("day.kvl")});
  EXPECT_EQ(exists.exit_code, 1);
  EXPECT_TRUE(exists.has(dir.file("day.kvl") + ": the file exists; add --force to replace it")) << exists.messages;
  EXPECT_EQ(test::read_file(dir.file("day.kvl")), "keep me");

  const CliRun foreign = cli({"dump", "--port", "1", file("day.txt")});
  EXPECT_EQ(foreign.exit_code, 1);
  EXPECT_TRUE(foreign.has("day.txt: the output file must be a .kvl file")) << foreign.messages;
  const CliRun no_folder = cli({"download", "--port", "1", file("absent/day.kvl")});
  EXPECT_EQ(no_folder.exit_code, 1);
  EXPECT_TRUE(no_folder.has("does not exist")) << no_folder.messages;
  std::filesystem::create_directory(dir.file("folder.kvl"));
  EXPECT_EQ(cli({"download", "--port", "1", "--force", file("folder.kvl")}).exit_code, 1);
  test::write_file(dir.file("day.csv"), "keep me too");
  EXPECT_EQ(cli({"convert", file("day.kvl"), file("day.csv")}).exit_code, 1);
  EXPECT_EQ(test::read_file(dir.file("day.csv")), "keep me too");
  EXPECT_TRUE(instrument.emulator().traffic().commands.empty());  // not one exchange started

  // --force takes no value: the name after it is still the output.
  const CliRun forced = cli({"download", "--port", "1", "--force", file("day")});
  EXPECT_EQ(forced.exit_code, 0) << forced.messages;
  EXPECT_NE(test::read_file(dir.file("day.kvl")), "keep me");
}

TEST_F(LogCliTest, APortThatDoesNotOpenNamesTheDeviceTried) {
  // The link leads to a folder: it exists but is no port.
  const std::string device = emulator_link_folder() + "/COM2";
  std::filesystem::create_directory_symlink(dir.path(), device);
  const CliRun run = cli({"download", "--port", "2", file("x.kvl")});
  EXPECT_EQ(run.exit_code, 1);
  EXPECT_TRUE(run.has("Warning: Cannot Open COM Port 2")) << run.messages;
  EXPECT_TRUE(run.has("korvanta-cli: COM 2 is " + device + ": ")) << run.messages;
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
