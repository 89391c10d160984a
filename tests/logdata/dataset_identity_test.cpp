// Two logs from two differently set up instruments, end to end through the
// log file reader and writer, the decoder, the CSV export and the emulated
// instrument: each dataset keeps the identity it was recorded with, and a
// download or load that brings nothing leaves a dataset as it was.
#include <gtest/gtest.h>

#include <algorithm>

#include "emulator/log_generator.h"
#include "logdata/csv_export.h"
#include "logdata/download_sequence.h"
#include "logdata/log_file.h"
#include "logdata/log_file_format.h"
#include "logdata/packet_format.h"
#include "tests/support/emulator_fixture.h"
#include "tests/support/temp_dir.h"
#include "ui/scripted_ui.h"

namespace kv {
namespace {

// mph, psi, degC at 4000 pulses a mile; km/h, Bar, degF at 1609.
const emu::GeneratorOptions kMphCar{
    .pages = 12, .seed = 3, .pulses_per_mile = 4000, .unit_flags1 = 0x80, .unit_flags2 = 0x03};
const emu::GeneratorOptions kKmhCar{
    .pages = 10, .seed = 8, .pulses_per_mile = 1609, .unit_flags1 = 0x00, .unit_flags2 = 0x00};

UnitIdentity identity_of(const emu::GeneratedLog& log) {
  UnitIdentity id;
  id.unit_version = 325;
  id.pulses_per_mile = log.pulses_per_mile;
  id.set_flags(log.unit_flags1, log.unit_flags2);
  return id;
}

class TwoInstruments : public ::testing::Test {
 protected:
  // Writes `log` as the instrument's own log file would be saved.
  std::string write_log(const std::string& name, const emu::GeneratedLog& log, UnitIdentity id) {
    ScriptedUi quiet;
    const std::string path = dir.file(name);
    test::write_file(path, write_log_file_text({}, id, log.memory.data, log.used_bytes, false, quiet));
    return path;
  }
  std::string write_log(const std::string& name, const emu::GeneratedLog& log) {
    return write_log(name, log, identity_of(log));
  }

  bool load(LogState& into, std::uint8_t which, const std::string& path) {
    ui.queue_file(path);
    return which == kDataSetA ? load_log_dataSetA(into, defaults, ui) : load_log_dataSetB(into, defaults, ui);
  }
  bool save(LogState& from, std::uint8_t which, const std::string& path) {
    ui.queue_file(path);
    return which == kDataSetA ? save_log_dataSetA(from, defaults, ui) : save_log_dataSetB(from, defaults, ui);
  }
  // The CSV of a log file loaded into a program that holds nothing else.
  std::string converted_alone(const std::string& path) {
    LogState alone;
    EXPECT_TRUE(load(alone, kDataSetA, path)) << path;
    return csv_export_text(alone.dataset(kDataSetA));
  }
  std::string csv_of(const LogState& log, std::uint8_t which) { return csv_export_text(log.dataset(which)); }

