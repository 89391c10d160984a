// Added laps in the plot window, with real controls and chart, offscreen:
// the "Add Lap" list and its legend, the slip reference, each lap's values
// at the pointer and at the markers, and what keeps them.
#include <gtest/gtest.h>

#include <QApplication>
#include <QCheckBox>
#include <QComboBox>
#include <QLabel>
#include <QListWidget>
#include <QPushButton>

#include "analysis/lap_tools/lap_tools.h"
#include "analysis/overlay_laps.h"
#include "analysis/plot_text.h"
#include "analysis/plot_window.h"
#include "analysis/radio_group.h"
#include "app/program_state.h"
#include "chart/plotchart.h"
#include "tests/analysis/lap_tools/lap_fixtures.h"
#include "tests/support/find_child.h"
#include "tests/support/temp_dir.h"
#include "ui/scripted_ui.h"

namespace kv {
namespace {

using analysis::fixed_text;

constexpr int kDistanceAxis = 1;
constexpr int kTimeAxis = 0;
constexpr int kLapOverlay = 1;
constexpr int kMarkersOn = 1;
constexpr double kFeetPerMetre = 3.281;
constexpr double kKmhPerMph = 1.6;  // the speed switch's factor
constexpr double kFeetPlace = 1476;  // ft, about 450 m
// Items of the lap lists: A's two laps, then B's.
constexpr int kALap1 = 0;
constexpr int kALap2 = 1;
constexpr int kBLap1 = 2;
constexpr int kBLap2 = 3;

class PlotWindowMoreLapsTest : public ::testing::Test {
 protected:
  PlotWindowMoreLapsTest()
      : state(dir.path().string()), form({state.log, state.dialogs, state.distance_in_feet, state.config}, ui) {
    // Three equal sectors of a 900 m circuit; B's second lap is the fastest.
    state.log.datasets[0] = lap_tools::test::dataset_of_laps({{30, 20, 25}, {28, 22, 24}}, 900);
    state.log.datasets[1] = lap_tools::test::dataset_of_laps({{32, 23, 27}, {31, 21, 26}}, 900);
    // A steady speed per set, to read back.
    for (std::uint8_t set : {kDataSetA, kDataSetB}) {
      Dataset& data = state.log.dataset(set);
      data.ch_speed.setNrOfElem(data.sample_count());
      for (long k = 1; k <= data.sample_count(); ++k) data.ch_speed.set(k, set == kDataSetA ? 60 : 50);
    }
    form.show();
    ui.clear();  // the default configuration message
    // Speed alone, against the lap distance.
    find<QCheckBox>("CheckBox1")->setChecked(false);
    find<QCheckBox>("CheckBox2")->setChecked(true);
    find<QComboBox>("ComboBox3")->setCurrentIndex(kDistanceAxis);
  }
  ~PlotWindowMoreLapsTest() override { form.hide(); }

  template <typename T>
  T* find(const char* name) {
    return test::find_child<T>(form, name);
  }
  void pick(const char* list, int index) {
    auto* combo = find<QComboBox>(list);
    combo->setCurrentIndex(index);
    emit combo->activated(index);
  }
  void add(int item) { pick("AddLap", item); }
  std::string readout_at(double x) {
    emit form.chart().OnMouseMoveInChart(true, {}, x, 1);
    return form.cursor_readout();
  }
  // Curve items drawn in an added lap's palette colour.
  std::size_t items_in_style(std::size_t style) {
    const chart::TColor colour = analysis::extra_lap_palette()[style].colour;
    std::size_t n = 0;
    for (const auto& item : form.chart().Items().items()) {
      n += item.layer == 1 && form.chart().Items().style(item.style).color == colour ? 1 : 0;
    }
    return n;
  }
  std::string legend_of(std::uint8_t set, std::size_t record) {
    const LapRecord& r = state.log.dataset(set).lap_table[record];
    analysis::LapSelection lap;
    lap.lap = r.lap;
    lap.session = r.session;
    lap.set_letter = set == kDataSetA ? "A" : "B";
    lap.lap_time = r.lap_time;
    return analysis::lap_legend_text(lap);
  }
  // The slip of a lap against another at `x`, as the core gives it.
  double slip(std::uint8_t set, std::size_t record, std::uint8_t ref_set, std::size_t ref_record, double x,
              double factor = 1.0) {
    const auto trace = [&](std::uint8_t s, std::size_t r) {
      return lap_tools::LapTrace(lap_tools::lap_ref(state.log.dataset(s), r), factor,
                                 lap_tools::TraceSmoothing::light);
    };
    return *lap_tools::slip_at(lap_tools::time_slip_curve(trace(ref_set, ref_record), trace(set, record)), x);
  }
  // An entry of the legend under the chart, which lines never break inside.
  QString entry_html(int n, std::uint8_t set, std::size_t record) {
    return QString::fromStdString("Add " + std::to_string(n) + " " + legend_of(set, record))
        .replace(' ', "&nbsp;")
        .replace(':', ":&#8288;");
  }
  // A's first lap in selection 1, B's fastest added, markers at 450 and 150 m.
  void markers_on_two_laps() {
    pick("ComboBox7", kALap1);
    add(kBLap2);
    find<analysis::RadioGroup>("RadioGroup10")->setItemIndex(kMarkersOn);
    form.chart().SetCrossHairPos(1, 450, 0);
    form.chart().SetCrossHairPos(2, 150, 0);
    form.update_markers();
  }
  QStringList legend_texts() {
    QStringList texts;
    auto* legend = find<QListWidget>("LapLegend");
    for (int r = 0; r < legend->count(); ++r) texts << legend->item(r)->text();
    return texts;
  }

