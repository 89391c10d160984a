// Cancelling a running download or dump, end to end against the emulated
// instrument: on the line, in the download sequence and in the window.
#include <gtest/gtest.h>

#include <QCoreApplication>
#include <QKeyEvent>
#include <QLineEdit>
#include <QProgressBar>
#include <QPushButton>

#include "common/text_lines.h"
#include "emulator/log_generator.h"
#include "logdata/download_sequence.h"
#include "logdata/download_window.h"
#include "logdata/log_file.h"
#include "logdata/packet_format.h"
#include "tests/link/link_program.h"
#include "tests/support/temp_dir.h"

namespace kv {
namespace {

// Asks for a cancel once `pages` pages have come in, from inside the pump,
// as a press of the Cancel button would.
void cancel_after(ScriptedUi& ui, const int& pages_done, int pages, const std::function<void()>& press) {
  ui.on_pump = [&pages_done, pages, press] {
    if (pages_done == pages) press();
  };
}

// A link test program whose person cancels once `pages` pages are in.
struct CancellingProgram : test::LinkProgram {
  CancellingProgram(const emu::Instrument& unit, int pages) : LinkProgram(unit) {
    observer.on_page_done = [this] { ++done; };
    observer.cancel_requested = [this] { return cancel; };
    cancel_after(ui, done, pages, [this] { cancel = true; });
  }
  int done = 0;
  bool cancel = false;
};

TEST(CancelOnTheLine, StopsAfterThePageInProgressAndTheNextDownloadReadsEveryPage) {
  // Page 100 (99 read before it) is under way when the person cancels.
  CancellingProgram program(test::with_memory(1024, 511, 0), 99);  // 512 pages
  ASSERT_EQ(program.download(), LinkOutcome::Cancelled);
  EXPECT_EQ(program.ui.texts(), std::vector<std::string>{"Download Cancelled, 99 of 512 pages kept"});
  EXPECT_EQ(program.ui.messages()[0].kind, MsgKind::Information);
  EXPECT_EQ(program.fetched.pages_good, 99);
  const auto memory = program.instrument.emulator().instrument().memory.data;
  const auto& image = program.fetched.image;
  EXPECT_TRUE(std::equal(image.begin(), image.begin() + 99 * 256, memory.begin()));
  EXPECT_EQ(program.counted.timeouts, 0);  // the dropped page was read to its end
  EXPECT_EQ(program.instrument.emulator().traffic().commands.at('n'), 99);

  program.ui.on_pump = nullptr;
  program.ui.clear();
  program.cancel = false;
  program.instrument.emulator().reset_traffic();
  ASSERT_EQ(program.download(), LinkOutcome::Done);
  EXPECT_TRUE(program.ui.messages().empty());  // every checksum good
  EXPECT_EQ(program.instrument.emulator().traffic().pages_served, 512);
  EXPECT_EQ(program.fetched.image, memory);
}

TEST(CancelOnTheLine, ALeadGoneSilentAfterTheCancelStillKeepsTheEarlierPages) {
  emu::Instrument unit = test::with_memory(1024, 20, 0);
  unit.faults.silent_in_page = 3;
  CancellingProgram program(unit, 3);
  EXPECT_EQ(program.download(), LinkOutcome::Cancelled);
  EXPECT_EQ(program.ui.texts(), std::vector<std::string>{"Download Cancelled, 3 of 21 pages kept"});
  EXPECT_EQ(program.fetched.pages_good, 3);
}

// The samples a decoder may take from the first `bytes` of an image: those
// whose packets lie wholly inside it.
long whole_samples_within(const std::vector<std::uint8_t>& image, std::uint32_t bytes, std::uint32_t& end) {
  long samples = 0;
  end = 0;
  while (end < bytes) {
    const int length = packet::length_of(image[end]);
    if (length == 0 || end + length > bytes) break;
    if (packet::type_of(image[end]) == packet::kSample) ++samples;
    end += static_cast<std::uint32_t>(length);
  }
  return samples;
}

// The generated log with a 3-byte packet of a type the decoder passes over
// in front, so that page boundaries fall inside packets.
emu::Instrument shifted(const emu::GeneratedLog& log) {
  emu::Instrument unit = emu::with_log(log);
  auto& memory = unit.memory;
  const std::uint32_t used = log.used_bytes + 3;
  memory.data.insert(memory.data.begin(), {0x53, 0x00, 0x00});
  memory.used_pages = static_cast<std::uint16_t>(used / 256);
  memory.tail_count = static_cast<std::uint16_t>(used % 256);
  return unit;
}

class CancelSequenceTest : public ::testing::Test {
 protected:
  CancelSequenceTest()
      : truth(emu::generate_log({.pages = 12, .seed = 5})), unit(shifted(truth)), fixture(unit),
        defaults(DialogDefaults::in_folder(dir.path().string())) {
    observer.on_page_done = [this] { ++done; };
    observer.cancel_requested = [this] { return cancel; };
    if (!fixture.open(serial, ui)) throw std::runtime_error("port did not open");
  }
  DownloadResult download(bool dump = false) {
    return get_log_data(serial.link, log, defaults, ui, kDataSetA, dump, observer);
  }