  emu::GeneratedLog mph_log = emu::generate_log(kMphCar);
  emu::GeneratedLog kmh_log = emu::generate_log(kKmhCar);
  test::TempDir dir;
  DialogDefaults defaults = DialogDefaults::in_folder(dir.path().string());
  ScriptedUi ui;
  LogState log;
};

std::string first_line_with(const std::string& text, const std::string& start) {
  const auto at = text.find(start);
  return at == std::string::npos ? std::string() : text.substr(at, text.find('\r', at) - at);
}

TEST_F(TwoInstruments, EachSetSavesAndExportsItsOwnLogWhateverTheOtherHolds) {
  const std::string a_file = write_log("a.kvl", mph_log);
  const std::string b_file = write_log("b.kvl", kmh_log);
  ASSERT_TRUE(load(log, kDataSetA, a_file));
  ASSERT_TRUE(load(log, kDataSetB, b_file));

  EXPECT_EQ(first_line_with(csv_of(log, kDataSetA), "Korvtime"),
            "Korvtime(s),RPM/100,Speed(MPH),Gear,Brake,Oil Pressure (psi),Oil Temp (degC),Water Temp (degC),"
            "Battery (VDC),Fuel (%),Odo (m),Lap Odo (m),Lap,Session,Lap Time(s),Index");
  EXPECT_EQ(csv_of(log, kDataSetA), converted_alone(a_file));
  EXPECT_EQ(csv_of(log, kDataSetB), converted_alone(b_file));

  ASSERT_TRUE(save(log, kDataSetA, dir.file("a-again.kvl")));
  ASSERT_TRUE(save(log, kDataSetB, dir.file("b-again.kvl")));
  EXPECT_EQ(test::read_file(dir.file("a-again.kvl")), test::read_file(a_file));
  EXPECT_EQ(test::read_file(dir.file("b-again.kvl")), test::read_file(b_file));
  EXPECT_EQ(converted_alone(dir.file("a-again.kvl")), converted_alone(a_file));
  EXPECT_EQ(converted_alone(dir.file("b-again.kvl")), converted_alone(b_file));
}

TEST_F(TwoInstruments, ADownloadIntoAKeepsItsInstrumentBesideALoadedB) {
  const std::string b_file = write_log("b.kvl", kmh_log);
  ASSERT_TRUE(load(log, kDataSetB, b_file));
  test::EmulatorFixture instrument(emu::with_log(mph_log));
  SerialState serial;
  ASSERT_TRUE(instrument.open(serial, ui));
  ASSERT_TRUE(get_log_data(serial.link, log, defaults, ui, kDataSetA, false).decoded);
  EXPECT_EQ(log.shown_units, (HeldUnits{true, true, true})) << "a decoded download sets the switches' units";

  ASSERT_TRUE(save(log, kDataSetA, dir.file("downloaded.kvl")));
  EXPECT_EQ(converted_alone(dir.file("downloaded.kvl")), converted_alone(write_log("a.kvl", mph_log)));
  EXPECT_EQ(csv_of(log, kDataSetB), converted_alone(b_file));
}

TEST_F(TwoInstruments, AFileThatDoesNotDecodeEmptiesItsSetAndNothingElse) {
  const std::string mph_file = write_log("mph.kvl", mph_log);
  const std::string kmh_file = write_log("kmh.kvl", kmh_log);
  UnitIdentity no_pulses = identity_of(kmh_log);
  no_pulses.pulses_per_mile = 0;
  const std::string broken = write_log("broken.kvl", kmh_log, no_pulses);
  for (const std::uint8_t target : {kDataSetA, kDataSetB}) {
    const std::uint8_t other = target == kDataSetA ? kDataSetB : kDataSetA;
    LogState two;
    ASSERT_TRUE(load(two, target, kmh_file));
    ASSERT_TRUE(load(two, other, mph_file));
    const Dataset other_before = two.dataset(other);
    const HeldUnits shown_before = two.shown_units;
    ui.clear();
    EXPECT_FALSE(load(two, target, broken));
    EXPECT_EQ(ui.texts(), std::vector<std::string>{"Problem Processing Korvanta Data Error: Pulses per Mile is 0"});
    EXPECT_EQ(two.dataset(other), other_before);
    EXPECT_EQ(two.shown_units, shown_before);
    const Dataset& failed = two.dataset(target);
    EXPECT_EQ(failed.decoded_valid, 0);
    EXPECT_EQ(failed.sample_count(), 0);
    EXPECT_EQ(failed.ch_speed.NrOfElem(), 0);
    EXPECT_EQ(dataset_name_text(failed), "No Data");
    // The image that came is kept with its own identity, never another's.
    EXPECT_EQ(failed.identity, no_pulses);
  }
}

// Where the image's packets end, walking from the start.
std::vector<std::uint32_t> packet_ends(const std::vector<std::uint8_t>& image) {
  std::vector<std::uint32_t> ends{0};
  for (std::uint32_t pos = 0; pos < image.size() && packet::header_valid(image[pos]);) {
    pos += static_cast<std::uint32_t>(packet::length_of(image[pos]));
    ends.push_back(pos);
  }
  return ends;
}

class PagesThatArrive : public TwoInstruments {
 protected:
  PagesThatArrive() : instrument(emu::with_log(mph_log)) {
    if (!instrument.open(serial, ui)) throw std::runtime_error("port did not open");
  }
  DownloadResult download(PartialPages partial = PartialPages::Ask) {
    return get_log_data(serial.link, log, defaults, ui, kDataSetA, false, observer, partial);
  }
  void fault(const std::function<void(emu::Instrument&)>& change) { instrument.emulator().update(change); }
  std::string pages_question(int kept) const {
    return keep_partial_question(kept, mph_log.memory.used_pages + 1);
  }

