#include "chart/numedit_format.h"

#include <charconv>
#include <cmath>
#include <string>

namespace kv::chart {
namespace {

bool is_blank(char c) { return c == ' ' || c == '\t'; }

bool is_separator(char c, const NumberFormat& format) {
  switch (format.separator) {
    case DecPlaceSep::dsDot: return c == '.';
    case DecPlaceSep::dsComma: return c == ',';
    case DecPlaceSep::dsBoth: return c == '.' || c == ',';
    case DecPlaceSep::dsSystem: return c == format.system_separator;
  }
  return false;
}

int digit_value(char c) {
  if (c >= '0' && c <= '9') return c - '0';
  if (c >= 'a' && c <= 'f') return c - 'a' + 10;
  if (c >= 'A' && c <= 'F') return c - 'A' + 10;
  return -1;
}

// Digits of one base, accumulated in a double so that no length overflows.
std::optional<double> parse_based(std::string_view digits, int base) {
  if (digits.empty()) return std::nullopt;
  double value = 0;
  for (const char c : digits) {
    const int d = digit_value(c);
    if (d < 0 || d >= base) return std::nullopt;
    value = value * base + d;
  }
  return value;
}

bool is_digit(char c) { return c >= '0' && c <= '9'; }

std::size_t count_digits(std::string_view text, std::size_t from) {
  std::size_t n = from;
  while (n < text.size() && is_digit(text[n])) ++n;
  return n - from;
}

struct DecimalRules {
  bool fraction = true;
  bool exponent = true;
  int max_places = -1;  // no limit
};

// sign? digits [sep digits] [e sign? digits], at least one mantissa digit.
std::optional<double> parse_decimal_number(std::string_view text, const NumberFormat& format,
                                           const DecimalRules& rules) {
  std::string normal;
  std::size_t i = 0;
  if (i < text.size() && (text[i] == '+' || text[i] == '-')) {
    if (text[i] == '-') normal += '-';
    ++i;
  }
  const std::size_t whole = count_digits(text, i);
  normal.append(text.substr(i, whole));
  i += whole;
  std::size_t places = 0;
  if (rules.fraction && i < text.size() && is_separator(text[i], format)) {
    ++i;
    places = count_digits(text, i);
    normal += '.';
    normal.append(text.substr(i, places));
    i += places;
  }
  if (whole + places == 0) return std::nullopt;
  if (rules.max_places >= 0 && places > static_cast<std::size_t>(rules.max_places)) return std::nullopt;
  if (rules.exponent && i < text.size() && (text[i] == 'e' || text[i] == 'E')) {
    normal += 'e';
    ++i;
    if (i < text.size() && (text[i] == '+' || text[i] == '-')) normal += text[i++];
    const std::size_t exp_digits = count_digits(text, i);
    if (exp_digits == 0) return std::nullopt;
    normal.append(text.substr(i, exp_digits));
    i += exp_digits;
  }
  if (i != text.size()) return std::nullopt;
  double value = 0;
  const auto result = std::from_chars(normal.data(), normal.data() + normal.size(), value);
  if (result.ec != std::errc() || result.ptr != normal.data() + normal.size()) return std::nullopt;
  return value;
}

std::optional<double> parse_dynamic(std::string_view text, const NumberFormat& format) {
  switch (text.front()) {
    case '$': return parse_based(text.substr(1), 16);
    case '&': return parse_based(text.substr(1), 8);
    case '%': return parse_based(text.substr(1), 2);
    default: return parse_decimal_number(text, format, {});
  }
}

}  // namespace

std::string_view skip_leading_blanks(std::string_view text) {
  std::size_t n = 0;
  while (n < text.size() && is_blank(text[n])) ++n;
  return text.substr(n);
}

std::optional<double> parse_number(std::string_view text, const NumberFormat& format) {
  text = skip_leading_blanks(text);
  if (text.empty()) return 0.0;
  std::optional<double> value;
  switch (format.input) {
    case InputFormat::itExp: value = parse_decimal_number(text, format, {}); break;
    case InputFormat::itFloat: value = parse_decimal_number(text, format, {true, false}); break;
    case InputFormat::itFixPoint:
      value = parse_decimal_number(text, format, {true, false, format.fix_point_places});
      break;
    case InputFormat::itInt: value = parse_decimal_number(text, format, {false, false}); break;
    case InputFormat::itHex: value = parse_based(text, 16); break;
    case InputFormat::itOct: value = parse_based(text, 8); break;
    case InputFormat::itBin: value = parse_based(text, 2); break;
    case InputFormat::itDynamic: value = parse_dynamic(text, format); break;
  }
  if (!value || !std::isfinite(*value)) return std::nullopt;
  return value;
}

bool number_accepted(std::string_view text, const NumberFormat& format, double low, double high) {
  const std::optional<double> value = parse_number(text, format);
  return value && *value >= low && *value <= high;
}

}  // namespace kv::chart