  emu::GeneratedLog truth;
  emu::Instrument unit;
  test::EmulatorFixture fixture;
  test::TempDir dir;
  DialogDefaults defaults;
  SerialState serial;
  LogState log;
  ScriptedUi ui;
  DownloadObserver observer;
  int done = 0;
  bool cancel = false;
};

TEST_F(CancelSequenceTest, KeptPagesDecodeWithoutThePacketCutByTheEndAndSaveAndReload) {
  // The first page boundary of the generated log that cuts a packet in two.
  int kept = 1;
  std::uint32_t whole_end = 0;
  long samples = 0;
  for (; kept < unit.memory.used_pages; ++kept) {
    samples = whole_samples_within(unit.memory.data, static_cast<std::uint32_t>(kept) * 256, whole_end);
    if (whole_end < static_cast<std::uint32_t>(kept) * 256 && samples > 0) break;
  }
  ASSERT_LT(kept, unit.memory.used_pages);
  cancel_after(ui, done, kept, [this] { cancel = true; });
  const DownloadResult result = download();
  ASSERT_EQ(result.outcome, LinkOutcome::Cancelled);
  const std::string total = std::to_string(unit.memory.used_pages + 1);
  EXPECT_EQ(ui.texts(), (std::vector<std::string>{"Download Cancelled, " + std::to_string(kept) + " of " + total +
                                                      " pages kept",
                                                  "Processed " + std::to_string(whole_end) + " bytes of Data"}));
  EXPECT_TRUE(result.decoded);
  EXPECT_EQ(result.name_text, "Memory A");
  const Dataset& data = log.dataset(kDataSetA);
  EXPECT_EQ(data.sample_count(), samples);

  ui.clear();
  ui.queue_file(dir.file("part.kvl"));
  ASSERT_TRUE(save_log_dataSetA(log, defaults, ui)) << ui.texts().back();
  ui.queue_file(dir.file("part.kvl"));
  ASSERT_TRUE(load_log_dataSetB(log, defaults, ui));
  EXPECT_EQ(log.dataset(kDataSetB).sample_count(), samples);
  EXPECT_EQ(log.dataset(kDataSetB).used_bytes, whole_end);
}

TEST_F(CancelSequenceTest, ACancelledDumpIsSavedWithThePagesThatArrived) {
  cancel_after(ui, done, 7, [this] { cancel = true; });
  ui.queue_file(dir.file("dump.kvl"));
  const DownloadResult result = download(true);
  EXPECT_EQ(result.outcome, LinkOutcome::Cancelled);
  EXPECT_TRUE(result.saved);
  EXPECT_EQ(ui.texts().front(), "Download Cancelled, 7 of 513 pages kept");
  EXPECT_EQ(split_lines(test::read_file(dir.file("dump.kvl"))).size(), 85u + 7 * 256 / 8);
  EXPECT_EQ(log.dataset(kDataSetA).memory_valid, 0);  // a dump is kept only as a file
}

TEST_F(CancelSequenceTest, ACancelDuringTheLastPageHasNothingLeftToStop) {
  const int pages = unit.memory.used_pages + 1;
  cancel_after(ui, done, pages - 1, [this] { cancel = true; });
  const DownloadResult result = download();
  EXPECT_EQ(result.outcome, LinkOutcome::Done);
  EXPECT_EQ(log.dataset(kDataSetA).sample_count(), static_cast<long>(truth.samples.size()));
}

class CancelWindowTest : public ::testing::Test {
 protected:
  CancelWindowTest()
      : truth(emu::generate_log({.pages = 24, .seed = 11})), fixture(emu::with_log(truth)),
        dialogs(DialogDefaults::in_folder(dir.path().string())), form({log, serial, dialogs}, ui) {
    form.show();
    form.change_serial_port(0);
    serial.serial_port.set_read_timeout_ms(test::kTestReadTimeoutMs);
  }
  QPushButton* cancel_button() { return form.findChild<QPushButton*>("BitBtn15"); }
  int pages_shown() const { return form.findChild<QProgressBar*>("ProgressBar1")->value(); }

