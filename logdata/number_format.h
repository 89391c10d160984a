#pragma once
// Number formatting for exported text, independent of the locale: "." is
// always the decimal separator.
#include <string>

namespace kv {

// Fixed decimals, halves rounded away from zero (64.5 -> "65", 12.55 -> "12.6"
// with one decimal). Zero decimals print no decimal point. A result that
// rounds to zero carries no minus sign.
std::string format_fixed(double value, int decimals);
// The same, appended to `out`.
void append_fixed(std::string& out, double value, int decimals);

// Rounds to the nearest integer, halves to even.
long long round_half_even(double value);

}  // namespace kv
