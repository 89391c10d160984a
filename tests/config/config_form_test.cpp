// The configuration image and the configure window's field rules, without a
// window.
#include <gtest/gtest.h>

#include "config/config_form.h"

namespace kv::config {
namespace {

const ConfigBytes kFreshImage{0x00, 0x00, 0x07, 0x00, 0x00, 0xFF, 0x03, 0xF4, 0x01, 0xE8, 0x03, 0xDC, 0x05,
                              0x00, 0x00, 0x00, 0x00, 0x00, 0x00, 0xE8, 0x03, 0x00, 0x3C, 0xE8, 0x03, 0x00,
                              0x00, 0x05, 0x14, 0x69, 0x1E, 0x6E, 0x05, 0x41, 0x01, 0x04, 0xE8, 0x03, 0x20,
                              0x03, 0xE8, 0x03, 0xDC, 0x05, 0xD0, 0x07, 0xB8, 0x0B, 0xA0, 0x0F, 0xE2, 0x32};

class ConfigFormTest : public ::testing::Test {
 protected:
  ConfigFormTest() { form.setup(); }

  // Shows `image` in the window the way a read or a load does.
  void show(const ConfigBytes& image) {
    state.config_image = image;
    state.config_range_error = false;
    form.process_eeprom_data();
    form.check_form_data();
  }
  ConfigBytes rebuilt() {
    form.process_form_data();
    return state.config_image;
  }

