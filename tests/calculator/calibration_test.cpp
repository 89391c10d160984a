#include "calculator/calibration.h"

#include <gtest/gtest.h>

namespace kv::calc {
namespace {

// The window's starting values: 185/60 R13 front, 205/60 R13 rear, 450 and
// 550 mm slicks, 1500 and 1700 mm circumferences, ratio 3.54, propshaft.
CalculatorInput defaults() {
  CalculatorInput input;
  input.front = {"185", "60", "13", 450, 1500};
  input.rear = {"205", "60", "13", 550, 1700};
  input.diff_ratio = "3.54";
  return input;
}

CalculatorInput with(DriveSensor layout, TyreType type = TyreType::Road) {
  CalculatorInput input = defaults();
  input.drive_sensor = layout;
  input.tyre_type = type;
  return input;
}

std::pair<std::string, std::string> shown(const CalculatorInput& input) {
  const Calibration result = calculate_calibration(input);
  return {present_speedo_cal(result.speedo).text, present_gear_cal(result.gear).text};
}

using Shown = std::pair<std::string, std::string>;

TEST(Calibration, RoadTyresByLayout) {
  EXPECT_EQ(shown(defaults()), Shown("6293", "1000"));
  EXPECT_EQ(shown(with(DriveSensor::FrontDriveFrontSensor)), Shown("1855", "3540"));
  EXPECT_EQ(shown(with(DriveSensor::RearDriveRearSensor)), Shown("1778", "3540"));
  // The mixed layouts scale the gear factor by the ratio of the two tyres.
  EXPECT_EQ(shown(with(DriveSensor::FrontDriveRearSensor)), Shown("1855", "3393"));
  EXPECT_EQ(shown(with(DriveSensor::RearDriveFrontSensor)), Shown("1778", "3694"));
}

TEST(Calibration, SlickAndMeasuredTyres) {
  EXPECT_EQ(shown(with(DriveSensor::RearDrivePropshaftSensor, TyreType::Slick)), Shown("6593", "1000"));
  EXPECT_EQ(shown(with(DriveSensor::RearDriveRearSensor, TyreType::Unknown)), Shown("1893", "3540"));
}

TEST(Calibration, FactorsRoundToTheNearestWholeNumber) {
  CalculatorInput input = with(DriveSensor::FrontDriveFrontSensor, TyreType::Unknown);
  input.front.circumference = 1287;  // 2500.39
  EXPECT_EQ(*calculate_calibration(input).speedo.value, 2500);
  input.front.circumference = 1285;  // 2504.28
  EXPECT_EQ(*calculate_calibration(input).speedo.value, 2504);
  input.front.circumference = 1609;  // 2000.00
  EXPECT_EQ(*calculate_calibration(input).speedo.value, 2000);
  input.front.circumference = 1611;  // 1997.52
  EXPECT_EQ(*calculate_calibration(input).speedo.value, 1998);
}

TEST(Calibration, OutOfRangeFactorsShowError) {
  CalculatorInput input = with(DriveSensor::FrontDriveFrontSensor);
  input.diff_ratio = "0.00";
  const Calibration result = calculate_calibration(input);
  const ResultDisplay speedo = present_speedo_cal(result.speedo);
  const ResultDisplay gear = present_gear_cal(result.gear);
  EXPECT_EQ(speedo.text, "1855");
  EXPECT_FALSE(speedo.error);
  EXPECT_EQ(speedo.message, "");
  EXPECT_EQ(gear.text, "Error");
  EXPECT_TRUE(gear.error);
  EXPECT_EQ(gear.message, "Illegal Gear Cal, Check Parameters");

  // Huge slicks give a speedo factor below 1000; negative list entries a
  // negative one.
  input = with(DriveSensor::FrontDriveFrontSensor, TyreType::Unknown);
  input.front.circumference = 9999;
  EXPECT_EQ(present_speedo_cal(calculate_calibration(input).speedo).message,
            "Illegal Speed Cal, Check Parameters");
  input = with(DriveSensor::FrontDriveFrontSensor);
  input.front.tyre_width = "-900";
  EXPECT_EQ(present_speedo_cal(calculate_calibration(input).speedo).message,
            "Illegal Speed Cal, Check Parameters");
}

TEST(Calibration, RangeLimitsAreInclusive) {
  EXPECT_EQ(present_speedo_cal({1000.0, {}}).text, "1000");
  EXPECT_EQ(present_speedo_cal({9999.0, {}}).text, "9999");
  EXPECT_EQ(present_speedo_cal({999.0, {}}).text, "Error");
  EXPECT_EQ(present_gear_cal({500.0, {}}).text, "500");
  EXPECT_EQ(present_gear_cal({499.0, {}}).text, "Error");
  EXPECT_EQ(present_gear_cal({10000.0, {}}).text, "Error");
}

TEST(Calibration, ZeroCircumferenceIsReportedNotDividedBy) {
  CalculatorInput input = with(DriveSensor::FrontDriveFrontSensor);
  input.front.tyre_width = "0";
  input.front.wheel_diameter = "0";
  const Calibration result = calculate_calibration(input);
  const ResultDisplay speedo = present_speedo_cal(result.speedo);
  EXPECT_EQ(speedo.text, "Error");
  EXPECT_EQ(speedo.message, "Front Tyre Size gives a Zero Circumference, Check Parameters");
  EXPECT_EQ(present_gear_cal(result.gear).text, "3540");

  input = with(DriveSensor::RearDrivePropshaftSensor, TyreType::Slick);
  input.rear.slick_diameter = 0;
  EXPECT_EQ(present_speedo_cal(calculate_calibration(input).speedo).message,
            "Rear Tyre Size gives a Zero Circumference, Check Parameters");
  // A zero on the side that the layout does not use does no harm.
  input.drive_sensor = DriveSensor::FrontDriveFrontSensor;
  EXPECT_EQ(present_speedo_cal(calculate_calibration(input).speedo).text, "2276");
}

TEST(Calibration, TextThatIsNotANumberIsNamed) {
  CalculatorInput input = with(DriveSensor::RearDriveFrontSensor);
  input.rear.tyre_profile = "6O";
  const Calibration result = calculate_calibration(input);
  EXPECT_EQ(present_speedo_cal(result.speedo).message, "Rear Tyre Profile is not a Number, Check Parameters");
  EXPECT_EQ(present_gear_cal(result.gear).message, "Rear Tyre Profile is not a Number, Check Parameters");

  input = with(DriveSensor::RearDriveRearSensor);
  input.front.tyre_width = "";  // not used by this layout
  input.diff_ratio = "3. 4";    // a digit not typed
  const ResultDisplay speedo = present_speedo_cal(calculate_calibration(input).speedo);
  const ResultDisplay gear = present_gear_cal(calculate_calibration(input).gear);
  EXPECT_EQ(speedo.text, "1778");
  EXPECT_EQ(gear.text, "Error");
  EXPECT_EQ(gear.message, "Differential Ratio is not a Number, Check Parameters");

  input.rear.wheel_diameter = "13 inch";
  EXPECT_EQ(present_speedo_cal(calculate_calibration(input).speedo).message,
            "Rear Wheel Diameter is not a Number, Check Parameters");
  input.rear.wheel_diameter = " 13 ";  // blanks around a number are fine
  EXPECT_EQ(present_speedo_cal(calculate_calibration(input).speedo).text, "1778");
}

TEST(Calibration, DiffRatioLooksValid) {
  EXPECT_TRUE(diff_ratio_looks_valid("3.54"));
  EXPECT_TRUE(diff_ratio_looks_valid("0.00"));
  EXPECT_TRUE(diff_ratio_looks_valid("9.99"));
  for (const char* bad : {"", "3.5", "3. 4", " .54", "3.540", "-.54", "a.bc"}) {
    EXPECT_FALSE(diff_ratio_looks_valid(bad)) << bad;
  }
}

}  // namespace
}  // namespace kv::calc
