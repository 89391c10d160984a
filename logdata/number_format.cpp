#include "logdata/number_format.h"

#include <bit>
#include <charconv>
#include <cmath>
#include <cstdint>
#include <optional>
#include <string_view>

namespace kv {
namespace {

// A double's 53-bit mantissa times 5^4 still fits 63 bits.
constexpr int kMaxDecimals = 4;
constexpr std::uint64_t kPowersOfFive[kMaxDecimals + 1] = {1, 5, 25, 125, 625};
constexpr int kMantissaBits = 52;
constexpr int kExponentBias = 1075;  // 1023 plus the 52 mantissa bits
constexpr int kSubnormalExponent = -1074;

// |value| x 10^decimals rounded to an integer, halves up, computed exactly from
// the double's binary mantissa and exponent; nothing when it exceeds 63 bits.
std::optional<std::uint64_t> scaled_units(double magnitude, int decimals) {
  const auto bits = std::bit_cast<std::uint64_t>(magnitude);
  const auto biased = static_cast<int>((bits >> kMantissaBits) & 0x7FF);
  std::uint64_t mantissa = bits & ((std::uint64_t{1} << kMantissaBits) - 1);
  int exponent = kSubnormalExponent;
  if (biased != 0) {
    mantissa |= std::uint64_t{1} << kMantissaBits;
    exponent = biased - kExponentBias;
  }
  // value x 10^d = (mantissa x 5^d) x 2^(exponent + d)
  const std::uint64_t m = mantissa * kPowersOfFive[decimals];
  const int shift = exponent + decimals;
  if (shift >= 0) {
    if (m != 0 && std::bit_width(m) + shift > 63) return std::nullopt;
    return m << shift;
  }
  const int down = -shift;
  if (down >= 64) return 0;  // below 2^-1: rounds to zero
  const std::uint64_t rest = m & ((std::uint64_t{1} << down) - 1);
  return (m >> down) + (rest >= (std::uint64_t{1} << (down - 1)) ? 1 : 0);
}

// `units` in steps of 10^-decimals, with at least one digit before the point.
void append_scaled(std::string& out, std::uint64_t units, int decimals) {
  char buffer[32];
  const auto places = static_cast<std::size_t>(decimals);
  const char* end = std::to_chars(buffer, buffer + sizeof buffer, units).ptr;
  std::string_view digits(buffer, static_cast<std::size_t>(end - buffer));
  if (digits.size() <= places) {
    out += '0';
    if (places > 0) out += '.';
    out.append(places - digits.size(), '0');
    out += digits;
    return;
  }
  const std::size_t whole = digits.size() - places;
  out += digits.substr(0, whole);
  if (places == 0) return;
  out += '.';
  out += digits.substr(whole);
}

}  // namespace

void append_fixed(std::string& out, double value, int decimals) {
  if (decimals < 0) decimals = 0;
  if (decimals > kMaxDecimals) decimals = kMaxDecimals;
  if (!std::isfinite(value)) {
    out += std::isnan(value) ? "nan" : (value < 0 ? "-inf" : "inf");
    return;
  }
  if (const auto units = scaled_units(std::fabs(value), decimals)) {
    if (value < 0 && *units != 0) out += '-';
    append_scaled(out, *units, decimals);
    return;
  }
  // Too large for whole units: no half can occur at this magnitude.
  char buffer[400];
  const auto result = std::to_chars(buffer, buffer + sizeof buffer, value, std::chars_format::fixed, decimals);
  out.append(buffer, result.ptr);
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
