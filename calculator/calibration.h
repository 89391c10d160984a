#pragma once
// The speedo and gear calibration factors of the instrument, worked out from
// the drive layout, the speed sensor position, the tyre sizes and the
// differential ratio. Free of any window so it can be checked on its own.
#include <optional>
#include <string>

namespace kv::calc {

// Item indexes of the drive and sensor choice.
enum class DriveSensor {
  FrontDriveFrontSensor = 0,
  FrontDriveRearSensor = 1,
  RearDriveFrontSensor = 2,
  RearDrivePropshaftSensor = 3,
  RearDriveRearSensor = 4,
};
inline constexpr int kDriveSensorCount = 5;

// Item indexes of the tyre type choice.
enum class TyreType { Road = 0, Slick = 1, Unknown = 2 };
inline constexpr int kTyreTypeCount = 3;

// The sizes entered for the tyres of one axle. The road tyre sizes come from
// editable lists, so they arrive as typed.
struct AxleSizes {
  std::string tyre_width;      // mm
  std::string tyre_profile;    // % of the width
  std::string wheel_diameter;  // inches
  long long slick_diameter = 0;  // mm
  long long circumference = 0;   // mm
};

struct CalculatorInput {
  DriveSensor drive_sensor = DriveSensor::RearDrivePropshaftSensor;
  TyreType tyre_type = TyreType::Road;
  AxleSizes front;
  AxleSizes rear;
  std::string diff_ratio;  // as typed, "3.54"
};

// A number, or the message that says why it could not be worked out.
struct Outcome {
  std::optional<double> value;
  std::string problem;
};

struct Calibration {
  Outcome front_circumference;  // metres
  Outcome rear_circumference;   // metres
  Outcome speedo;               // rounded to a whole number, ties to even
  Outcome gear;
};

// Both circumferences are worked out whatever the layout; a factor reports a
// problem only for the entries that it actually uses.
Calibration calculate_calibration(const CalculatorInput& input);

// Rolling circumference in metres of a road tyre (width mm, profile %, wheel
// inches), of a slick (diameter mm) and of a measured tyre (mm).
double road_circumference(double width, double profile, double wheel);
double slick_circumference(double diameter);
double measured_circumference(double circumference);

// What a result box shows after a calculation.
struct ResultDisplay {
  std::string text;     // the factor, or "Error"
  bool error = false;   // shown in red
  std::string message;  // the error box to show, empty when none
};
ResultDisplay present_speedo_cal(const Outcome& speedo);
ResultDisplay present_gear_cal(const Outcome& gear);

// The differential ratio field looks right: four characters, no blank, a
// number from 0 to 9.99.
bool diff_ratio_looks_valid(const std::string& text);

}  // namespace kv::calc
