#include "config/config_fields.h"

#include <algorithm>
#include <charconv>
#include <cmath>
#include <cstdio>

#include "common/text_lines.h"

namespace kv::config {
namespace {

constexpr double kRatioScale = 1000.0;
constexpr std::uint16_t kLargestRatioWord = 9999;  // 9.999, the one-digit field's limit

std::string blanks_as_zero(std::string text) {
  std::replace(text.begin(), text.end(), ' ', '0');
  return text;
}

std::optional<double> parse_ratio(const FieldState& field) {
  const std::string text = blanks_as_zero(field.text);
  double value = 0.0;
  const char* first = text.data();
  const char* last = first + text.size();
  const auto result = std::from_chars(first, last, value);
  if (text.empty() || result.ec != std::errc() || result.ptr != last || !std::isfinite(value)) return std::nullopt;
  return value;
}

}  // namespace

std::optional<long> int_value(const FieldState& field) {
  const auto value = parse_decimal(field.text);
  if (!value || *value < -2147483647LL || *value > 2147483647LL) return std::nullopt;
  return static_cast<long>(*value);
}

void check_int_display_TEdit(FieldState& field, long maximum, long minimum, FieldColour zero_colour, int step,
                             bool& flag) {
  if (field.text.empty()) {
    // The emptied field counts as a failure, but the 0 written back is judged
    // on its own so that its colour is right at once.
    field.text = "0";
    flag = true;
  }
  const auto value = int_value(field);
  if (!value || *value < minimum || *value > maximum) {
    field.colour = FieldColour::red;
    flag = true;
    return;
  }
  field.colour = *value == 0 ? zero_colour : FieldColour::window;
  if (step > 1 && *value % step != 0) {
    field.colour = FieldColour::red;
    flag = true;
  }
}

KeyAction TEdit_int_key_press(char key, int max_length) {
  if (key == kBackspace) return KeyAction::accept;
  if (key < '0' || key > '9') return KeyAction::swallow;
  return max_length == 1 ? KeyAction::replace_all : KeyAction::accept;
}

double ratio_value(const FieldState& field) { return parse_ratio(field).value_or(0.0); }

std::uint16_t TMaskEdit_to_word(const FieldState& field) {
  const double scaled = std::nearbyint(ratio_value(field) * kRatioScale);
  return static_cast<std::uint16_t>(std::clamp(scaled, 0.0, 65535.0));
}

void word_to_TMaskEdit(FieldState& field, std::uint16_t word) {
  char text[16];
  std::snprintf(text, sizeof text, "%.3f", std::min(word, kLargestRatioWord) / kRatioScale);
  field.text = text;
  std::replace(field.text.begin(), field.text.end(), '0', ' ');
}

void check_TMaskEdit(FieldState& field, bool& flag, double minimum, double maximum) {
  const auto value = parse_ratio(field);
  if (!value || *value < minimum || *value > maximum) {
    field.colour = FieldColour::red;
    flag = true;
    return;
  }
  field.colour = FieldColour::window;
}

}  // namespace kv::config
