// The lap tools in the plot window, with real controls and chart, offscreen.
#include <gtest/gtest.h>

#include <QAbstractButton>
#include <QCheckBox>
#include <QComboBox>
#include <QDoubleSpinBox>
#include <QGroupBox>
#include <QLabel>
#include <QPushButton>
#include <QTabBar>
#include <QCoreApplication>
#include <QMouseEvent>
#include <QTableWidget>
#include <set>

#include "analysis/lap_tools/lap_tools.h"
#include "analysis/lap_tools_panel.h"
#include "analysis/plot_window.h"
#include "app/program_state.h"
#include "analysis/radio_group.h"
#include "chart/plotchart.h"
#include "config/config_form.h"
#include "tests/analysis/lap_tools/lap_fixtures.h"
#include "tests/support/temp_dir.h"
#include "ui/scripted_ui.h"
#include "tests/support/find_child.h"

namespace kv {
namespace {

constexpr int kSlipLayer = 3;
constexpr int kDistanceAxis = 1;
constexpr int kLapOverlay = 1;
constexpr int kHistogramTab = 4;
constexpr int kZoomBox = 1;
constexpr int kFeet = 1;
constexpr double kFeetPerMetre = 3.281;

class PlotWindowLapToolsTest : public ::testing::Test {
 protected:
  PlotWindowLapToolsTest()
      : state(dir.path().string()), form({state.log, state.dialogs, state.distance_in_feet, state.config}, ui) {
    // Three equal sectors of a 900 m circuit; B's laps are slower on the whole.
    state.log.datasets[0] = lap_tools::test::dataset_of_laps({{30, 20, 25}, {28, 22, 24}}, 900);
    state.log.datasets[1] = lap_tools::test::dataset_of_laps({{32, 23, 27}, {31, 21, 26}}, 900);
  }
  ~PlotWindowLapToolsTest() override { form.hide(); }

  template <typename T>
  T* find(const char* name) {
    return test::find_child<T>(form, name);
  }
  chart::TPlotChart& chart() { return form.chart(); }

  // Puts a lap record into an overlay slot, as choosing it in its list does.
  void choose(std::size_t slot, std::uint8_t set, std::size_t record) {
    const Dataset& data = state.log.dataset(set);
    const lap_tools::LapRef ref = lap_tools::lap_ref(data, record);
    analysis::OverlaySlot& s = form.plot_state().overlay[slot];
    s.lap.first_sample = static_cast<std::int32_t>(ref.samples.first);
    s.lap.last_sample = static_cast<std::int32_t>(ref.samples.last);
    s.lap.lap = data.lap_table[record].lap;
    s.lap.session = data.lap_table[record].session;
    s.lap.set_letter = set == kDataSetA ? "A" : "B";
    s.lap.lap_time = ref.lap_time;
    s.chosen = true;
  }
  lap_tools::LapTrace trace_of(std::uint8_t set, std::size_t record) {
    return lap_tools::LapTrace(lap_tools::lap_ref(state.log.dataset(set), record), 1.0,
                               lap_tools::TraceSmoothing::light);
  }
  // The slip items' distances and values.
  std::vector<std::pair<double, double>> slip_layer_points() {
    std::vector<std::pair<double, double>> points;
    for (const auto& item : chart().Items().items()) {
      if (item.layer == kSlipLayer) points.emplace_back(item.x, item.y);
    }
    return points;
  }
  // Drags a zoom box over the chart with the mouse, from and to fractions of
  // the chart area.
  void drag_zoom_box(QPointF from, QPointF to) {
    find<analysis::RadioGroup>("RadioGroup1")->setItemIndex(kZoomBox);
    const auto area = chart().geometry_px().area();
    const auto at = [&](QPointF f) {
      return QPointF(area.left + f.x() * (area.right - area.left), area.top + f.y() * (area.bottom - area.top));
    };
    const auto send = [&](QEvent::Type type, QPointF pos, Qt::MouseButtons held) {
      QMouseEvent event(type, pos, chart().mapToGlobal(pos), Qt::LeftButton, held, Qt::NoModifier);
      QCoreApplication::sendEvent(&chart(), &event);
    };
    send(QEvent::MouseButtonPress, at(from), Qt::LeftButton);
    send(QEvent::MouseMove, at(to), Qt::LeftButton);
    send(QEvent::MouseButtonRelease, at(to), Qt::NoButton);
  }
  std::vector<double> slip_layer_values() {
    std::vector<double> y;
    for (const auto& item : chart().Items().items()) {
      if (item.layer == kSlipLayer) y.push_back(item.y);
    }
    return y;
  }
  void overlay_on_distance() {
    find<QComboBox>("ComboBox3")->setCurrentIndex(kDistanceAxis);
    find<analysis::RadioGroup>("RadioGroup2")->setItemIndex(kLapOverlay);
  }
  // A's first lap ran on for half a lap more (a line crossing missed).
  void stretch_first_lap_of_a() {
    TVector& odo = state.log.datasets[0].ch_lap_odo;
    const lap_tools::LapRef first = lap_tools::lap_ref(state.log.datasets[0], 0);
    for (long i = first.samples.first; i <= first.samples.last; ++i) odo.set(i, odo[i] * 1.5);
  }
  static double column_sum(const QTableWidget& table, int column) {
    double sum = 0;
    for (int r = 0; r < table.rowCount(); ++r) sum += table.item(r, column)->text().toDouble();
    return sum;
  }

