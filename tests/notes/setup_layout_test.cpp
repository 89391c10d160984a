#include "notes/setup_layout.h"

#include <gtest/gtest.h>

#include <map>
#include <set>

#include "logdata/dataset.h"
#include "notes/sheet_text.h"

namespace kv {
namespace {

const FieldPlace* place_of(int slot) {
  for (const auto& p : field_places()) {
    if (p.slot == slot) return &p;
  }
  return nullptr;
}

std::string_view caption_of(const FieldPlace& place) {
  for (const auto& row : sheet_rows()) {
    if (row.block == place.block && row.row == place.row) return row.caption;
  }
  return {};
}

TEST(SheetLayout, EverySlotInUseHasOnePlaceAndACaption) {
  std::set<int> slots;
  std::set<std::tuple<SheetBlock, int, int>> cells;
  for (const auto& p : field_places()) {
    EXPECT_TRUE(slots.insert(p.slot).second) << p.slot;
    EXPECT_TRUE(cells.insert({p.block, p.row, p.column}).second) << p.slot;
    EXPECT_FALSE(caption_of(p).empty()) << p.slot;
  }
  EXPECT_EQ(slots.size(), static_cast<std::size_t>(kSetupSlotsInUse));
  EXPECT_EQ(*slots.begin(), 1);
  EXPECT_EQ(*slots.rbegin(), 65);
}

struct Expected {
  int slot;
  std::string_view caption;
  int column;
  int limit;
};

TEST(SheetLayout, FieldsSitAtTheirCaptionColumnAndLimit) {
  // The swapped pairs, the mirrored right-hand temperatures and every limit.
  const Expected expected[] = {
      {1, "Tyre Temp", 0, 4},         {35, "Tyre Temp", 0, 4},     {37, "Tyre Temp", 2, 4},
      {48, "Tyre Temp", 0, 4},        {13, "Springs (T/M)", 0, 4}, {6, "Springs (T/M)", 1, 4},
      {5, "Tyre Press (C/H)", 1, 4},  {44, "Castor", 0, 5},        {32, "Toe In", 0, 5},
      {63, "Front Wing", 1, 4},       {16, "Total Weight", 0, 5},  {65, "Differential", 0, 6},
  };

  for (const auto& e : expected) {
    const FieldPlace* p = place_of(e.slot);
    ASSERT_NE(p, nullptr) << e.slot;
    EXPECT_EQ(caption_of(*p), e.caption) << e.slot;
    EXPECT_EQ(p->column, e.column) << e.slot;
    EXPECT_EQ(p->limit, e.limit) << e.slot;
  }
}

TEST(SheetLayout, BlocksHaveTheirHeadsAndOnlyTheUpperOnesACastorRow) {
  std::map<SheetBlock, const BlockHeads*> heads;
  for (const auto& h : block_heads()) heads[h.block] = &h;
  ASSERT_EQ(heads.size(), 5u);
  EXPECT_EQ(heads[SheetBlock::kUpperLeft]->title, "Drivers Front Left");
  EXPECT_EQ(heads[SheetBlock::kUpperRight]->title, "Drivers Front Right");
  EXPECT_EQ(heads[SheetBlock::kLowerLeft]->title, "");
  EXPECT_EQ(heads[SheetBlock::kLowerRight]->title, "");
  EXPECT_EQ(heads[SheetBlock::kGeneral]->title, "General");
  using Heads = std::array<std::string_view, 3>;
  EXPECT_EQ(heads[SheetBlock::kLowerLeft]->column_heads, (Heads{"O", "M", "I"}));
  EXPECT_EQ(heads[SheetBlock::kUpperRight]->column_heads, (Heads{"I", "M", "O"}));
  EXPECT_EQ(heads[SheetBlock::kGeneral]->column_heads, (Heads{"Angle", "Height", ""}));

  EXPECT_EQ(block_row_count(SheetBlock::kUpperLeft), 8);
  EXPECT_EQ(block_row_count(SheetBlock::kLowerRight), 7);
  EXPECT_EQ(block_row_count(SheetBlock::kGeneral), 13);
  for (const auto& row : sheet_rows()) {
    if (row.caption == "Castor") {
      EXPECT_TRUE(row.block == SheetBlock::kUpperLeft || row.block == SheetBlock::kUpperRight);
    }
  }
}

TEST(SheetText, MemoTextAndNotesLinesConvertBothWays) {
  EXPECT_EQ(notes_to_memo_text({"a", "", "b"}), u"a\n\nb");
  EXPECT_EQ(notes_to_memo_text({}), u"");
  EXPECT_EQ(notes_to_memo_text({"20\xB0", "\x80"}), u"20\u00B0\n\u20AC");
  EXPECT_TRUE(notes_after_edit({}, {}).empty());
  EXPECT_EQ(notes_after_edit({}, {u"a", u"", u"\u00E9\u20AC"}), (std::vector<std::string>{"a", "", "\xE9\x80"}));
}

TEST(SheetText, AnEditKeepsTheBytesOfEveryLineItLeftAlone) {
  // A non-breaking space, two unassigned bytes and a lone carriage return,
  // which the memo shows as a line break.
  const std::vector<std::string> stored = {"x\xA0y", "edit me", "\x81\x8D", "tail\rpart", "end"};
  const std::vector<std::u16string> shown = {u"x\u00A0y", u"edit me", u"\u0081\u008D", u"tail", u"part", u"end"};
  EXPECT_EQ(notes_after_edit(stored, shown), stored);

  auto edited = shown;
  edited[1] = u"edit me \u00B0";
  EXPECT_EQ(notes_after_edit(stored, edited),
            (std::vector<std::string>{"x\xA0y", "edit me \xB0", "\x81\x8D", "tail\rpart", "end"}));

  edited = shown;
  edited[4] = u"parts";  // inside the line that held the carriage return
  EXPECT_EQ(notes_after_edit(stored, edited),
            (std::vector<std::string>{"x\xA0y", "edit me", "\x81\x8D", "tail", "parts", "end"}));

  edited = shown;
  edited.insert(edited.begin() + 2, u"new");
  edited.erase(edited.begin());
  EXPECT_EQ(notes_after_edit(stored, edited),
            (std::vector<std::string>{"edit me", "new", "\x81\x8D", "tail\rpart", "end"}));
}

TEST(SheetText, ClearEmptiesTheUnseenSlotsToo) {
  SetupSheet sheet;
  sheet.notes_text = {"x"};
  sheet.set_field(1, "a");
  sheet.set_field(80, "z");
  clear_sheet(sheet);
  EXPECT_EQ(sheet, SetupSheet{});
}

}  // namespace
}  // namespace kv
