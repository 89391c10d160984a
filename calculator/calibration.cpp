#include "calculator/calibration.h"

#include <cmath>
#include <cstdio>
#include <numbers>

#include "chart/numedit_format.h"
#include "common/text_lines.h"

namespace kv::calc {
namespace {

// Two miles in whole metres: the distance the instrument's speed factor is
// based on.
constexpr long double kSpeedoDistance = 3218;
constexpr long double kGearScale = 1000;
constexpr long double kMetresPerInch = 0.0254L;
constexpr long double kPercent = 100;
constexpr long double kMillimetresPerMetre = 1000;

constexpr double kSpeedoLow = 1000, kSpeedoHigh = 9999;
constexpr double kGearLow = 500, kGearHigh = 9999;

constexpr const char* kIllegalSpeedCal = "Illegal Speed Cal, Check Parameters";
constexpr const char* kIllegalGearCal = "Illegal Gear Cal, Check Parameters";
constexpr const char* kErrorText = "Error";

Outcome failed(std::string problem) { return {std::nullopt, std::move(problem)}; }

std::string not_a_number(const std::string& side, const char* field) {
  return side + " " + field + " is not a Number, Check Parameters";
}

Outcome read_whole(const std::string& text, const std::string& side, const char* field) {
  if (const std::optional<long long> value = parse_decimal(text)) return {static_cast<double>(*value), {}};
  return failed(not_a_number(side, field));
}

// The ratio field holds a blank for every digit not yet typed; such a ratio
// is not a number, whatever a lenient reader would make of it.
Outcome read_ratio(const std::string& text) {
  const bool has_blank = text.find_first_of(" \t") != std::string::npos;
  chart::NumberFormat decimal;
  decimal.input = chart::InputFormat::itFloat;
  decimal.separator = chart::DecPlaceSep::dsDot;
  if (!text.empty() && !has_blank) {
    if (const std::optional<double> value = chart::parse_number(text, decimal)) return {*value, {}};
  }
  return failed("Differential Ratio is not a Number, Check Parameters");
}

Outcome axle_circumference(TyreType type, const AxleSizes& sizes, const std::string& side) {
  switch (type) {
    case TyreType::Road: {
      const Outcome width = read_whole(sizes.tyre_width, side, "Tyre Width");
      const Outcome profile = read_whole(sizes.tyre_profile, side, "Tyre Profile");
      const Outcome wheel = read_whole(sizes.wheel_diameter, side, "Wheel Diameter");
      for (const Outcome* part : {&width, &profile, &wheel}) {
        if (!part->value) return *part;
      }
      return {road_circumference(*width.value, *profile.value, *wheel.value), {}};
    }
    case TyreType::Slick: return {slick_circumference(static_cast<double>(sizes.slick_diameter)), {}};
    case TyreType::Unknown: return {measured_circumference(static_cast<double>(sizes.circumference)), {}};
  }
  return failed("Unknown Tyre Type, Check Parameters");
}

// A circumference that the factor is divided by must not be zero.
Outcome divisor(const Outcome& circumference, const std::string& side) {
  if (circumference.value && *circumference.value == 0.0) {
    return failed(side + " Tyre Size gives a Zero Circumference, Check Parameters");
  }
  return circumference;
}

struct Terms {
  Outcome ratio;
  Outcome front;  // divisor-checked circumferences
  Outcome rear;
};

// numerator x every factor / denominator, rounded half to even; the first
// term that could not be read decides the problem.
Outcome combine(long double numerator, std::initializer_list<const Outcome*> factors,
                const Outcome* denominator) {
  long double value = numerator;
  for (const Outcome* factor : factors) {
    if (!factor->value) return *factor;
    value *= *factor->value;
  }
  if (denominator != nullptr) {
    if (!denominator->value) return *denominator;
    value /= *denominator->value;
  }
  return {static_cast<double>(std::nearbyint(value)), {}};
}

Outcome speedo_factor(DriveSensor layout, const Terms& t) {
  switch (layout) {
    case DriveSensor::FrontDriveFrontSensor:
    case DriveSensor::FrontDriveRearSensor: return combine(kSpeedoDistance, {}, &t.front);
    case DriveSensor::RearDriveFrontSensor:
    case DriveSensor::RearDriveRearSensor: return combine(kSpeedoDistance, {}, &t.rear);
    case DriveSensor::RearDrivePropshaftSensor: return combine(kSpeedoDistance, {&t.ratio}, &t.rear);
  }
  return failed("Unknown Drive and Sensor Position, Check Parameters");
}

Outcome gear_factor(DriveSensor layout, const Terms& t) {
  switch (layout) {
    case DriveSensor::FrontDriveFrontSensor:
    case DriveSensor::RearDriveRearSensor: return combine(kGearScale, {&t.ratio}, nullptr);
    case DriveSensor::FrontDriveRearSensor: return combine(kGearScale, {&t.ratio, &t.front}, &t.rear);
    case DriveSensor::RearDriveFrontSensor: return combine(kGearScale, {&t.ratio, &t.rear}, &t.front);
    case DriveSensor::RearDrivePropshaftSensor: return combine(kGearScale, {}, nullptr);
  }
  return failed("Unknown Drive and Sensor Position, Check Parameters");
}

ResultDisplay present(const Outcome& factor, double low, double high, const char* illegal) {
  if (!factor.value) return {kErrorText, true, factor.problem};
  if (*factor.value < low || *factor.value > high) return {kErrorText, true, illegal};
  char text[16];
  std::snprintf(text, sizeof text, "%d", static_cast<int>(*factor.value));
  return {text, false, {}};
}

}  // namespace

double road_circumference(double width, double profile, double wheel) {
  const long double sidewall = profile / kPercent * (width / kMillimetresPerMetre) * 2;
  return static_cast<double>((sidewall + wheel * kMetresPerInch) * std::numbers::pi_v<long double>);
}

double slick_circumference(double diameter) {
  return static_cast<double>(diameter * std::numbers::pi_v<long double> / kMillimetresPerMetre);
}

double measured_circumference(double circumference) {
  return static_cast<double>(circumference / kMillimetresPerMetre);
}

Calibration calculate_calibration(const CalculatorInput& input) {
  Calibration result;
  result.front_circumference = axle_circumference(input.tyre_type, input.front, "Front");
  result.rear_circumference = axle_circumference(input.tyre_type, input.rear, "Rear");
  const Terms terms{read_ratio(input.diff_ratio), divisor(result.front_circumference, "Front"),
                    divisor(result.rear_circumference, "Rear")};
  result.speedo = speedo_factor(input.drive_sensor, terms);
  result.gear = gear_factor(input.drive_sensor, terms);
  return result;
}

ResultDisplay present_speedo_cal(const Outcome& speedo) {
  return present(speedo, kSpeedoLow, kSpeedoHigh, kIllegalSpeedCal);
}

ResultDisplay present_gear_cal(const Outcome& gear) {
  return present(gear, kGearLow, kGearHigh, kIllegalGearCal);
}

bool diff_ratio_looks_valid(const std::string& text) {
  constexpr std::size_t kRatioLength = 4;
  constexpr double kHighestRatio = 9.99;
  const Outcome ratio = read_ratio(text);
  return text.size() == kRatioLength && ratio.value && *ratio.value >= 0 && *ratio.value <= kHighestRatio;
}

}  // namespace kv::calc
