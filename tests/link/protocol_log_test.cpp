// The protocol log end to end: the program's serial port against the
// emulated instrument, with every exchange written to a file.
#include <gtest/gtest.h>

#include <sys/stat.h>

#include <filesystem>
#include <regex>

#include "common/text_lines.h"
#include "tests/link/link_program.h"
#include "tests/support/temp_dir.h"

namespace kv {
namespace {

struct LoggedProgram {
  LoggedProgram(const emu::Instrument& unit, const std::string& log_path) : instrument(unit) {
    serial.protocol_log.set_path(log_path);
    if (!instrument.open(serial, ui)) throw std::runtime_error("port did not open");
  }
  LinkOutcome download() { return serial.link.download_log(fetched, false, ui); }

  test::EmulatorFixture instrument;
  SerialState serial;
  ScriptedUi ui;
  LogDownload fetched;
};

struct ByteLine {
  double ms;
  std::string direction;
  int value;
};

// The byte lines of a log, checked for their shape on the way.
std::vector<ByteLine> byte_lines(const std::vector<std::string>& lines) {
  static const std::regex shape(R"( *(\d+\.\d{3}) (sent|recv) ([0-9A-F]{2})( '(.)')?)");
  std::vector<ByteLine> out;
  for (const auto& line : lines) {
    if (line.rfind("===", 0) == 0 || line.find("time-out") != std::string::npos) continue;
    std::smatch m;
    EXPECT_TRUE(std::regex_match(line, m, shape)) << line;
    if (m.empty()) continue;
    const int value = std::stoi(m[3].str(), nullptr, 16);
    const bool printable = value >= 0x20 && value <= 0x7E;
    EXPECT_EQ(m[4].matched, printable) << line;
    if (printable) EXPECT_EQ(m[5].str(), std::string(1, static_cast<char>(value))) << line;
    out.push_back({std::stod(m[1].str()), m[2].str(), value});
  }
  return out;
}

class ProtocolLogTest : public ::testing::Test {
 protected:
  std::vector<std::string> log_lines() const { return split_lines(test::read_file(path)); }
  test::TempDir dir;
  std::string path = dir.file("line.log");
};

TEST_F(ProtocolLogTest, EveryByteOfADownloadIsWrittenInOrderBetweenItsStartAndEnd) {
  LoggedProgram program(test::with_memory(1024, 1, 10), path);  // two pages
  ASSERT_EQ(program.download(), LinkOutcome::Done);
  const auto lines = log_lines();
  ASSERT_GT(lines.size(), 2u);
  EXPECT_TRUE(std::regex_match(lines.front(),
                               std::regex(R"(=== download start \d{4}-\d\d-\d\d \d\d:\d\d:\d\d\.\d{3} UTC)")))
      << lines.front();
  EXPECT_TRUE(std::regex_match(lines.back(), std::regex(R"(=== download end \d+\.\d{3} ms: done)"))) << lines.back();

  const auto bytes = byte_lines(lines);
  std::string sent;
  std::vector<std::uint8_t> received;
  for (std::size_t i = 0; i < bytes.size(); ++i) {
    if (i > 0) EXPECT_GE(bytes[i].ms, bytes[i - 1].ms);
    if (bytes[i].direction == "sent") sent += static_cast<char>(bytes[i].value);
    else received.push_back(static_cast<std::uint8_t>(bytes[i].value));
  }
  EXPECT_EQ(sent, "pxqscn");
  // 'U', the identity, the info word, the memory status and two pages.
  ASSERT_EQ(received.size(), 1u + 6 + 2 + 6 + 2 * 259);
  EXPECT_EQ(received[0], 'U');
  const auto data = program.instrument.emulator().instrument().memory.data;
  const std::size_t first_page = 1 + 6 + 2 + 6;
  EXPECT_TRUE(std::equal(received.begin() + first_page + 2, received.begin() + first_page + 258, data.begin()));
}

TEST_F(ProtocolLogTest, TimeOutsAndOutcomesAreWrittenAndLaterExchangesAppend) {
  emu::Instrument unit = test::with_memory(1024, 3, 0);
  unit.version_minor = 30;
  LoggedProgram program(unit, path);
  ASSERT_EQ(program.download(), LinkOutcome::VersionRefused);
  ASSERT_EQ(program.serial.link.connect_check(program.ui, NotOpenKind::Information), LinkOutcome::Done);
  const auto lines = log_lines();
  const auto count = [&](const std::string& text) {
    return std::count_if(lines.begin(), lines.end(), [&](const auto& l) { return l.find(text) != std::string::npos; });
  };
  EXPECT_EQ(count(" recv time-out"), 5);  // nine drained reads, four of them answered
  EXPECT_EQ(count("=== download end "), 1);
  ASSERT_GE(lines.size(), 5u);
  EXPECT_TRUE(lines[lines.size() - 5].find("ms: version refused") != std::string::npos) << lines[lines.size() - 5];
  EXPECT_EQ(lines[lines.size() - 4].substr(0, 26), "=== connect check start 20");
  EXPECT_TRUE(lines.back().find("ms: done") != std::string::npos);
}

TEST_F(ProtocolLogTest, AnUnwritableLogIsReportedOnceAndTheExchangesGoOn) {
  const std::string folder = dir.file("a-folder");
  std::filesystem::create_directory(folder);  // a folder where the file should be
  LoggedProgram program(test::with_memory(1024, 1, 0), folder);
  EXPECT_EQ(program.download(), LinkOutcome::Done);
  EXPECT_EQ(program.serial.link.connect_check(program.ui, NotOpenKind::Information), LinkOutcome::Done);
  ASSERT_EQ(program.ui.messages().size(), 1u);
  EXPECT_EQ(program.ui.messages()[0].kind, MsgKind::Warning);
  EXPECT_EQ(program.ui.messages()[0].text, "Cannot write the protocol log " + folder + ": Is a directory");
  EXPECT_EQ(program.fetched.image, program.instrument.emulator().instrument().memory.data);
}

// A planted name must neither stop the program nor be written through: each
// is refused once, at the first exchange, and the download goes on.
TEST_F(ProtocolLogTest, AFifoOrALinkInPlaceOfTheLogIsRefusedAtOnce) {
  const std::string fifo = dir.file("pipe");
  ASSERT_EQ(::mkfifo(fifo.c_str(), 0600), 0);
  const std::string target = dir.file("precious");
  test::write_file(target, "keep me");
  const std::string link = dir.file("link.log");
  std::filesystem::create_symlink(target, link);
  for (const auto& [path, reason] : {std::pair{fifo, "it is not a regular file"},
                                     std::pair{link, "it is a symbolic link"}}) {
    LoggedProgram program(test::with_memory(1024, 1, 0), path);
    EXPECT_EQ(program.download(), LinkOutcome::Done);
    ASSERT_EQ(program.ui.messages().size(), 1u) << path;
    EXPECT_EQ(program.ui.messages()[0].text, "Cannot write the protocol log " + path + ": " + reason);
  }
  EXPECT_EQ(test::read_file(target), "keep me");
}

}  // namespace
}  // namespace kv
