#include "logdata/log_file.h"

#include <gtest/gtest.h>

#include "common/text_lines.h"
#include "logdata/decoder.h"
#include "tests/logdata/no_free_descriptors.h"
#include "tests/logdata/packet_builder.h"
#include "tests/support/temp_dir.h"
#include "ui/scripted_ui.h"

namespace kv {
namespace {

using test::PacketBuilder;
using test::read_file;
using test::write_file;

constexpr const char* kCrLf = "\r\n";

class LogFileTest : public ::testing::Test {
 protected:
  void SetUp() override {
    defaults = DialogDefaults::in_folder(dir.path().string());
    PacketBuilder().at(10).at(20).lap(1, 61230).splits(7, 1000, 2000, 3000).slow(80, 70, 13, 9, 55).at(5).load_into(
        log);
    log.current().identity.unit_version = 321;
    log.current().identity.unit_word = 513;
    log.current().identity.set_flags(0x85, 0x03);
    log.current().sheet.notes_text = {"Dry track", "", "//boost 1.2"};
    log.current().sheet.set_field(1, "Driver: K");
    log.current().sheet.set_field(80, "last");
  }

  bool save(const std::string& name, bool dump = false) {
    ui.queue_file(dir.file(name));
    return save_log_data(log, defaults, ui, dump);
  }
  bool load(const std::string& name) {
    ui.queue_file(dir.file(name));
    return load_log_data(log, defaults, ui);
  }
  // A file with no notes, the 80 slots, identity lines and packet lines.
  std::string file_text(const std::string& version, const std::vector<std::string>& packets,
                        const std::string& pulses = "1609") {
    std::string text;
    for (int i = 1; i <= 80; ++i) text += "@@" + std::to_string(i) + kCrLf;
    text += std::string("7") + kCrLf + version + kCrLf + pulses + kCrLf + "0" + kCrLf + "1" + kCrLf;
    for (const auto& p : packets) text += p + kCrLf;
    return text;
  }

