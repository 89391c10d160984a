#include "chart/colorpick.h"

#include <gtest/gtest.h>

#include <QSignalSpy>
#include <QTest>

namespace kv::chart {
namespace {

constexpr TColor kGreen = 0x008000;
constexpr TColor kFuchsia = 0xFF00FF;
constexpr TColor kOrange = 0x0080FF;
constexpr TColor kMedGray = 0xA4A0A0;

TEST(ColorPick, OffersTheTwentyPaletteColoursInOrderByName) {
  TColorPick pick;
  const char* names[] = {"clBlack", "clMaroon", "clGreen", "clOlive", "clNavy", "clPurple", "clTeal",
                         "clGray", "clSilver", "clRed", "clLime", "clYellow", "clBlue", "clFuchsia",
                         "clAqua", "clWhite", "clMoneyGreen", "clSkyBlue", "clCream", "clMedGray"};
  ASSERT_EQ(pick.count(), 20);
  for (int row = 0; row < 20; ++row) EXPECT_EQ(pick.itemText(row).toStdString(), names[row]) << row;
  EXPECT_EQ(pick.maxVisibleItems(), 16);
  EXPECT_EQ(pick.iconSize().width(), 30);
  EXPECT_EQ(pick.SelColor(), 0x000000u);
}

TEST(ColorPick, WritingAPaletteColourSelectsItsRow) {
  TColorPick pick;
  pick.setSelColor(kFuchsia);
  EXPECT_EQ(pick.currentIndex(), 13);
  EXPECT_EQ(pick.SelColor(), kFuchsia);
  pick.setSelColor(kMedGray);
  EXPECT_EQ(pick.currentIndex(), 19);
  EXPECT_EQ(pick.itemText(13).toStdString(), "clFuchsia");
}

TEST(ColorPick, WritingAnotherColourRecoloursTheSelectedRow) {
  TColorPick pick;
  pick.setSelColor(kGreen);
  pick.setSelColor(kOrange);
  EXPECT_EQ(pick.currentIndex(), 2);
  EXPECT_EQ(pick.SelColor(), kOrange);
  EXPECT_EQ(pick.itemText(2).toStdString(), "$000080FF");
  // The recoloured row is now where that colour is found.
  pick.setSelColor(kFuchsia);
  pick.setSelColor(kOrange);
  EXPECT_EQ(pick.currentIndex(), 2);
}

TEST(ColorPick, SchemeColoursKeepTheirValueAndName) {
  TColorPick pick;
  const TColor info_background = system_color(SystemColor::InfoBk);
  pick.setSelColor(info_background);
  EXPECT_EQ(pick.SelColor(), info_background);
  EXPECT_EQ(pick.currentText().toStdString(), "clInfoBk");
}

TEST(ColorPick, OnlyTheUsersPickFiresOnChange) {
  TColorPick pick;
  QSignalSpy changes(&pick, &TColorPick::OnChange);
  pick.setSelColor(kFuchsia);
  pick.setSelColor(kOrange);
  EXPECT_EQ(changes.count(), 0);

  pick.show();
  pick.setFocus();
  QTest::keyClick(&pick, Qt::Key_Down);
  EXPECT_EQ(changes.count(), 1);
  EXPECT_EQ(pick.currentIndex(), 14);
  EXPECT_EQ(pick.SelColor(), 0xFFFF00u);
}

}  // namespace
}  // namespace kv::chart
