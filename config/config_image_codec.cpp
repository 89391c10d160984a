// The two conversions between the configuration image and the configure
// window's controls, with the bit packing of offsets 2, 5-6 and 50.
#include <algorithm>

#include "config/config_form.h"
#include "link/byte_helpers.h"

namespace kv::config {
namespace {

std::uint16_t word_at(const ConfigBytes& image, int offset) {
  return static_cast<std::uint16_t>(image[offset] | (image[offset + 1] << 8));
}

void put_word(ConfigBytes& image, int offset, unsigned value) {
  image[offset] = static_cast<std::uint8_t>(value & 0xFFu);
  image[offset + 1] = static_cast<std::uint8_t>((value & 0xFF00u) >> 8);
}

}  // namespace

// ---- image -> controls ----

void ConfigForm::process_eeprom_data() {
  const ConfigBytes& image = state_.config_image;
  for (const auto& desc : kIntFields) {
    if (desc.storage == Storage::packed) continue;
    const long stored = desc.storage == Storage::word ? word_at(image, desc.offset) : image[desc.offset];
    at(desc.id).text = std::to_string(stored * desc.scale);
  }
  show_menu_mask(image[kMenuMaskLowOffset], image[kMenuMaskHighOffset]);
  choices_[index(Choice::shift_light_mode)] = std::min(image[kShiftModeOffset] & kShiftModeMask, kShiftModeLastItem);
  choices_[index(Choice::fuel_level_sender)] = image[kFuelSenderOffset] == 1 ? 1 : 0;
  for (const auto& desc : kRatioFields) word_to_TMaskEdit(at(desc.id), word_at(image, desc.offset));
  show_unit_gear_pulse(image[kUnitGearPulseOffset]);
  show_option_flags(image[kOptionFlagsOffset]);
  // The fields are validated against the values just shown, all at once, so
  // that no field is judged against a neighbour still holding its old value.
  check_form_data();
}

void ConfigForm::show_menu_mask(std::uint8_t low, std::uint8_t high) {
  const auto mask = static_cast<std::uint16_t>((low & menu_mask::low_keep) + menu_mask::always +
                                               ((high & (menu_mask::high_keep >> 8)) << 8));
  ticks_[index(Tick::lap_function_enable)] = bit_set_word(mask, menu_mask::lap_test_bit);
  ticks_[index(Tick::accel_function_enable)] = bit_set_word(mask, menu_mask::accel_test_bit);
  ticks_[index(Tick::max_function_enable)] = bit_set_word(mask, menu_mask::max_hold_test_bit);
  ticks_[index(Tick::trip_function_enable)] = bit_set_word(mask, menu_mask::trip_test_bit);
}

void ConfigForm::show_unit_gear_pulse(std::uint8_t byte) {
  choices_[index(Choice::mph_kmh_sel)] = bit_set(byte, unit_gear_pulse::speed_bit) ? 1 : 0;
  at(IntField::num_gear_value).text = std::to_string((byte >> unit_gear_pulse::gear_shift) & unit_gear_pulse::gear_mask);
  at(IntField::pulses_engine_cycle).text = std::to_string(byte & unit_gear_pulse::pulse_mask);
}

void ConfigForm::show_option_flags(std::uint8_t flags) {
  ticks_[index(Tick::CheckBox3)] = bit_set(flags, option_bit::auto_save);
  int logger = kLoggerButton;
  if (bit_set(flags, option_bit::vehicle_moving)) {
    logger = kLoggerVehicleMoving;
  } else if (bit_set(flags, option_bit::engine_running)) {
    logger = kLoggerEngineRunning;
  }
  choices_[index(Choice::RadioGroup1)] = logger;
  logger_control();
  choices_[index(Choice::RadioGroup4)] = bit_set(flags, option_bit::oil_display) ? 1 : 0;
  choices_[index(Choice::RadioGroup5)] = bit_set(flags, option_bit::oil_switch) ? 1 : 0;
  ticks_[index(Tick::CheckBox2)] = bit_set(flags, option_bit::flash_on_shift);
  choices_[index(Choice::RadioGroup2)] = bit_set(flags, option_bit::temperature) ? 1 : 0;
  choices_[index(Choice::RadioGroup3)] = bit_set(flags, option_bit::pressure) ? 1 : 0;
}

// ---- controls -> image ----

void ConfigForm::process_form_data() {
  ConfigBytes& image = state_.config_image;
  image[kReservedOffset] = 0;
  image[kFuelSenderOffset] = item(Choice::fuel_level_sender) == 1 ? 1 : 0;
  for (const auto& desc : kIntFields) {
    const long stored = int_or_zero(desc.id) / desc.scale;
    if (desc.storage == Storage::word) put_word(image, desc.offset, static_cast<unsigned>(stored));
    if (desc.storage == Storage::byte) image[desc.offset] = static_cast<std::uint8_t>(stored & 0xFF);
  }
  const unsigned mask = menu_mask();
  image[kMenuMaskLowOffset] = static_cast<std::uint8_t>(mask & 0xFFu);
  image[kMenuMaskHighOffset] = static_cast<std::uint8_t>((mask & menu_mask::high_keep) >> 8);
  image[kShiftModeOffset] = static_cast<std::uint8_t>(item(Choice::shift_light_mode));
  for (const auto& desc : kRatioFields) put_word(image, desc.offset, TMaskEdit_to_word(field(desc.id)));
  image[kUnitGearPulseOffset] = unit_gear_pulse();
  image[kOptionFlagsOffset] = option_flags();
  if (const auto gears = int_value(field(IntField::num_gear_value))) {
    state_.gear_count = static_cast<int>(std::clamp<long>(*gears, kMinGears, kMaxGears));
  }
}

unsigned ConfigForm::menu_mask() const {
  unsigned mask = menu_mask::always;
  if (ticked(Tick::lap_function_enable)) mask += menu_mask::lap;
  if (ticked(Tick::accel_function_enable)) mask += menu_mask::accel;
  if (ticked(Tick::max_function_enable)) mask += menu_mask::max_hold;
  if (ticked(Tick::trip_function_enable)) mask += menu_mask::trip;
  return mask;
}

std::uint8_t ConfigForm::unit_gear_pulse() const {
  const long sum = item(Choice::mph_kmh_sel) * (1L << unit_gear_pulse::speed_bit) +
                   int_or_zero(IntField::num_gear_value) * (1L << unit_gear_pulse::gear_shift) +
                   int_or_zero(IntField::pulses_engine_cycle);
  return static_cast<std::uint8_t>(sum & 0xFF);
}

std::uint8_t ConfigForm::option_flags() const {
  const int logger = item(Choice::RadioGroup1);
  const auto bit = [](bool on, int position) { return on ? 1L << position : 0L; };
  const long sum = bit(ticked(Tick::CheckBox3), option_bit::auto_save) +
                   bit(logger == kLoggerVehicleMoving, option_bit::vehicle_moving) +
                   bit(logger == kLoggerEngineRunning, option_bit::engine_running) +
                   item(Choice::RadioGroup4) * (1L << option_bit::oil_display) +
                   item(Choice::RadioGroup5) * (1L << option_bit::oil_switch) +
                   bit(ticked(Tick::CheckBox2), option_bit::flash_on_shift) +
                   item(Choice::RadioGroup2) * (1L << option_bit::temperature) +
                   item(Choice::RadioGroup3) * (1L << option_bit::pressure);
  return static_cast<std::uint8_t>(sum & 0xFF);
}

}  // namespace kv::config
