// The Download and Dump sequences against an emulated instrument.
#include "logdata/download_sequence.h"

#include <gtest/gtest.h>

#include <filesystem>

#include "common/text_lines.h"
#include "emulator/log_generator.h"
#include "logdata/log_file.h"
#include "tests/support/emulator_fixture.h"
#include "tests/support/temp_dir.h"
#include "ui/scripted_ui.h"

namespace kv {
namespace {

class DownloadSequenceTest : public ::testing::Test {
 protected:
  DownloadSequenceTest()
      : truth(emu::generate_log({.pages = 12, .seed = 5})), fixture(emu::with_log(truth)),
        defaults(DialogDefaults::in_folder(dir.path().string())) {}

  void open() { ASSERT_TRUE(fixture.open(serial, ui)); }
  DownloadResult download(std::uint8_t which, bool dump = false, const DownloadObserver& observer = {}) {
    return get_log_data(serial.link, log, defaults, ui, which, dump, observer);
  }

  emu::GeneratedLog truth;
  test::EmulatorFixture fixture;
  test::TempDir dir;
  DialogDefaults defaults;
  SerialState serial;
  LogState log;
  ScriptedUi ui;
};

TEST_F(DownloadSequenceTest, DownloadDecodesIntoTheChosenDataset) {
  open();
  int pages = 0, done = 0;
  DownloadObserver observer;
  observer.on_pages_start = [&](int count) { pages = count; };
  observer.on_page_done = [&] { ++done; };
  const auto result = download(kDataSetB, false, observer);
  EXPECT_EQ(result.outcome, LinkOutcome::Done);
  EXPECT_TRUE(result.decoded);
  EXPECT_EQ(result.name_text, "Memory B");
  EXPECT_EQ(dataset_name_text(log.dataset(kDataSetB)), "Memory B");
  EXPECT_EQ(log.current_data_set, kDataSetB);
  EXPECT_EQ(log.dataset(kDataSetB).sample_count(), static_cast<long>(truth.samples.size()));
  EXPECT_EQ(log.dataset(kDataSetA).decoded_valid, 0);
  EXPECT_EQ(pages, truth.memory.used_pages + 1);
  EXPECT_EQ(done, pages);
  EXPECT_EQ(ui.texts().back(), "Processed " + std::to_string(truth.used_bytes) + " bytes of Data");
}

TEST_F(DownloadSequenceTest, WithoutAnOpenPortNothingChanges) {
  const auto result = download(kDataSetA);
  EXPECT_EQ(result.outcome, LinkOutcome::NotOpen);
  EXPECT_FALSE(result.pages_read);
  EXPECT_EQ(ui.texts(), std::vector<std::string>{"Select a free COM port"});
  EXPECT_EQ(dataset_name_text(log.current()), "No Data");
  EXPECT_EQ(fixture.emulator().traffic().bytes_in, 0);
}

TEST_F(DownloadSequenceTest, ABadPageKeepsTheEarlierDecodeAndItsName) {
  open();
  ASSERT_TRUE(download(kDataSetA).decoded);
  fixture.emulator().update([](emu::Instrument& i) { i.faults.bad_checksum_page = 2; });
  ui.clear();
  ui.queue_answer(kOk);  // the download's error box
  ui.queue_answer(kNo);
  const auto result = download(kDataSetA);
  EXPECT_EQ(result.outcome, LinkOutcome::DataError);
  EXPECT_FALSE(result.decoded);
  EXPECT_EQ(ui.texts(), (std::vector<std::string>{"Problem with Data in Download",
                                                  "Keep the 2 of 12 pages that arrived with good checksums?"}));
  EXPECT_EQ(ui.messages().at(1).buttons, static_cast<ButtonSet>(kYes | kNo));
  EXPECT_EQ(log.current().memory_valid, 1) << "the earlier image is whole and still saveable";
  EXPECT_EQ(result.name_text, "") << "the name is not touched";
  EXPECT_EQ(dataset_name_text(log.current()), "Memory A");
}

TEST_F(DownloadSequenceTest, ARefusedUnitLeavesTheImageAsSaveableAsItWas) {
  open();
  const auto refuse = [&](bool refused) {
    fixture.emulator().update([refused](emu::Instrument& i) { i.version_minor = refused ? 30 : 25; });
  };
  const auto save_a = [&] {
    ui.clear();
    ui.queue_file(dir.file("a"));
    const bool saved = save_log_dataSetA(log, defaults, ui);
    std::filesystem::remove(dir.file("a.kvl"));
    return saved;
  };
  refuse(true);
  EXPECT_EQ(download(kDataSetA).outcome, LinkOutcome::VersionRefused) << "nothing downloaded yet";
  EXPECT_EQ(log.dataset(kDataSetA).memory_valid, 0);
  EXPECT_FALSE(save_a());
  EXPECT_EQ(ui.texts(), std::vector<std::string>{"No Valid Data to Save"});

  refuse(false);
  fixture.emulator().update([](emu::Instrument& i) { i.faults.bad_checksum_page = 2; });
  ui.queue_answer(kOk);  // the download's error box
  ui.queue_answer(kNo);
  EXPECT_EQ(download(kDataSetA).outcome, LinkOutcome::DataError);
  refuse(true);
  EXPECT_EQ(download(kDataSetA).outcome, LinkOutcome::VersionRefused) << "after a bad page";
  EXPECT_EQ(log.dataset(kDataSetA).memory_valid, 0);
  EXPECT_FALSE(save_a());

  refuse(false);
  fixture.emulator().update([](emu::Instrument& i) { i.faults.bad_checksum_page.reset(); });
  ASSERT_TRUE(download(kDataSetA).decoded);
  refuse(true);
  EXPECT_EQ(download(kDataSetA).outcome, LinkOutcome::VersionRefused) << "after a good download";
  EXPECT_EQ(log.dataset(kDataSetA).memory_valid, 1);
  EXPECT_TRUE(save_a()) << "the good image stays saveable";
}

TEST_F(DownloadSequenceTest, DumpSavesEightByteLinesAndDropsTheImage) {
  open();
  ui.queue_file(dir.file("dump"));
  const auto result = dump_log_data(serial.link, log, defaults, ui, kDataSetA);
  EXPECT_TRUE(result.saved);
  EXPECT_FALSE(result.decoded);
  EXPECT_EQ(ui.texts().front(), "Dump Memory and Save to File ?");
  EXPECT_EQ(ui.texts().back(), "File Saved OK");
  const auto lines = split_lines(test::read_file(dir.file("dump.kvl")));
  ASSERT_EQ(lines.size(), 85u + 512 * 256 / 8);
  EXPECT_EQ(lines[85].size(), 8u * 3 - 1);
  EXPECT_EQ(lines.back(), "FF FF FF FF FF FF FF FF") << "erased memory past the log";
  EXPECT_EQ(log.current().memory_valid, 0);
  ui.clear();
  EXPECT_FALSE(save_log_dataSetA(log, defaults, ui));
  EXPECT_EQ(ui.texts(), std::vector<std::string>{"No Valid Data to Save"});
}

TEST_F(DownloadSequenceTest, CancellingTheDumpQuestionDownloadsNothing) {
  open();
  fixture.emulator().reset_traffic();
  ui.queue_answer(kCancel);
  const auto result = dump_log_data(serial.link, log, defaults, ui, kDataSetA);
  EXPECT_EQ(result.outcome, LinkOutcome::Declined);
  EXPECT_EQ(fixture.emulator().traffic().bytes_in, 0);
  EXPECT_EQ(ui.messages().at(0).buttons, static_cast<ButtonSet>(kYes | kCancel));
}

}  // namespace
}  // namespace kv
