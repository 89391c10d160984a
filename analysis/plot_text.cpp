#include "analysis/plot_text.h"

#include <array>
#include <charconv>
#include <string>

namespace kv::analysis {

std::string fixed_text(double value, int decimals) {
  std::array<char, 400> buffer{};
  const auto result = std::to_chars(buffer.data(), buffer.data() + buffer.size(), value, std::chars_format::fixed,
                                    decimals < 0 ? 0 : decimals);
  if (result.ec != std::errc()) return {};
  return std::string(buffer.data(), result.ptr);
}

std::string padded_int(int value, int width) {
  std::string text = std::to_string(value);
  const auto w = static_cast<std::size_t>(width < 0 ? 0 : width);
  if (text.size() < w) text.insert(0, w - text.size(), ' ');
  return text;
}

}  // namespace kv::analysis