  test::EmulatorFixture instrument;
  SerialState serial;
  DownloadObserver observer;
};

TEST_F(PagesThatArrive, NothingArrivedLeavesTheEarlierLogExactlyAsItWas) {
  ASSERT_TRUE(load(log, kDataSetA, write_log("kmh.kvl", kmh_log)));
  const Dataset before = log.dataset(kDataSetA);
  const HeldUnits shown = log.shown_units;

  observer.cancel_requested = [] { return true; };
  ui.clear();
  EXPECT_EQ(download().outcome, LinkOutcome::Cancelled);
  EXPECT_EQ(ui.texts(), std::vector<std::string>{cancelled_text(0, mph_log.memory.used_pages + 1)});
  EXPECT_EQ(log.dataset(kDataSetA), before);

  observer.cancel_requested = nullptr;
  fault([](emu::Instrument& i) { i.faults.bad_checksum_page = 0; });
  ui.clear();
  EXPECT_EQ(download().outcome, LinkOutcome::DataError);
  EXPECT_EQ(ui.texts(), std::vector<std::string>{"Problem with Data in Download"}) << "no pages to offer";
  EXPECT_EQ(log.dataset(kDataSetA), before);
  EXPECT_EQ(log.shown_units, shown);
}

TEST_F(PagesThatArrive, YesKeepsTheGoodPagesCutToAWholePacketAndDecodesThem) {
  static constexpr int kGood = 5;
  fault([](emu::Instrument& i) { i.faults.silent_in_page = kGood; });
  const DownloadResult result = download();
  ASSERT_EQ(result.outcome, LinkOutcome::DataError);
  EXPECT_TRUE(result.partial_kept);
  EXPECT_TRUE(result.decoded);
  EXPECT_EQ(result.name_text, "Memory A");

  const Dataset& data = log.dataset(kDataSetA);
  const std::vector<std::uint8_t> first_pages(mph_log.memory.data.begin(), mph_log.memory.data.begin() + kGood * 256);
  EXPECT_EQ(data.raw_memory, first_pages);
  // Cut at a packet's end, the next packet being the one the page end cut.
  const std::uint32_t whole = data.used_bytes;
  const auto ends = packet_ends(mph_log.memory.data);
  EXPECT_NE(std::find(ends.begin(), ends.end(), whole), ends.end());
  EXPECT_LE(whole, kGood * 256u);
  EXPECT_GT(whole + static_cast<std::uint32_t>(packet::length_of(mph_log.memory.data[whole])), kGood * 256u);
  EXPECT_EQ(ui.texts(), (std::vector<std::string>{"Problem with Data in Download", pages_question(kGood),
                                                  "Processed " + std::to_string(whole) + " bytes of Data"}));
  EXPECT_EQ(ui.messages().at(1).kind, MsgKind::Confirmation);
  EXPECT_GT(data.sample_count(), 0);
  EXPECT_LT(data.sample_count(), static_cast<long>(mph_log.samples.size()));

  // Saved and loaded back, the kept pages are the same log.
  ASSERT_TRUE(save(log, kDataSetA, dir.file("partial.kvl")));
  EXPECT_EQ(converted_alone(dir.file("partial.kvl")), csv_of(log, kDataSetA));
}

TEST_F(PagesThatArrive, NoLeavesTheEarlierLogOfAnotherInstrumentExactlyAsItWas) {
  ASSERT_TRUE(load(log, kDataSetA, write_log("kmh.kvl", kmh_log)));
  const Dataset before = log.dataset(kDataSetA);
  const HeldUnits shown = log.shown_units;
  fault([](emu::Instrument& i) { i.faults.bad_checksum_page = 3; });
  ui.clear();
  ui.queue_answer(kOk);  // the download's error box
  ui.queue_answer(kNo);
  const DownloadResult result = download();
  EXPECT_FALSE(result.partial_kept);
  EXPECT_EQ(ui.texts(), (std::vector<std::string>{"Problem with Data in Download", pages_question(3)}));
  EXPECT_EQ(result.name_text, "") << "the set keeps its name";
  EXPECT_EQ(log.dataset(kDataSetA), before) << "not the earlier curves under the new instrument's name and units";
  EXPECT_EQ(log.shown_units, shown);
  EXPECT_EQ(csv_of(log, kDataSetA), converted_alone(dir.file("kmh.kvl")));

  // The command line is told instead of asked.
  ui.clear();
  EXPECT_TRUE(download(PartialPages::Keep).partial_kept);
  EXPECT_EQ(ui.texts().at(0), "Problem with Data in Download");
  EXPECT_EQ(ui.texts().at(1).rfind("Processed ", 0), 0u);
  const Dataset kept = log.dataset(kDataSetA);
  ui.clear();
  EXPECT_FALSE(download(PartialPages::Drop).partial_kept);
  EXPECT_EQ(ui.texts(), std::vector<std::string>{"Problem with Data in Download"});
  EXPECT_EQ(log.dataset(kDataSetA), kept);
}

TEST_F(PagesThatArrive, ADumpOverAnotherInstrumentsLogGoesOnlyToItsFile) {
  ASSERT_TRUE(load(log, kDataSetA, write_log("kmh.kvl", kmh_log)));
  const Dataset before = log.dataset(kDataSetA);
  ui.clear();
  ui.queue_answer(kYes);  // "Dump Memory and Save to File ?"
  ui.queue_file(dir.file("dump.kvl"));
  const DownloadResult result = dump_log_data(serial.link, log, defaults, ui, kDataSetA, observer);
  EXPECT_TRUE(result.saved);
  EXPECT_EQ(ui.texts().back(), "File Saved OK");
  EXPECT_EQ(log.dataset(kDataSetA), before) << "not the earlier curves renamed beside the dumped instrument";

  // The file holds the dumped instrument's identity and memory.
  ScriptedUi quiet;
  const LogFileRead read = read_log_file_text(test::read_file(dir.file("dump.kvl")), quiet);
  EXPECT_EQ(read.contents.identity.pulses_per_mile, mph_log.pulses_per_mile);
  EXPECT_EQ(recorded_units(read.contents.identity), (HeldUnits{true, true, true}));
  const auto& raw = read.contents.raw_memory;
  ASSERT_GE(raw.size(), mph_log.used_bytes);
  EXPECT_TRUE(std::equal(raw.begin(), raw.begin() + mph_log.used_bytes, mph_log.memory.data.begin()));
}

}  // namespace
}  // namespace kv
