#include "logdata/number_format.h"

#include <charconv>
#include <cmath>
#include <string_view>

namespace kv {
namespace {

// 5^4 needs 10 bits: a double scaled by up to 10^4 stays exact in the 64-bit
// mantissa of extended precision.
constexpr int kMaxDecimals = 4;

long double power_of_ten(int decimals) {
  long double p = 1;
  for (int i = 0; i < decimals; ++i) p *= 10;
  return p;
}

bool all_zero_digits(std::string_view text) {
  for (char c : text) {
    if (c >= '1' && c <= '9') return false;
  }
  return true;
}

}  // namespace

void append_fixed(std::string& out, double value, int decimals) {
  if (decimals < 0) decimals = 0;
  if (decimals > kMaxDecimals) decimals = kMaxDecimals;
  if (!std::isfinite(value)) {
    out += std::isnan(value) ? "nan" : (value < 0 ? "-inf" : "inf");
    return;
  }
  // The scaled value is exact, so a true half is recognised as one; any other
  // value rounds correctly in to_chars.
  const long double scaled = std::fabs(static_cast<long double>(value)) * power_of_ten(decimals);
  const bool half = scaled - std::floor(scaled) == 0.5L;
  double rounded = std::fabs(value);
  if (half) rounded = static_cast<double>((std::floor(scaled) + 1) / power_of_ten(decimals));

  char buffer[400];
  const auto result = std::to_chars(buffer, buffer + sizeof buffer, rounded, std::chars_format::fixed, decimals);
  const std::string_view digits(buffer, static_cast<std::size_t>(result.ptr - buffer));
  if (value < 0 && !all_zero_digits(digits)) out += '-';
  out += digits;
}

std::string format_fixed(double value, int decimals) {
  std::string out;
  append_fixed(out, value, decimals);
  return out;
}

long long round_half_even(double value) {
  constexpr double kLimit = 9.0e18;
  if (std::isnan(value)) return 0;
  if (value > kLimit) return static_cast<long long>(kLimit);
  if (value < -kLimit) return -static_cast<long long>(kLimit);
  return std::llrint(value);  // the default rounding mode: to nearest, ties to even
}

}  // namespace kv
