#include "analysis/plot_files/label_text_1252.h"

#include <array>
#include <cstdint>
#include <optional>

#include "logdata/windows1252.h"

namespace kv::plot_files {
namespace {

constexpr unsigned char kUnmappable = '?';

void append_utf8(std::string& out, char32_t c) {
  if (c < 0x80) {
    out += static_cast<char>(c);
  } else if (c < 0x800) {
    out += static_cast<char>(0xC0 | (c >> 6));
    out += static_cast<char>(0x80 | (c & 0x3F));
  } else {
    out += static_cast<char>(0xE0 | (c >> 12));
    out += static_cast<char>(0x80 | ((c >> 6) & 0x3F));
    out += static_cast<char>(0x80 | (c & 0x3F));
  }
}

std::optional<unsigned char> byte_for(char32_t c) {
  if (c > 0xFFFF) return std::nullopt;
  const auto ch = static_cast<char16_t>(c);
  if (!windows1252_holds(ch)) return std::nullopt;
  return static_cast<unsigned char>(windows1252_encode(std::u16string_view(&ch, 1))[0]);
}

// Decodes one UTF-8 sequence at `at`; nothing (and one byte consumed) when
// it is broken or overlong.
std::optional<char32_t> next_code_point(std::string_view text, std::size_t& at) {
  const auto lead = static_cast<unsigned char>(text[at++]);
  if (lead < 0x80) return lead;
  int extra = 0;
  char32_t c = 0;
  if ((lead & 0xE0) == 0xC0) { extra = 1; c = lead & 0x1F; }
  else if ((lead & 0xF0) == 0xE0) { extra = 2; c = lead & 0x0F; }
  else if ((lead & 0xF8) == 0xF0) { extra = 3; c = lead & 0x07; }
  else return std::nullopt;
  if (at + static_cast<std::size_t>(extra) > text.size()) return std::nullopt;
  for (int k = 0; k < extra; ++k) {
    const auto b = static_cast<unsigned char>(text[at + static_cast<std::size_t>(k)]);
    if ((b & 0xC0) != 0x80) return std::nullopt;
    c = (c << 6) | (b & 0x3F);
  }
  constexpr std::array<char32_t, 4> kSmallest = {0, 0x80, 0x800, 0x10000};
  if (c < kSmallest[static_cast<std::size_t>(extra)]) return std::nullopt;
  at += static_cast<std::size_t>(extra);
  return c;
}

}  // namespace

std::string label_utf8_from_1252(std::string_view bytes) {
  std::string out;
  out.reserve(bytes.size());
  for (const char ch : bytes) {
    append_utf8(out, windows1252_char(static_cast<unsigned char>(ch)));
  }
  return out;
}

std::string label_1252_from_utf8(std::string_view text) {
  std::string out;
  out.reserve(text.size());
  for (std::size_t at = 0; at < text.size();) {
    const auto c = next_code_point(text, at);
    const auto byte = c ? byte_for(*c) : std::nullopt;
    out += static_cast<char>(byte.value_or(kUnmappable));
  }
  return out;
}

}  // namespace kv::plot_files
