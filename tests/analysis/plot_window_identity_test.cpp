// The plot window with two logs from two differently set up instruments:
// each set converts from its own units, and a load that fails to decode
// takes only its own set's curves away.
#include <gtest/gtest.h>

#include <QComboBox>
#include <QLineEdit>
#include <QPushButton>

#include "analysis/plot_window.h"
#include "analysis/radio_group.h"
#include "chart/plotchart.h"
#include "emulator/log_generator.h"
#include "logdata/log_file_format.h"
#include "tests/support/temp_dir.h"
#include "ui/scripted_ui.h"

namespace kv {
namespace {

constexpr long kSample = 150;

// Writes a generated log as its instrument's log file; `pulses` 0 makes a
// file that loads but cannot be decoded.
std::string write_log(const test::TempDir& dir, const std::string& name, const emu::GeneratedLog& log,
                      std::optional<std::uint16_t> pulses = std::nullopt) {
  UnitIdentity id;
  id.unit_version = 325;
  id.pulses_per_mile = pulses.value_or(log.pulses_per_mile);
  id.set_flags(log.unit_flags1, log.unit_flags2);
  ScriptedUi quiet;
  const std::string path = dir.file(name);
  test::write_file(path, write_log_file_text({}, id, log.memory.data, log.used_bytes, false, quiet));
  return path;
}

// One plot window on a program of its own.
struct PlotProgram {
  PlotProgram() : defaults(DialogDefaults::in_folder(dir.path().string())), form({log, defaults, feet, config}, ui) {
    form.show();
  }
  ~PlotProgram() { form.hide(); }
  void load(std::uint8_t which, const std::string& path) {
    ui.queue_file(path);
    form.findChild<QPushButton*>(which == kDataSetA ? "LoadDataSetA" : "LoadDataSetB")->click();
  }
  analysis::RadioGroup* speed_switch() { return form.findChild<analysis::RadioGroup*>("RadioGroup4"); }
  double speed(std::uint8_t which) const { return log.dataset(which).ch_speed.get(kSample); }
  std::string x_caption() { return form.chart().Scale1X().Caption(); }

  test::TempDir dir;
  ScriptedUi ui;
  LogState log;
  DialogDefaults defaults;
  bool feet = false;
  ConfigState config;
  TForm10 form;
};

class TwoInstrumentsPlot : public ::testing::Test {
 protected:
  emu::GeneratedLog mph_log =
      emu::generate_log({.pages = 12, .seed = 3, .pulses_per_mile = 4000, .unit_flags1 = 0x80, .unit_flags2 = 0x03});
  emu::GeneratedLog kmh_log =
      emu::generate_log({.pages = 10, .seed = 8, .pulses_per_mile = 1609, .unit_flags1 = 0x00, .unit_flags2 = 0x00});
  test::TempDir files;
  std::string mph_file = write_log(files, "mph.kvl", mph_log);
  std::string kmh_file = write_log(files, "kmh.kvl", kmh_log);
};

TEST_F(TwoInstrumentsPlot, ASpeedReadsAsWithEachSetAloneInTheShownUnit) {
  PlotProgram a_alone;
  a_alone.load(kDataSetA, mph_file);
  PlotProgram b_alone;
  b_alone.load(kDataSetB, kmh_file);
  ASSERT_EQ(a_alone.speed_switch()->itemIndex(), 0);  // MPH, as recorded
  ASSERT_EQ(b_alone.speed_switch()->itemIndex(), 1);  // KMH

  PlotProgram both;
  both.load(kDataSetA, mph_file);
  both.load(kDataSetB, kmh_file);
  both.form.findChild<QComboBox*>("ComboBox3")->setCurrentIndex(static_cast<int>(analysis::XChannel::Speed));
  EXPECT_EQ(both.speed_switch()->itemIndex(), 1) << "the last decoded log's units";
  EXPECT_EQ(both.x_caption(), "Speed(KMH)");
  a_alone.speed_switch()->setItemIndex(1);
  EXPECT_DOUBLE_EQ(both.speed(kDataSetA), a_alone.speed(kDataSetA));
  EXPECT_DOUBLE_EQ(both.speed(kDataSetB), b_alone.speed(kDataSetB));

  both.speed_switch()->setItemIndex(0);
  a_alone.speed_switch()->setItemIndex(0);
  b_alone.speed_switch()->setItemIndex(0);
  EXPECT_EQ(both.x_caption(), "Speed(MPH)");
  EXPECT_DOUBLE_EQ(both.speed(kDataSetA), a_alone.speed(kDataSetA));
  EXPECT_DOUBLE_EQ(both.speed(kDataSetB), b_alone.speed(kDataSetB));
}

TEST_F(TwoInstrumentsPlot, ALoadThatFailsToDecodeTakesOnlyItsOwnCurvesAway) {
  const std::string broken = write_log(files, "broken.kvl", kmh_log, 0);
  for (const std::uint8_t target : {kDataSetA, kDataSetB}) {
    const std::uint8_t other = target == kDataSetA ? kDataSetB : kDataSetA;
    PlotProgram plot;
    plot.load(other, mph_file);
    const std::size_t other_curves = plot.form.chart().ItemCount();
    ASSERT_GT(other_curves, 0u);
    plot.load(target, kmh_file);
    ASSERT_GT(plot.form.chart().ItemCount(), other_curves);
    plot.form.findChild<QComboBox*>("ComboBox3")->setCurrentIndex(static_cast<int>(analysis::XChannel::Speed));
    const Dataset other_before = plot.log.dataset(other);
    const int switch_before = plot.speed_switch()->itemIndex();
    const std::string caption_before = plot.x_caption();

    plot.ui.clear();
    plot.load(target, broken);
    EXPECT_EQ(plot.ui.texts(),
              std::vector<std::string>{"Problem Processing Korvanta Data Error: Pulses per Mile is 0"});
    EXPECT_EQ(plot.form.chart().ItemCount(), other_curves);
    EXPECT_EQ(plot.log.dataset(other), other_before);
    EXPECT_EQ(plot.speed_switch()->itemIndex(), switch_before);
    EXPECT_EQ(plot.x_caption(), caption_before);
    const char* name_field = target == kDataSetA ? "Edit147" : "Edit148";
    EXPECT_EQ(plot.form.findChild<QLineEdit*>(name_field)->text(), "No Data");
  }
}

}  // namespace
}  // namespace kv
