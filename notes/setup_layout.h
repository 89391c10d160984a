#pragma once
// Where each of the 65 set-up fields sits on the sheet: its block, row,
// column and typing limit. Field n of the window is slot n of the sheet.
#include <array>
#include <span>
#include <string_view>

namespace kv {

enum class SheetBlock { kUpperLeft, kUpperRight, kLowerLeft, kLowerRight, kGeneral };

inline constexpr int kSheetBlocks = 5;
inline constexpr int kSheetFields = 65;
inline constexpr int kWheelColumns = 3;  // the tyre temperature triple
inline constexpr int kGeneralColumns = 2;

struct FieldPlace {
  int slot;        // 1 … 65
  SheetBlock block;
  int row;         // 0-based row within the block, below its column heads
  int column;      // 0-based box column
  int limit;       // characters the user may type
};

struct SheetRow {
  SheetBlock block;
  int row;
  std::string_view caption;
};

struct BlockHeads {
  SheetBlock block;
  std::string_view title;  // empty for a block without heading
  std::array<std::string_view, kWheelColumns> column_heads;  // empty strings for unused columns
  int head_row;  // the row the column heads stand above
};

// Every field once, in no particular order.
std::span<const FieldPlace> field_places();
// The caption of every row of every block.
std::span<const SheetRow> sheet_rows();
// The title and column heads of every block.
std::span<const BlockHeads> block_heads();

// Rows of a block, for sizing its grid.
int block_row_count(SheetBlock block);

// Where a block stands on the sheet: left wheels, the general block in the
// middle over both rows, right wheels.
struct SheetCell {
  int row;
  int column;
  int row_span;
};
constexpr SheetCell sheet_cell(SheetBlock block) {
  switch (block) {
    case SheetBlock::kUpperLeft: return {0, 0, 1};
    case SheetBlock::kLowerLeft: return {1, 0, 1};
    case SheetBlock::kGeneral: return {0, 1, 2};
    case SheetBlock::kUpperRight: return {0, 2, 1};
    case SheetBlock::kLowerRight: return {1, 2, 1};
  }
  return {0, 0, 1};
}

}  // namespace kv
