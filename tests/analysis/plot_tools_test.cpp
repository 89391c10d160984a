// The plot window's tools without a window: lap tables, overlay lists and
// slots, the cursor read-out, statistics, zoom and the markers.
#include <gtest/gtest.h>

#include <cstdint>
#include <limits>

#include "analysis/cursor_readout.h"
#include "analysis/lap_overlay.h"
#include "analysis/lap_table.h"
#include "analysis/markers.h"
#include "analysis/plot_stats.h"
#include "analysis/zoom.h"
#include "logdata/sample_time.h"
#include "tests/analysis/sample_data.h"
#include "ui/scripted_ui.h"

namespace kv::analysis {
namespace {

LapRecord lap_record(std::uint8_t session, std::uint8_t lap, float lap_time, float distance = 1609,
                     double end_time = 0) {
  LapRecord r;
  r.session = session;
  r.lap = lap;
  r.lap_time = lap_time;
  r.lap_distance = distance;
  r.end_time = end_time;
  return r;
}

void set_laps(Dataset& data, std::vector<LapRecord> laps) {
  data.lap_table = std::move(laps);
  data.packet_count[2] = static_cast<std::uint32_t>(data.lap_table.size());
}

std::vector<std::string> column0(const LapTableView& view) {
  std::vector<std::string> col;
  for (const LapRow& row : view.rows) col.push_back(row[0]);
  return col;
}

TEST(LapTable, RowsCloseEachSessionWithAnEndLogRowWhateverTheSessionNumbers) {
  Dataset data;
  ScriptedUi ui;
  set_laps(data, {lap_record(1, 1, 60), lap_record(1, 2, 61), lap_record(1, 3, 62), lap_record(2, 1, 63),
                  lap_record(2, 2, 64)});
  const LapTableView view = build_lap_table(data, false, ui);
  EXPECT_EQ(column0(view), (std::vector<std::string>{"Session", "1", "1", "1", "End Log1", "2", "2", "End Log2"}));
  EXPECT_EQ(view.rows[5][1], "1");
  EXPECT_EQ(view.rows[4][1], "");

  // A log starting at a later session, with the session byte wrapping.
  set_laps(data, {lap_record(254, 1, 60), lap_record(255, 1, 60), lap_record(0, 1, 60), lap_record(0, 2, 60)});
  EXPECT_EQ(column0(build_lap_table(data, false, ui)),
            (std::vector<std::string>{"Session", "254", "End Log254", "255", "End Log255", "0", "0", "End Log0"}));
  EXPECT_TRUE(ui.messages().empty());
}

TEST(LapTable, AveragesInTheRecordedSpeedUnit) {
  Dataset data;
  ScriptedUi ui;
  set_laps(data, {lap_record(1, 1, 60, 1609)});
  const LapTableView kmh = build_lap_table(data, false, ui);
  EXPECT_EQ(kmh.rows[0][7], "Avg KMH");
  EXPECT_EQ(kmh.rows[1][7], "96.54");
  EXPECT_STREQ(kmh.unit, "KMH");
  const LapTableView mph = build_lap_table(data, true, ui);
  EXPECT_EQ(mph.rows[0][7], "Avg MPH");
  EXPECT_EQ(mph.rows[1][7], "60.34");
  EXPECT_EQ(fastest_lap_texts(*mph.fastest), (std::array<std::string, 4>{"1", "1", "60.00", "60.34"}));
}

TEST(LapTable, FastestLapKeepsTheEarlierOfATieAndNeverABadLapTime) {
  Dataset data;
  ScriptedUi ui;
  set_laps(data, {lap_record(1, 1, 61), lap_record(1, 2, 0), lap_record(1, 3, 59.5f), lap_record(1, 4, 59.5f)});
  const LapTableView view = build_lap_table(data, false, ui);
  ASSERT_TRUE(view.fastest);
  EXPECT_EQ(view.fastest->lap, 3);
  EXPECT_EQ(ui.texts(), (std::vector<std::string>{kBadLapTime}));
  EXPECT_EQ(view.rows[2][7], "0.00");
  EXPECT_EQ(view.rows.size(), 6U);

  // The bad lap first, and no lap with a usable time at all.
  set_laps(data, {lap_record(1, 1, 0), lap_record(1, 2, 62)});
  EXPECT_EQ(build_lap_table(data, false, ui).fastest->lap, 2);
  set_laps(data, {lap_record(1, 1, 0), lap_record(1, 2, 0)});
  EXPECT_EQ(build_lap_table(data, false, ui).fastest->lap, 1);
}

TEST(LapTable, UsesNoMoreRecordsThanTheTableHolds) {
  Dataset data;
  ScriptedUi ui;
  set_laps(data, {lap_record(1, 1, 60)});
  data.packet_count[2] = 40;
  EXPECT_EQ(build_lap_table(data, false, ui).rows.size(), 3U);
}

class OverlayTest : public ::testing::Test {
 protected:
  OverlayTest() {
    test::fill_dataset(log.dataset(kDataSetA), 600, 0);
    test::fill_dataset(log.dataset(kDataSetB), 600, 0);
    std::vector<LapRecord> a;
    for (std::uint8_t k = 1; k <= 5; ++k) a.push_back(lap_record(1, k, 10, 500, 10.0 * k + 2));
    set_laps(log.dataset(kDataSetA), a);
    set_laps(log.dataset(kDataSetB), {lap_record(7, 12, 10.0f, 500, 12.0), lap_record(7, 13, 9.5f, 500, 21.5)});
  }
  LogState log;
  PlotState plot;
};

TEST_F(OverlayTest, ItemsListALapsThenBLaps) {
  const auto items = overlay_items(log);
  ASSERT_EQ(items.size(), 7U);
  EXPECT_EQ(items[0].text, "Session Log:   1  Lap:   1  Data A");
  EXPECT_EQ(items[5].text, "Session Log:   7  Lap:  12  Data B");
  EXPECT_EQ(items[5].data_set, kDataSetB);
  EXPECT_EQ(items[5].record, 0U);
}

TEST_F(OverlayTest, ASetNotDecodedOrWithAShortTableOffersOnlyTheLapsItHolds) {
  log.dataset(kDataSetA).decoded_valid = 0;
  log.dataset(kDataSetB).packet_count[2] = 200;  // a failed count
  const auto items = overlay_items(log);
  ASSERT_EQ(items.size(), 2U);
  EXPECT_EQ(items[0].data_set, kDataSetB);

  // An item made stale by a later load names no lap.
  log.dataset(kDataSetB).lap_table.clear();
  plot.overlay[0].lap.lap = 99;
  fill_overlay_slots(plot, log, items, {0, -1});
  EXPECT_FALSE(plot.overlay[0].chosen);
  EXPECT_EQ(plot.overlay[0].lap.lap, 99);
}

TEST_F(OverlayTest, APickedLapSpansItsSamplesAndNamesItself) {
  const auto items = overlay_items(log);
  fill_overlay_slots(plot, log, items, {-1, 5});
  EXPECT_FALSE(plot.overlay[0].chosen);
  ASSERT_TRUE(plot.overlay[1].chosen);
  const LapSelection& lap = plot.overlay[1].lap;
  EXPECT_EQ(lap.first_sample, 20);
  EXPECT_EQ(lap.last_sample, 119);
  EXPECT_EQ(lap.set_letter, "B");
  EXPECT_EQ(lap.session, 7);
  EXPECT_EQ(lap.lap, 12);
  EXPECT_DOUBLE_EQ(lap.lap_time, 10.0);

  const SlotCaptions none = slot_captions(plot, 1);
  EXPECT_EQ(none.group, "No Lap Selected");
  EXPECT_EQ(none.heading, "No Lap");
  const SlotCaptions two = slot_captions(plot, 2);
  EXPECT_EQ(two.group, "Sel 2 = Log:7 Lap:12 Data:B");
  EXPECT_EQ(two.heading, "Selection 2");

  // A lap longer than the log starts at sample 0.
  set_laps(log.dataset(kDataSetA), {lap_record(1, 1, 30, 500, 12.0)});
  fill_overlay_slots(plot, log, overlay_items(log), {0, -1});
  EXPECT_EQ(plot.overlay[0].lap.first_sample, 0);
}

TEST_F(OverlayTest, CursorReadoutNamesTheSampleUnderThePointer) {
  Dataset& a = log.dataset(kDataSetA);
  a.ch_session.set(123, 4);
  a.ch_lap.set(123, 6);
  a.ch_lap_time.set(123, 61.257);
  set_laps(log.dataset(kDataSetB), {});
  EXPECT_EQ(cursor_readout(log, plot, 12.34, 87.06), "Axis: 87.1 at 12.3\nDataA: Log:4 Lap:6 Time: 61.26 ");

  // B with laps too; a position past the samples reads 0.
  set_laps(log.dataset(kDataSetB), {lap_record(1, 1, 10)});
  EXPECT_EQ(cursor_readout(log, plot, 900, 1),
            "Axis: 1.0 at 900.0\nDataA: Log:0 Lap:0 Time: 0.00\nDataB: Log:0 Lap:0 Time: 0.00 ");

  plot.settings.x_channel = XChannel::Distance;
  EXPECT_EQ(cursor_readout(log, plot, 12.34, 5), "Axis: 5.0 at 12.3");
  // A further line (the time slip) keeps the joins and the one closing space.
  EXPECT_EQ(with_readout_line("Axis: 5.0 at 12.3", "Slip: +0.25 s"), "Axis: 5.0 at 12.3\nSlip: +0.25 s ");
  EXPECT_EQ(with_readout_line("Axis: 1.0 at 2.0\nSel 1 = x ", "Slip: -1.00 s"),
            "Axis: 1.0 at 2.0\nSel 1 = x\nSlip: -1.00 s ");
  EXPECT_EQ(with_readout_line("Axis: 5.0 at 12.3", ""), "Axis: 5.0 at 12.3");
}

TEST_F(OverlayTest, CursorReadoutInLapOverlayNamesTheChosenLaps) {
  plot.settings.plot_mode = PlotMode::LapOverlay;
  fill_overlay_slots(plot, log, overlay_items(log), {-1, 6});
  EXPECT_EQ(cursor_readout(log, plot, 1, 2), "Axis: 2.0 at 1.0\nSel 2 = Log:  7 Lap: 13 Data:B Time: 9.50 ");
  plot.overlay[1].chosen = false;
  EXPECT_EQ(cursor_readout(log, plot, 1, 2), "Axis: 2.0 at 1.0");
}

TEST_F(OverlayTest, PointerLapRangeAndWindowRoundAHalfSampleAlike) {
  // 0.25 s lies halfway between samples 2 and 3: all three take sample 2.
  Dataset& a = log.dataset(kDataSetA);
  a.ch_lap.set(2, 7);
  a.ch_lap.set(3, 8);
  EXPECT_EQ(cursor_readout(log, plot, 0.25, 0),
            "Axis: 0.0 at 0.2\nDataA: Log:1 Lap:7 Time: 60.00\nDataB: Log:1 Lap:1 Time: 60.00 ");
  set_laps(a, {lap_record(1, 1, 10, 500, 10.25)});
  fill_overlay_slots(plot, log, overlay_items(log), {0, -1});
  EXPECT_EQ(plot.overlay[0].lap.first_sample, 2);
  plot.settings.stats_channel = 1;  // speed, 50 + i
  plot.settings.stats_kind = static_cast<int>(StatsKind::Min);
  plot.settings.stats_range = static_cast<int>(StatsRange::InWindow);
  EXPECT_EQ(update_stats(log, plot, kDataSetA, 1, 0.25, 10)->text, "52.0");
}

TEST_F(OverlayTest, AQuotientJustBelowAHalfRoundsDownForPointerWindowAndLap) {
  // 19.95 / 0.1 lies just below 199.5 in extended precision; through a
  // double it would land on the half and go to the even 200.
  EXPECT_EQ(sample_at(19.95), 199);
  EXPECT_EQ(sample_at(0.15), 1);
  EXPECT_EQ(sample_at(-0.15), -1);
  EXPECT_EQ(sample_at(1e300), std::numeric_limits<std::int32_t>::max());
  EXPECT_EQ(sample_at(std::numeric_limits<double>::quiet_NaN()), 0);

  Dataset& a = log.dataset(kDataSetA);
  a.ch_lap.set(199, 2);
  a.ch_lap.set(200, 3);
  EXPECT_EQ(cursor_readout(log, plot, 19.95, 0),
            "Axis: 0.0 at 19.9\nDataA: Log:1 Lap:2 Time: 60.00\nDataB: Log:1 Lap:2 Time: 60.00 ");
  plot.settings.stats_channel = 1;  // speed, 50 + i
  plot.settings.stats_kind = static_cast<int>(StatsKind::Avg);
  plot.settings.stats_range = static_cast<int>(StatsRange::InWindow);
  EXPECT_EQ(update_stats(log, plot, kDataSetA, 1, 0.15, 12.08)->text, "111.0");  // samples 1 … 121

  set_laps(a, {lap_record(1, 1, 0, 500, 19.95)});
  fill_overlay_slots(plot, log, overlay_items(log), {0, -1});
  EXPECT_EQ(plot.overlay[0].lap.first_sample, 199);
}

TEST(PlotStats, AChannelShorterThanTheLogReadsZeroBeyondItsEnd) {
  LogState log;
  PlotState plot;
  Dataset& a = log.dataset(kDataSetA);
  test::fill_dataset(a, 300);
  a.ch_oil_temp.clear();  // no slow-channel packet was logged
  a.ch_water_temp.setNrOfElem(100);
  plot.settings.stats_channel = 5;  // "Oil Temp"
  EXPECT_EQ(update_stats(log, plot, kDataSetA, 1, 0, 1)->text, "0.0");
  plot.settings.stats_channel = 6;  // "Water Temp": 85 for 100 samples, then 0
  plot.settings.stats_kind = static_cast<int>(StatsKind::Avg);
  EXPECT_EQ(update_stats(log, plot, kDataSetA, 1, 0, 1)->text, "28.3");
  plot.settings.stats_kind = static_cast<int>(StatsKind::Min);
  EXPECT_EQ(update_stats(log, plot, kDataSetA, 1, 0, 1)->text, "0.0");
}

TEST(PlotStats, FactorsPerChannelAndRanges) {
  LogState log;
  PlotState plot;
  test::fill_dataset(log.dataset(kDataSetA), 300);
  plot.settings.stats_channel = 3;  // "Brake %"
  EXPECT_EQ(update_stats(log, plot, kDataSetA, 1, 0, 1)->text, "100.0");
  plot.settings.stats_channel = 2;  // "Gear"
  log.dataset(kDataSetA).ch_gear.set(150, 4);
  EXPECT_EQ(update_stats(log, plot, kDataSetA, 1, 0, 1)->text, "4.0");

  // Speed is 50 + i: the window from -5 s to 1 s holds samples 1 … 10.
  plot.settings.stats_channel = 1;
  plot.settings.stats_range = static_cast<int>(StatsRange::InWindow);
  plot.settings.stats_kind = static_cast<int>(StatsKind::Min);
  EXPECT_EQ(update_stats(log, plot, kDataSetA, 1, -5, 1)->text, "51.0");
  plot.settings.stats_kind = static_cast<int>(StatsKind::Avg);
  EXPECT_EQ(update_stats(log, plot, kDataSetA, 1, -5, 1)->text, "55.5");
  plot.settings.stats_kind = static_cast<int>(StatsKind::Max);
  const auto result = update_stats(log, plot, kDataSetB, 2, -5, 1);
  EXPECT_EQ(result->box, 1);
  EXPECT_EQ(result->text, "");

  // Lap Overlay: the slot's samples, shown in the trace set's box.
  plot.settings.plot_mode = PlotMode::LapOverlay;
  plot.overlay[1].lap = {20, 29, 1, 1, "A", 1};
  const auto lap = update_stats(log, plot, kDataSetA, 2, 0, 1);
  EXPECT_EQ(lap->box, 1);
  EXPECT_EQ(lap->text, "79.0");

  plot.settings.x_channel = XChannel::Distance;
  EXPECT_FALSE(update_stats(log, plot, kDataSetA, 1, 0, 1));
}

TEST(Zoom, InThenOutReturnsAndOutStaysWithinHome) {
  const LayerRange home{0, 0, 100, 50};
  LayerRange r = zoom_in(zoom_in(home));
  EXPECT_NEAR(r.x_high - r.x_low, 100 / 1.96, 1e-4);
  r = zoom_out(zoom_out(r, home), home);
  EXPECT_NEAR(r.x_low, 0, 1e-4);
  EXPECT_NEAR(r.x_high, 100, 1e-4);
  EXPECT_NEAR(r.y_high, 50, 1e-4);
  EXPECT_EQ(zoom_out(home, home), home);

  // Without a home nothing bounds it.
  const LayerRange free = zoom_out(home, std::nullopt);
  EXPECT_NEAR(free.x_low, -20, 1e-4);
  EXPECT_NEAR(free.x_high, 120, 1e-4);
}

TEST(Zoom, OutAfterPanningPastHomeComesBackUninverted) {
  const LayerRange home{0, 0, 100, 50};
  const LayerRange r = zoom_out({200, 60, 210, 80}, home);
  EXPECT_LT(r.x_low, r.x_high);
  EXPECT_LT(r.y_low, r.y_high);
  EXPECT_GE(r.x_low, home.x_low);
  EXPECT_LE(r.x_high, home.x_high);
  EXPECT_NEAR(r.x_high - r.x_low, 14, 1e-4);
  EXPECT_LE(r.y_high, home.y_high);
}

TEST(Markers, AMarkerOutsideTheWindowGoesToItsLeftEdge) {
  EXPECT_EQ(marker_in_window({150, 7}, 10, 100).x, 10);
  EXPECT_EQ(marker_in_window({150, 7}, 10, 100).y, 0);
  EXPECT_EQ(marker_in_window({100, 7}, 10, 100).y, 7);
  EXPECT_EQ(marker_texts({12.25, 3}, {2, 5.5}),
            (std::array<std::string, 6>{"12.2", "2.0", "10.2", "3.0", "5.5", "-2.5"}));
}

TEST(MouseModes, EachChoiceNamesItsLayersAndAction) {
  EXPECT_EQ(mouse_mode(4).action, chart::TMouseActMode::maPan);
  EXPECT_FALSE(mouse_mode(4).layer1);
  EXPECT_TRUE(mouse_mode(4).layer2);
  EXPECT_EQ(mouse_mode(1).action, chart::TMouseActMode::maZoomWindPos);
  EXPECT_EQ(mouse_mode(42).action, chart::TMouseActMode::maDragCrossH);
}

}  // namespace
}  // namespace kv::analysis
