#pragma once
// Colours as the program stores them: 0x00BBGGRR for a plain RGB colour,
// 0x80000000 + index for a colour of the desktop scheme (button face, tooltip
// background ...). Plot configuration files keep these values, so they must
// round-trip unchanged.
#include <span>
#include <string>

#include "chart/chart_types.h"

namespace kv::chart {

struct NamedColor {
  TColor color;
  const char* name;
};

// The 47 named colours: the twenty plain ones a selector offers (clBlack,
// clMaroon ... clMedGray), then the scheme colours and two special values.
std::span<const NamedColor> color_palette();

// How many palette rows a selector offers.
inline constexpr int kNumColors = 20;

// The standard name ("clGreen"), or "$00BBGGRR" for a colour without one.
std::string color_name(TColor color);

}  // namespace kv::chart
