#include "link/byte_helpers.h"

namespace kv {
namespace {

unsigned hex_digit_value(char c) {
  if (c >= '0' && c <= '9') return static_cast<unsigned>(c - '0');
  if (c >= 'A' && c <= 'F') return static_cast<unsigned>(c - 'A' + 10);
  if (c >= 'a' && c <= 'f') return static_cast<unsigned>(c - 'a' + 10);
  return 0;
}

}  // namespace

bool bit_set(std::uint8_t value, int bit) {
  if (bit < 0 || bit > 7) return false;
  return (value & (1u << bit)) != 0;
}

bool bit_set_word(std::uint16_t value, int bit) {
  if (bit < 0 || bit > 15) return false;
  return (value & (1u << bit)) != 0;
}

std::uint8_t take_hex_byte(std::string& line) {
  constexpr std::size_t kFieldWithBlank = 3;
  constexpr std::size_t kFieldDigits = 2;
  std::string field;
  if (line.size() < kFieldWithBlank) {
    field = line;
  } else {
    field = line.substr(0, kFieldDigits);
    line.erase(0, kFieldWithBlank);
  }
  unsigned value = 0;
  for (char c : field) value = (value * 16u + hex_digit_value(c)) & 0xFFu;
  return static_cast<std::uint8_t>(value);
}

}  // namespace kv