  // Runs a download, pressing `press` inside the pump once `pages` are shown.
  void download_pressing_after(int pages, const std::function<void()>& press) {
    ui.on_pump = [this, pages, press, pressed = false]() mutable {
      // Until the cancel is reported the pumps are those of the pages.
      if (ui.messages().empty()) enabled_during_pages = enabled_during_pages && cancel_button()->isEnabled();
      download_locked = download_locked && !form.findChild<QPushButton*>("BitBtn3")->isEnabled();
      if (!pressed && pages_shown() == pages) {
        pressed = true;
        press();
      }
    };
    form.get_log_dataSet();
  }

  emu::GeneratedLog truth;
  test::TempDir dir;
  test::EmulatorFixture fixture;
  ScriptedUi ui;
  LogState log;
  SerialState serial;
  DialogDefaults dialogs;
  TForm2 form;
  bool enabled_during_pages = true;
  bool download_locked = true;
};

TEST_F(CancelWindowTest, TheCancelButtonStopsTheDownloadAndTheDatasetIsUsable) {
  ASSERT_NE(cancel_button(), nullptr);
  EXPECT_EQ(cancel_button()->text(), "Cancel");
  EXPECT_FALSE(cancel_button()->isEnabled());
  download_pressing_after(10, [this] { cancel_button()->click(); });
  const std::string total = std::to_string(truth.memory.used_pages + 1);
  ASSERT_FALSE(ui.texts().empty());
  EXPECT_EQ(ui.texts().front(), "Download Cancelled, 10 of " + total + " pages kept");
  EXPECT_TRUE(enabled_during_pages);
  EXPECT_TRUE(download_locked);
  EXPECT_FALSE(cancel_button()->isEnabled());
  EXPECT_TRUE(form.findChild<QPushButton*>("BitBtn3")->isEnabled());
  EXPECT_EQ(form.findChild<QLineEdit*>("Edit3")->text(), "Memory A");
  EXPECT_EQ(pages_shown(), 0);
}

TEST_F(CancelWindowTest, EscapeCancelsOnlyWhileADownloadRuns) {
  QKeyEvent escape(QEvent::KeyPress, Qt::Key_Escape, Qt::NoModifier);
  download_pressing_after(3, [&] { QCoreApplication::sendEvent(&form, &escape); });
  ASSERT_FALSE(ui.texts().empty());
  EXPECT_EQ(ui.texts().front(), "Download Cancelled, 3 of " + std::to_string(truth.memory.used_pages + 1) +
                                    " pages kept");

  // An Esc between downloads is not remembered for the next one.
  QCoreApplication::sendEvent(&form, &escape);
  ui.clear();
  ui.on_pump = nullptr;
  form.get_log_dataSet();
  EXPECT_EQ(ui.texts(), std::vector<std::string>{"Processed " + std::to_string(truth.used_bytes) + " bytes of Data"});
}

}  // namespace
}  // namespace kv
