#pragma once
// The program side of an end-to-end link test: its state, a scripted person
// and the protocol on a counted port, against an emulated instrument.
#include <stdexcept>
#include <vector>

#include "link/serial_state.h"
#include "tests/support/emulator_fixture.h"
#include "ui/scripted_ui.h"

namespace kv::test {

// Counts the reads the protocol makes, and how many of them timed out.
class CountingStream : public ByteStream {
 public:
  explicit CountingStream(ByteStream& inner) : inner_(inner) {}
  std::optional<std::uint8_t> read_byte_timed() override {
    ++reads;
    auto value = inner_.read_byte_timed();
    if (!value) ++timeouts;
    return value;
  }
  void write_byte(std::uint8_t value) override { inner_.write_byte(value); }
  int reads = 0;
  int timeouts = 0;

 private:
  ByteStream& inner_;
};

// Bytes that differ from page to page, so a page read twice or skipped shows.
inline std::vector<std::uint8_t> pattern(std::size_t size) {
  std::vector<std::uint8_t> bytes(size);
  for (std::size_t i = 0; i < size; ++i) bytes[i] = static_cast<std::uint8_t>((i * 7 + i / 256) & 0xFF);
  return bytes;
}

inline emu::Instrument with_memory(std::uint16_t total, std::uint16_t used, std::uint16_t tail) {
  emu::Instrument unit;
  unit.memory.total_pages = total;
  unit.memory.used_pages = used;
  unit.memory.tail_count = tail;
  unit.memory.data = pattern((static_cast<std::size_t>(used) + 1) * emu::kPageBytes);
  return unit;
}

struct LinkProgram {
  explicit LinkProgram(const emu::Instrument& unit) : instrument(unit) {
    if (!instrument.open(serial, ui)) throw std::runtime_error("port did not open");
  }
  LinkOutcome download(bool dump = false) { return link.download_log(fetched, dump, ui, observer); }

  EmulatorFixture instrument;
  SerialState serial;
  ScriptedUi ui;
  CountingStream counted{serial.serial_port};
  LinkProtocol link{counted, serial.port_open};
  LogDownload fetched;
  DownloadObserver observer;
};

}  // namespace kv::test
