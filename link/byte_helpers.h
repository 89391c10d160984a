#pragma once
#include <cstdint>
#include <string>

namespace kv {

// True when bit `bit` (0-7) of `value` is set.
bool bit_set(std::uint8_t value, int bit);
// True when bit `bit` (0-15) of `value` is set.
bool bit_set_word(std::uint16_t value, int bit);

// Removes the next two-hex-digit field (and its separating blank) from the
// front of `line` and returns its value. A remainder shorter than 3
// characters is the field itself and is left in place, so asking for more
// fields than the line holds returns the last one again. Characters that are
// not hex digits count 0 but keep their place.
std::uint8_t take_hex_byte(std::string& line);

}  // namespace kv