  test::TempDir dir;
  ScriptedUi ui;
  ProgramState state;
  TForm10 form;
};

TEST_F(PlotWindowMoreLapsTest, AnAddedLapEndsInLapOverlayInItsOwnStyleWithALegendEntry) {
  ASSERT_EQ(find<analysis::RadioGroup>("RadioGroup2")->itemIndex(), 0);
  add(kALap2);
  EXPECT_EQ(find<analysis::RadioGroup>("RadioGroup2")->itemIndex(), kLapOverlay);
  add(kBLap1);
  add(kALap2);  // added already: nothing changes
  EXPECT_EQ(legend_texts(), QStringList({QString::fromStdString("Add 1  " + legend_of(kDataSetA, 1)),
                                         QString::fromStdString("Add 2  " + legend_of(kDataSetB, 0))}));
  EXPECT_GT(items_in_style(0), 50u);
  EXPECT_GT(items_in_style(1), 50u);
  auto* box = find<QLabel>("LapLegendBox");
  EXPECT_TRUE(box->isVisible());
  EXPECT_TRUE(box->text().contains(entry_html(2, kDataSetB, 0)));
  EXPECT_TRUE(find<QCheckBox>("TimeSlip")->isEnabled()) << "two added laps compare without a selection";
  EXPECT_EQ(ui.texts(), std::vector<std::string>{});

  find<QListWidget>("LapLegend")->setCurrentRow(0);
  find<QPushButton>("RemoveLap")->click();
  EXPECT_EQ(legend_texts(), QStringList({QString::fromStdString("Add 1  " + legend_of(kDataSetB, 0))}));
  EXPECT_EQ(items_in_style(0), 0u);
  EXPECT_GT(items_in_style(1), 50u) << "a lap keeps its style when one before it goes";

  find<analysis::RadioGroup>("RadioGroup2")->setItemIndex(0);
  EXPECT_FALSE(box->isVisible()) << "All Plot Data draws the whole logs";
  EXPECT_EQ(items_in_style(1), 0u);
}

TEST_F(PlotWindowMoreLapsTest, TheLapLegendUnderTheChartWrapsInsteadOfWideningTheWindow) {
  constexpr int kWidth = 1280;
  constexpr int kHeight = 720;
  form.resize(kWidth, kHeight);
  for (int item : {kALap1, kALap2, kBLap1, kBLap2}) add(item);
  QApplication::processEvents();
  EXPECT_EQ(form.width(), kWidth);
  auto* box = find<QLabel>("LapLegendBox");
  ASSERT_TRUE(box->isVisible());
  // Every entry in sight: none cut off at the right or the bottom.
  EXPECT_LE(box->minimumSizeHint().width(), box->width());
  EXPECT_GE(box->height(), box->heightForWidth(box->width()));
  EXPECT_TRUE(box->text().contains(entry_html(4, kDataSetB, 1)));
}

TEST_F(PlotWindowMoreLapsTest, FastestOfEachSessionFillsTheListInOneClick) {
  add(kALap1);
  find<QPushButton>("FastestOfEachSession")->click();
  EXPECT_EQ(legend_texts(), QStringList({QString::fromStdString("Add 1  " + legend_of(kDataSetA, 1)),
                                         QString::fromStdString("Add 2  " + legend_of(kDataSetB, 0))}));
  EXPECT_EQ(find<analysis::RadioGroup>("RadioGroup2")->itemIndex(), kLapOverlay);
}

TEST_F(PlotWindowMoreLapsTest, TheReadoutReadsEveryLapAtThePointerInTheShownUnits) {
  pick("ComboBox7", kALap1);
  add(kBLap2);
  const double s = slip(kDataSetA, 0, kDataSetB, 1, 450);
  ASSERT_GT(s, 0.5);
  EXPECT_EQ(readout_at(450), "Axis: 1.0 at 450.0\nSel 1: Speed 60.0  Slip: +" + fixed_text(s, 2) +
                                 " s\nAdd 1: Speed 50.0  Slip ref ");
  EXPECT_EQ(readout_at(950), "Axis: 1.0 at 950.0\nSel 1: -\nAdd 1: - ") << "beyond both laps";
  // With the slip drawn, the two laps' one slip keeps its line at the end.
  find<QCheckBox>("TimeSlip")->setChecked(true);
  EXPECT_EQ(readout_at(450), "Axis: 1.0 at 450.0\nSel 1: Speed 60.0  Slip: +" + fixed_text(s, 2) +
                                 " s\nAdd 1: Speed 50.0  Slip ref\nSlip: +" + fixed_text(s, 2) + " s ");
  find<QCheckBox>("TimeSlip")->setChecked(false);

  // Feet: the same place further along the axis, the same values.
  find<analysis::RadioGroup>("RadioGroup11")->setItemIndex(1);
  const double s_feet = slip(kDataSetA, 0, kDataSetB, 1, kFeetPlace, kFeetPerMetre);
  EXPECT_EQ(fixed_text(s_feet, 2), fixed_text(slip(kDataSetA, 0, kDataSetB, 1, kFeetPlace / kFeetPerMetre), 2));
  EXPECT_EQ(readout_at(kFeetPlace), "Axis: 1.0 at 1476.0\nSel 1: Speed 60.0  Slip: +" + fixed_text(s_feet, 2) +
                                        " s\nAdd 1: Speed 50.0  Slip ref ");

  // The other speed unit converts both sets' values.
  auto* speed_unit = find<analysis::RadioGroup>("RadioGroup4");
  const bool to_kmh = speed_unit->itemIndex() == 0;
  speed_unit->setItemIndex(to_kmh ? 1 : 0);
  const double factor = to_kmh ? kKmhPerMph : 1 / kKmhPerMph;
  const std::string line = readout_at(kFeetPlace);
  EXPECT_NE(line.find("Sel 1: Speed " + fixed_text(60 * factor, 1) + "  Slip"), std::string::npos) << line;
  EXPECT_NE(line.find("Add 1: Speed " + fixed_text(50 * factor, 1) + "  Slip ref"), std::string::npos) << line;

  // Time on x: the selections' lines as they were, the added lap's after them.
  find<QComboBox>("ComboBox3")->setCurrentIndex(kTimeAxis);
  const LapRecord& b2 = state.log.dataset(kDataSetB).lap_table[1];
  EXPECT_EQ(readout_at(12.3), "Axis: 1.0 at 12.3\nSel 1 = Log:  1 Lap:  1 Data:A Time: " +
                                  fixed_text(state.log.dataset(kDataSetA).lap_table[0].lap_time, 2) +
                                  "\nAdd 1 = Log:  1 Lap:  " + std::to_string(b2.lap) +
                                  " Data:B Time: " + fixed_text(b2.lap_time, 2) + " ");
}

// A from an instrument set to MPH, PSI and degC, B from one set to KMH, Bar
// and degF, both logging the same speed, oil and water: every unit shown
// reads the two laps alike.
TEST_F(PlotWindowMoreLapsTest, TwoInstrumentsLogsReadAlikeInEveryUnit) {
  form.hide();
  struct Reading {
    double speed, oil_pressure, oil_temp, water;
  };
  const auto fill = [this](std::uint8_t set, HeldUnits units, Reading r) {
    Dataset& data = state.log.dataset(set);
    data.held_units = units;
    const std::pair<TVector Dataset::*, double> channels[] = {{&Dataset::ch_speed, r.speed},
                                                              {&Dataset::ch_oil_pressure, r.oil_pressure},
                                                              {&Dataset::ch_oil_temp, r.oil_temp},
                                                              {&Dataset::ch_water_temp, r.water}};
    for (const auto& [array, value] : channels) {
      (data.*array).setNrOfElem(data.sample_count());
      for (long k = 1; k <= data.sample_count(); ++k) (data.*array).set(k, value);
    }
  };
  fill(kDataSetA, {true, true, true}, {60, 50, 100, 90});
  fill(kDataSetB, {false, false, false}, {96, 50 * 0.06895, 212, 194});
  state.log.shown_units = state.log.dataset(kDataSetB).held_units;  // B was loaded last
  form.show();
  for (const char* box : {"CheckBox3", "CheckBox4", "CheckBox5"}) find<QCheckBox>(box)->setChecked(true);
  pick("ComboBox7", kALap1);
  add(kBLap2);
  ASSERT_EQ(find<QComboBox>("ComboBox3")->currentIndex(), kDistanceAxis);

  const auto expect_both_read = [this](double x, const std::string& values) {
    const std::string readout = readout_at(x);
    EXPECT_NE(readout.find("\nSel 1: " + values + "  Slip: "), std::string::npos) << readout;
    EXPECT_NE(readout.find("\nAdd 1: " + values + "  Slip ref "), std::string::npos) << readout;
  };
  expect_both_read(450, "Speed 96.0  Oil P 3.4  Oil T 212.0  Water 194.0");

  find<analysis::RadioGroup>("RadioGroup4")->setItemIndex(0);  // MPH
  find<analysis::RadioGroup>("RadioGroup6")->setItemIndex(0);  // PSI
  expect_both_read(450, "Speed 60.0  Oil P 50.0  Oil T 212.0  Water 194.0");
  find<analysis::RadioGroup>("RadioGroup5")->setItemIndex(0);  // degC
  expect_both_read(450, "Speed 60.0  Oil P 50.0  Oil T 100.0  Water 90.0");
  find<analysis::RadioGroup>("RadioGroup11")->setItemIndex(1);  // Feet
  expect_both_read(kFeetPlace, "Speed 60.0  Oil P 50.0  Oil T 100.0  Water 90.0");

  // The markers read both laps in the same units.
  find<analysis::RadioGroup>("RadioGroup10")->setItemIndex(kMarkersOn);
  form.chart().SetCrossHairPos(1, kFeetPlace, 0);
  form.chart().SetCrossHairPos(2, kFeetPlace / 3, 0);
  form.update_markers();
  const QStringList lines = find<QLabel>("LapMarkerValues")->text().split('\n');
  ASSERT_EQ(lines.size(), 2);
  const std::string values =
      "  Speed 60.0 / 60.0 / 0.0  Oil P 50.0 / 50.0 / 0.0  Oil T 100.0 / 100.0 / 0.0  Water 90.0 / 90.0 / 0.0  Slip ";
  EXPECT_TRUE(lines[0].startsWith(QString::fromStdString("Sel 1" + values))) << lines[0].toStdString();
  EXPECT_EQ(lines[1].toStdString(), "Add 1" + values + "ref / ref");
}

TEST_F(PlotWindowMoreLapsTest, TheMarkerPanelGivesEachLapAtBothMarkersWithTheDifferences) {
  markers_on_two_laps();
  const double s1 = slip(kDataSetA, 0, kDataSetB, 1, 450);
  const double s2 = slip(kDataSetA, 0, kDataSetB, 1, 150);
  const auto sign = [](double v) { return (v < 0 ? "" : "+") + fixed_text(v, 2); };
  auto* values = find<QLabel>("LapMarkerValues");
  EXPECT_FALSE(values->isHidden());
  EXPECT_EQ(values->text().toStdString(), "Sel 1  Speed 60.0 / 60.0 / 0.0  Slip " + sign(s1) + " / " + sign(s2) +
                                              " / " + sign(s1 - s2) +
                                              "\nAdd 1  Speed 50.0 / 50.0 / 0.0  Slip ref / ref");
  find<analysis::RadioGroup>("RadioGroup10")->setItemIndex(0);
  EXPECT_TRUE(values->isHidden());
  EXPECT_TRUE(values->text().isEmpty());
}

TEST_F(PlotWindowMoreLapsTest, TheMarkerPanelFollowsAUnitSwitchAndTheLapsAddedOrRemoved) {
  markers_on_two_laps();
  auto* values = find<QLabel>("LapMarkerValues");
  const auto line = [values](int n) { return values->text().split('\n').value(n).toStdString(); };
  ASSERT_EQ(line(1), "Add 1  Speed 50.0 / 50.0 / 0.0  Slip ref / ref");

  auto* speed_unit = find<analysis::RadioGroup>("RadioGroup4");
  const bool to_kmh = speed_unit->itemIndex() == 0;
  speed_unit->setItemIndex(to_kmh ? 1 : 0);
  const std::string speed = fixed_text(50 * (to_kmh ? kKmhPerMph : 1 / kKmhPerMph), 1);
  EXPECT_EQ(line(1), "Add 1  Speed " + speed + " / " + speed + " / 0.0  Slip ref / ref");

  add(kALap2);
  EXPECT_EQ(values->text().count('\n'), 2) << "a line for the lap added";
  auto* reference = find<QComboBox>("SlipReference");
  reference->setCurrentIndex(1);
  emit reference->activated(1);  // the first selection
  EXPECT_TRUE(line(0).ends_with("Slip ref / ref")) << line(0);
  find<QListWidget>("LapLegend")->setCurrentRow(0);
  find<QPushButton>("RemoveLap")->click();
  EXPECT_EQ(values->text().count('\n'), 1) << "no line for the lap removed";
  EXPECT_EQ(line(1).rfind("Add 1  Speed " + fixed_text(60 * (to_kmh ? kKmhPerMph : 1 / kKmhPerMph), 1), 0), 0u)
      << values->text().toStdString();
}

TEST_F(PlotWindowMoreLapsTest, ZoomPanAndMinimiseKeepTheAddedLaps) {
  add(kALap1);
  add(kBLap1);
  const std::size_t drawn = items_in_style(0) + items_in_style(1);
  find<QPushButton>("ZoomIn")->click();
  find<QPushButton>("ZoomOut")->click();
  form.chart().SetLayerRange(1, 100, 0, 600, 100);  // as a pan leaves it
  find<QCheckBox>("TimeSlip")->setChecked(true);  // a re-plot over the window
  form.showMinimized();
  QApplication::processEvents();
  form.showNormal();
  QApplication::processEvents();
  EXPECT_EQ(form.plot_state().extra_laps.size(), 2u);
  EXPECT_EQ(legend_texts().size(), 2);
  EXPECT_EQ(items_in_style(0) + items_in_style(1), drawn);
  EXPECT_NE(readout_at(450).find("Add 2: Speed 50.0"), std::string::npos);
}

TEST_F(PlotWindowMoreLapsTest, ALapThatCannotBeDrawnIsListedWithItsReason) {
  state.log.dataset(kDataSetB).lap_table[0].end_time = 0;  // no samples
  add(kALap1);
  add(kBLap1);
  auto* entry = find<QListWidget>("LapLegend")->item(1);
  ASSERT_NE(entry, nullptr);
  EXPECT_EQ(entry->toolTip(), "The lap has zero length: not drawn");
  EXPECT_EQ(items_in_style(1), 0u);
  EXPECT_GT(items_in_style(0), 50u);
  EXPECT_FALSE(find<QLabel>("LapLegendBox")->text().contains("Add 2"));
  EXPECT_FALSE(find<QCheckBox>("TimeSlip")->isEnabled()) << "one lap drawn: nothing to compare";
  EXPECT_EQ(readout_at(450), "Axis: 1.0 at 450.0\nAdd 1: Speed 60.0\nAdd 2: - ");
}

TEST_F(PlotWindowMoreLapsTest, RemovingTheReferenceMovesItToTheFastestRemainingLap) {
  pick("ComboBox7", kALap1);
  add(kALap2);
  add(kBLap2);
  auto* reference = find<QComboBox>("SlipReference");
  ASSERT_EQ(reference->count(), 4);  // the fastest lap, then the three laps
  EXPECT_EQ(reference->currentIndex(), 0);
  EXPECT_NE(readout_at(450).find("Add 2: Speed 50.0  Slip ref"), std::string::npos) << "the fastest by default";
  reference->setCurrentIndex(2);
  emit reference->activated(2);  // A's second lap
  EXPECT_EQ(reference->currentText().toStdString(), "Add 1  " + legend_of(kDataSetA, 1));
  EXPECT_NE(readout_at(450).find("Add 1: Speed 60.0  Slip ref"), std::string::npos);
  EXPECT_NE(readout_at(450).find("Add 2: Speed 50.0  Slip: -"), std::string::npos) << "B's lap gains on it";

  find<QListWidget>("LapLegend")->setCurrentRow(0);
  find<QPushButton>("RemoveLap")->click();
  EXPECT_EQ(reference->currentIndex(), 0);
  EXPECT_NE(readout_at(450).find("Add 1: Speed 50.0  Slip ref"), std::string::npos) << readout_at(450);
}

}  // namespace
}  // namespace kv
