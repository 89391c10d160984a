#include <gtest/gtest.h>

#include "analysis/plot_files/unit_switches.h"
#include "emulator/log_generator.h"
#include "logdata/decoder.h"
#include "tests/analysis/sample_data.h"
#include "ui/scripted_ui.h"

namespace kv::plot_files {
namespace {

using analysis::XChannel;

struct Units : ::testing::Test {
  Units() {
    for (Dataset& d : log.datasets) {
      analysis::test::fill_dataset(d, 300);
      d.held_units = {true, true, true};
    }
    log.shown_units = {true, true, true};
  }
  UnitSwitchResult flip(UnitSwitch which, int index, XChannel x = XChannel::Time) {
    return change_unit(log, feet, which, index, x);
  }
  LogState log;
  bool feet = false;
  Dataset& a() { return log.datasets[0]; }
  Dataset& b() { return log.datasets[1]; }
};

TEST_F(Units, RoundTripsKeepTheGivenFigures) {
  a().ch_oil_temp.set(1, 100);
  a().ch_oil_pressure.set(1, 50);
  flip(UnitSwitch::Temperature, 1);
  EXPECT_DOUBLE_EQ(a().ch_oil_temp.get(1), 212);
  EXPECT_DOUBLE_EQ(a().ch_water_temp.get(1), 185);
  flip(UnitSwitch::Temperature, 0);
  EXPECT_NEAR(a().ch_oil_temp.get(1), 100, 1e-12);
  flip(UnitSwitch::Pressure, 1);
  flip(UnitSwitch::Pressure, 0);
  EXPECT_NEAR(a().ch_oil_pressure.get(1), 49.99909, 5e-6);
  flip(UnitSwitch::Speed, 1);
  EXPECT_DOUBLE_EQ(b().ch_speed.get(10), 60 * 1.6);
  EXPECT_FALSE(log.shown_units.speed_in_mph);
  EXPECT_FALSE(b().held_units.speed_in_mph);
}

TEST_F(Units, NoSetIsConvertedTwice) {
  // B arrives in km/h while the switch already shows KMH: only A converts.
  b().held_units.speed_in_mph = false;
  const UnitSwitchResult r = flip(UnitSwitch::Speed, 1);
  EXPECT_TRUE(r.converted);
  EXPECT_DOUBLE_EQ(a().ch_speed.get(10), 96);
  EXPECT_DOUBLE_EQ(b().ch_speed.get(10), 60);
  // The same switch again finds nothing to do; a set that is not decoded is
  // never touched.
  EXPECT_FALSE(flip(UnitSwitch::Speed, 1).converted);
  a().decoded_valid = 0;
  flip(UnitSwitch::Speed, 0);
  EXPECT_DOUBLE_EQ(a().ch_speed.get(10), 96);
  EXPECT_DOUBLE_EQ(b().ch_speed.get(10), 37.5);
}

TEST_F(Units, SynchroniseBringsSetsToTheRecordedUnitsOnly) {
  // A log loaded into B in km/h, degF, Bar sets the shown units; A follows.
  log.shown_units = {false, false, false};
  b().held_units = {false, false, false};
  const UnitChoices shown = synchronise_units(log, true);
  EXPECT_EQ(shown, (UnitChoices{1, 1, 1, 1}));
  EXPECT_DOUBLE_EQ(a().ch_speed.get(10), 96);
  EXPECT_DOUBLE_EQ(a().ch_oil_temp.get(1), 90 * 1.8 + 32);
  EXPECT_DOUBLE_EQ(b().ch_speed.get(10), 60);
  // Setting the switches to what they show converts nothing more.
  EXPECT_FALSE(flip(UnitSwitch::Speed, shown.speed).converted);
  EXPECT_FALSE(flip(UnitSwitch::Temperature, shown.temperature).converted);
  EXPECT_EQ(synchronise_units(log, false), (UnitChoices{1, 1, 1, 0}));
  EXPECT_DOUBLE_EQ(a().ch_speed.get(10), 96);
}

TEST_F(Units, XAxisRebuildIsAskedForWhenTheXChannelChanges) {
  EXPECT_TRUE(flip(UnitSwitch::Speed, 1, XChannel::Speed).rebuild_x);
  EXPECT_FALSE(flip(UnitSwitch::Speed, 0, XChannel::Rpm).rebuild_x);
  EXPECT_TRUE(flip(UnitSwitch::Temperature, 1, XChannel::WaterTemp).rebuild_x);
  EXPECT_FALSE(flip(UnitSwitch::Temperature, 1, XChannel::WaterTemp).rebuild_x);  // nothing changed
  EXPECT_TRUE(flip(UnitSwitch::Pressure, 1, XChannel::OilPressure).rebuild_x);
  for (Dataset& d : log.datasets) d.decoded_valid = 0;
  EXPECT_TRUE(flip(UnitSwitch::Pressure, 0, XChannel::OilPressure).rebuild_x);  // the caption changes
  EXPECT_TRUE(flip(UnitSwitch::Distance, 1, XChannel::Time).rebuild_x);
  EXPECT_TRUE(feet);
}

TEST_F(Units, LapDistanceStaysInMetresAndFeetGoToTheXCopy) {
  flip(UnitSwitch::Distance, 1);
  EXPECT_DOUBLE_EQ(a().ch_lap_odo.get(5), 50);
  ScriptedUi ui;
  analysis::PlotSettings s;
  s.x_channel = XChannel::Distance;
  s.plot_mode = analysis::PlotMode::LapOverlay;
  EXPECT_EQ(change_x_axis_in_units(log, s, feet, ui).caption, "Distance(ft)");
  EXPECT_DOUBLE_EQ(b().ch_work.get(5), 50 * 3.281);
  s.plot_mode = analysis::PlotMode::AllPlotData;
  change_x_axis_in_units(log, s, feet, ui);
  EXPECT_DOUBLE_EQ(b().ch_work.get(5), 50 * 3.281);
  flip(UnitSwitch::Distance, 0);
  s.plot_mode = analysis::PlotMode::LapOverlay;
  change_x_axis_in_units(log, s, feet, ui);
  EXPECT_DOUBLE_EQ(b().ch_work.get(5), 50);
}

TEST(DecodedUnits, TheDecoderRecordsTheUnitsOfItsLog) {
  for (const auto& [flags1, flags2] : {std::pair<std::uint8_t, std::uint8_t>{0x80, 0x02}, {0x00, 0x01}}) {
    const emu::GeneratedLog generated = emu::generate_log({.pages = 4, .unit_flags1 = flags1, .unit_flags2 = flags2});
    LogState log;
    log.current().raw_memory = generated.memory.data;
    log.current().used_bytes = generated.used_bytes;
    log.current().identity.pulses_per_mile = generated.pulses_per_mile;
    log.current().identity.set_flags(flags1, flags2);
    ScriptedUi ui;
    ASSERT_TRUE(process_data_packets(log, ui));
    EXPECT_EQ(log.current().held_units,
              (HeldUnits{(flags1 & 0x80) != 0, (flags2 & 0x02) != 0, (flags2 & 0x01) != 0}));
  }
}

}  // namespace
}  // namespace kv::plot_files