  test::TempDir dir;
  ScriptedUi ui;
  ProgramState state;
  TForm10 form;
};

TEST_F(PlotWindowLapToolsTest, TheSlipIsDrawnOnlyForTwoOverlaidLapsOnADistanceAxis) {
  form.show();
  ui.clear();  // the default configuration message
  auto* slip = find<QCheckBox>("TimeSlip");
  slip->setChecked(true);
  choose(0, kDataSetA, 0);
  choose(1, kDataSetB, 1);
  EXPECT_FALSE(slip->isEnabled()) << "All Plot Data on a time axis";
  find<QComboBox>("ComboBox3")->setCurrentIndex(kDistanceAxis);
  EXPECT_FALSE(slip->isEnabled()) << "the whole log on a distance axis";
  EXPECT_TRUE(slip_layer_values().empty());
  EXPECT_EQ(form.slip_readout_line(450), "");

  find<analysis::RadioGroup>("RadioGroup2")->setItemIndex(kLapOverlay);
  EXPECT_TRUE(ui.texts().empty()) << "both laps chosen: nothing to ask";
  EXPECT_TRUE(slip->isEnabled());
  EXPECT_FALSE(slip_layer_values().empty());
  EXPECT_TRUE(chart().ScaleY(kSlipLayer).Visible());
  EXPECT_EQ(chart().ScaleY(kSlipLayer).Caption(), "Slip (s)");
  EXPECT_DOUBLE_EQ(chart().ScaleX(kSlipLayer).RangeHigh(), chart().ScaleX(1).RangeHigh()) << "one distance scale";
  EXPECT_LT(chart().ScaleY(kSlipLayer).RangeLow(), 0.0);
  // Laps from different sets: the read-out is the core's slip at the pointer,
  // taken against the faster lap.
  const auto expected = lap_tools::slip_at(lap_tools::time_slip_curve(trace_of(kDataSetB, 1), trace_of(kDataSetA, 0)), 450);
  ASSERT_TRUE(expected);
  EXPECT_GT(*expected, 0.5) << "B's second lap is faster in every sector";
  EXPECT_EQ(form.slip_readout_line(450), lap_tools::slip_text(*expected));
  EXPECT_EQ(form.slip_readout_line(5000), "") << "beyond both laps";
  emit chart().OnMouseMoveInChart(true, {}, 450, 1);
  EXPECT_TRUE(find<QLabel>("StaticText5")->text().endsWith(
      QString::fromStdString("\n" + lap_tools::slip_text(*expected) + " ")))
      << "the read-out box carries the slip line";
  // Zooming layer 1 takes the slip's distance window along.
  find<QPushButton>("ZoomIn")->click();
  EXPECT_DOUBLE_EQ(chart().ScaleX(kSlipLayer).RangeLow(), chart().ScaleX(1).RangeLow());
  EXPECT_DOUBLE_EQ(chart().ScaleX(kSlipLayer).RangeHigh(), chart().ScaleX(1).RangeHigh());

  slip->setChecked(false);
  EXPECT_TRUE(slip_layer_values().empty()) << "switched off leaves nothing behind";
  EXPECT_FALSE(chart().ScaleY(kSlipLayer).Visible());
  EXPECT_EQ(form.slip_readout_line(450), "");

  slip->setChecked(true);
  form.plot_state().overlay[1].chosen = false;
  form.refresh_engine_data();
  EXPECT_FALSE(slip->isEnabled()) << "one lap has nothing to compare with";
  EXPECT_TRUE(slip_layer_values().empty());

  form.plot_state().overlay[1].chosen = true;
  find<QComboBox>("ComboBox3")->setCurrentIndex(0);
  EXPECT_FALSE(slip->isEnabled()) << "a time axis";
  EXPECT_TRUE(slip_layer_values().empty());
}

TEST_F(PlotWindowLapToolsTest, ALapAgainstItselfHasNoSlipAnywhere) {
  form.show();  // showing refills the overlay lists, so no lap is chosen before it
  ui.clear();   // the default configuration message
  choose(0, kDataSetA, 1);
  choose(1, kDataSetA, 1);
  find<QCheckBox>("TimeSlip")->setChecked(true);
  overlay_on_distance();
  const std::vector<double> y = slip_layer_values();
  ASSERT_FALSE(y.empty());
  for (double v : y) EXPECT_EQ(v, 0.0);
  EXPECT_EQ(form.slip_readout_line(0), "Slip: +0.00 s");
  EXPECT_EQ(form.slip_readout_line(899), "Slip: +0.00 s");
}

TEST_F(PlotWindowLapToolsTest, WithFeetTheSlipAndTheSectorsFollowTheFeetAxis) {
  config::ConfigForm config(state.config);
  config.setup();
  form.show();
  ui.clear();  // the default configuration message
  find<QDoubleSpinBox>("SectorBoundary1")->setValue(300);
  find<QDoubleSpinBox>("SectorBoundary2")->setValue(600);
  find<QDoubleSpinBox>("SectorBoundary3")->setValue(0);
  find<QAbstractButton>("ApplySectors")->click();
  choose(0, kDataSetA, 0);
  choose(1, kDataSetB, 1);
  find<QCheckBox>("TimeSlip")->setChecked(true);
  overlay_on_distance();
  const std::string slip_in_metres = form.slip_readout_line(450);
  auto* table = find<QTableWidget>("SectorTable");
  std::vector<QString> cells_in_metres;
  for (int r = 0; r < table->rowCount(); ++r) {
    for (int c = 0; c < table->columnCount(); ++c) cells_in_metres.push_back(table->item(r, c) ? table->item(r, c)->text() : "");
  }
  ASSERT_NE(slip_in_metres, "");

  find<analysis::RadioGroup>("RadioGroup11")->setItemIndex(kFeet);
  ASSERT_EQ(chart().Scale1X().Caption(), "Distance(ft)");
  double furthest = 0;
  for (const auto& [x, y] : slip_layer_points()) furthest = std::max(furthest, x);
  EXPECT_GT(furthest, 890 * kFeetPerMetre) << "the curve runs the whole lap on the feet axis";
  EXPECT_DOUBLE_EQ(chart().ScaleX(kSlipLayer).RangeHigh(), chart().ScaleX(1).RangeHigh());
  EXPECT_EQ(form.slip_readout_line(450 * kFeetPerMetre), slip_in_metres) << "the slip of the same place";

  // Sector times do not change with the unit; the boundaries are shown in it.
  std::size_t k = 0;
  for (int r = 0; r < table->rowCount(); ++r) {
    for (int c = 0; c < table->columnCount(); ++c, ++k) {
      EXPECT_EQ(table->item(r, c) ? table->item(r, c)->text() : "", cells_in_metres[k]) << r << " " << c;
    }
  }
  EXPECT_FALSE(table->item(table->rowCount() - 1, 3)->text().isEmpty()) << "the theoretical best over both";
  EXPECT_EQ(find<QDoubleSpinBox>("SectorBoundary1")->value(), 984.3) << "300 m";
  EXPECT_EQ(find<QDoubleSpinBox>("SectorBoundary2")->value(), 1968.6) << "600 m";
  EXPECT_EQ(find<QLabel>("SectorBoundaryUnit")->text(), "Sector boundaries (ft, 0 = off):");
  find<QDoubleSpinBox>("SectorBoundary1")->setValue(984.3);
  find<QDoubleSpinBox>("SectorBoundary2")->setValue(1640.5);
  find<QDoubleSpinBox>("SectorBoundary3")->setValue(0);
  find<QAbstractButton>("ApplySectors")->click();
  const lap_tools::SectorTable expected = lap_tools::sector_table(state.log, {300, 500});
  EXPECT_EQ(table->item(0, 5)->text(), QString::number(*expected.rows[0].sector[1], 'f', 2)) << "1640.5 ft is 500 m";

  find<analysis::RadioGroup>("RadioGroup11")->setItemIndex(0);
  EXPECT_EQ(find<QDoubleSpinBox>("SectorBoundary1")->value(), 300.0) << "typed in feet, kept in metres";
  EXPECT_EQ(find<QDoubleSpinBox>("SectorBoundary2")->value(), 500.0);
  EXPECT_EQ(find<QLabel>("SectorBoundaryUnit")->text(), "Sector boundaries (m, 0 = off):");
}

TEST_F(PlotWindowLapToolsTest, NoSlipScaleWithoutASlipCurve) {
  // A lap record with end time 0: the lap has no samples.
  state.log.datasets[1].lap_table[0].end_time = 0;
  form.show();
  ui.clear();  // the default configuration message
  choose(0, kDataSetA, 0);
  choose(1, kDataSetB, 0);
  find<QCheckBox>("TimeSlip")->setChecked(true);
  overlay_on_distance();
  EXPECT_TRUE(slip_layer_values().empty());
  EXPECT_FALSE(chart().ScaleY(kSlipLayer).Visible());
  EXPECT_EQ(form.slip_readout_line(450), "");
}

TEST_F(PlotWindowLapToolsTest, TheSlipFollowsAZoomBoxAtOnce) {
  form.show();
  ui.clear();  // the default configuration message
  choose(0, kDataSetA, 0);
  choose(1, kDataSetB, 1);
  find<QCheckBox>("TimeSlip")->setChecked(true);
  overlay_on_distance();
  drag_zoom_box({0.2, 0.2}, {0.6, 0.8});
  const double low = chart().ScaleX(1).RangeLow(), high = chart().ScaleX(1).RangeHigh();
  ASSERT_GT(low, 100.0) << "zoomed";
  ASSERT_LT(high, 700.0);
  EXPECT_DOUBLE_EQ(chart().ScaleX(kSlipLayer).RangeLow(), low);
  EXPECT_DOUBLE_EQ(chart().ScaleX(kSlipLayer).RangeHigh(), high);
}

TEST_F(PlotWindowLapToolsTest, SectorTableShowsEachLapsSectorsTheBestAndTheTheoreticalLap) {
  config::ConfigForm config(state.config);
  config.setup();
  form.show();
  ui.clear();  // the default configuration message
  auto* table = find<QTableWidget>("SectorTable");
  EXPECT_EQ(find<QDoubleSpinBox>("SectorBoundary1")->value(), 500.0) << "the configuration's split distances";
  EXPECT_EQ(find<QDoubleSpinBox>("SectorBoundary3")->value(), 1500.0);

  find<QDoubleSpinBox>("SectorBoundary1")->setValue(600);
  find<QDoubleSpinBox>("SectorBoundary2")->setValue(300);
  find<QDoubleSpinBox>("SectorBoundary3")->setValue(0);
  find<QAbstractButton>("ApplySectors")->click();
  const lap_tools::SectorTable expected = lap_tools::sector_table(state.log, {300, 600});
  ASSERT_EQ(expected.rows.size(), 4u);
  ASSERT_EQ(table->rowCount(), 4 + 3) << "a row per lap, then the best of A, of B and of both";
  ASSERT_EQ(table->columnCount(), 4 + 3 + 1);
  EXPECT_EQ(table->horizontalHeaderItem(6)->text(), "Sector 3");
  EXPECT_EQ(find<QDoubleSpinBox>("SectorBoundary1")->value(), 300.0) << "the boundaries in force, in order";
  EXPECT_EQ(find<QDoubleSpinBox>("SectorBoundary2")->value(), 600.0);

  const QColor no_highlight = QTableWidgetItem().background().color();
  std::set<QRgb> overall_colours, set_colours;
  for (int r = 0; r < 4; ++r) {
    const lap_tools::SectorRow& row = expected.rows[static_cast<std::size_t>(r)];
    EXPECT_EQ(table->item(r, 0)->text(), r < 2 ? "A" : "B");
    for (int s = 0; s < 3; ++s) {
      const auto k = static_cast<std::size_t>(s);
      const QTableWidgetItem* cell = table->item(r, 4 + s);
      EXPECT_EQ(cell->text(), QString::number(*row.sector[k], 'f', 2)) << r << s;
      const QColor colour = cell->background().color();
      EXPECT_EQ(colour != no_highlight, row.best_in_set[k] || row.best_overall[k]) << r << s;
      if (row.best_overall[k]) {
        overall_colours.insert(colour.rgb());
      } else if (row.best_in_set[k]) {
        set_colours.insert(colour.rgb());
      }
    }
  }
  // The best over both sets stands out from a set's own best.
  ASSERT_EQ(overall_colours.size(), 1u);
  ASSERT_EQ(set_colours.size(), 1u);
  EXPECT_NE(*overall_colours.begin(), *set_colours.begin());

  EXPECT_EQ(table->item(4, 0)->text(), "Best A");
  EXPECT_EQ(table->item(4, 3)->text(), QString::number(*expected.per_set[0].theoretical, 'f', 2));
  EXPECT_EQ(table->item(4, 7)->text(), QString::number(*expected.per_set[0].gain, 'f', 2));
  EXPECT_EQ(table->item(6, 0)->text(), "Best A+B");
  EXPECT_EQ(table->item(6, 3)->text(), QString::number(*expected.both.theoretical, 'f', 2));
}

TEST_F(PlotWindowLapToolsTest, LapStatsAreShownPerSetAndSavedThroughTheButton) {
  form.show();
  ui.clear();  // the default configuration message
  EXPECT_EQ(find<QTableWidget>("LapStatsA")->rowCount(), 2);
  EXPECT_EQ(find<QTableWidget>("LapStatsB")->rowCount(), 2);
  EXPECT_EQ(find<QTableWidget>("LapStatsA")->horizontalHeaderItem(0)->text(), "Session");

  ui.queue_file(dir.file("laps"));
  find<QAbstractButton>("SaveLapStats")->click();
  EXPECT_EQ(ui.texts(), std::vector<std::string>{"File Saved OK"});
  EXPECT_EQ(test::read_file(dir.file("laps.csv")),
            lap_tools::lap_stats_csv(lap_tools::lap_stats_table(state.log), state.log.shown_units));
  EXPECT_EQ(state.dialogs.csv.file_name, "laps.csv");

  ui.clear();
  ui.queue_file(std::nullopt);
  find<QAbstractButton>("SaveLapStats")->click();
  EXPECT_EQ(ui.texts(), std::vector<std::string>{"Cancelled, No Data Saved"});
}

// A unit switch changes a few columns of the lap statistics; the tables then
// show what a fresh fill of the same figures shows, cell for cell and column
// width for column width.
TEST_F(PlotWindowLapToolsTest, LapStatsAfterAUnitSwitchMatchAFreshFill) {
  form.show();
  ui.clear();  // the default configuration message
  auto* speed = find<analysis::RadioGroup>("RadioGroup4");
  speed->setItemIndex(1 - speed->itemIndex());
  auto* shown = find<analysis::LapStatsPanel>("LapStatistics");
  analysis::LapStatsPanel fresh(shown->parentWidget());
  fresh.show_rows(lap_tools::lap_stats_table(state.log), state.log.shown_units);
  for (const char* name : {"LapStatsA", "LapStatsB"}) {
    const QTableWidget& got = *test::find_child<QTableWidget>(*shown, name);
    const QTableWidget& want = *test::find_child<QTableWidget>(fresh, name);
    ASSERT_EQ(got.rowCount(), want.rowCount());
    ASSERT_EQ(got.columnCount(), want.columnCount());
    for (int c = 0; c < want.columnCount(); ++c) {
      EXPECT_EQ(got.horizontalHeaderItem(c)->text(), want.horizontalHeaderItem(c)->text());
      EXPECT_EQ(got.columnWidth(c), want.columnWidth(c)) << name << " column " << c;
      for (int r = 0; r < want.rowCount(); ++r) EXPECT_EQ(got.item(r, c)->text(), want.item(r, c)->text());
    }
  }
  EXPECT_TRUE(test::find_child<QTableWidget>(*shown, "LapStatsA")->horizontalHeaderItem(5)->text().contains(
      speed->itemIndex() == 1 ? "KMH" : "MPH"));
}

// Every cell as a fresh fill shows it: text, tooltip, colours, font, and
// the column widths.
void expect_same_table(const QTableWidget& got, const QTableWidget& want, const std::string& where) {
  ASSERT_EQ(got.rowCount(), want.rowCount()) << where;
  ASSERT_EQ(got.columnCount(), want.columnCount()) << where;
  for (int c = 0; c < want.columnCount(); ++c) {
    EXPECT_EQ(got.horizontalHeaderItem(c)->text().toStdString(), want.horizontalHeaderItem(c)->text().toStdString())
        << where;
    EXPECT_EQ(got.columnWidth(c), want.columnWidth(c)) << where << " column " << c;
    for (int r = 0; r < want.rowCount(); ++r) {
      const QTableWidgetItem* g = got.item(r, c);
      const QTableWidgetItem* w = want.item(r, c);
      ASSERT_EQ(g == nullptr, w == nullptr) << where << " cell " << r << "," << c;
      if (w == nullptr) continue;
      EXPECT_EQ(g->text().toStdString(), w->text().toStdString()) << where << " cell " << r << "," << c;
      EXPECT_EQ(g->toolTip().toStdString(), w->toolTip().toStdString()) << where << " cell " << r << "," << c;
      EXPECT_EQ(g->background(), w->background()) << where << " cell " << r << "," << c;
      EXPECT_EQ(g->foreground(), w->foreground()) << where << " cell " << r << "," << c;
      EXPECT_EQ(g->font(), w->font()) << where << " cell " << r << "," << c;
    }
  }
}

// The tables skip a refill when their figures have not changed. After every
// unit of every switch, a new log in B with as many laps, and a minimise and
// restore, both must show what a fresh fill shows: a greyed lap's reason
// names its distance in the shown unit.
TEST_F(PlotWindowLapToolsTest, LapTablesMatchAFreshFillAfterUnitSwitchesAndANewLog) {
  stretch_first_lap_of_a();
  form.show();
  ui.clear();  // the default configuration message
  const auto expect_fresh = [&](const std::string& where) {
    auto* stats = find<analysis::LapStatsPanel>("LapStatistics");
    analysis::LapStatsPanel fresh_stats(stats->parentWidget());
    fresh_stats.show_rows(lap_tools::lap_stats_table(state.log), state.log.shown_units);
    for (const char* name : {"LapStatsA", "LapStatsB"}) {
      expect_same_table(*test::find_child<QTableWidget>(*stats, name),
                        *test::find_child<QTableWidget>(fresh_stats, name), where + " " + name);
    }
    auto* sectors = find<analysis::SectorPanel>("SectorTimes");
    analysis::SectorPanel fresh_sectors(sectors->parentWidget());
    const std::vector<double> boundaries = sectors->typed_boundaries();
    fresh_sectors.show_boundaries(boundaries, state.distance_in_feet);
    fresh_sectors.show_table(lap_tools::sector_table(state.log, boundaries));
    expect_same_table(*test::find_child<QTableWidget>(*sectors, "SectorTable"),
                      *test::find_child<QTableWidget>(fresh_sectors, "SectorTable"), where + " sectors");
  };
  for (const char* name : {"RadioGroup4", "RadioGroup5", "RadioGroup6", "RadioGroup11"}) {
    auto* units = find<analysis::RadioGroup>(name);
    for (int k : {1, 2, 0}) {
      units->setItemIndex(k);
      expect_fresh(name + std::string(" ") + std::to_string(units->itemIndex()));
    }
  }
  EXPECT_TRUE(find<QTableWidget>("SectorTable")->item(0, 4)->toolTip().contains(" m,"));

  state.log.datasets[1] = lap_tools::test::dataset_of_laps({{33, 20, 27}, {30, 25, 26}}, 1200);
  find<analysis::RadioGroup>("RadioGroup11")->setItemIndex(kFeet);
  expect_fresh("new B");
  EXPECT_EQ(find<QLabel>("SectorBoundaryUnit")->text(), "Sector boundaries (ft, 0 = off):");

  form.showMinimized();
  QCoreApplication::processEvents();
  form.showNormal();
  QCoreApplication::processEvents();
  expect_fresh("restored");
}

TEST_F(PlotWindowLapToolsTest, HistogramTabShowsPercentagesOfTimeThatAddUpTo100) {
  form.show();
  ui.clear();  // the default configuration message
  auto* tabs = find<QTabBar>("TabControl2");
  ASSERT_EQ(tabs->count(), 5);
  EXPECT_EQ(tabs->tabText(kHistogramTab), "Histogram");
  tabs->setCurrentIndex(kHistogramTab);
  EXPECT_TRUE(find<QGroupBox>("HistogramArea")->isVisible());
  EXPECT_FALSE(find<QGroupBox>("PlotArea")->isVisible());

  auto* table = find<QTableWidget>("HistogramTable");
  auto* channel = find<QComboBox>("HistogramChannel");
  for (int c = 0; c < channel->count(); ++c) {
    channel->setCurrentIndex(c);
    ASSERT_EQ(table->columnCount(), 4) << "from, to, A and B";
    ASSERT_GT(table->rowCount(), 0);
    for (int series = 2; series < 4; ++series) {
      // Each bin is shown to 0.1 %.
      EXPECT_NEAR(column_sum(*table, series), 100.0, 0.05 * table->rowCount()) << channel->itemText(c).toStdString();
    }
  }
  EXPECT_GT(chart().ItemCount(), 0u);
  EXPECT_GT(find<chart::TPlotChart>("HistogramChart")->ItemCount(), 0u);

  choose(0, kDataSetA, 0);
  choose(1, kDataSetB, 1);
  find<QComboBox>("HistogramRange")->setCurrentIndex(1);
  EXPECT_EQ(table->horizontalHeaderItem(2)->text(), "Lap 1 S1 (A) %");
  EXPECT_EQ(table->horizontalHeaderItem(3)->text(), "Lap 2 S1 (B) %");
  EXPECT_NEAR(column_sum(*table, 3), 100.0, 0.05 * table->rowCount());

  tabs->setCurrentIndex(1);
  EXPECT_FALSE(find<QGroupBox>("HistogramArea")->isVisible());
  EXPECT_TRUE(find<QGroupBox>("LapArea")->isVisible());
}

TEST_F(PlotWindowLapToolsTest, VisibleWindowHistogramOnALapDistanceAxis) {
  // RPM/100 = the lap distance / 10: the bins tell which samples were counted.
  for (Dataset& d : state.log.datasets) {
    for (long i = 1; i <= d.ch_rpm.NrOfElem(); ++i) d.ch_rpm.set(i, d.ch_lap_odo[i] / 10);
  }
  form.show();
  ui.clear();  // the default configuration message
  choose(0, kDataSetA, 0);
  choose(1, kDataSetB, 1);
  overlay_on_distance();
  find<QTabBar>("TabControl2")->setCurrentIndex(kHistogramTab);
  find<QComboBox>("HistogramRange")->setCurrentIndex(2);
  find<QDoubleSpinBox>("HistogramBinWidth")->setValue(1);
  chart().SetLayerRange(1, 339, 0, 577, 100);
  form.refresh_engine_data();
  auto* table = find<QTableWidget>("HistogramTable");
  ASSERT_GT(table->rowCount(), 0);
  EXPECT_GE(table->item(0, 0)->text().toDouble(), 33.0) << "nothing before 339 m";
  EXPECT_LE(table->item(table->rowCount() - 1, 1)->text().toDouble(), 58.0) << "nothing after 577 m";
  EXPECT_NEAR(column_sum(*table, 2), 100.0, 0.05 * table->rowCount());
  EXPECT_NEAR(column_sum(*table, 3), 100.0, 0.05 * table->rowCount());
}

TEST_F(PlotWindowLapToolsTest, HistogramSeriesWidenedTogetherShareTheTableRows) {
  // A's speeds fit 0.1 wide bins; A and B together need wider ones.
  Dataset& a = state.log.datasets[0];
  Dataset& b = state.log.datasets[1];
  for (long i = 1; i <= a.ch_speed.NrOfElem(); ++i) a.ch_speed.set(i, 100 + (i % 50) * 0.1);
  for (long i = 1; i <= b.ch_speed.NrOfElem(); ++i) b.ch_speed.set(i, i % 2 ? 0 : 300);
  form.show();
  ui.clear();  // the default configuration message
  find<QTabBar>("TabControl2")->setCurrentIndex(kHistogramTab);
  find<QComboBox>("HistogramChannel")->setCurrentIndex(1);
  find<QDoubleSpinBox>("HistogramBinWidth")->setValue(0.1);
  auto* table = find<QTableWidget>("HistogramTable");
  EXPECT_LE(table->rowCount(), lap_tools::kMaxHistogramBins);
  EXPECT_NEAR(column_sum(*table, 2), 100.0, 0.05 * table->rowCount()) << "Data A";
  EXPECT_NEAR(column_sum(*table, 3), 100.0, 0.05 * table->rowCount()) << "Data B";
  EXPECT_NEAR(table->item(0, 1)->text().toDouble() - table->item(0, 0)->text().toDouble(), 300.0 / 1999, 1e-4);
}

TEST_F(PlotWindowLapToolsTest, ALapFarFromTheTypicalDistanceIsGreyedWithItsReason) {
  stretch_first_lap_of_a();
  form.show();
  ui.clear();  // the default configuration message
  auto* table = find<QTableWidget>("SectorTable");
  const QTableWidgetItem* out_lap = table->item(0, 4);
  const QTableWidgetItem* lap = table->item(1, 4);
  EXPECT_NE(out_lap->foreground().color(), lap->foreground().color());
  EXPECT_TRUE(out_lap->toolTip().startsWith("Not counted in the bests: the lap covered 13")) << out_lap->toolTip().toStdString();
  EXPECT_TRUE(out_lap->toolTip().contains("the set's laps about 8")) << out_lap->toolTip().toStdString();
  EXPECT_TRUE(lap->toolTip().isEmpty());
  EXPECT_EQ(out_lap->background().color(), QTableWidgetItem().background().color()) << "never a best";
}

}  // namespace
}  // namespace kv
