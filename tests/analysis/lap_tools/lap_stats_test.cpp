// Per-lap statistics and the "Save Lap Stats" file.
#include <gtest/gtest.h>

#include <algorithm>
#include <filesystem>
#include <numeric>

#include "analysis/lap_tools/lap_stats_csv.h"
#include "lap_fixtures.h"
#include "tests/support/temp_dir.h"
#include "ui/scripted_ui.h"

namespace kv::lap_tools {
namespace {

using test::dataset_with_lap_odo;
using test::fill;

TEST(LapStatsTest, EveryGeneratedLapMatchesAPlainPassOverItsSamples) {
  const auto& d = test::two_session_log();
  ASSERT_TRUE(d.ok);
  const auto rows = lap_stats_table(d.log);
  ASSERT_EQ(rows.size(), record_total(d.data()));
  const Dataset& ds = d.data();
  for (const LapStatsRow& row : rows) {
    const SampleRange r = overlay_range(ds, ds.lap_table[row.lap.record]);
    ASSERT_FALSE(r.empty());
    auto values = [&](const TVector& ch) {
      return std::vector<double>(ch.data() + r.first - 1, ch.data() + r.last);
    };
    const auto speed = values(ds.ch_speed), brake = values(ds.ch_brake);
    EXPECT_EQ(row.stats.samples, r.size());
    EXPECT_EQ(row.lap.lap_time(), static_cast<double>(ds.lap_table[row.lap.record].lap_time));
    EXPECT_EQ(row.stats.max_rpm, std::ranges::max(values(ds.ch_rpm)));
    EXPECT_EQ(row.stats.max_speed, std::ranges::max(speed));
    EXPECT_EQ(row.stats.min_speed, std::ranges::min(speed));
    EXPECT_NEAR(row.stats.avg_speed, std::accumulate(speed.begin(), speed.end(), 0.0) / speed.size(), 1e-9);
    EXPECT_EQ(row.stats.max_oil_temp, std::ranges::max(values(ds.ch_oil_temp)));
    EXPECT_EQ(row.stats.max_water_temp, std::ranges::max(values(ds.ch_water_temp)));
    EXPECT_EQ(row.stats.min_oil_pressure, std::ranges::min(values(ds.ch_oil_pressure)));
    EXPECT_NEAR(row.stats.brake_percent, 100.0 * std::ranges::count(brake, 1.0) / brake.size(), 1e-9);
  }
  EXPECT_GT(rows.front().stats.brake_percent, 0.0) << "the generated driver brakes every lap";
}

TEST(LapStatsTest, EmptyAndClampedRanges) {
  Dataset data = dataset_with_lap_odo({1, 2, 3});
  fill(data.ch_speed, {10, 30, 20});
  fill(data.ch_oil_temp, {90});  // a slow channel shorter than the samples reads 0 beyond
  const LapStats all = lap_stats(data, {-4, 99});
  EXPECT_EQ(all.samples, 3);
  EXPECT_EQ(all.min_speed, 10);
  EXPECT_EQ(all.avg_speed, 20);
  EXPECT_EQ(all.max_oil_temp, 90);
  EXPECT_EQ(lap_stats(data, {3, 2}).samples, 0);
  EXPECT_EQ(lap_stats(data, {4, 9}).samples, 0);
  EXPECT_EQ(lap_stats(Dataset{}, {1, 10}).max_speed, 0);
}

// Two laps of A (the second with no samples at all) and one of B.
LogState small_log() {
  LogState log;
  Dataset& a = log.datasets[0];
  a = dataset_with_lap_odo({0, 5, 10, 15, 1});
  fill(a.ch_rpm, {10, 45.678, 62.5, 30, 20});
  fill(a.ch_speed, {0, 18, 36, 54, 40});
  fill(a.ch_brake, {0, 0, 0, 1, 0});
  fill(a.ch_oil_pressure, {20, 35, 50, 41, 40});
  fill(a.ch_oil_temp, {90, 91, 92.25, 92, 92});
  fill(a.ch_water_temp, {80, 80, 81, 81.5, 81});
  a.lap_table.resize(2);
  a.lap_table[0].lap = 1;
  a.lap_table[0].session = 1;
  a.lap_table[0].lap_time = 0.4f;
  a.lap_table[0].end_time = 0.5;
  a.lap_table[1].lap = 2;
  a.lap_table[1].session = 1;
  a.packet_count[2] = 2;
  Dataset& b = log.datasets[1];
  b = dataset_with_lap_odo({0, 7, 3});
  fill(b.ch_speed, {100, 120, 90});
  b.lap_table.resize(1);
  b.lap_table[0].lap = 7;
  b.lap_table[0].session = 3;
  b.lap_table[0].lap_time = 0.2f;
  b.lap_table[0].end_time = 0.3;
  b.packet_count[2] = 1;
  log.shown_units = {true, true, false};  // mph, psi, degF
  return log;
}

constexpr const char* kSmallLogCsv =
    "Data,Session,Lap,Lap Time(s),Samples,Max RPM/100,Max Speed(MPH),Min Speed(MPH),Avg Speed(MPH),"
    "Max Oil Temp (degF),Max Water Temp (degF),Min Oil Pressure (psi),Brake (%)\r\n"
    "A,1,1,0.40,4,62.50,54.0,0.0,27.0,92.3,81.5,20.0,25.0\r\n"
    "A,1,2,0.00,0,,,,,,,,\r\n"
    "B,3,7,0.20,2,0.00,120.0,100.0,110.0,0.0,0.0,0.0,0.0\r\n";

TEST(LapStatsCsvTest, ExactFileText) {
  const LogState log = small_log();
  EXPECT_EQ(lap_stats_csv(lap_stats_table(log), log.shown_units), kSmallLogCsv);
  EXPECT_EQ(lap_stats_header(HeldUnits{}),
            "Data,Session,Lap,Lap Time(s),Samples,Max RPM/100,Max Speed(KMH),Min Speed(KMH),Avg Speed(KMH),"
            "Max Oil Temp (degF),Max Water Temp (degF),Min Oil Pressure (Bar),Brake (%)");
}

class LapStatsSaveTest : public ::testing::Test {
 protected:
  kv::test::TempDir dir;
  DialogDefault remembered{dir.path().string(), "default.csv"};
  LogState log = small_log();
  ScriptedUi ui;
};

TEST_F(LapStatsSaveTest, SavesThroughTheDialogPattern) {
  ui.queue_file(dir.file("laps"));
  EXPECT_TRUE(save_lap_stats(log, remembered, ui));
  EXPECT_EQ(ui.texts(), std::vector<std::string>{"File Saved OK"});
  ASSERT_EQ(ui.dialogs().size(), 1u);
  EXPECT_EQ(ui.dialogs()[0].title, "Save Lap Stats");
  EXPECT_EQ(ui.dialogs()[0].filter, "CSV Files (*.csv)");
  EXPECT_EQ(ui.dialogs()[0].default_ext, "csv");
  EXPECT_EQ(ui.dialogs()[0].file_name, "default.csv");
  EXPECT_EQ(kv::test::read_file(dir.file("laps.csv")), kSmallLogCsv);
  EXPECT_EQ(remembered.file_name, "laps.csv");
  EXPECT_EQ(kv::test::list_folder(dir.path()), std::vector<std::string>{"laps.csv"}) << "no temporary left";
}

TEST_F(LapStatsSaveTest, RefusalsLeaveFilesAlone) {
  kv::test::write_file(dir.file("old.csv"), "old");
  ui.queue_file(std::nullopt);
  EXPECT_FALSE(save_lap_stats(log, remembered, ui));
  ui.queue_file(dir.file("laps.txt"));
  EXPECT_FALSE(save_lap_stats(log, remembered, ui));
  ui.queue_file(dir.file("old.csv"));
  ui.queue_answer(kNo);
  EXPECT_FALSE(save_lap_stats(log, remembered, ui));
  ui.queue_file(dir.file("no such folder/laps.csv"));
  EXPECT_FALSE(save_lap_stats(log, remembered, ui));
  EXPECT_EQ(ui.texts(), (std::vector<std::string>{"Cancelled, No Data Saved", "Invalid Filename, No Data Saved",
                                                  "File Exists, Overwrite File ?", "No Data Saved",
                                                  "File Already Open, No Data Saved"}));
  EXPECT_EQ(kv::test::read_file(dir.file("old.csv")), "old");

  ui.clear();
  log.datasets[0].decoded_valid = 0;
  log.datasets[1].decoded_valid = 0;
  EXPECT_FALSE(save_lap_stats(log, remembered, ui));
  EXPECT_EQ(ui.texts(), std::vector<std::string>{"No Valid Data to Save"});
  EXPECT_TRUE(ui.dialogs().empty());
}

}  // namespace
}  // namespace kv::lap_tools
