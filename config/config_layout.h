#pragma once
// The configuration image's byte layout and the window fields that show it,
// kept in one place. Image offset N is instrument address 0xCC + N; words are
// little-endian (low byte at the lower offset).
#include <array>
#include <cstdint>

namespace kv::config {

// Whole-number fields of the configure window, in the order the image is
// shown in the window.
enum class IntField : int {
  veh_weight,
  split_1_distance,
  split_2_distance,
  split_3_distance,
  speedo_cal_value,
  accel_start_speed,
  accel_stop_speed,
  gear_cal_value,
  odometer_value,
  fuel_level_value,
  rpm_oil_psi_value,
  water_temp_value,
  oil_psi_value,
  oil_temp_value,
  shift_value_delta,
  shift_value_peak,
  display_brightness,
  num_gear_value,
  pulses_engine_cycle,
  lap_blank_period,
};
inline constexpr int kIntFieldCount = 20;

// Ratio fields, in image order: primary, then gear 6 down to gear 1.
enum class RatioField : int { prim_ratio_value, gear_6_value, gear_5_value, gear_4_value, gear_3_value, gear_2_value,
                              gear_1_value };
inline constexpr int kRatioFieldCount = 7;

// Radio groups; the value is the selected item index.
enum class Choice : int {
  fuel_level_sender,
  shift_light_mode,
  mph_kmh_sel,
  RadioGroup1,  // logger on/off control
  RadioGroup2,  // temperature unit
  RadioGroup3,  // pressure unit
  RadioGroup4,  // oil alarm display
  RadioGroup5,  // oil alarm switch
};
inline constexpr int kChoiceCount = 8;

// Check boxes that travel through the image.
enum class Tick : int { lap_function_enable, accel_function_enable, trip_function_enable, max_function_enable,
                        CheckBox2, CheckBox3 };
inline constexpr int kTickCount = 6;

// The change handler a field raises.
enum class Handler { none, alarm, brightness, accel, shift, lap, gear, ignition, cal, odometer };

// Where a whole-number field lives in the image. Packed fields share offset
// 50 with the speed unit and are placed by the offset-50 rules below.
enum class Storage { byte, word, packed };

struct IntFieldSpec {
  IntField id;
  const char* name;
  Storage storage;
  int offset;
  int scale;  // the image holds value / scale (RPM fields hold hundreds)
  long minimum;
  long maximum;
  int step;
  int max_length;
  const char* initial;
  Handler handler;
};

inline constexpr std::array<IntFieldSpec, kIntFieldCount> kIntFields{{
    {IntField::veh_weight, "veh_weight", Storage::word, 3, 1, 0, 2500, 1, 4, "0", Handler::cal},
    {IntField::split_1_distance, "split_1_distance", Storage::word, 7, 1, 0, 9999, 1, 4, "500", Handler::lap},
    {IntField::split_2_distance, "split_2_distance", Storage::word, 9, 1, 0, 9999, 1, 4, "1000", Handler::lap},
    {IntField::split_3_distance, "split_3_distance", Storage::word, 11, 1, 0, 9999, 1, 4, "1500", Handler::lap},
    {IntField::speedo_cal_value, "speedo_cal_value", Storage::word, 19, 1, 1000, 9999, 1, 4, "1000", Handler::cal},
    {IntField::accel_start_speed, "accel_start_speed", Storage::byte, 21, 1, 0, 255, 1, 3, "0", Handler::accel},
    {IntField::accel_stop_speed, "accel_stop_speed", Storage::byte, 22, 1, 0, 255, 1, 3, "60", Handler::accel},
    {IntField::gear_cal_value, "gear_cal_value", Storage::word, 23, 1, 500, 9999, 1, 4, "1000", Handler::cal},
    {IntField::odometer_value, "odometer_value", Storage::word, 25, 1, 0, 65535, 1, 5, "0", Handler::odometer},
    {IntField::fuel_level_value, "fuel_level_value", Storage::byte, 27, 1, 0, 99, 1, 2, "5", Handler::alarm},
    {IntField::rpm_oil_psi_value, "rpm_oil_psi_value", Storage::byte, 28, 100, 0, 25500, 100, 5, "2000",
     Handler::alarm},
    {IntField::water_temp_value, "water_temp_value", Storage::byte, 29, 1, 0, 140, 1, 3, "105", Handler::alarm},
    {IntField::oil_psi_value, "oil_psi_value", Storage::byte, 30, 1, 0, 140, 1, 3, "30", Handler::alarm},
    {IntField::oil_temp_value, "oil_temp_value", Storage::byte, 31, 1, 0, 140, 1, 3, "110", Handler::alarm},
    {IntField::shift_value_delta, "shift_value_delta", Storage::byte, 32, 100, 100, 1000, 100, 4, "500",
     Handler::shift},
    {IntField::shift_value_peak, "shift_value_peak", Storage::byte, 33, 100, 3000, 25500, 100, 5, "6500",
     Handler::shift},
    {IntField::display_brightness, "display_brightness", Storage::byte, 35, 1, 0, 7, 1, 1, "4", Handler::brightness},
    {IntField::num_gear_value, "num_gear_value", Storage::packed, 50, 1, 2, 6, 1, 1, "6", Handler::gear},
    {IntField::pulses_engine_cycle, "pulses_engine_cycle", Storage::packed, 50, 1, 1, 8, 1, 1, "2",
     Handler::ignition},
    {IntField::lap_blank_period, "lap_blank_period", Storage::byte, 51, 1, 0, 255, 1, 3, "50", Handler::lap},
}};

struct RatioFieldSpec {
  RatioField id;
  const char* name;
  const char* caption;
  int offset;  // a word
  std::uint16_t initial;
  int in_use_from_gears;  // the field is in use when the gear count reaches this
};

inline constexpr std::array<RatioFieldSpec, kRatioFieldCount> kRatioFields{{
    {RatioField::prim_ratio_value, "prim_ratio_value", "Primary Ratio", 36, 1000, 0},
    {RatioField::gear_6_value, "gear_6_value", "Gear 6", 38, 800, 6},
    {RatioField::gear_5_value, "gear_5_value", "Gear 5", 40, 1000, 5},
    {RatioField::gear_4_value, "gear_4_value", "Gear 4", 42, 1500, 4},
    {RatioField::gear_3_value, "gear_3_value", "Gear 3", 44, 2000, 3},
    {RatioField::gear_2_value, "gear_2_value", "Gear 2", 46, 3000, 0},
    {RatioField::gear_1_value, "gear_1_value", "Gear 1", 48, 4000, 0},
}};

inline constexpr double kRatioMinimum = 0.500;
inline constexpr double kRatioMaximum = 5.000;

// Initial selections of the radio groups and check boxes.
inline constexpr std::array<int, kChoiceCount> kInitialChoices{0, 1, 1, 0, 1, 1, 0, 0};
inline constexpr std::array<bool, kTickCount> kInitialTicks{true, true, true, true, true, false};

// Single bytes and fixed values.
inline constexpr int kReservedOffset = 0;
inline constexpr int kFuelSenderOffset = 1;
inline constexpr int kOptionFlagsOffset = 2;
inline constexpr int kMenuMaskLowOffset = 5;
inline constexpr int kMenuMaskHighOffset = 6;
inline constexpr int kShiftModeOffset = 34;
inline constexpr int kUnitGearPulseOffset = 50;
inline constexpr int kCarriedFirstOffset = 13;  // offsets 13-18 are only carried
inline constexpr int kCarriedLastOffset = 18;

// Offset 2, the option flags.
namespace option_bit {
inline constexpr int auto_save = 7;
inline constexpr int vehicle_moving = 6;
inline constexpr int engine_running = 5;
inline constexpr int oil_display = 4;
inline constexpr int oil_switch = 3;
inline constexpr int flash_on_shift = 2;
inline constexpr int temperature = 1;
inline constexpr int pressure = 0;
}  // namespace option_bit

// Logger control items.
inline constexpr int kLoggerButton = 0;
inline constexpr int kLoggerEngineRunning = 1;
inline constexpr int kLoggerVehicleMoving = 2;

// Offsets 5-6, the LCD menu mask.
namespace menu_mask {
inline constexpr unsigned always = 0x007;
inline constexpr unsigned lap = 0x018;
inline constexpr unsigned accel = 0x020;
inline constexpr unsigned max_hold = 0x1C0;
inline constexpr unsigned trip = 0x200;
inline constexpr unsigned low_keep = 0xF8;   // bits kept from offset 5 when shown
inline constexpr unsigned high_keep = 0x300; // bits stored at offset 6
inline constexpr int lap_test_bit = 3;
inline constexpr int accel_test_bit = 5;
inline constexpr int max_hold_test_bit = 6;
inline constexpr int trip_test_bit = 9;
}  // namespace menu_mask

// Offset 50: bit 7 speed unit, bits 6-4 gears, bits 3-0 pulses per engine cycle.
namespace unit_gear_pulse {
inline constexpr int speed_bit = 7;
inline constexpr int gear_shift = 4;
inline constexpr unsigned gear_mask = 0x07;
inline constexpr unsigned pulse_mask = 0x0F;
}  // namespace unit_gear_pulse

inline constexpr int kShiftModeMask = 0x03;
inline constexpr int kShiftModeLastItem = 2;
inline constexpr int kMinGears = 2;
inline constexpr int kMaxGears = 6;

constexpr const IntFieldSpec& spec_of(IntField field) { return kIntFields[static_cast<int>(field)]; }
constexpr const RatioFieldSpec& spec_of(RatioField field) { return kRatioFields[static_cast<int>(field)]; }

}  // namespace kv::config
