// The plot window's Lap Times page, overlay picks, read-out box, markers,
// statistics and zoom, driven through their controls offscreen.
#include <gtest/gtest.h>

#include <QApplication>
#include <QCheckBox>
#include <QComboBox>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QTabBar>
#include <QTableWidget>

#include "analysis/plot_building.h"
#include "analysis/plot_window.h"
#include "analysis/radio_group.h"
#include "chart/plotchart.h"
#include "tests/analysis/lapped_window_fixture.h"
#include "tests/analysis/sample_data.h"
#include "tests/support/temp_dir.h"
#include "ui/scripted_ui.h"

namespace kv {
namespace {

// A's fourth lap is the fastest.
class PlotToolsWindowTest : public test::LappedPlotWindowTest {
 protected:
  PlotToolsWindowTest() { state.log.dataset(kDataSetA).lap_table[3].lap_time = 9.5f; }
};

TEST_F(PlotToolsWindowTest, LapTimesPageShowsTheTableFastestLapAndOverlayLists) {
  form.show();
  ui.clear();  // the default configuration message
  auto* grid = find<QTableWidget>("StringGrid1");
  ASSERT_EQ(grid->rowCount(), 7);
  EXPECT_EQ(grid->item(0, 7)->text(), "Avg KMH");
  EXPECT_EQ(grid->item(4, 2)->text(), "9.50");
  EXPECT_EQ(grid->item(1, 7)->text(), "180.00");
  EXPECT_EQ(grid->item(6, 0)->text(), "End Log1");
  EXPECT_EQ(find<QGroupBox>("GroupBox10")->title(), "Data A Lap Times: Memory A");
  EXPECT_EQ(text("Edit137"), "4");
  EXPECT_EQ(text("Edit139"), "9.50");
  EXPECT_EQ(find<QLabel>("Label141")->text(), "KMH");
  EXPECT_EQ(find<QTableWidget>("StringGrid2")->rowCount(), 2);  // B has no laps
  EXPECT_EQ(state.log.current_data_set, kDataSetA);

  auto* list = find<QComboBox>("ComboBox5");
  EXPECT_EQ(list->count(), 5);
  EXPECT_EQ(list->currentIndex(), -1);
  EXPECT_EQ(list->placeholderText(), "Select Lap for Overlay");
  EXPECT_EQ(list->itemText(0), "Session Log:   1  Lap:   1  Data A");
}

TEST_F(PlotToolsWindowTest, PickingALapInAllPlotDataDrawsItOnceFromTheFreshSlot) {
  form.show();
  ui.clear();  // the default configuration message
  ui.clear();
  pick("ComboBox5", 0);
  EXPECT_EQ(group("RadioGroup2")->itemIndex(), 1);
  EXPECT_TRUE(ui.texts().empty());  // no "Select Laps to View …" from a stale slot
  // Lap 1 spans samples 20 … 119, drawn from x = 0 with trace set 2's look.
  EXPECT_EQ(chart().ItemCount(), 101u);
  EXPECT_DOUBLE_EQ(chart().Items().items().front().x, 0.0);
  EXPECT_EQ(chart().Items().style(chart().Items().items().back().style).pen, chart::TPenStyle::psDot);
  EXPECT_EQ(find<QGroupBox>("RadioGroup8")->title(), "Sel 2 = Log:1 Lap:1 Data:A");
  EXPECT_EQ(find<QGroupBox>("RadioGroup7")->title(), "No Lap Selected");
  EXPECT_EQ(find<QLabel>("Label7")->text(), "No Lap");
  EXPECT_EQ(find<QLabel>("Label122")->text(), "Selection 2");

  pick("ComboBox7", 3);
  EXPECT_EQ(chart().ItemCount(), 101u + 96u);
  EXPECT_EQ(find<QLabel>("Label121")->text(), "Selection 1");
}

TEST_F(PlotToolsWindowTest, ReadoutBoxFollowsThePointerAndHidesOutsideTheChart) {
  form.show();
  ui.clear();  // the default configuration message
  auto* box = find<QLabel>("StaticText5");
  move_to(12.34, 30);
  EXPECT_TRUE(box->isVisible());
  EXPECT_EQ(box->text(), "Axis: 30.0 at 12.3\nDataA: Log:1 Lap:2 Time: 60.00 ");
  EXPECT_EQ(form.cursor_readout(), box->text().toStdString());
  emit chart().OnMouseMoveInChart(false, {}, 0, 0);
  EXPECT_FALSE(box->isVisible());
  EXPECT_EQ(form.plot_state().mouse_x, 0);

  // Leaving the chart's widget in one jump, with no move outside the chart.
  move_to(12.34, 30);
  QEvent leave(QEvent::Leave);
  QApplication::sendEvent(&chart(), &leave);
  EXPECT_FALSE(box->isVisible());

  find<QCheckBox>("CheckBox17")->setChecked(false);
  move_to(1, 1);
  EXPECT_FALSE(box->isVisible());
  find<QCheckBox>("CheckBox17")->setChecked(true);
  EXPECT_TRUE(box->isVisible());
  EXPECT_TRUE(box->text().isEmpty());
}

TEST_F(PlotToolsWindowTest, MarkersShowTheirValuesAndComeBackIntoTheWindow) {
  form.show();
  ui.clear();  // the default configuration message
  EXPECT_FALSE(find<QPushButton>("ResetMarkers")->isEnabled());
  group("RadioGroup10")->setItemIndex(1);
  EXPECT_TRUE(find<QPushButton>("ResetMarkers")->isEnabled());
  EXPECT_EQ(chart().CrossHair(1).Mode, chart::TCrossHMode::chBoth);
  EXPECT_EQ(chart().CrossHair(2).Color, 0x0000FFu);
  move_to(5, 7);
  EXPECT_EQ(find<QLabel>("Label13")->text(), "5.0");
  EXPECT_FALSE(find<QLabel>("Label13")->isHidden());

  chart().SetCrossHairPos(1, 25, 40);
  chart().SetCrossHairPos(2, 1000, 12);  // dragged past the window
  emit chart().OnClick();
  const double left = chart().Scale1X().RangeLow();
  EXPECT_EQ(chart().CrossHairPosX(2), left);
  EXPECT_EQ(chart().CrossHairPosY(2), 0);
  EXPECT_EQ(text("NumEdit5"), "25.0");
  EXPECT_EQ(text("NumEdit7"), "40.0");

  // Back to 0 s, left of the window (the first sample is at 0.1 s); the next
  // click brings them in.
  find<QPushButton>("ResetMarkers")->click();
  EXPECT_EQ(chart().CrossHairPosX(1), 0);
  EXPECT_EQ(text("NumEdit5"), "0.0");
  emit chart().OnClick();
  EXPECT_EQ(chart().CrossHairPosX(1), left);
  group("RadioGroup10")->setItemIndex(0);
  EXPECT_TRUE(text("NumEdit5").isEmpty());
  EXPECT_TRUE(find<QLabel>("Label13")->isHidden());
}

TEST_F(PlotToolsWindowTest, InWindowStatisticsFollowZoomAndFull) {
  form.show();
  ui.clear();  // the default configuration message
  find<QComboBox>("ComboBox4")->setCurrentIndex(1);  // speed, 50 + i
  EXPECT_EQ(text("Edit72"), "650.0");
  group("RadioGroup13")->setItemIndex(1);
  find<QPushButton>("ZoomIn")->click();
  // x spans 0.1 … 61.2 s; one step in keeps 30.65 ± 21.82 s, up to sample 525.
  EXPECT_EQ(text("Edit72"), "575.0");
  find<QPushButton>("ZoomOut")->click();
  EXPECT_NEAR(chart().Scale1X().RangeHigh(), analysis::widened_high(60.0), 1e-4);
  EXPECT_EQ(text("Edit72"), "650.0");

  chart().SetLayerRange(1, 10, 0, 20, 100);  // a pan by mouse
  move_to(15, 5);
  EXPECT_EQ(text("Edit72"), "250.0");
  find<QPushButton>("RestoreOriginalScaling")->click();
  EXPECT_DOUBLE_EQ(chart().Scale1X().RangeHigh(), analysis::widened_high(60.0));
  EXPECT_EQ(text("Edit72"), "650.0");
}

TEST_F(PlotToolsWindowTest, MouseModesAndLabelModeReachTheChart) {
  form.show();
  ui.clear();  // the default configuration message
  form.findChild<QTabBar*>("TabControl1")->setCurrentIndex(2);
  group("RadioGroup1")->setItemIndex(4);
  EXPECT_EQ(chart().MouseAction(), chart::TMouseActMode::maPan);
  EXPECT_FALSE(chart().LayerMouseEnabled(1));
  EXPECT_TRUE(chart().LayerMouseEnabled(2));
  group("RadioGroup1")->setItemIndex(0);
  EXPECT_EQ(chart().MouseAction(), chart::TMouseActMode::maDragCrossH);
  EXPECT_FALSE(chart().LayerMouseEnabled(2));

  // "Set Text" pins the text box's words at the pointer; "View" shows what
  // was placed (a label never placed has no caption and stays hidden), "Off"
  // hides every label.
  group("RadioGroup14")->setItemIndex(3);
  emit chart().OnMouseMoveInChart(true, {}, 5, 5);
  form.set_cursor_down();
  group("RadioGroup14")->setItemIndex(1);
  EXPECT_EQ(chart().TextLabel(1).Mode, chart::TTxtLblMode::tlShadow);
  EXPECT_EQ(chart().TextLabel(20).Mode, chart::TTxtLblMode::tlOff);
  group("RadioGroup14")->setItemIndex(0);
  EXPECT_EQ(chart().TextLabel(1).Mode, chart::TTxtLblMode::tlOff);
}

}  // namespace
}  // namespace kv
