#pragma once
// The number grammar of the numeric entry field, kept free of any widget so
// that other code (and the tests) can ask whether a text would be accepted.
#include <optional>
#include <string_view>

namespace kv::chart {

enum class InputFormat { itExp, itFloat, itFixPoint, itInt, itHex, itOct, itBin, itDynamic };
enum class DecPlaceSep { dsDot, dsComma, dsBoth, dsSystem };

struct NumberFormat {
  InputFormat input = InputFormat::itDynamic;
  DecPlaceSep separator = DecPlaceSep::dsDot;
  int fix_point_places = 2;       // decimals allowed by itFixPoint
  char system_separator = '.';    // what dsSystem means on this machine
};

// Reads `text` in `format`. Leading blanks are skipped; any other blank, a
// partial number ("-", "1e") or a value too large for a double gives nothing.
// An empty text reads as 0.
std::optional<double> parse_number(std::string_view text, const NumberFormat& format);

// True when `text` reads in `format` and its value lies in low ... high.
bool number_accepted(std::string_view text, const NumberFormat& format, double low, double high);

// The text with its leading blanks removed.
std::string_view skip_leading_blanks(std::string_view text);

}  // namespace kv::chart
