// korvanta-cli config-read and config-write, run as a separate process
// against an emulated instrument on COM 1.
#include <gtest/gtest.h>

#include <QProcess>

#include "common/text_lines.h"
#include "config/config_file.h"
#include "tests/support/emulator_fixture.h"

namespace kv {
namespace {

struct CliRun {
  int exit_code;
  std::string messages;
};

class ConfigCliTest : public ::testing::Test {
 protected:
  ConfigCliTest() : instrument(factory_unit()) {}

  static emu::Instrument factory_unit() {
    emu::Instrument unit;
    const ConfigBytes image{0x5A, 0x00, 0x07, 0x00, 0x00, 0xFF, 0x03, 0xF4, 0x01, 0xE8, 0x03, 0xDC, 0x05,
                            0x11, 0x22, 0x00, 0x00, 0x00, 0x00, 0xE8, 0x03, 0x00, 0x3C, 0xE8, 0x03, 0x39,
                            0x30, 0x05, 0x14, 0x69, 0x1E, 0x6E, 0x05, 0x41, 0x01, 0x04, 0xE8, 0x03, 0x20,
                            0x03, 0xE8, 0x03, 0xDC, 0x05, 0xD0, 0x07, 0xB8, 0x0B, 0xA0, 0x0F, 0xE2, 0x32};
    std::copy(image.begin(), image.end(), unit.config.begin());
    return unit;
  }

  CliRun cli(const QStringList& arguments) {
    QProcess process;
    process.start(KV_CLI_PATH, arguments);
    process.waitForFinished(60000);
    return {process.exitCode(), process.readAllStandardError().toStdString()};
  }
  std::string file(const char* name) const { return dir.file(name); }
  // The instrument's image as a .kvc file text, with `edit` applied.
  std::string file_text(const std::function<void(ConfigBytes&)>& edit = {}) const {
    ConfigBytes image{};
    const auto held = instrument.emulator().instrument().config;
    std::copy(held.begin(), held.end(), image.begin());
    if (edit) edit(image);
    std::string text;
    for (std::uint8_t b : image) text += config::config_file_line(b);
    return text;
  }
  int writes() { return instrument.emulator().traffic().commands['w']; }

  test::TempDir dir;
  mutable test::EmulatorFixture instrument;
};

TEST_F(ConfigCliTest, ReadSavesTheInstrumentsConfiguration) {
  const CliRun run = cli({"config-read", "--port", "1", QString::fromStdString(file("unit.kvc"))});
  EXPECT_EQ(run.exit_code, 0) << run.messages;
  EXPECT_NE(run.messages.find("Korvanta Config Downloaded OK"), std::string::npos);
  EXPECT_NE(run.messages.find("Config Saved OK"), std::string::npos);
  // Offset 0 is saved as 0; everything else as the instrument holds it.
  EXPECT_EQ(read_whole_file(file("unit.kvc")), file_text([](ConfigBytes& image) { image[0] = 0; }));
}

TEST_F(ConfigCliTest, WriteRestoresAFileWithoutTheOdometer) {
  test::write_file(file("race.kvc"), file_text([](ConfigBytes& image) {
                     image[3] = 0x20;  // vehicle weight 800
                     image[4] = 0x03;
                     image[25] = 0x01;  // odometer
                   }));
  const CliRun run = cli({"config-write", "--port", "1", QString::fromStdString(file("race.kvc"))});
  EXPECT_EQ(run.exit_code, 0) << run.messages;
  EXPECT_NE(run.messages.find("Korvanta Config Uploaded OK"), std::string::npos);
  EXPECT_EQ(writes(), 43);
  const auto held = instrument.emulator().instrument().config;
  EXPECT_EQ(held[3] | held[4] << 8, 800);
  EXPECT_EQ(held[25], 0x39);
}

TEST_F(ConfigCliTest, OdometerNeedsTheRightPassword) {
  test::write_file(file("odo.kvc"), file_text([](ConfigBytes& image) { image[25] = 0x01; }));
  CliRun run = cli({"config-write", "--port", "1", QString::fromStdString(file("odo.kvc")), "--odometer-password",
                 "TARNIP"});
  EXPECT_EQ(run.exit_code, 1);
  EXPECT_NE(run.messages.find("Incorrect Password"), std::string::npos);
  EXPECT_EQ(writes(), 0);

  run = cli({"config-write", "--port", "1", QString::fromStdString(file("odo.kvc")), "--odometer-password",
             "tarnip"});
  EXPECT_EQ(run.exit_code, 0) << run.messages;
  EXPECT_EQ(writes(), 45);
  EXPECT_EQ(instrument.emulator().instrument().config[25], 0x01);
}

TEST_F(ConfigCliTest, RefusalsEndWithANonZeroExit) {
  test::write_file(file("bad.kvc"), file_text([](ConfigBytes& image) { image[19] = image[20] = 0; }));
  CliRun run = cli({"config-write", "--port", "1", QString::fromStdString(file("bad.kvc"))});
  EXPECT_EQ(run.exit_code, 1);
  EXPECT_NE(run.messages.find("Config Data not in Range, Cannot Upload"), std::string::npos);
  EXPECT_EQ(writes(), 0);

  test::write_file(file("short.kvc"), "00\r\n");
  run = cli({"config-write", "--port", "1", QString::fromStdString(file("short.kvc"))});
  EXPECT_EQ(run.exit_code, 1);
  EXPECT_NE(run.messages.find("Config Data Problem, No Data Loaded"), std::string::npos);

  run = cli({"config-read", "--port", "2", QString::fromStdString(file("x.kvc"))});
  EXPECT_EQ(run.exit_code, 1);
  EXPECT_NE(run.messages.find("Cannot Open COM Port 2"), std::string::npos);

  instrument.emulator().update([](emu::Instrument& unit) { unit.faults.nack_address = 0xD3; });
  test::write_file(file("ok.kvc"), file_text());
  run = cli({"config-write", "--port", "1", QString::fromStdString(file("ok.kvc"))});
  EXPECT_EQ(run.exit_code, 1);
  EXPECT_NE(run.messages.find("Problem with Data Packet"), std::string::npos);

  EXPECT_EQ(cli({"config-read", "--port", "1"}).exit_code, 2);
}

}  // namespace
}  // namespace kv
