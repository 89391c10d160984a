#include "chart/numedit_format.h"

#include <gtest/gtest.h>

namespace kv::chart {
namespace {

NumberFormat format_of(InputFormat input, DecPlaceSep separator = DecPlaceSep::dsDot) {
  NumberFormat format;
  format.input = input;
  format.separator = separator;
  return format;
}

TEST(NumberGrammar, WholeNumbersTakeOnlySignAndDigits) {
  const NumberFormat whole = format_of(InputFormat::itInt);
  EXPECT_EQ(parse_number("450", whole), 450.0);
  EXPECT_EQ(parse_number("-12", whole), -12.0);
  EXPECT_EQ(parse_number("+7", whole), 7.0);
  EXPECT_EQ(parse_number("   85", whole), 85.0);
  EXPECT_EQ(parse_number("", whole), 0.0);
  EXPECT_EQ(parse_number("  ", whole), 0.0);
  for (const char* bad : {"12.5", "1e3", "-", "+", "1 2", "12 ", "$1F", "12a", "0x10"}) {
    EXPECT_FALSE(parse_number(bad, whole)) << bad;
  }
}

TEST(NumberGrammar, DynamicTakesDecimalsExponentsAndBasePrefixes) {
  const NumberFormat dynamic = format_of(InputFormat::itDynamic);
  EXPECT_EQ(parse_number("-12.3", dynamic), -12.3);
  EXPECT_EQ(parse_number(".5", dynamic), 0.5);
  EXPECT_EQ(parse_number("5.", dynamic), 5.0);
  EXPECT_EQ(parse_number("1.5e3", dynamic), 1500.0);
  EXPECT_EQ(parse_number("2E-2", dynamic), 0.02);
  EXPECT_EQ(parse_number("$1F", dynamic), 31.0);
  EXPECT_EQ(parse_number("$ff", dynamic), 255.0);
  EXPECT_EQ(parse_number("&17", dynamic), 15.0);
  EXPECT_EQ(parse_number("%101", dynamic), 5.0);
  for (const char* bad : {"1e", "1e+", ".", "-.", "$", "&8", "%2", "$G", "1,5", "inf", "nan", "1e400",
                          "1.5 e3"}) {
    EXPECT_FALSE(parse_number(bad, dynamic)) << bad;
  }
}

TEST(NumberGrammar, DecimalSeparatorFollowsTheSetting) {
  EXPECT_EQ(parse_number("1,5", format_of(InputFormat::itFloat, DecPlaceSep::dsComma)), 1.5);
  EXPECT_FALSE(parse_number("1.5", format_of(InputFormat::itFloat, DecPlaceSep::dsComma)));
  EXPECT_EQ(parse_number("1,5", format_of(InputFormat::itFloat, DecPlaceSep::dsBoth)), 1.5);
  EXPECT_EQ(parse_number("1.5", format_of(InputFormat::itFloat, DecPlaceSep::dsBoth)), 1.5);
  NumberFormat system = format_of(InputFormat::itFloat, DecPlaceSep::dsSystem);
  system.system_separator = ',';
  EXPECT_EQ(parse_number("2,25", system), 2.25);
  EXPECT_FALSE(parse_number("2.25", system));
}

TEST(NumberGrammar, OtherFormats) {
  EXPECT_FALSE(parse_number("1e3", format_of(InputFormat::itFloat)));
  EXPECT_EQ(parse_number("1e3", format_of(InputFormat::itExp)), 1000.0);
  NumberFormat fixed = format_of(InputFormat::itFixPoint);
  fixed.fix_point_places = 2;
  EXPECT_EQ(parse_number("3.54", fixed), 3.54);
  EXPECT_FALSE(parse_number("3.541", fixed));
  EXPECT_EQ(parse_number("ff", format_of(InputFormat::itHex)), 255.0);
  EXPECT_EQ(parse_number("777", format_of(InputFormat::itOct)), 511.0);
  EXPECT_FALSE(parse_number("8", format_of(InputFormat::itOct)));
  EXPECT_EQ(parse_number("1101", format_of(InputFormat::itBin)), 13.0);
  EXPECT_FALSE(parse_number("-1", format_of(InputFormat::itBin)));
}

TEST(NumberGrammar, RangeBoundsAreInclusive) {
  const NumberFormat whole = format_of(InputFormat::itInt);
  EXPECT_TRUE(number_accepted("999", whole, 0, 999));
  EXPECT_TRUE(number_accepted("0", whole, 0, 999));
  EXPECT_FALSE(number_accepted("1000", whole, 0, 999));
  EXPECT_FALSE(number_accepted("-1", whole, 0, 999));
  EXPECT_FALSE(number_accepted("12.5", whole, 0, 999));
  // A very long string of digits neither overflows nor passes a bound.
  EXPECT_FALSE(number_accepted(std::string(400, '9'), whole, -1.7e308, 1.7e308));
  EXPECT_TRUE(number_accepted("-1.7e308", format_of(InputFormat::itDynamic), -1.7e308, 1.7e308));
}

}  // namespace
}  // namespace kv::chart
