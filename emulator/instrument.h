#pragma once
// The instrument as the emulator holds it: identity, log memory, the 52
// configuration bytes and the fault switches that make it misbehave.
#include <array>
#include <cstdint>
#include <map>
#include <optional>
#include <vector>

namespace kv::emu {

constexpr int kPageBytes = 256;
constexpr int kConfigBytes = 52;
constexpr std::uint8_t kConfigFirstAddress = 204;

struct LogMemory {
  std::uint16_t total_pages = 1024;
  std::uint16_t used_pages = 0;
  std::uint16_t tail_count = 0;
  // Data bytes of pages 0, 1, …; pages past its end read as erased (0xFF).
  std::vector<std::uint8_t> data;
  // Each page's two lead bytes; by default the page number, high byte first.
  std::map<int, std::array<std::uint8_t, 2>> lead_bytes;
};

struct Faults {
  bool silent = false;                        // answers nothing at all
  std::optional<std::uint8_t> connect_reply;  // answers 'p' with this instead of 'U'
  std::optional<int> bad_checksum_page;       // sends this page's checksum off by one
  std::optional<int> silent_in_page;          // falls silent half way through this page
  std::optional<std::uint8_t> nack_address;   // acknowledges a 'w' at this address with 0x01
  bool clear_fails = false;                   // answers 'z' with something other than 'U'
};

struct Instrument {
  std::uint8_t version_major = 3;
  std::uint8_t version_minor = 25;
  std::uint16_t pulses_per_mile = 1609;
  std::uint8_t unit_flags1 = 0x00;
  std::uint8_t unit_flags2 = 0x01;
  std::uint16_t unit_word = 0;
  LogMemory memory;
  std::array<std::uint8_t, kConfigBytes> config{};
  Faults faults;
  int pacing_baud = 0;  // 0: as fast as the pseudo-terminal goes
};

// What the emulator saw, for tests to check the traffic.
struct Traffic {
  std::map<char, int> commands;           // command byte -> times received
  std::vector<std::uint8_t> written_addresses;  // the address of every 'w', in order
  std::vector<std::uint8_t> read_addresses;     // the address of every 'r', in order
  long bytes_in = 0;
  long bytes_out = 0;
  int pages_served = 0;
};

}  // namespace kv::emu
