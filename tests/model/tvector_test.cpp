#include <gtest/gtest.h>

#include "logdata/log_state.h"
#include "logdata/tvector.h"

namespace kv {
namespace {

TEST(TVector, OneBasedWithZeroOutsideAndIgnoredWrites) {
  TVector v(3);
  v.set(1, 1.5);
  v.set(3, 3.5);
  v.set(0, 9.0);
  v.set(4, 9.0);
  v.set(-100000, 9.0);
  EXPECT_EQ(v.NrOfElem(), 3);
  EXPECT_EQ(v[0], 0.0);
  EXPECT_EQ(v[1], 1.5);
  EXPECT_EQ(v[2], 0.0);
  EXPECT_EQ(v[3], 3.5);
  EXPECT_EQ(v[4], 0.0);
}

TEST(TVector, ResizeRules) {
  TVector v(2);
  v.set(1, 7.0);
  v.setNrOfElem(0);  // below 1: nothing happens
  v.setNrOfElem(-5);
  EXPECT_EQ(v.NrOfElem(), 2);
  v.setNrOfElem(4);  // grows, keeping old values and zeroing new ones
  EXPECT_EQ(v.NrOfElem(), 4);
  EXPECT_EQ(v[1], 7.0);
  EXPECT_EQ(v[4], 0.0);
  v.setNrOfElem(1);  // shrinks, keeping the first
  EXPECT_EQ(v.NrOfElem(), 1);
  EXPECT_EQ(v[1], 7.0);
  EXPECT_EQ(v[2], 0.0);
  TVector empty;
  EXPECT_EQ(empty.NrOfElem(), 0);
  EXPECT_EQ(empty[1], 0.0);
}

TEST(LogState, DatasetSelectorNeverIndexesOut) {
  LogState log;
  EXPECT_EQ(log.current_data_set, 1);
  log.dataset(2).memory_valid = 1;
  EXPECT_EQ(log.datasets[1].memory_valid, 1);
  log.dataset(0).memory_valid = 1;  // anything but 2 is A
  log.dataset(7).decoded_valid = 1;
  EXPECT_EQ(log.datasets[0].memory_valid, 1);
  EXPECT_EQ(log.datasets[0].decoded_valid, 1);
  log.current_data_set = 2;
  EXPECT_EQ(&log.current(), &log.datasets[1]);
}

TEST(UnitIdentity, FlagsGiveTheChannelUnits) {
  UnitIdentity id;
  id.set_flags(0x80, 0x02);
  EXPECT_TRUE(id.speed_in_mph());
  EXPECT_TRUE(id.pressure_in_psi());
  EXPECT_FALSE(id.temp_in_degc());
  id.set_flags(0x7F, 0x01);
  EXPECT_FALSE(id.speed_in_mph());
  EXPECT_FALSE(id.pressure_in_psi());
  EXPECT_TRUE(id.temp_in_degc());
  EXPECT_TRUE(version_accepted(319));
  EXPECT_TRUE(version_accepted(329));
  EXPECT_FALSE(version_accepted(318));
  EXPECT_FALSE(version_accepted(330));
}

TEST(SetupSheet, SlotsOutsideOneToEightyAreIgnored) {
  SetupSheet sheet;
  sheet.set_field(1, "first");
  sheet.set_field(80, "last");
  sheet.set_field(0, "x");
  sheet.set_field(81, "x");
  EXPECT_EQ(sheet.field(1), "first");
  EXPECT_EQ(sheet.field(80), "last");
  EXPECT_EQ(sheet.field(0), "");
  EXPECT_EQ(sheet.field(81), "");
}

}  // namespace
}  // namespace kv