  test::TempDir dir;
  DialogDefaults defaults;
  LogState log;
  ScriptedUi ui;
};

TEST_F(LogFileTest, SaveWritesNotesSlotsIdentityAndOnePacketPerLine) {
  ASSERT_TRUE(save("run"));
  EXPECT_EQ(ui.texts(), std::vector<std::string>{"File Saved OK"});
  EXPECT_EQ(ui.dialogs().at(0).title, "Save Korvanta Data");
  const auto lines = split_lines(read_file(dir.file("run.kvl")));
  ASSERT_EQ(lines.size(), 3u + 80 + 5 + 6);
  EXPECT_EQ(lines[0], "//Dry track");
  EXPECT_EQ(lines[1], "//");
  EXPECT_EQ(lines[2], "////boost 1.2");
  EXPECT_EQ(lines[3], "@@Driver: K");
  EXPECT_EQ(lines[4], "@@");
  EXPECT_EQ(lines[82], "@@last");
  EXPECT_EQ((std::vector<std::string>(lines.begin() + 83, lines.begin() + 88)),
            (std::vector<std::string>{"513", "03 15", "1609", "133", "3"}));
  EXPECT_EQ(lines[88], "18 13 88 64 33 28 00 0A");
  EXPECT_EQ(lines[90], "28 01 00 00 EF 2E 03 E8");
  EXPECT_EQ(lines[93], "18 13 88 64 33 28 00 05");
  EXPECT_NE(read_file(dir.file("run.kvl")).find("\r\n18 13 88"), std::string::npos);
  EXPECT_EQ(defaults.log.file_name, "run.kvl");
}

TEST_F(LogFileTest, RoundTripKeepsEveryByteAndDecodes) {
  // Windows-1252 text, unassigned bytes included, goes out and back as it is.
  log.current().sheet.notes_text.push_back("18\xB0" "C \x80\x81\xFF");
  log.current().sheet.set_field(2, "\x9F\xB0");
  ASSERT_TRUE(save("first.kvl"));
  EXPECT_NE(read_file(dir.file("first.kvl")).find("//18\xB0" "C \x80\x81\xFF\r\n"), std::string::npos);
  const LogState saved = log;
  log.current_data_set = kDataSetB;
  ASSERT_TRUE(load("first.kvl"));
  const Dataset& b = log.dataset(kDataSetB);
  EXPECT_EQ(b.raw_memory, saved.current().raw_memory);
  EXPECT_EQ(b.sheet, saved.current().sheet);
  EXPECT_EQ(b.identity, saved.current().identity);
  EXPECT_EQ(b.used_bytes, saved.current().used_bytes);
  EXPECT_EQ(b.decoded_valid, 1);
  EXPECT_EQ(b.sample_count(), 3);
  EXPECT_EQ(dataset_name_text(b), "first.kvl");
  EXPECT_EQ(ui.texts().back(), "Processed 48 bytes of Data");
  ASSERT_TRUE(save("second.kvl"));
  EXPECT_EQ(read_file(dir.file("second.kvl")), read_file(dir.file("first.kvl")));
}

TEST_F(LogFileTest, ALoadIntoTheOtherDatasetLeavesThisOneWhole) {
  ASSERT_TRUE(save("a.kvl"));
  ASSERT_TRUE(load("a.kvl"));
  write_file(dir.file("b.kvl"), file_text("03 15", {"18 00 00 00 31 00 00 01"}));
  log.current_data_set = kDataSetB;
  ASSERT_TRUE(load("b.kvl"));
  EXPECT_EQ(log.current().used_bytes, 8u);
  log.current_data_set = kDataSetA;
  ASSERT_TRUE(save("a-again.kvl"));
  EXPECT_EQ(read_file(dir.file("a-again.kvl")), read_file(dir.file("a.kvl")))
      << "A keeps its own length, version, calibration and units";
  ui.clear();
  EXPECT_TRUE(process_data_packets(log, ui));
  EXPECT_EQ(log.current().sample_count(), 3);
  EXPECT_EQ(ui.texts(), std::vector<std::string>{"Processed 48 bytes of Data"});
}

TEST_F(LogFileTest, ALoadRemembersTheLogAndSuggestsTheCsvName) {
  ASSERT_TRUE(save("day1.kvl"));
  defaults = DialogDefaults::in_folder("/nowhere");
  ASSERT_TRUE(load("day1.kvl"));
  EXPECT_EQ(defaults.log.folder, dir.path().string());
  EXPECT_EQ(defaults.log.file_name, "day1.kvl");
  EXPECT_EQ(defaults.csv.folder, dir.path().string());
  EXPECT_EQ(defaults.csv.file_name, "day1.csv");
  EXPECT_EQ(csv_name_for("a.KvL.kvl"), "a.csv.csv");
}

TEST_F(LogFileTest, NotesAndEmptySheetLoadBack) {
  log.current().sheet = {};
  ASSERT_TRUE(save("plain.kvl"));
  EXPECT_EQ(read_file(dir.file("plain.kvl")).substr(0, 4), "@@\r\n");
  log.current().sheet.notes_text = {"x"};
  ASSERT_TRUE(load("plain.kvl"));
  EXPECT_TRUE(log.current().sheet.notes_text.empty());
}

TEST_F(LogFileTest, MoreThan256NotesLinesAreAllWritten) {
  log.current().sheet.notes_text.assign(300, "n");
  ASSERT_TRUE(save("long.kvl"));
  log.current().sheet = {};
  ASSERT_TRUE(load("long.kvl"));
  EXPECT_EQ(log.current().sheet.notes_text.size(), 300u);
}

TEST_F(LogFileTest, DumpModeWritesEightBytesPerLine) {
  log.current().raw_memory = {0x12, 1, 2, 3, 4, 5, 6, 7, 0xFF, 0xFF, 0xFF, 0xFF, 0xFF, 0xFF, 0xFF, 0xFF, 0xAA};
  log.current().used_bytes = 16;
  ASSERT_TRUE(save("dump.kvl", true));
  const auto lines = split_lines(read_file(dir.file("dump.kvl")));
  ASSERT_EQ(lines.size(), 3u + 85 + 2);
  EXPECT_EQ(lines[88], "12 01 02 03 04 05 06 07");
  EXPECT_EQ(lines[89], "FF FF FF FF FF FF FF FF");
}

TEST_F(LogFileTest, AHeaderOfLengthZeroIsWrittenAloneAndPacketsCutByTheEndArePadded) {
  log.current().raw_memory = {0x40, 0x13, 0xAA, 0xBB};
  log.current().used_bytes = 0;  // no bound of its own: the end of the image stops the walk
  ASSERT_TRUE(save("odd.kvl"));
  const auto lines = split_lines(read_file(dir.file("odd.kvl")));
  ASSERT_EQ(lines.size(), 3u + 85 + 2);
  EXPECT_EQ(lines[88], "40");
  EXPECT_EQ(lines[89], "13 AA BB");
}

TEST_F(LogFileTest, SaveRefusals) {
  log.current().memory_valid = 0;
  EXPECT_FALSE(save_log_data(log, defaults, ui));
  log.current().memory_valid = 1;
  EXPECT_FALSE(save_log_data(log, defaults, ui));  // nothing queued: cancelled
  EXPECT_FALSE(save("x.KVL"));
  EXPECT_FALSE(save(""));
  write_file(dir.file("old.kvl"), "old");
  ui.queue_answer(kNo);
  EXPECT_FALSE(save("old.kvl"));
  EXPECT_EQ(ui.texts(), (std::vector<std::string>{"No Valid Data to Save", "Cancelled, No Data Saved",
                                                  "Invalid Filename, No Data Saved",
                                                  "Invalid Filename, No Data Saved", "File Exists, Overwrite File ?",
                                                  "No Data Saved"}));
  EXPECT_EQ(read_file(dir.file("old.kvl")), "old");
  EXPECT_FALSE(save("missing-folder/x.kvl"));
  EXPECT_EQ(ui.texts().back(), "File Already Open, No Data Saved");
}

TEST_F(LogFileTest, AnInterruptedSaveKeepsThePreviousFile) {
  write_file(dir.file("keep.kvl"), "previous contents");
  // Half way through the writing the temporary file disappears.
  ui.on_pump = [&] {
    for (const auto& name : test::list_folder(dir.path())) {
      if (name.rfind(".keep.kvl", 0) == 0) std::filesystem::remove(dir.path() / name);
    }
  };
  EXPECT_FALSE(save("keep.kvl"));
  EXPECT_EQ(read_file(dir.file("keep.kvl")), "previous contents");
  EXPECT_EQ(ui.texts().back(), "Problem Writing File, No Data Saved");
  EXPECT_EQ(test::list_folder(dir.path()), std::vector<std::string>{"keep.kvl"});
}

TEST_F(LogFileTest, LoadRefusalsBeforeReading) {
  EXPECT_FALSE(load_log_data(log, defaults, ui));
  EXPECT_FALSE(load("x.KVL"));
  EXPECT_FALSE(load("absent"));
  EXPECT_EQ(ui.texts(), (std::vector<std::string>{"No Data Loaded", "Invalid Filename, No Data Loaded",
                                                  "Filename Does Not Exist, No Data Loaded"}));
  EXPECT_EQ(ui.dialogs().at(0).title, "Load Korvanta Data");
}

TEST_F(LogFileTest, AFileThatCannotBeOpenedIsAProblemOpening) {
  write_file(dir.file("locked.kvl"), file_text("03 13", {"18 00 00 00 31 00 00 01"}));
  ASSERT_TRUE(load("locked.kvl")) << "opens while descriptors are free";
  ui.clear();
  const LogState before = log;
  ui.queue_file(dir.file("locked.kvl"));
  bool loaded = true;
  {
    const test::NoFreeDescriptors no_open;
    loaded = load_log_data(log, defaults, ui);
  }
  EXPECT_FALSE(loaded);
  EXPECT_EQ(ui.texts(), std::vector<std::string>{"Problem Opening File, No Data Loaded"});
  EXPECT_EQ(log.current().raw_memory, before.current().raw_memory);
  EXPECT_EQ(log.current().sheet, before.current().sheet);
}

TEST_F(LogFileTest, ABareNameGetsTheExtension) {
  write_file(dir.file("bare.kvl"), file_text("03 13", {"18 00 00 00 31 00 00 01"}));
  EXPECT_TRUE(load("bare"));
  EXPECT_EQ(dataset_name_text(log.current()), "bare.kvl");
}

TEST_F(LogFileTest, RefusedFilesLeaveTheDatasetExactlyAsItWas) {
  log.current().name_text = "Memory A";
  const LogState before = log;
  const std::vector<std::pair<std::string, std::string>> cases = {
      {file_text("03 1E", {"18 00 00 00 31 00 00 01"}), "File not Compatible with Pelmorix Version, No Data Loaded"},
      {file_text("03 12", {}), "File not Compatible with Pelmorix Version, No Data Loaded"},
      {file_text("03 15", {"18 00 00 00 31 00 00 01", "18 00 00 00 31 00 00 01", "0F 00"}),
       "Data Out of Range in File, No Data Loaded: 89"},
      {file_text("03 15", {"F1"}), "Data Out of Range in File, No Data Loaded: 87"},
      {file_text("03 15", {"18 01", "20 00"}), "Data Out of Range in File, No Data Loaded: 88"},
      {file_text("03 15", {}, "fast"), "File Format Error, No Data Loaded"},
      {file_text("03 15", {}, "-5"), "File Format Error, No Data Loaded"},
      {"//only notes\r\n@@1\r\n", "File Format Error, No Data Loaded"},
      {"", "File Format Error, No Data Loaded"},
  };
  for (const auto& [text, message] : cases) {
    write_file(dir.file("bad.kvl"), text);
    ui.clear();
    EXPECT_FALSE(load("bad.kvl"));
    EXPECT_EQ(ui.texts(), std::vector<std::string>{message});
    EXPECT_EQ(ui.messages().at(0).kind, MsgKind::Error);
    EXPECT_EQ(log.current().raw_memory, before.current().raw_memory);
    EXPECT_EQ(log.current().sheet, before.current().sheet);
    EXPECT_EQ(log.current().memory_valid, 1);
    EXPECT_EQ(log.current().name_text, "Memory A");
    EXPECT_EQ(log.current().identity, before.current().identity);
    EXPECT_EQ(log.current().used_bytes, before.current().used_bytes);
  }
}

TEST_F(LogFileTest, ShortPacketLinesRepeatTheirLastField) {
  write_file(dir.file("short.kvl"), file_text("03 1D", {"18 01 0A"}));
  EXPECT_TRUE(load("short.kvl"));
  EXPECT_EQ(log.current().raw_memory, (std::vector<std::uint8_t>{0x18, 0x01, 0x0A, 0x0A, 0x0A, 0x0A, 0x0A, 0x0A}));
  EXPECT_EQ(log.current().identity.unit_version, 329);
  EXPECT_EQ(log.current().identity.unit_word, 7);
  EXPECT_TRUE(log.current().held_units.temp_in_degc);
  EXPECT_FALSE(log.current().held_units.pressure_in_psi);
  EXPECT_EQ(log.shown_units, log.current().held_units) << "a decoded load sets the switches' units";
}

TEST_F(LogFileTest, LineFeedsAloneLoadLikeCrLf) {
  std::string text = file_text("03 15", {"18 00 00 00 31 00 00 01", "18 00 00 00 31 00 00 02"});
  std::string lf;
  for (char c : text) {
    if (c != '\r') lf += c;
  }
  write_file(dir.file("lf.kvl"), "//note\n" + lf);
  ASSERT_TRUE(load("lf.kvl"));
  EXPECT_EQ(log.current().sheet.notes_text, std::vector<std::string>{"note"});
  EXPECT_EQ(log.current().sheet.field(80), "80");
  EXPECT_EQ(log.current().sample_count(), 2);
}

TEST_F(LogFileTest, AFileWithoutPacketsLoadsButDoesNotDecode) {
  write_file(dir.file("empty.kvl"), file_text("03 15", {}));
  EXPECT_FALSE(load("empty.kvl"));
  EXPECT_EQ(ui.texts(), std::vector<std::string>{"Problem Processing Korvanta Data Error: t0.b0"});
  EXPECT_EQ(log.current().raw_memory, std::vector<std::uint8_t>{0});
  EXPECT_EQ(log.current().used_bytes, 0u);
  EXPECT_EQ(log.current().memory_valid, 1);
  EXPECT_EQ(dataset_name_text(log.current()), "No Data");
  EXPECT_EQ(defaults.log.file_name, "default.kvl") << "only a decoded file is remembered";
}

TEST_F(LogFileTest, PerDatasetButtonsSelectTheDataset) {
  ASSERT_TRUE(save_log_dataSetA(log, defaults, ui) == false);  // cancelled
  ui.queue_file(dir.file("a.kvl"));
  ASSERT_TRUE(save_log_dataSetA(log, defaults, ui));
  ui.queue_file(dir.file("a.kvl"));
  ASSERT_TRUE(load_log_dataSetB(log, defaults, ui));
  EXPECT_EQ(log.current_data_set, kDataSetB);
  EXPECT_EQ(log.dataset(kDataSetB).raw_memory, log.dataset(kDataSetA).raw_memory);
  ui.queue_file(dir.file("b.kvl"));
  ASSERT_TRUE(save_log_dataSetB(log, defaults, ui));
  EXPECT_EQ(read_file(dir.file("b.kvl")), read_file(dir.file("a.kvl")));
  EXPECT_FALSE(load_log_dataSetA(log, defaults, ui));
  EXPECT_EQ(log.current_data_set, kDataSetA);
}

}  // namespace
}  // namespace kv