  ConfigState state;
  ConfigForm form{state};
};

TEST_F(ConfigFormTest, FreshWindowBuildsTheFactoryImage) {
  EXPECT_EQ(state.config_image, kFreshImage);
  EXPECT_FALSE(state.config_range_error);
  EXPECT_EQ(state.gear_count, 6);
  EXPECT_EQ(form.split_text(), form_text::kSplitEnabled);
  EXPECT_EQ(form.lap_text(), form_text::kRaceDay);
  EXPECT_EQ(form.accel_text(), form_text::kAccelTest);
}

TEST_F(ConfigFormTest, ShowingAndRebuildingAnImageKeepsEveryByte) {
  show(kFreshImage);
  EXPECT_FALSE(state.config_range_error);
  EXPECT_EQ(rebuilt(), kFreshImage);
  EXPECT_EQ(form.field(IntField::rpm_oil_psi_value).text, "2000");
  EXPECT_EQ(form.field(RatioField::gear_6_value).text, " .8  ");
}

TEST_F(ConfigFormTest, LcdMenuMask) {
  for (Tick box : {Tick::lap_function_enable, Tick::accel_function_enable, Tick::trip_function_enable,
                   Tick::max_function_enable}) {
    form.tick(box, false);
  }
  ConfigBytes image = rebuilt();
  EXPECT_EQ(image[5], 0x07);
  EXPECT_EQ(image[6], 0x00);

  form.tick(Tick::trip_function_enable, true);
  image = rebuilt();
  EXPECT_EQ(image[5], 0x07);
  EXPECT_EQ(image[6], 0x02);

  // Only bits 3, 5, 6 and 9 are looked at when the mask is shown.
  image[5] = 0x10;
  image[6] = 0x00;
  show(image);
  EXPECT_FALSE(form.ticked(Tick::lap_function_enable));
  EXPECT_FALSE(form.ticked(Tick::accel_function_enable));
  EXPECT_FALSE(form.ticked(Tick::max_function_enable));
  EXPECT_FALSE(form.ticked(Tick::trip_function_enable));
  EXPECT_EQ(form.lap_text(), form_text::kLapOff);
}

TEST_F(ConfigFormTest, OutOfRangeSelectionsAreWrittenBackTidied) {
  ConfigBytes image = kFreshImage;
  image[34] = 3;     // shift light mode past "Block "
  image[1] = 5;      // fuel sender other than 1
  image[2] = 0x60;   // vehicle moving and engine running both set
  show(image);
  EXPECT_EQ(form.item(Choice::shift_light_mode), 2);
  EXPECT_EQ(form.item(Choice::fuel_level_sender), 0);
  EXPECT_EQ(form.item(Choice::RadioGroup1), kLoggerVehicleMoving);
  EXPECT_TRUE(form.ticked(Tick::CheckBox3));
  EXPECT_FALSE(form.auto_save_enabled());

  const ConfigBytes back = rebuilt();
  EXPECT_EQ(back[34], 2);
  EXPECT_EQ(back[1], 0);
  EXPECT_EQ(back[2], 0xC0);  // auto save ticked, vehicle moving, engine running cleared
}

TEST_F(ConfigFormTest, LoggerControlTicksAndLocksAutoSave) {
  form.select(Choice::RadioGroup1, kLoggerEngineRunning);
  EXPECT_TRUE(form.ticked(Tick::CheckBox3));
  EXPECT_FALSE(form.auto_save_enabled());
  EXPECT_EQ(rebuilt()[2], 0xA7);
  form.select(Choice::RadioGroup1, kLoggerButton);
  EXPECT_TRUE(form.auto_save_enabled());
}

TEST_F(ConfigFormTest, CarriedWordsAndReservedByte) {
  ConfigBytes image = kFreshImage;
  image[0] = 0x5A;
  for (int offset = 13; offset <= 18; ++offset) image[offset] = static_cast<std::uint8_t>(0xA0 + offset);
  show(image);
  const ConfigBytes back = rebuilt();
  EXPECT_EQ(back[0], 0);
  for (int offset = 13; offset <= 18; ++offset) EXPECT_EQ(back[offset], 0xA0 + offset);
}

TEST_F(ConfigFormTest, ShownImageIsJudgedOnItsOwnValuesNotTheWindowsOldOnes) {
  ConfigBytes image = kFreshImage;
  image[7] = 0xD0;  // splits 2000, 3000, 4000: the first alone would exceed the old second
  image[8] = 0x07;
  image[9] = 0xB8;
  image[10] = 0x0B;
  image[11] = 0xA0;
  image[12] = 0x0F;
  image[50] = 0xC2;  // 4 gears, so gears 5 and 6 may hold anything
  image[38] = image[39] = image[40] = image[41] = 0;
  show(image);
  EXPECT_FALSE(state.config_range_error);
  EXPECT_EQ(form.split_text(), form_text::kSplitEnabled);
  EXPECT_EQ(form.field(RatioField::gear_6_value).colour, FieldColour::active_border);
  EXPECT_EQ(rebuilt(), image);
}

TEST_F(ConfigFormTest, SevenGearsAreFlaggedAndShownAsSix) {
  ConfigBytes image = kFreshImage;
  image[50] = 0x72;
  show(image);
  EXPECT_TRUE(state.config_range_error);
  EXPECT_EQ(form.field(IntField::num_gear_value).text, "6");
  EXPECT_EQ(state.gear_count, 6);
}

TEST_F(ConfigFormTest, NumberOfGearsIsClampedAndGreysUnusedGears) {
  // The count written back is valid and shown as such; the entry's failure
  // still stands until the next full check.
  for (const auto& [typed, shown] : {std::pair{"7", "6"}, std::pair{"1", "2"}, std::pair{"x", "2"}}) {
    state.config_range_error = false;
    form.edit(IntField::num_gear_value, typed);
    EXPECT_EQ(form.field(IntField::num_gear_value).text, shown) << typed;
    EXPECT_EQ(form.field(IntField::num_gear_value).colour, FieldColour::window) << typed;
    EXPECT_TRUE(state.config_range_error) << typed;
  }

  form.edit(IntField::num_gear_value, "4");
  EXPECT_EQ(form.field(RatioField::gear_5_value).colour, FieldColour::active_border);
  EXPECT_EQ(form.field(RatioField::gear_6_value).colour, FieldColour::active_border);
  EXPECT_EQ(form.field(RatioField::gear_4_value).colour, FieldColour::window);
  form.edit(RatioField::gear_5_value, "9.999");
  form.edit(RatioField::gear_6_value, "0.100");
  EXPECT_TRUE(form.full_check());
  const ConfigBytes image = rebuilt();
  EXPECT_EQ(image[40] | image[41] << 8, 9999);  // not in use, still stored
  EXPECT_EQ(image[50], 0xC2);
}

TEST_F(ConfigFormTest, RatioTextAndWord) {
  form.edit(RatioField::gear_1_value, "4.1  ");
  form.edit(RatioField::gear_2_value, "1.050");
  form.edit(RatioField::gear_3_value, "2.0625");  // an exact tie goes to even
  const ConfigBytes image = rebuilt();
  EXPECT_EQ(image[48] | image[49] << 8, 4100);
  EXPECT_EQ(image[46] | image[47] << 8, 1050);
  EXPECT_EQ(image[44] | image[45] << 8, 2062);

  FieldState field;
  word_to_TMaskEdit(field, 800);
  EXPECT_EQ(field.text, " .8  ");
  word_to_TMaskEdit(field, 1050);
  EXPECT_EQ(field.text, "1. 5 ");
  EXPECT_EQ(TMaskEdit_to_word(field), 1050);
}

TEST_F(ConfigFormTest, RatioRange) {
  form.edit(RatioField::gear_1_value, "0.499");
  EXPECT_EQ(form.field(RatioField::gear_1_value).colour, FieldColour::red);
  EXPECT_TRUE(state.config_range_error);
  form.edit(RatioField::gear_1_value, "0.500");
  EXPECT_EQ(form.field(RatioField::gear_1_value).colour, FieldColour::window);
  form.edit(RatioField::gear_1_value, "5.001");
  EXPECT_EQ(form.field(RatioField::gear_1_value).colour, FieldColour::red);
}

TEST_F(ConfigFormTest, RatioWordTooLargeForTheFieldShowsAsItsLargestValueInRed) {
  ConfigBytes image = kFreshImage;
  image[48] = 0x10;  // gear 1 = 10000
  image[49] = 0x27;
  show(image);
  EXPECT_EQ(form.field(RatioField::gear_1_value).text, "9.999");
  EXPECT_EQ(form.field(RatioField::gear_1_value).colour, FieldColour::red);
  EXPECT_TRUE(state.config_range_error);
}

TEST_F(ConfigFormTest, StepAndRangeOfRpmFields) {
  form.edit(IntField::rpm_oil_psi_value, "6550");
  EXPECT_EQ(form.field(IntField::rpm_oil_psi_value).colour, FieldColour::red);
  EXPECT_TRUE(state.config_range_error);
  form.edit(IntField::rpm_oil_psi_value, "6500");
  EXPECT_EQ(form.field(IntField::rpm_oil_psi_value).colour, FieldColour::window);
  form.edit(IntField::rpm_oil_psi_value, "2550");
  EXPECT_EQ(form.field(IntField::rpm_oil_psi_value).colour, FieldColour::red);
  form.edit(IntField::rpm_oil_psi_value, "25500");
  EXPECT_EQ(rebuilt()[28], 255);

  form.edit(IntField::shift_value_peak, "6550");
  EXPECT_EQ(form.field(IntField::shift_value_peak).colour, FieldColour::red);
  form.edit(IntField::shift_value_peak, "6500");
  EXPECT_EQ(form.field(IntField::shift_value_peak).colour, FieldColour::window);
  form.edit(IntField::shift_value_peak, "2000");
  EXPECT_EQ(form.field(IntField::shift_value_peak).colour, FieldColour::red);
  EXPECT_FALSE(form.full_check());

  form.edit(IntField::shift_value_peak, "6500");
  form.edit(IntField::rpm_oil_psi_value, "2050");
  EXPECT_FALSE(form.full_check());
  EXPECT_EQ(rebuilt()[28], 20);  // rounded down
}

TEST_F(ConfigFormTest, ClearedFieldIsRefilledWithZero) {
  form.edit(IntField::speedo_cal_value, "");
  EXPECT_EQ(form.field(IntField::speedo_cal_value).text, "0");
  EXPECT_EQ(form.field(IntField::speedo_cal_value).colour, FieldColour::red);
  EXPECT_TRUE(state.config_range_error);
  EXPECT_FALSE(form.full_check());  // 0 is below 1000 and keeps blocking
  form.edit(IntField::speedo_cal_value, "1000");
  EXPECT_TRUE(form.full_check());

  // Where 0 is in range the refilled field is not left red.
  form.edit(IntField::accel_start_speed, "");
  EXPECT_EQ(form.field(IntField::accel_start_speed).text, "0");
  EXPECT_EQ(form.field(IntField::accel_start_speed).colour, FieldColour::window);
  EXPECT_TRUE(form.full_check());
}

TEST_F(ConfigFormTest, PastedTextThatIsNotANumberIsOutOfRange) {
  form.edit(IntField::veh_weight, "12kg");
  EXPECT_EQ(form.field(IntField::veh_weight).colour, FieldColour::red);
  EXPECT_EQ(form.field(IntField::veh_weight).text, "12kg");
  EXPECT_FALSE(form.full_check());
  const ConfigBytes image = rebuilt();
  EXPECT_EQ(image[3], 0);
  EXPECT_EQ(image[4], 0);

  form.edit(IntField::num_gear_value, "x");
  EXPECT_EQ(form.field(IntField::num_gear_value).text, "6");  // keeps the last accepted count
  form.edit(IntField::split_2_distance, "99999999999999999999999");
  EXPECT_EQ(form.split_text(), form_text::kSplitError);
  form.edit(RatioField::gear_1_value, "a.bcd");
  EXPECT_EQ(form.field(RatioField::gear_1_value).colour, FieldColour::red);
}

TEST_F(ConfigFormTest, SplitDistances) {
  form.edit(IntField::split_2_distance, "500");
  EXPECT_EQ(form.split_text(), form_text::kSplitError);
  EXPECT_EQ(form.field(IntField::split_1_distance).colour, FieldColour::red);
  EXPECT_EQ(form.field(IntField::split_3_distance).colour, FieldColour::red);
  EXPECT_FALSE(form.full_check());

  form.edit(IntField::split_1_distance, "0");
  form.edit(IntField::split_2_distance, "0");
  form.edit(IntField::split_3_distance, "0");
  EXPECT_EQ(form.split_text(), form_text::kSplitDisabled);
  EXPECT_EQ(form.field(IntField::split_2_distance).colour, FieldColour::active_border);
  EXPECT_TRUE(form.full_check());

  form.edit(IntField::split_1_distance, "100");
  form.edit(IntField::split_2_distance, "200");
  form.edit(IntField::split_3_distance, "300");
  EXPECT_EQ(form.split_text(), form_text::kSplitEnabled);
  form.tick(Tick::lap_function_enable, false);
  EXPECT_EQ(form.split_text(), form_text::kSplitOff);
  EXPECT_EQ(form.lap_text(), form_text::kLapOff);
  form.tick(Tick::lap_function_enable, true);
  form.edit(IntField::lap_blank_period, "0");
  EXPECT_EQ(form.lap_text(), form_text::kTrackDay);
}

TEST_F(ConfigFormTest, AccelAndBrakeTests) {
  form.edit(IntField::accel_start_speed, "60");
  EXPECT_EQ(form.accel_text(), form_text::kEqualSpeeds);
  EXPECT_EQ(form.panel2_colour(), FieldColour::red);
  EXPECT_TRUE(form.full_check());  // equal speeds do not block
  form.edit(IntField::accel_start_speed, "100");
  EXPECT_EQ(form.accel_text(), form_text::kBrakeTest);
  EXPECT_EQ(form.panel2_colour(), FieldColour::button_face);
  form.select(Choice::mph_kmh_sel, 0);
  EXPECT_EQ(form.speed_unit_label(), "KMH");
  EXPECT_EQ(rebuilt()[50], 0x62);
}

TEST_F(ConfigFormTest, EveryWholeNumberFieldHasItsRange) {
  struct Case {
    IntField field;
    const char* low_fail;
    const char* high_fail;
  };
  const Case cases[] = {
      {IntField::water_temp_value, nullptr, "141"}, {IntField::fuel_level_value, nullptr, "100"},
      {IntField::display_brightness, nullptr, "8"}, {IntField::gear_cal_value, "499", "10000"},
      {IntField::veh_weight, nullptr, "2501"},       {IntField::pulses_engine_cycle, "0", "9"},
      {IntField::shift_value_delta, "0", "1100"},   {IntField::accel_stop_speed, nullptr, "256"},
      {IntField::odometer_value, nullptr, "65536"},
  };
  for (const Case& c : cases) {
    const std::string initial = spec_of(c.field).initial;
    for (const char* bad : {c.low_fail, c.high_fail}) {
      if (bad == nullptr) continue;
      form.edit(c.field, bad);
      EXPECT_FALSE(form.full_check()) << spec_of(c.field).name << " " << bad;
    }
    form.edit(c.field, initial);
    EXPECT_TRUE(form.full_check()) << spec_of(c.field).name;
  }
}

TEST_F(ConfigFormTest, VersionIsShownWithATwoDigitMinor) {
  form.show_version(3, 5);
  EXPECT_EQ(form.version_major(), "3");
  EXPECT_EQ(form.version_minor(), "05");
  form.clear_version();
  EXPECT_EQ(form.version_minor(), "");
}

TEST(ConfigFieldTest, KeyFilter) {
  EXPECT_EQ(TEdit_int_key_press('7', 4), KeyAction::accept);
  EXPECT_EQ(TEdit_int_key_press(kBackspace, 4), KeyAction::accept);
  EXPECT_EQ(TEdit_int_key_press('a', 4), KeyAction::swallow);
  EXPECT_EQ(TEdit_int_key_press('-', 4), KeyAction::swallow);
  EXPECT_EQ(TEdit_int_key_press('.', 1), KeyAction::swallow);
  EXPECT_EQ(TEdit_int_key_press('5', 1), KeyAction::replace_all);
}

}  // namespace
}  // namespace kv::config
