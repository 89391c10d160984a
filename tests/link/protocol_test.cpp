// The link exchanges end to end: the program's serial port against the
// emulated instrument over a pseudo-terminal.
#include <gtest/gtest.h>

#include "tests/link/link_program.h"

namespace kv {
namespace {

using emu::Instrument;

using test::with_memory;
using Program = test::LinkProgram;

const std::vector<std::string> kNoConnection = {
    "No Connection to Korvanta Unit !\rCheck that:\r1) The serial lead is in place !\r"
    "2) The Korvanta is switched on !\r3) The Korvanta is in Data Transfer Mode !"};

TEST(Connect, PortNotOpenSendsNothing) {
  SerialState serial;
  ScriptedUi ui;
  LogDownload fetched;
  EXPECT_EQ(serial.link.download_log(fetched, false, ui), LinkOutcome::NotOpen);
  EXPECT_EQ(serial.link.clear_log(ui), LinkOutcome::NotOpen);
  ConfigBytes staging{}, image{};
  EXPECT_EQ(serial.link.read_config(staging, image, ui), LinkOutcome::NotOpen);
  ASSERT_EQ(ui.messages().size(), 3u);
  EXPECT_EQ(ui.messages()[0].text, "Select a free COM port");
  EXPECT_EQ(ui.messages()[0].kind, MsgKind::Information);
  EXPECT_EQ(ui.messages()[1].kind, MsgKind::Information);
  EXPECT_EQ(ui.messages()[2].kind, MsgKind::Warning);  // the configure window warns
}

TEST(Connect, SilentOrWrongReplyGivesTheFiveLineMessage) {
  Instrument silent;
  silent.faults.silent = true;
  Program quiet(silent);
  EXPECT_EQ(quiet.download(), LinkOutcome::NoConnection);
  EXPECT_EQ(quiet.ui.texts(), kNoConnection);
  EXPECT_EQ(quiet.ui.messages()[0].kind, MsgKind::Warning);
  EXPECT_FALSE(quiet.fetched.accepted);

  Instrument wrong;
  wrong.faults.connect_reply = 'u';
  Program confused(wrong);
  EXPECT_EQ(confused.link.clear_log(confused.ui), LinkOutcome::NoConnection);
  EXPECT_EQ(confused.ui.texts(), kNoConnection);
  EXPECT_EQ(confused.instrument.emulator().traffic().commands.count('z'), 0u);
}

TEST(Download, Version329AcceptedAndIdentityKept) {
  Instrument unit = with_memory(1024, 3, 100);
  unit.version_minor = 29;
  unit.pulses_per_mile = 0x1234;
  unit.unit_flags1 = 0x80 | 0x45;
  unit.unit_flags2 = 0x03;
  unit.unit_word = 0xBEEF;
  Program program(unit);
  ASSERT_EQ(program.download(), LinkOutcome::Done);
  const auto& id = program.fetched.identity;
  EXPECT_EQ(id.unit_version, 329);
  EXPECT_EQ(id.pulses_per_mile, 0x1234);
  EXPECT_EQ(id.unit_flags1, 0xC5);
  EXPECT_EQ(id.unit_flags2, 0x03);
  EXPECT_TRUE(id.speed_in_mph());
  EXPECT_TRUE(id.pressure_in_psi());
  EXPECT_TRUE(id.temp_in_degc());
  EXPECT_EQ(id.unit_word, 0xBEEF);
  EXPECT_TRUE(program.fetched.accepted);
  EXPECT_EQ(program.fetched.pages_good, 4);
  EXPECT_TRUE(program.ui.messages().empty());
}

TEST(Download, Version330RefusedWithNineDrainedReads) {
  Instrument unit = with_memory(1024, 3, 100);
  unit.version_minor = 30;
  Program program(unit);
  ASSERT_EQ(program.download(), LinkOutcome::VersionRefused);
  ASSERT_EQ(program.ui.messages().size(), 1u);
  EXPECT_EQ(program.ui.messages()[0].text, "Pelmorix Version not compatible with Korvanta Version");
  EXPECT_EQ(program.ui.messages()[0].kind, MsgKind::Error);
  EXPECT_EQ(program.ui.messages()[0].buttons, kAbort);
  // 'p' reply, major, minor, then nine drained reads (four answered, five timed out).
  EXPECT_EQ(program.counted.reads, 1 + 2 + 9);
  EXPECT_EQ(program.counted.timeouts, 5);
  EXPECT_FALSE(program.fetched.accepted);  // nothing of a refused unit is kept
  EXPECT_EQ(program.fetched.identity, UnitIdentity{});
  EXPECT_EQ(program.instrument.emulator().traffic().commands.count('q'), 0u);
}

TEST(Download, EmptyMemoryGivesNoData) {
  Program program(with_memory(1024, 0, 0));
  EXPECT_EQ(program.download(), LinkOutcome::NoData);
  EXPECT_EQ(program.ui.texts(), std::vector<std::string>{"No data to download"});
  EXPECT_EQ(program.ui.messages()[0].kind, MsgKind::Information);
  EXPECT_TRUE(program.fetched.image.empty());
  EXPECT_EQ(program.fetched.pages_good, 0);
  EXPECT_EQ(program.instrument.emulator().traffic().commands.count('c'), 0u);
}

TEST(Download, InstrumentReportingNoMemoryAtAllHasNoData) {
  Program program(with_memory(0, 0, 0));
  MemoryStatus shown;
  shown.percent_used = -1;
  program.observer.on_memory_status = [&](const MemoryStatus& status) { shown = status; };
  EXPECT_EQ(program.download(), LinkOutcome::NoData);  // not 65,536 pages
  EXPECT_EQ(shown.percent_used, 0.0);
  EXPECT_EQ(shown.memory_size_mbit, 0);
  EXPECT_TRUE(program.fetched.image.empty());
  EXPECT_EQ(program.ui.texts(), std::vector<std::string>{"No data to download"});
}

TEST(Download, ThreePagesAndATailReadFourPages) {
  const Instrument unit = with_memory(1024, 3, 100);
  Program program(unit);
  int pages_announced = 0;
  int pages_done = 0;
  MemoryStatus shown;
  program.observer.on_memory_status = [&](const MemoryStatus& status) { shown = status; };
  program.observer.on_pages_start = [&](int count) { pages_announced = count; };
  program.observer.on_page_done = [&] { ++pages_done; };
  ASSERT_EQ(program.download(), LinkOutcome::Done);
  EXPECT_EQ(program.fetched.used_bytes, 868u);
  EXPECT_EQ(shown.memory_size_mbit, 2);
  EXPECT_NEAR(shown.percent_used, 868.0 / (1024 * 256) * 100, 1e-12);
  EXPECT_EQ(shown.total_pages, 1024);
  EXPECT_EQ(pages_announced, 4);
  EXPECT_EQ(pages_done, 4);
  const auto traffic = program.instrument.emulator().traffic();
  EXPECT_EQ(traffic.commands.at('c'), 1);
  EXPECT_EQ(traffic.commands.at('n'), 3);
  const auto& image = program.fetched.image;
  ASSERT_EQ(image.size(), 1024u);
  EXPECT_TRUE(std::equal(image.begin(), image.end(), unit.memory.data.begin()));
  EXPECT_EQ(program.fetched.pages_good, 4);
  EXPECT_GT(program.ui.pump_count(), 4 * 256);  // the windows stay alive
  EXPECT_TRUE(program.ui.messages().empty());
}

TEST(Download, FullMemoryReadsTotalPagesNotOneMore) {
  Program program(with_memory(4, 4, 0));
  ASSERT_EQ(program.download(), LinkOutcome::Done);
  EXPECT_EQ(program.instrument.emulator().traffic().pages_served, 4);
  EXPECT_EQ(program.fetched.image.size(), 4u * 256);
}

TEST(Download, BadChecksumStopsAfterThatPage) {
  Instrument unit = with_memory(1024, 3, 100);
  unit.faults.bad_checksum_page = 1;
  Program program(unit);
  EXPECT_EQ(program.download(), LinkOutcome::DataError);
  EXPECT_EQ(program.ui.texts(), std::vector<std::string>{"Problem with Data in Download"});
  EXPECT_EQ(program.ui.messages()[0].kind, MsgKind::Error);
  EXPECT_EQ(program.fetched.pages_good, 1);
  const auto traffic = program.instrument.emulator().traffic();
  EXPECT_EQ(traffic.commands.at('n'), 1);  // no 'n' after the bad page
  const auto& image = program.fetched.image;
  EXPECT_TRUE(std::equal(image.begin(), image.begin() + 512, unit.memory.data.begin()));
}

TEST(Download, LeadFallingSilentInAPageEndsAtOnce) {
  Instrument unit = with_memory(1024, 20, 0);
  unit.faults.silent_in_page = 2;
  Program program(unit);
  EXPECT_EQ(program.download(), LinkOutcome::DataError);
  EXPECT_EQ(program.ui.texts(), std::vector<std::string>{"Problem with Data in Download"});
  EXPECT_EQ(program.fetched.pages_good, 2);
  EXPECT_EQ(program.counted.timeouts, 1);  // one missing byte, not one per remaining byte
  EXPECT_EQ(program.instrument.emulator().traffic().commands.at('n'), 2);
}

TEST(Download, DumpReads513PagesWhateverIsUsed) {
  Program program(with_memory(2048, 2, 10));
  MemoryStatus shown;
  program.observer.on_memory_status = [&](const MemoryStatus& status) { shown = status; };
  ASSERT_EQ(program.download(true), LinkOutcome::Done);
  EXPECT_EQ(program.instrument.emulator().traffic().pages_served, 513);
  EXPECT_EQ(program.fetched.used_bytes, 131072u);
  EXPECT_EQ(program.fetched.image.size(), 513u * 256);
  EXPECT_EQ(shown.used_pages, 2);  // the figures shown are the instrument's own
  EXPECT_EQ(program.fetched.image[1000], 0xFF);  // unused pages read as erased
}

TEST(Download, SecondExchangeStartedFromThePumpIsRefused) {
  Program program(with_memory(1024, 2, 0));
  std::vector<LinkOutcome> nested;
  program.ui.on_pump = [&] {
    if (nested.empty()) {
      nested.push_back(program.link.download_log(program.fetched, false, program.ui));
      nested.push_back(program.link.clear_log(program.ui));
    }
  };
  ASSERT_EQ(program.download(), LinkOutcome::Done);
  EXPECT_EQ(nested, (std::vector<LinkOutcome>{LinkOutcome::Busy, LinkOutcome::Busy}));
  EXPECT_EQ(program.fetched.pages_good, 3) << "the refused download left the running one's pages alone";
  const auto traffic = program.instrument.emulator().traffic();
  EXPECT_EQ(traffic.commands.at('p'), 1);
  EXPECT_EQ(traffic.commands.count('z'), 0u);
  EXPECT_TRUE(program.ui.messages().empty());
  // Once finished, the next exchange runs normally.
  EXPECT_EQ(program.link.connect_check(program.ui, NotOpenKind::Information), LinkOutcome::Done);
}

TEST(Clear, YesClearsNoKeeps) {
  Program program(with_memory(1024, 5, 0));
  program.ui.queue_answer(kNo);
  EXPECT_EQ(program.link.clear_log(program.ui), LinkOutcome::Declined);
  EXPECT_EQ(program.ui.texts(), (std::vector<std::string>{"Clear the Korvanta Memory for Next Data Log Session",
                                                           "Memory Not Cleared"}));
  EXPECT_EQ(program.ui.messages()[0].buttons, kYes | kNo);
  EXPECT_EQ(program.ui.messages()[0].kind, MsgKind::Warning);
  EXPECT_EQ(program.instrument.emulator().traffic().commands.count('z'), 0u);

  program.ui.clear();
  EXPECT_EQ(program.link.clear_log(program.ui), LinkOutcome::Done);
  EXPECT_EQ(program.ui.texts().back(), "Memory Cleared for Next Data Log Session");
  EXPECT_EQ(program.instrument.emulator().instrument().memory.used_pages, 0);
}

TEST(Clear, RefusedClearReportsBothMessages) {
  Instrument unit = with_memory(1024, 5, 0);
  unit.faults.clear_fails = true;
  Program program(unit);
  EXPECT_EQ(program.link.clear_log(program.ui), LinkOutcome::ClearFailed);
  const auto& messages = program.ui.messages();
  ASSERT_EQ(messages.size(), 3u);
  EXPECT_EQ(messages[1].text, "Error Clearing Memory Pointers");
  EXPECT_EQ(messages[1].kind, MsgKind::Error);
  EXPECT_EQ(messages[2].text, "Memory Not Cleared");
  EXPECT_EQ(messages[2].kind, MsgKind::Information);
}

ConfigBytes numbered_config() {
  ConfigBytes bytes{};
  for (std::size_t i = 0; i < bytes.size(); ++i) bytes[i] = static_cast<std::uint8_t>(0x40 + i);
  return bytes;
}

TEST(ConfigRead, ReadsAllFiftyTwoAddressesInOrder) {
  Instrument unit;
  unit.config = numbered_config();
  Program program(unit);
  ConfigBytes staging{}, image{};
  std::pair<int, int> version{-1, -1};
  VersionObserver observer{[&](std::uint8_t major, std::uint8_t minor) { version = {major, minor}; }};
  ASSERT_EQ(program.link.read_config(staging, image, program.ui, observer), LinkOutcome::Done);
  EXPECT_EQ(image, numbered_config());
  EXPECT_EQ(staging, image);
  EXPECT_EQ(version, std::make_pair(3, 25));
  const auto traffic = program.instrument.emulator().traffic();
  ASSERT_EQ(traffic.read_addresses.size(), 52u);
  EXPECT_EQ(traffic.read_addresses.front(), 204);
  EXPECT_EQ(traffic.read_addresses.back(), 255);
  EXPECT_EQ(program.ui.busy_depth(), 0);
  EXPECT_EQ(program.ui.max_busy_depth(), 1);
}

TEST(ConfigRead, VersionsOutsideTheWindowAreRefused) {
  for (std::uint8_t minor : {18, 30}) {
    Instrument unit;
    unit.version_minor = minor;
    Program program(unit);
    ConfigBytes staging{}, image{};
    image[0] = 0x77;
    EXPECT_EQ(program.link.read_config(staging, image, program.ui), LinkOutcome::VersionRefused);
    EXPECT_EQ(program.ui.texts(), std::vector<std::string>{"Software Version not compatible with Korvanta Version"});
    EXPECT_EQ(image[0], 0x77);
    EXPECT_TRUE(program.instrument.emulator().traffic().read_addresses.empty());
  }
}

TEST(ConfigWrite, WithoutPasswordSends43Writes) {
  Program program(Instrument{});
  const ConfigBytes image = numbered_config();
  const int reads_before = 1 + 6;  // 'p' reply and the identity
  ASSERT_EQ(program.link.write_config(image, false, program.ui), LinkOutcome::Done);
  EXPECT_EQ(program.ui.texts(), std::vector<std::string>{"Korvanta Config Uploaded OK"});
  EXPECT_EQ(program.counted.reads, reads_before + 52);
  const auto instrument = program.instrument.emulator().instrument();
  const auto written = program.instrument.emulator().traffic().written_addresses;
  EXPECT_EQ(written.size(), 43u);
  for (std::size_t offset = 0; offset < 52; ++offset) {
    const bool skipped = offset == 0 || (offset >= 13 && offset <= 18) || offset == 25 || offset == 26;
    EXPECT_EQ(instrument.config[offset], skipped ? 0 : image[offset]) << "offset " << offset;
  }
}

TEST(ConfigWrite, WithPasswordAlsoWritesTheOdometer) {
  Program program(Instrument{});
  ASSERT_EQ(program.link.write_config(numbered_config(), true, program.ui), LinkOutcome::Done);
  const auto written = program.instrument.emulator().traffic().written_addresses;
  EXPECT_EQ(written.size(), 45u);
  EXPECT_EQ(program.instrument.emulator().instrument().config[25], numbered_config()[25]);
}

TEST(ConfigWrite, RefusedAcknowledgementStopsTheWrite) {
  Instrument unit;
  unit.faults.nack_address = 210;
  Program program(unit);
  EXPECT_EQ(program.link.write_config(numbered_config(), false, program.ui), LinkOutcome::PacketError);
  ASSERT_EQ(program.ui.messages().size(), 1u);
  EXPECT_EQ(program.ui.messages()[0].text, "Problem with Data Packet");
  EXPECT_EQ(program.ui.messages()[0].kind, MsgKind::Error);
  EXPECT_EQ(program.ui.messages()[0].buttons, kOk | kCancel);
  EXPECT_EQ(program.instrument.emulator().traffic().written_addresses.back(), 210);
}

TEST(ConfigWrite, SilenceAfterAWriteIsNotSuccess) {
  Program program(Instrument{});
  // The lead comes out once the exchange is under way.
  program.ui.on_pump = [&] { program.instrument.emulator().update([](Instrument& u) { u.faults.silent = true; }); };
  EXPECT_EQ(program.link.write_config(numbered_config(), false, program.ui), LinkOutcome::PacketError);
  EXPECT_EQ(program.ui.texts(), std::vector<std::string>{"Problem with Data Packet"});
}

}  // namespace
}  // namespace kv
