#include "analysis/plot_text.h"

#include <array>
#include <charconv>

namespace kv::analysis {

std::string fixed_text(double value, int decimals) {
  std::array<char, 400> buffer{};
  const auto result = std::to_chars(buffer.data(), buffer.data() + buffer.size(), value, std::chars_format::fixed,
                                    decimals < 0 ? 0 : decimals);
  if (result.ec != std::errc()) return {};
  return std::string(buffer.data(), result.ptr);
}

}  // namespace kv::analysis
