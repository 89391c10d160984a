#include <gtest/gtest.h>

#include <optional>
#include <vector>

#include "chart/caption_place.h"

namespace kv::chart {
namespace {

constexpr PixelRect kControl{0, 0, 199, 99};

constexpr int kLine = 13;

std::optional<PixelRect> place(const PixelRect& wanted, const std::vector<PixelRect>& taken, int gap = 4) {
  return free_caption_box(wanted, {kControl, taken, gap, kLine});
}

void expect_rect(const std::optional<PixelRect>& got, const PixelRect& want) {
  ASSERT_TRUE(got.has_value());
  EXPECT_EQ(got->left, want.left);
  EXPECT_EQ(got->top, want.top);
  EXPECT_EQ(got->right, want.right);
  EXPECT_EQ(got->bottom, want.bottom);
}

TEST(CaptionPlace, AFreeCaptionStaysWhereItWasAskedFor) {
  expect_rect(place({50, 40, 89, 52}, {{0, 40, 40, 52}, {100, 40, 120, 52}}), {50, 40, 89, 52});
}

TEST(CaptionPlace, SlidesToTheNearerSideOfALabelKeepingTheGap) {
  const std::vector<PixelRect> row{{95, 40, 110, 52}, {20, 40, 30, 52}, {170, 40, 185, 52}, {0, 0, 199, 39},
                                   {0, 53, 199, 99}};
  expect_rect(place({90, 40, 129, 52}, row), {115, 40, 154, 52});  // 25 on, 4 past the label, not 39 back
  expect_rect(place({70, 40, 109, 52}, row), {51, 40, 90, 52});
}

TEST(CaptionPlace, MovesAcrossTheRulerWhenThatIsNearer) {
  // A row of labels 13 high with room below: one row down beats a long slide.
  const std::vector<PixelRect> row{{40, 40, 60, 52}, {90, 40, 110, 52}, {140, 40, 160, 52}, {0, 0, 199, 39}};
  expect_rect(place({70, 40, 129, 52}, row), {70, 53, 129, 65});
}

TEST(CaptionPlace, NothingWhenNoFreeBoxIsWithinReach) {
  // Labels too close together, the rows above and below taken, the control's
  // ends too near: a crowded caption is the caller's to settle.
  const std::vector<PixelRect> crowded{{0, 20, 199, 39}, {0, 53, 199, 70}, {10, 40, 30, 52},
                                       {60, 40, 80, 52},  {110, 40, 130, 52}, {160, 40, 185, 52}};
  EXPECT_FALSE(place({70, 40, 129, 52}, crowded).has_value());  // free rows lie further away
  EXPECT_TRUE(place({70, 40, 89, 52}, crowded, 0).has_value());  // a short one fits between
}

TEST(CaptionPlace, WidestFreeStretchOfARow) {
  const PixelRect row{70, 40, 129, 52};
  const std::vector<PixelRect> labels{{10, 40, 30, 52}, {60, 40, 80, 52}, {110, 45, 150, 60}, {0, 0, 199, 39}};
  // Between 30 + 4 and 60 - 4 is narrower than 80 + 4 ... 110 - 4 and 150 + 4 ... 199.
  expect_rect(widest_free_stretch(row, {kControl, labels, 4, kLine}), {155, 40, 199, 52});
  const std::vector<PixelRect> full{{0, 30, 199, 60}};
  EXPECT_FALSE(widest_free_stretch(row, {kControl, full, 4, kLine}).has_value());
}

}  // namespace
}  // namespace kv::chart
