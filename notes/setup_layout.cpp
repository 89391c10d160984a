#include "notes/setup_layout.h"

#include <algorithm>

namespace kv {
namespace {

using B = SheetBlock;

constexpr int kTemp = 4;    // tyre temperatures, pressures, springs, dampers
constexpr int kAngle = 5;   // camber, castor, toe, corner weight
constexpr int kDiff = 6;

// One wheel's slots, in the order its rows show them.
struct WheelSlots {
  B block;
  int temp_outer, temp_middle, temp_inner;
  int press_cold, press_hot;
  int spring_t, spring_m;
  int damper_b, damper_r;
  int camber, castor, toe, weight;  // castor 0: the row is not there
};

// The outer reading always sits on the car's outside, so the right-hand
// blocks run inner to outer.
constexpr WheelSlots kWheels[] = {
    {B::kUpperLeft, 1, 2, 3, 4, 5, 13, 6, 7, 8, 9, 10, 11, 12},
    {B::kUpperRight, 37, 36, 35, 38, 39, 47, 40, 41, 42, 43, 44, 45, 46},
    {B::kLowerLeft, 22, 23, 24, 25, 26, 34, 27, 28, 29, 30, 0, 32, 33},
    {B::kLowerRight, 50, 49, 48, 51, 52, 60, 53, 54, 55, 56, 0, 58, 59},
};

constexpr bool is_right(B block) { return block == B::kUpperRight || block == B::kLowerRight; }

constexpr std::array<FieldPlace, 65> build_places() {
  std::array<FieldPlace, 65> places{};
  std::size_t n = 0;
  auto add = [&](int slot, B block, int row, int column, int limit) {
    places[n++] = FieldPlace{slot, block, row, column, limit};
  };
  for (const auto& w : kWheels) {
    const bool right = is_right(w.block);
    // Column 0 is the car's outside on the left blocks and its inside on the right.
    add(right ? w.temp_inner : w.temp_outer, w.block, 0, 0, kTemp);
    add(w.temp_middle, w.block, 0, 1, kTemp);
    add(right ? w.temp_outer : w.temp_inner, w.block, 0, 2, kTemp);
    add(w.press_cold, w.block, 1, 0, kTemp);
    add(w.press_hot, w.block, 1, 1, kTemp);
    add(w.spring_t, w.block, 2, 0, kTemp);
    add(w.spring_m, w.block, 2, 1, kTemp);
    add(w.damper_b, w.block, 3, 0, kTemp);
    add(w.damper_r, w.block, 3, 1, kTemp);
    int row = 4;
    add(w.camber, w.block, row++, 0, kAngle);
    if (w.castor != 0) add(w.castor, w.block, row++, 0, kAngle);
    add(w.toe, w.block, row++, 0, kAngle);
    add(w.weight, w.block, row, 0, kAngle);
  }
  add(31, B::kGeneral, 0, 0, kTemp);
  add(57, B::kGeneral, 1, 0, kTemp);
  add(14, B::kGeneral, 2, 0, kTemp);
  add(63, B::kGeneral, 2, 1, kTemp);
  add(15, B::kGeneral, 3, 0, kTemp);
  add(64, B::kGeneral, 3, 1, kTemp);
  add(16, B::kGeneral, 4, 0, kAngle);
  add(61, B::kGeneral, 5, 0, kTemp);
  add(17, B::kGeneral, 6, 0, kTemp);
  add(62, B::kGeneral, 7, 0, kTemp);
  add(18, B::kGeneral, 8, 0, kTemp);
  add(19, B::kGeneral, 9, 0, kAngle);
  add(20, B::kGeneral, 10, 0, kAngle);
  add(21, B::kGeneral, 11, 0, kAngle);
  add(65, B::kGeneral, 12, 0, kDiff);
  return places;
}

constexpr auto kPlaces = build_places();

constexpr std::string_view kWheelCaptions[] = {"Tyre Temp",    "Tyre Press (C/H)", "Springs (T/M)", "Damper (B/R)",
                                               "Camber",       "Castor",           "Toe In",        "Corner Weight"};
constexpr std::string_view kGeneralCaptions[] = {
    "Track Temp",       "Air Temp",        "Front Wing",     "Rear Wing",     "Total Weight",
    "Front Roll Bar",   "Rear Roll Bar",   "Front Ride Height", "Rear Ride Height",
    "Fuel Level Out",   "Fuel Level In",   "Est Fuel Usage/Lap", "Differential"};

constexpr std::size_t kRowCount = 2 * std::size(kWheelCaptions) + 2 * (std::size(kWheelCaptions) - 1) +
                                  std::size(kGeneralCaptions);

constexpr std::array<SheetRow, kRowCount> build_rows() {
  std::array<SheetRow, kRowCount> rows{};
  std::size_t n = 0;
  for (const auto& w : kWheels) {
    int row = 0;
    for (const auto caption : kWheelCaptions) {
      if (caption == "Castor" && w.castor == 0) continue;
      rows[n++] = SheetRow{w.block, row++, caption};
    }
  }
  int row = 0;
  for (const auto caption : kGeneralCaptions) rows[n++] = SheetRow{B::kGeneral, row++, caption};
  return rows;
}

constexpr auto kRows = build_rows();

constexpr BlockHeads kHeads[] = {
    {B::kUpperLeft, "Drivers Front Left", {"O", "M", "I"}, 0},
    {B::kUpperRight, "Drivers Front Right", {"I", "M", "O"}, 0},
    {B::kLowerLeft, "", {"O", "M", "I"}, 0},
    {B::kLowerRight, "", {"I", "M", "O"}, 0},
    {B::kGeneral, "General", {"Angle", "Height", ""}, 2},
};

}  // namespace

std::span<const FieldPlace> field_places() { return kPlaces; }
std::span<const SheetRow> sheet_rows() { return kRows; }
std::span<const BlockHeads> block_heads() { return kHeads; }

int block_row_count(SheetBlock block) {
  return static_cast<int>(std::count_if(kRows.begin(), kRows.end(), [block](const SheetRow& r) { return r.block == block; }));
}

}  // namespace kv
