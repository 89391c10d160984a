#pragma once
// The configure window's controls as values, with their change handlers and
// the conversions between them and the configuration image. The window
// widgets only mirror this; everything here runs without a screen.
#include <array>
#include <functional>
#include <optional>
#include <string>

#include "config/config_fields.h"
#include "config/config_layout.h"
#include "config/config_state.h"

namespace kv::config {

namespace form_text {
inline constexpr const char* kSplitDisabled = "Split 1 distance = 0 which disables the option";
inline constexpr const char* kSplitEnabled = "Split Timer Function Enabled";
inline constexpr const char* kSplitOff = "Split Timer Function Disabled";
inline constexpr const char* kSplitError = "Error: Must have (Split 2 > Split 1) and (Split 3 > Split 2)";
inline constexpr const char* kTrackDay = "Track Day Mode. No Beacon, Button 4 Triggers New Lap";
inline constexpr const char* kRaceDay = "Race Day Mode. Beacon present, Button 4 Resets Lap";
inline constexpr const char* kLapOff = "Lap Timer Function Disabled";
inline constexpr const char* kAccelTest = "Accel Test Selected";
inline constexpr const char* kBrakeTest = "Brake Test Selected";
inline constexpr const char* kEqualSpeeds = "?? Start == Stop ??";
inline constexpr const char* kMph = "MPH";
inline constexpr const char* kKmh = "KMH";
}  // namespace form_text

class ConfigForm {
 public:
  // The controls start with their initial values; the image is not touched
  // until setup() or a conversion runs.
  explicit ConfigForm(ConfigState& state);

  ConfigState& state() { return state_; }
  const ConfigState& state() const { return state_; }

  // What the person does: each change runs the control's change handler.
  void edit(IntField field, std::string text);
  void edit(RatioField field, std::string text);
  void select(Choice choice, int item);
  void tick(Tick box, bool ticked);

  // The window's creation and every activation: rebuild the image from the
  // controls and revalidate every field from scratch.
  void setup();

  // Image -> controls: every control takes its value, then every field is
  // validated and every display refreshed against the final values.
  void process_eeprom_data();
  // Controls -> image. Offsets 13-18 are left as they are.
  void process_form_data();
  // Runs every field validation once; failures set config_range_error.
  void check_form_data();
  // Clears config_range_error, then check_form_data().
  bool full_check();

  // A read or load calls image_shown() once the new image is shown and
  // checked, before the message that ends it, so the window can repaint the
  // values and colours the message speaks of.
  void set_image_shown_listener(std::function<void()> listener) { image_shown_ = std::move(listener); }
  void image_shown() const {
    if (image_shown_) image_shown_();
  }

  // "Factory Set": true when the password dialog must be shown. Unticking
  // makes the odometer read-only again.
  bool set_factory_set(bool ticked);

  const FieldState& field(IntField f) const { return ints_[index(f)]; }
  const FieldState& field(RatioField f) const { return ratios_[index(f)]; }
  int item(Choice c) const { return choices_[index(c)]; }
  bool ticked(Tick t) const { return ticks_[index(t)]; }
  bool auto_save_enabled() const { return auto_save_enabled_; }
  bool factory_set() const { return factory_set_; }
  bool odometer_read_only() const { return odometer_read_only_; }
  void set_odometer_read_only(bool read_only) { odometer_read_only_ = read_only; }

  const std::string& split_text() const { return split_text_; }
  const std::string& lap_text() const { return lap_text_; }
  const std::string& accel_text() const { return accel_text_; }
  FieldColour panel2_colour() const { return panel2_colour_; }
  const std::string& speed_unit_label() const { return speed_unit_label_; }

  // The instrument's version as the last read or write showed it.
  const std::string& version_major() const { return version_major_; }
  const std::string& version_minor() const { return version_minor_; }
  void show_version(int major, int minor);
  void clear_version();

 private:
  template <typename E>
  static constexpr int index(E e) {
    return static_cast<int>(e);
  }
  FieldState& at(IntField f) { return ints_[index(f)]; }
  FieldState& at(RatioField f) { return ratios_[index(f)]; }

  void run_handler(Handler handler, std::optional<IntField> sender);
  void validate(IntField f);
  void update_lap_display(std::optional<IntField> sender);
  void update_accel_display(std::optional<IntField> sender);
  void update_gear_display(std::optional<IntField> sender);
  void logger_control();
  void show_option_flags(std::uint8_t flags);
  void show_unit_gear_pulse(std::uint8_t byte);
  void show_menu_mask(std::uint8_t low, std::uint8_t high);
  std::uint8_t option_flags() const;
  std::uint8_t unit_gear_pulse() const;
  unsigned menu_mask() const;
  long int_or_zero(IntField f) const;

  ConfigState& state_;
  std::array<FieldState, kIntFieldCount> ints_{};
  std::array<FieldState, kRatioFieldCount> ratios_{};
  std::array<int, kChoiceCount> choices_{};
  std::array<bool, kTickCount> ticks_{};
  bool auto_save_enabled_ = true;
  bool factory_set_ = false;
  bool odometer_read_only_ = true;
  std::string split_text_;
  std::string lap_text_ = form_text::kLapOff;
  std::string accel_text_ = form_text::kAccelTest;
  FieldColour panel2_colour_ = FieldColour::button_face;
  std::string speed_unit_label_ = form_text::kMph;
  std::string version_major_;
  std::string version_minor_;
  std::function<void()> image_shown_;
};

}  // namespace kv::config
