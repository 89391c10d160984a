#include "logdata/csv_export.h"

#include <gtest/gtest.h>

#include <clocale>
#include <cstdlib>
#include <filesystem>
#include <fstream>

#include "common/text_lines.h"
#include "emulator/log_generator.h"
#include "logdata/decoder.h"
#include "logdata/number_format.h"
#include "tests/logdata/packet_builder.h"
#include "tests/support/temp_dir.h"
#include "ui/scripted_ui.h"

namespace kv {
namespace {

using test::PacketBuilder;

Dataset three_samples() {
  Dataset data;
  data.packet_count[1] = 3;
  for (TVector* ch : {&data.ch_time, &data.ch_rpm, &data.ch_battery}) ch->setNrOfElem(3);
  for (long i = 1; i <= 3; ++i) data.ch_time.set(i, 0.1 * static_cast<double>(i));
  data.ch_rpm.set(1, 65.5);
  data.ch_battery.set(1, 12.55);
  data.ch_rpm.set(2, 64.5);
  return data;
}

TEST(CsvExportTest, SampleRowsCarryEveryChannelAndTheirIndex) {
  Dataset data = three_samples();
  data.held_units = {true, true, true};
  const auto lines = split_lines(csv_export_text(data));
  ASSERT_EQ(lines.size(), 4u);
  EXPECT_EQ(lines[0],
            "Korvtime(s),RPM/100,Speed(MPH),Gear,Brake,Oil Pressure (psi),Oil Temp (degC),Water Temp (degC),"
            "Battery (VDC),Fuel (%),Odo (m),Lap Odo (m),Lap,Session,Lap Time(s),Index");
  EXPECT_EQ(lines[1], "0.1,66,0,0,0,0,0,0,12.6,0,0.00,0.00,0,0,0.00,1");
  EXPECT_EQ(lines[2], "0.2,65,0,0,0,0,0,0,0.0,0,0.00,0.00,0,0,0.00,2");
  EXPECT_EQ(lines[3], "0.3,0,0,0,0,0,0,0,0.0,0,0.00,0.00,0,0,0.00,3");
}

TEST(CsvExportTest, HeaderFollowsTheUnitFlags) {
  EXPECT_EQ(csv_sample_header(HeldUnits{}),
            "Korvtime(s),RPM/100,Speed(KMH),Gear,Brake,Oil Pressure (Bar),Oil Temp (degF),Water Temp (degF),"
            "Battery (VDC),Fuel (%),Odo (m),Lap Odo (m),Lap,Session,Lap Time(s),Index");
}

TEST(CsvExportTest, NotesThenLapTableWithStartAndStop) {
  Dataset data;
  data.sheet.notes_text = {"wet 12\xB0", ""};
  data.packet_count[2] = 2;
  LapRecord lap;
  lap.end_time = 95.3;
  lap.lap = 3;
  lap.lap_time = 60.12f;
  lap.lap_distance = 2345.25f;
  lap.session = 2;
  lap.split = {12.34f, -0.5f, -0.001f};
  data.lap_table = {lap, LapRecord{}};
  data.lap_table[1].lap_time = 1.5f;
  const auto lines = split_lines(csv_export_text(data));
  EXPECT_EQ(lines, (std::vector<std::string>{"//wet 12\xB0", "//", "", "", csv_text::kLapHeader,
                                             "95.3,3,2345.3,60.12,12.34,-0.50,0.00,2,352,952",
                                             "0.0,0,0.0,1.50,0.00,0.00,0.00,0,0,0"}));
}

TEST(NumberFormatTest, HalvesRoundAwayFromZeroAndOtherwiseToNearest) {
  EXPECT_EQ(format_fixed(64.5, 0), "65");
  EXPECT_EQ(format_fixed(65.5, 0), "66");
  EXPECT_EQ(format_fixed(-2.5, 0), "-3");
  EXPECT_EQ(format_fixed(0.125, 2), "0.13");
  EXPECT_EQ(format_fixed(12.55, 1), "12.6");
  EXPECT_EQ(format_fixed(0.30000000000000004, 1), "0.3");
  EXPECT_EQ(format_fixed(2.675, 2), "2.67") << "the stored value lies below the half";
  EXPECT_EQ(format_fixed(-0.004, 2), "0.00");
  EXPECT_EQ(format_fixed(0.005, 2), "0.01");
  EXPECT_EQ(format_fixed(4e-320, 1), "0.0");
  EXPECT_EQ(format_fixed(1e20, 0), "100000000000000000000");
  EXPECT_EQ(format_fixed(4503599627370495.5, 0), "4503599627370496");
  EXPECT_EQ(round_half_even(2.5), 2);
  EXPECT_EQ(round_half_even(3.5), 4);
  EXPECT_EQ(round_half_even(-1e300), -9000000000000000000LL);
}

TEST(NumberFormatTest, TheDecimalSeparatorIgnoresTheLocale) {
  const char* chosen = nullptr;
  for (const char* name : {"de_DE.UTF-8", "de_DE.utf8", "fr_FR.UTF-8", "C.UTF-8"}) {
    if ((chosen = std::setlocale(LC_NUMERIC, name)) != nullptr) break;
  }
  EXPECT_EQ(format_fixed(12.55, 1), "12.6");
  EXPECT_EQ(split_lines(csv_export_text(three_samples()))[1].substr(0, 4), "0.1,");
  std::setlocale(LC_NUMERIC, "C");
}

class CsvSaveTest : public ::testing::Test {
 protected:
  void SetUp() override {
    defaults = DialogDefaults::in_folder(dir.path().string());
    PacketBuilder().at(10).load_into(log);
    ASSERT_TRUE(process_data_packets(log, ui));
    ui.clear();
  }
  test::TempDir dir;
  DialogDefaults defaults;
  LogState log;
  ScriptedUi ui;
};

TEST_F(CsvSaveTest, SavesThroughTheDialogPattern) {
  ui.queue_file(dir.file("run"));
  ASSERT_TRUE(save_csv_dataSetA(log, defaults, ui));
  EXPECT_EQ(ui.texts(), std::vector<std::string>{"File Saved OK"});
  EXPECT_EQ(ui.dialogs().at(0).title, "Save Excel .csv Data");
  EXPECT_EQ(ui.dialogs().at(0).file_name, "default.csv");
  EXPECT_EQ(defaults.csv.file_name, "run.csv");
  EXPECT_EQ(test::read_file(dir.file("run.csv")),
            csv_sample_header(log.current().held_units) + "\r\n0.1,50,100,3,0,40,0,0,0.0,0,10.00,10.00,0,0,0.00,1\r\n");
}

TEST_F(CsvSaveTest, Refusals) {
  EXPECT_FALSE(save_csv_dataSetB(log, defaults, ui));  // dataset B holds nothing
  log.current_data_set = kDataSetA;
  EXPECT_FALSE(save_csv_data(log, defaults, ui));
  ui.queue_file(dir.file("x.CSV"));
  EXPECT_FALSE(save_csv_data(log, defaults, ui));
  test::write_file(dir.file("old.csv"), "old");
  ui.queue_file(dir.file("old.csv"));
  ui.queue_answer(kNo);
  EXPECT_FALSE(save_csv_data(log, defaults, ui));
  EXPECT_EQ(ui.texts(), (std::vector<std::string>{"No Valid Data to Save", "Cancelled, No Data Saved",
                                                  "Invalid Filename, No Data Saved", "File Exists, Overwrite File ?",
                                                  "No Data Saved"}));
  EXPECT_EQ(test::read_file(dir.file("old.csv")), "old");
}

TEST_F(CsvSaveTest, AnImageThatFailedToDecodeIsNotExported) {
  // A new image in other units that does not decode: its memory is valid,
  // but the rows of the earlier log must not go out under its captions.
  PacketBuilder().raw({0xF8, 0}).load_into(log);
  log.current().identity.set_flags(0x80, 0x03);
  EXPECT_FALSE(process_data_packets(log, ui));
  ui.clear();
  ui.queue_file(dir.file("stale"));
  EXPECT_FALSE(save_csv_dataSetA(log, defaults, ui));
  EXPECT_EQ(ui.texts(), std::vector<std::string>{"No Valid Data to Save"});
  EXPECT_TRUE(ui.dialogs().empty());
  EXPECT_FALSE(std::filesystem::exists(dir.file("stale.csv")));
}

// A whole generated log, compared line by line with the expected export.
// KV_UPDATE_GOLDEN=1 rewrites the expected file.
TEST(CsvGoldenTest, GeneratedLogExportsAsExpected) {
  const auto truth = emu::generate_log({.pages = 48, .sessions = 2, .seed = 21, .circuit_metres = 900});
  LogState log;
  ScriptedUi ui;
  log.current().raw_memory = truth.memory.data;
  log.current().sheet.notes_text = {"Generated log", "two sessions"};
  log.current().used_bytes = truth.used_bytes;
  log.current().identity.pulses_per_mile = truth.pulses_per_mile;
  log.current().identity.set_flags(truth.unit_flags1, truth.unit_flags2);
  ASSERT_TRUE(process_data_packets(log, ui));
  ASSERT_GE(log.current().lap_count(), 3);
  const std::string text = csv_export_text(log.current());
  const std::string golden = std::string(KV_GOLDEN_DIR) + "/generated_log.csv";
  if (std::getenv("KV_UPDATE_GOLDEN")) std::ofstream(golden, std::ios::binary) << text;
  const auto expected = split_lines(test::read_file(golden));
  const auto actual = split_lines(text);
  ASSERT_EQ(actual.size(), expected.size());
  for (std::size_t i = 0; i < actual.size(); ++i) ASSERT_EQ(actual[i], expected[i]) << "line " << i + 1;
  EXPECT_EQ(text, test::read_file(golden)) << "line ends";
}

}  // namespace
}  // namespace kv
