#include "logdata/windows1252.h"

#include <gtest/gtest.h>

namespace kv {
namespace {

TEST(Windows1252, EveryByteComesBackAndForeignCharactersAreRefused) {
  std::string all;
  for (int byte = 0; byte < 256; ++byte) all.push_back(static_cast<char>(byte));
  EXPECT_EQ(windows1252_encode(windows1252_decode(all)), all);

  EXPECT_EQ(windows1252_decode("20\xB0" "C \x80" "5 \x93" "x\x94 \x9F"), u"20\u00B0C \u20AC5 \u201Cx\u201D \u0178");
  EXPECT_EQ(windows1252_encode(u"\u00E9t\u00E9 \u2013 \u20AC"), "\xE9t\xE9 \x96 \x80");
  EXPECT_EQ(windows1252_char(0x81), u'\u0081') << "unassigned bytes keep their number";
  EXPECT_EQ(windows1252_char(0xFF), u'\u00FF');

  for (const char16_t foreign : {u'\u03A9', u'\u0100', u'\u2028', u'\uFFFD', u'\xD83D'}) {
    EXPECT_FALSE(windows1252_holds(foreign)) << static_cast<int>(foreign);
  }
  EXPECT_TRUE(windows1252_holds(u'\u20AC'));
  EXPECT_FALSE(windows1252_holds(u'\u0080')) << "0x80 is the euro sign, not U+0080";
  EXPECT_EQ(windows1252_encode(u"a\u03A9b"), "a?b");
}

}  // namespace
}  // namespace kv
