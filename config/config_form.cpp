#include "config/config_form.h"

#include <algorithm>
#include <cstdio>

namespace kv::config {
namespace {

constexpr std::array<int, kChoiceCount> kChoiceItems{2, 3, 2, 3, 2, 2, 2, 2};

// The order of the full check; nothing stands for the primary ratio, which
// raises the gear handler without a whole-number sender.
constexpr std::array<std::optional<IntField>, 21> kCheckOrder{
    IntField::accel_start_speed, IntField::accel_stop_speed, IntField::water_temp_value,
    IntField::oil_temp_value,    IntField::oil_psi_value,    IntField::rpm_oil_psi_value,
    IntField::fuel_level_value,  IntField::display_brightness, IntField::speedo_cal_value,
    IntField::gear_cal_value,    IntField::veh_weight,       IntField::num_gear_value,
    std::nullopt,                IntField::pulses_engine_cycle, IntField::lap_blank_period,
    IntField::split_1_distance,  IntField::split_2_distance, IntField::split_3_distance,
    IntField::shift_value_peak,  IntField::shift_value_delta, IntField::odometer_value,
};

constexpr std::array<IntField, 3> kSplits{IntField::split_1_distance, IntField::split_2_distance,
                                          IntField::split_3_distance};

}  // namespace

ConfigForm::ConfigForm(ConfigState& state) : state_(state) {
  for (const auto& desc : kIntFields) at(desc.id).text = desc.initial;
  for (const auto& desc : kRatioFields) word_to_TMaskEdit(at(desc.id), desc.initial);
  choices_ = kInitialChoices;
  ticks_ = kInitialTicks;
}

void ConfigForm::edit(IntField field, std::string text) {
  at(field).text = std::move(text);
  run_handler(spec_of(field).handler, field);
}

void ConfigForm::edit(RatioField field, std::string text) {
  at(field).text = std::move(text);
  update_gear_display(std::nullopt);
}

void ConfigForm::select(Choice choice, int item) {
  choices_[index(choice)] = std::clamp(item, 0, kChoiceItems[index(choice)] - 1);
  if (choice == Choice::mph_kmh_sel) update_accel_display(std::nullopt);
  if (choice == Choice::RadioGroup1) logger_control();
}

void ConfigForm::tick(Tick box, bool ticked) {
  ticks_[index(box)] = ticked;
  if (box == Tick::lap_function_enable) update_lap_display(std::nullopt);
}

void ConfigForm::setup() {
  process_form_data();
  full_check();
}

bool ConfigForm::full_check() {
  state_.config_range_error = false;
  check_form_data();
  return !state_.config_range_error;
}

bool ConfigForm::set_factory_set(bool ticked) {
  factory_set_ = ticked;
  if (!ticked) odometer_read_only_ = true;
  return ticked;
}

void ConfigForm::show_version(int major, int minor) {
  char text[16];
  std::snprintf(text, sizeof text, "%d", major);
  version_major_ = text;
  std::snprintf(text, sizeof text, "%.2d", minor);
  version_minor_ = text;
}

void ConfigForm::clear_version() {
  version_major_.clear();
  version_minor_.clear();
}

// ---- handlers ----

void ConfigForm::run_handler(Handler handler, std::optional<IntField> sender) {
  switch (handler) {
    case Handler::lap: update_lap_display(sender); break;
    case Handler::accel: update_accel_display(sender); break;
    case Handler::gear: update_gear_display(sender); break;
    default:
      if (sender) validate(*sender);
      break;
  }
}

void ConfigForm::validate(IntField f) {
  const auto& desc = spec_of(f);
  check_int_display_TEdit(at(f), desc.maximum, desc.minimum, FieldColour::window, desc.step,
                          state_.config_range_error);
}

long ConfigForm::int_or_zero(IntField f) const { return int_value(field(f)).value_or(0); }

void ConfigForm::update_lap_display(std::optional<IntField> sender) {
  if (sender) validate(*sender);
  const auto s1 = int_value(field(IntField::split_1_distance));
  const auto s2 = int_value(field(IntField::split_2_distance));
  const auto s3 = int_value(field(IntField::split_3_distance));
  const bool lap_on = ticked(Tick::lap_function_enable);
  FieldColour split_colour = FieldColour::window;
  if (s1 && *s1 <= 0) {
    split_colour = FieldColour::active_border;
    split_text_ = form_text::kSplitDisabled;
  } else if (s1 && s2 && s3 && *s2 > *s1 && *s3 > *s2) {
    split_text_ = lap_on ? form_text::kSplitEnabled : form_text::kSplitOff;
  } else {
    split_colour = FieldColour::red;
    split_text_ = form_text::kSplitError;
    state_.config_range_error = true;
  }
  for (IntField f : kSplits) at(f).colour = split_colour;

  const auto blanking = int_value(field(IntField::lap_blank_period));
  if (!lap_on) {
    lap_text_ = form_text::kLapOff;
  } else {
    lap_text_ = blanking && *blanking == 0 ? form_text::kTrackDay : form_text::kRaceDay;
  }
}

void ConfigForm::update_accel_display(std::optional<IntField> sender) {
  if (sender == IntField::accel_start_speed || sender == IntField::accel_stop_speed) validate(*sender);
  speed_unit_label_ = item(Choice::mph_kmh_sel) == 1 ? form_text::kMph : form_text::kKmh;
  const auto start = static_cast<std::uint16_t>(int_or_zero(IntField::accel_start_speed));
  const auto stop = static_cast<std::uint16_t>(int_or_zero(IntField::accel_stop_speed));
  panel2_colour_ = FieldColour::button_face;
  if (stop > start) {
    accel_text_ = form_text::kAccelTest;
  } else if (stop < start) {
    accel_text_ = form_text::kBrakeTest;
  } else {
    accel_text_ = form_text::kEqualSpeeds;
    panel2_colour_ = FieldColour::red;
  }
}

void ConfigForm::update_gear_display(std::optional<IntField> sender) {
  if (sender == IntField::num_gear_value) {
    validate(IntField::num_gear_value);
    FieldState& gears = at(IntField::num_gear_value);
    if (const auto value = int_value(gears)) {
      state_.gear_count = static_cast<int>(std::clamp<long>(*value, kMinGears, kMaxGears));
    }
    const std::string shown = std::to_string(state_.gear_count);
    if (gears.text != shown) {
      gears.text = shown;
      // The count written back is valid: judge it again so it does not stay
      // red. The flag keeps the failure of the value that was entered.
      validate(IntField::num_gear_value);
    }
  }
  for (const auto& desc : kRatioFields) {
    FieldState& ratio = at(desc.id);
    if (state_.gear_count >= desc.in_use_from_gears) {
      check_TMaskEdit(ratio, state_.config_range_error, kRatioMinimum, kRatioMaximum);
    } else {
      ratio.colour = FieldColour::active_border;
    }
  }
}

void ConfigForm::logger_control() {
  if (item(Choice::RadioGroup1) == kLoggerButton) {
    auto_save_enabled_ = true;
  } else {
    ticks_[index(Tick::CheckBox3)] = true;
    auto_save_enabled_ = false;
  }
}

void ConfigForm::check_form_data() {
  for (const auto& sender : kCheckOrder) {
    if (sender) {
      run_handler(spec_of(*sender).handler, *sender);
    } else {
      update_gear_display(std::nullopt);
    }
  }
}

}  // namespace kv::config
