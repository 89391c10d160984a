#pragma once
// The small routines every configure-window field rests on: the whole-number
// range check, the key filter, and the ratio field's text <-> word
// conversions and range check. A field is its text and its colour.
#include <cstdint>
#include <optional>
#include <string>

namespace kv::config {

enum class FieldColour {
  window,         // the normal window colour
  red,            // out of range
  active_border,  // greyed: the field is not in use
  button_face,
};

struct FieldState {
  std::string text;
  FieldColour colour = FieldColour::window;
};

// The field's text as a whole number; nothing when it is not one (pasted
// text that never passed the key filter).
std::optional<long> int_value(const FieldState& field);

// Validates a whole-number field: an empty field is refilled with "0" and
// sets `flag`, and the 0 is then checked like any value; text that is not a
// number, a value outside [minimum, maximum] or off the step turns it red.
// Every failure sets `flag`; a value in range gets `zero_colour` when it is 0
// and the window colour otherwise.
void check_int_display_TEdit(FieldState& field, long maximum, long minimum, FieldColour zero_colour, int step,
                             bool& flag);

enum class KeyAction { accept, swallow, replace_all };
inline constexpr char kBackspace = '\b';

// The key filter of every whole-number field: Backspace and digits pass, any
// other key is swallowed; in a field of maximum length 1 a digit replaces the
// whole content.
KeyAction TEdit_int_key_press(char key, int max_length);

// A ratio field holds "9.999" with unfilled digits as blanks.
double ratio_value(const FieldState& field);
// Text -> word: blanks read as 0, times 1000, rounded to nearest (ties to even).
std::uint16_t TMaskEdit_to_word(const FieldState& field);
// Word -> text: three decimals with every 0 shown as a blank. A word of 10000
// or more does not fit the one-digit field and shows as the field's largest
// value, 9.999, which the range check then flags.
void word_to_TMaskEdit(FieldState& field, std::uint16_t word);
// Red and `flag` set when the value lies outside [minimum, maximum].
void check_TMaskEdit(FieldState& field, bool& flag, double minimum, double maximum);

}  // namespace kv::config
