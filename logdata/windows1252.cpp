#include "logdata/windows1252.h"

#include <algorithm>
#include <array>
#include <optional>

namespace kv {
namespace {

constexpr unsigned char kFirstSpecial = 0x80;
constexpr unsigned char kLastSpecial = 0x9F;

// Bytes 0x80-0x9F; everything else is the character of the same number.
constexpr std::array<char16_t, kLastSpecial - kFirstSpecial + 1> kSpecial = {
    u'\u20AC', u'\u0081', u'\u201A', u'\u0192', u'\u201E', u'\u2026', u'\u2020', u'\u2021',
    u'\u02C6', u'\u2030', u'\u0160', u'\u2039', u'\u0152', u'\u008D', u'\u017D', u'\u008F',
    u'\u0090', u'\u2018', u'\u2019', u'\u201C', u'\u201D', u'\u2022', u'\u2013', u'\u2014',
    u'\u02DC', u'\u2122', u'\u0161', u'\u203A', u'\u0153', u'\u009D', u'\u017E', u'\u0178'};

bool special_byte(unsigned code) { return code >= kFirstSpecial && code <= kLastSpecial; }

std::optional<char> byte_of(char16_t ch) {
  if (ch <= 0xFF && !special_byte(ch)) return static_cast<char>(ch);
  const auto* found = std::find(kSpecial.begin(), kSpecial.end(), ch);
  if (found == kSpecial.end()) return std::nullopt;
  return static_cast<char>(kFirstSpecial + (found - kSpecial.begin()));
}

}  // namespace

char16_t windows1252_char(unsigned char byte) {
  return special_byte(byte) ? kSpecial[static_cast<std::size_t>(byte - kFirstSpecial)] : char16_t{byte};
}

bool windows1252_holds(char16_t ch) { return byte_of(ch).has_value(); }

std::u16string windows1252_decode(std::string_view bytes) {
  std::u16string text(bytes.size(), u'\0');
  std::transform(bytes.begin(), bytes.end(), text.begin(),
                 [](char c) { return windows1252_char(static_cast<unsigned char>(c)); });
  return text;
}

std::string windows1252_encode(std::u16string_view text, char replacement) {
  std::string bytes(text.size(), '\0');
  std::transform(text.begin(), text.end(), bytes.begin(),
                 [replacement](char16_t ch) { return byte_of(ch).value_or(replacement); });
  return bytes;
}

}  // namespace kv
