#pragma once
// The instrument's side of the protocol as a pure state machine: bytes in,
// bytes out. The pseudo-terminal server feeds it and paces what it answers.
#include <cstdint>
#include <vector>

#include "emulator/instrument.h"

namespace kv::emu {

class ProtocolEngine {
 public:
  // Consumes one received byte and returns the reply bytes it causes.
  std::vector<std::uint8_t> on_byte(std::uint8_t in, Instrument& instrument, Traffic& traffic);

 private:
  enum class Awaiting { Command, ReadAddress, WriteAddress, WriteValue };

  std::vector<std::uint8_t> on_command(std::uint8_t command, Instrument& instrument, Traffic& traffic);
  std::vector<std::uint8_t> page(int number, const Instrument& instrument, Traffic& traffic) const;
  std::vector<std::uint8_t> write_config(std::uint8_t address, std::uint8_t value, Instrument& instrument);

  Awaiting awaiting_ = Awaiting::Command;
  std::uint8_t address_ = 0;
  int next_page_ = 0;
};

}  // namespace kv::emu
