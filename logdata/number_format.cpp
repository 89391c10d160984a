#include "logdata/number_format.h"

#include <charconv>
#include <cmath>
#include <string_view>

namespace kv {
namespace {

// 5^4 needs 10 bits: a double scaled by up to 10^4 stays exact in the 64-bit
// mantissa of extended precision.
constexpr int kMaxDecimals = 4;
// Scaled values below this fit an unsigned 64-bit integer.
constexpr long double kIntegerLimit = 9.0e18L;

long double power_of_ten(int decimals) {
  long double p = 1;
  for (int i = 0; i < decimals; ++i) p *= 10;
  return p;
}

// `units` in steps of 10^-decimals, written with the decimal point and at
// least one digit before it.
void append_scaled(std::string& out, unsigned long long units, int decimals) {
  char buffer[32];
  const auto places = static_cast<std::size_t>(decimals);
  char* end = std::to_chars(buffer, buffer + sizeof buffer, units).ptr;
  std::string digits(buffer, end);
  if (digits.size() <= places) digits.insert(0, places + 1 - digits.size(), '0');
  const std::size_t whole = digits.size() - places;
  out.append(digits, 0, whole);
  if (places == 0) return;
  out += '.';
  out.append(digits, whole, places);
}

}  // namespace

void append_fixed(std::string& out, double value, int decimals) {
  if (decimals < 0) decimals = 0;
  if (decimals > kMaxDecimals) decimals = kMaxDecimals;
  if (!std::isfinite(value)) {
    out += std::isnan(value) ? "nan" : (value < 0 ? "-inf" : "inf");
    return;
  }
  // The scaled value is exact, so its fraction tells a true half (rounded
  // away from zero) from everything else (rounded to nearest).
  const long double scaled = std::fabs(static_cast<long double>(value)) * power_of_ten(decimals);
  if (scaled < kIntegerLimit) {
    const long double whole = std::floor(scaled);
    const auto units = static_cast<unsigned long long>(whole) + (scaled - whole >= 0.5L ? 1u : 0u);
    if (value < 0 && units != 0) out += '-';
    append_scaled(out, units, decimals);
    return;
  }
  char buffer[400];
  const auto result = std::to_chars(buffer, buffer + sizeof buffer, value, std::chars_format::fixed, decimals);
  const std::string_view digits(buffer, static_cast<std::size_t>(result.ptr - buffer));
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
