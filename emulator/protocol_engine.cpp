#include "emulator/protocol_engine.h"

namespace kv::emu {
namespace {

constexpr std::uint8_t kReady = 'U';
constexpr std::uint8_t kAccepted = 0x00;
constexpr std::uint8_t kRefused = 0x01;
constexpr std::uint8_t kClearFailed = 'E';
constexpr std::uint8_t kErased = 0xFF;

void put_word(std::vector<std::uint8_t>& out, std::uint16_t value) {
  out.push_back(static_cast<std::uint8_t>(value >> 8));
  out.push_back(static_cast<std::uint8_t>(value & 0xFF));
}

bool is_config_address(std::uint8_t address) {
  return address >= kConfigFirstAddress && address < kConfigFirstAddress + kConfigBytes;
}

}  // namespace

std::vector<std::uint8_t> ProtocolEngine::on_byte(std::uint8_t in, Instrument& instrument, Traffic& traffic) {
  ++traffic.bytes_in;
  std::vector<std::uint8_t> out;
  switch (awaiting_) {
    case Awaiting::Command:
      out = on_command(in, instrument, traffic);
      break;
    case Awaiting::ReadAddress:
      awaiting_ = Awaiting::Command;
      traffic.read_addresses.push_back(in);
      out.push_back(is_config_address(in) ? instrument.config[in - kConfigFirstAddress] : kErased);
      break;
    case Awaiting::WriteAddress:
      address_ = in;
      awaiting_ = Awaiting::WriteValue;
      break;
    case Awaiting::WriteValue:
      awaiting_ = Awaiting::Command;
      traffic.written_addresses.push_back(address_);
      out = write_config(address_, in, instrument);
      break;
  }
  if (instrument.faults.silent) out.clear();
  traffic.bytes_out += static_cast<long>(out.size());
  return out;
}

std::vector<std::uint8_t> ProtocolEngine::on_command(std::uint8_t command, Instrument& instrument,
                                                     Traffic& traffic) {
  std::vector<std::uint8_t> out;
  if (command == 'p' || command == 'x' || command == 'q' || command == 's' || command == 'c' || command == 'n' ||
      command == 'z' || command == 'r' || command == 'w') {
    ++traffic.commands[static_cast<char>(command)];
  }
  const auto& memory = instrument.memory;
  switch (command) {
    case 'p':
      out.push_back(instrument.faults.connect_reply.value_or(kReady));
      break;
    case 'x':
      out = {instrument.version_major, instrument.version_minor};
      put_word(out, instrument.pulses_per_mile);
      out.push_back(instrument.unit_flags1);
      out.push_back(instrument.unit_flags2);
      break;
    case 'q':
      put_word(out, instrument.unit_word);
      break;
    case 's':
      put_word(out, memory.total_pages);
      put_word(out, memory.used_pages);
      put_word(out, memory.tail_count);
      break;
    case 'c':
      next_page_ = 0;
      out = page(next_page_++, instrument, traffic);
      break;
    case 'n':
      out = page(next_page_++, instrument, traffic);
      break;
    case 'z':
      if (instrument.faults.clear_fails) {
        out.push_back(kClearFailed);
      } else {
        instrument.memory.used_pages = 0;
        instrument.memory.tail_count = 0;
        instrument.memory.data.clear();
        out.push_back(kReady);
      }
      break;
    case 'r':
      awaiting_ = Awaiting::ReadAddress;
      break;
    case 'w':
      awaiting_ = Awaiting::WriteAddress;
      break;
    default:
      break;  // the instrument ignores anything else
  }
  return out;
}

std::vector<std::uint8_t> ProtocolEngine::page(int number, const Instrument& instrument, Traffic& traffic) const {
  std::vector<std::uint8_t> out;
  out.reserve(kPageBytes + 3);
  const auto lead = instrument.memory.lead_bytes.find(number);
  if (lead != instrument.memory.lead_bytes.end()) {
    out.push_back(lead->second[0]);
    out.push_back(lead->second[1]);
  } else {
    put_word(out, static_cast<std::uint16_t>(number));
  }
  const auto& data = instrument.memory.data;
  const std::size_t base = static_cast<std::size_t>(number) * kPageBytes;
  for (std::size_t i = 0; i < kPageBytes; ++i) {
    out.push_back(base + i < data.size() ? data[base + i] : kErased);
  }
  std::uint8_t sum = 0;
  for (std::uint8_t b : out) sum = static_cast<std::uint8_t>(sum + b);
  if (instrument.faults.bad_checksum_page == number) sum = static_cast<std::uint8_t>(sum + 1);
  out.push_back(sum);
  if (instrument.faults.silent_in_page == number) out.resize(2 + kPageBytes / 2);
  ++traffic.pages_served;
  return out;
}

std::vector<std::uint8_t> ProtocolEngine::write_config(std::uint8_t address, std::uint8_t value,
                                                       Instrument& instrument) {
  if (instrument.faults.nack_address == address) return {kRefused};
  if (is_config_address(address)) instrument.config[address - kConfigFirstAddress] = value;
  return {kAccepted};
}

}  // namespace kv::emu
