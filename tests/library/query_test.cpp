// Choosing, ordering and plotting the library's rows.
#include <gtest/gtest.h>

#include <algorithm>

#include "library/session_query.h"
#include "tests/library/library_logs.h"
#include "tests/support/temp_dir.h"

namespace kv::library {
namespace {

SessionRow row(const std::string& path, int day, const std::string& track, std::optional<double> fastest,
               const std::string& field31, std::optional<double> theoretical = std::nullopt) {
  SessionRow r;
  r.path = path;
  r.session_time = test::sample_time(day);
  r.tags.track = track;
  if (fastest) r.fastest = FastestLap{*fastest, 1, 3, 120.0};
  r.theoretical_best = theoretical;
  r.setup.set(kTrackTempSlot, field31);
  return r;
}

std::vector<std::string> paths(const std::vector<SessionRow>& rows, const std::vector<std::size_t>& chosen) {
  std::vector<std::string> out;
  for (const std::size_t i : chosen) out.push_back(rows[i].path);
  return out;
}

const std::vector<SessionRow> kRows = {
    row("a", 0, "Brands", 62.5, "18"),   row("b", 1, "brands", 61.0, "n/a"), row("c", 2, "Snetterton", 95.0, ""),
    row("d", 3, "Brands", std::nullopt, "9"), row("e", 3, "Brands", 60.2, "21,5", 59.8),
};

TEST(Query, FiltersByTagDateAndText) {
  SessionFilter filter;
  filter.track = "BRANDS";
  EXPECT_EQ(paths(kRows, select_rows(kRows, filter, {})), (std::vector<std::string>{"a", "b", "d", "e"}));
  filter.from_time = test::sample_time(1);
  filter.to_time = test::sample_time(3);
  EXPECT_EQ(paths(kRows, select_rows(kRows, filter, {})), (std::vector<std::string>{"b"}));

  std::vector<SessionRow> noted = kRows;
  noted[2].notes_text = "Dry\nTried the SOFT rear bar";
  noted[4].tags.free_tags = "soft tyres";
  SessionFilter text;
  text.text = "soft";
  EXPECT_EQ(paths(noted, select_rows(noted, text, {})), (std::vector<std::string>{"c", "e"}));
}

TEST(Query, SetupFieldsSortAsNumbersThenTextsWithEmptyCellsLast) {
  const SortOrder up{{Column::Setup, kTrackTempSlot}, false};
  EXPECT_EQ(paths(kRows, select_rows(kRows, {}, up)), (std::vector<std::string>{"d", "a", "e", "b", "c"}));
  const SortOrder down{{Column::Setup, kTrackTempSlot}, true};
  EXPECT_EQ(paths(kRows, select_rows(kRows, {}, down)), (std::vector<std::string>{"e", "a", "d", "b", "c"}));
  const SortOrder fastest{{Column::FastestLap, 0}, true};
  EXPECT_EQ(paths(kRows, select_rows(kRows, {}, fastest)), (std::vector<std::string>{"c", "a", "b", "e", "d"}));
}

TEST(Query, FieldNumbersAreReadAsPeopleTypeThem) {
  EXPECT_EQ(field_number(" 21.5 "), 21.5);
  EXPECT_EQ(field_number("21,5"), 21.5);
  EXPECT_EQ(field_number("-1.25"), -1.25);
  EXPECT_EQ(field_number("+3"), 3.0);
  for (const char* text : {"", "  ", "28psi", "n/a", "-", "1e5", "1.2.3", "0x10"}) {
    EXPECT_FALSE(field_number(text)) << text;
  }
}

TEST(Query, ScatterLeavesOutRowsWithoutANumberOrALap) {
  std::vector<std::size_t> all(kRows.size());
  for (std::size_t i = 0; i < all.size(); ++i) all[i] = i;
  const auto points = scatter_points(kRows, all, {}, LapMeasure::FastestLap);
  ASSERT_EQ(points.size(), 2u);
  EXPECT_EQ(points[0].row, 0u);
  EXPECT_EQ(points[0].x, 18.0);
  EXPECT_EQ(points[0].y, 62.5);
  EXPECT_EQ(points[0].label, "2026-05-17");
  EXPECT_EQ(points[1].x, 21.5);
  const auto theoretical = scatter_points(kRows, all, {}, LapMeasure::TheoreticalBest);
  ASSERT_EQ(theoretical.size(), 1u);
  EXPECT_EQ(theoretical[0].y, 59.8);
}

TEST(Query, BestLapPerDayInDateOrder) {
  std::vector<std::size_t> all(kRows.size());
  for (std::size_t i = 0; i < all.size(); ++i) all[i] = i;
  const auto days = best_per_day(kRows, all, LapMeasure::FastestLap);
  ASSERT_EQ(days.size(), 4u);
  EXPECT_EQ(days[0].label, "2026-05-17");
  EXPECT_EQ(days[3].label, "2026-05-20");
  EXPECT_EQ(days[3].lap_time, 60.2);
  EXPECT_EQ(days[3].row, 4u);
}

TEST(Query, ColumnsHaveTheSheetsCaptionsAndStableNames) {
  EXPECT_EQ(column_caption({Column::Setup, 1}), "Tyre Temp O (Front Left)");
  EXPECT_EQ(column_caption({Column::Setup, 35}), "Tyre Temp I (Front Right)");
  EXPECT_EQ(column_caption({Column::Setup, 25}), "Tyre Press C (Rear Left)");
  EXPECT_EQ(column_caption({Column::Setup, 60}), "Springs T (Rear Right)");
  EXPECT_EQ(column_caption({Column::Setup, 31}), "Track Temp");
  EXPECT_EQ(column_caption({Column::Setup, 63}), "Front Wing Height");
  EXPECT_EQ(column_caption({Column::Setup, 65}), "Differential");
  for (const ColumnKey& key : all_columns()) EXPECT_EQ(column_by_name(column_name(key)), key) << column_name(key);
  EXPECT_EQ(all_columns().size(), 21u + 65u);
  EXPECT_FALSE(column_by_name("setup66"));
  EXPECT_FALSE(column_by_name("setup0"));
  EXPECT_EQ(lap_time_text(83.456), "1:23.46");
  EXPECT_EQ(cell_text(kRows[4], {Column::TheoreticalBest, 0}), "0:59.80");
}

// End to end: the scatter's points are the archived sessions' fastest laps.
TEST(Query, ScatterPointsAreTheSessionsFastestLaps) {
  kv::test::TempDir dir;
  auto library = test::open_library(dir.file("library"));
  std::vector<double> truth;
  for (unsigned seed = 1; seed <= 3; ++seed) {
    const emu::GeneratorOptions options{.pages = 400, .sessions = 2, .seed = seed};
    SetupSheet sheet;
    sheet.set_field(kTrackTempSlot, std::to_string(15 + seed));
    library->archive(test::downloaded_dataset(options, sheet), test::sample_time(static_cast<int>(seed)));
    const auto laps = emu::generate_log(options).laps;
    ASSERT_FALSE(laps.empty());
    const auto best = std::min_element(laps.begin(), laps.end(),
                                       [](const auto& a, const auto& b) { return a.lap_time_ms < b.lap_time_ms; });
    truth.push_back(best->lap_time_ms / 1000.0);
  }
  const auto rows = library->rows();
  const auto points = scatter_points(rows, select_rows(rows, {}, {}), {}, LapMeasure::FastestLap);
  ASSERT_EQ(points.size(), 3u);
  for (std::size_t i = 0; i < points.size(); ++i) {
    EXPECT_EQ(points[i].x, 16.0 + static_cast<double>(i));
    EXPECT_NEAR(points[i].y, truth[i], 0.0101);
    EXPECT_EQ(points[i].y, rows[points[i].row].fastest->lap_time);
  }
}

}  // namespace
}  // namespace kv::library
