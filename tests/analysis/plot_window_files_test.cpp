// The plot window's unit switches, configuration and label files, labels and
// exports, with its real controls and chart, offscreen.
#include <gtest/gtest.h>

#include <QApplication>
#include <QImage>
#include <QComboBox>
#include <QLabel>
#include <QLineEdit>
#include <QPdfWriter>
#include <QPlainTextEdit>
#include <QKeyEvent>
#include <QPushButton>
#include <cstdio>
#include <fstream>
#include <memory>

#include "analysis/plot_files/cfg_settings.h"
#include "analysis/plot_window.h"
#include "app/program_state.h"
#include "analysis/radio_group.h"
#include "chart/colorpick.h"
#include "chart/plotchart.h"
#include "tests/analysis/pdf_text.h"
#include "tests/analysis/sample_data.h"
#include "tests/support/temp_dir.h"
#include "ui/scripted_ui.h"

namespace kv {
namespace {

using analysis::RadioGroup;

class PlotWindowFilesTest : public ::testing::Test {
 protected:
  PlotWindowFilesTest()
      : state(dir.path().string()), form({state.log, state.dialogs, state.distance_in_feet, state.config}, ui) {
    for (std::uint8_t which : {kDataSetA, kDataSetB}) {
      Dataset& d = state.log.dataset(which);
      analysis::test::fill_dataset(d, 100 * which);
      d.held_units = {true, true, true};
    }
    state.log.shown_units = {true, true, true};  // mph, psi, degC
  }
  ~PlotWindowFilesTest() override { form.hide(); }

  void show() {
    form.show();
    ui.clear();
  }
  RadioGroup* group(const char* name) { return form.findChild<RadioGroup*>(name); }
  void click(const char* name) { form.findChild<QPushButton*>(name)->click(); }
  // Writes `settings` as a .cfg at `path` and loads it with Load Config.
  void load_cfg(const std::string& path, const analysis::PlotSettings& settings) {
    std::ofstream(path, std::ios::binary | std::ios::trunc) << plot_files::cfg_text(plot_files::cfg_lines_of(settings));
    ui.queue_file(path);
    click("BitBtn6");
  }
  chart::TPlotChart& chart() { return form.chart(); }
  double speed(std::uint8_t which, long i) { return state.log.dataset(which).ch_speed.get(i); }

  test::TempDir dir;
  ScriptedUi ui;
  ProgramState state;
  TForm10 form;
};

TEST_F(PlotWindowFilesTest, ASetLoadedInAnotherUnitIsConvertedOnceAndTheSwitchShowsTheRecordedUnit) {
  show();
  group("RadioGroup4")->setItemIndex(1);  // KMH
  EXPECT_DOUBLE_EQ(speed(kDataSetA, 10), 60 * 1.6);
  form.hide();
  // B arrives recorded in MPH; the loader sets the shown units to its units.
  analysis::test::fill_dataset(state.log.dataset(kDataSetB), 200);
  state.log.dataset(kDataSetB).held_units = {true, true, true};
  state.log.shown_units = {true, true, true};
  show();
  EXPECT_EQ(group("RadioGroup4")->itemIndex(), 0);
  EXPECT_EQ(form.findChild<QLabel*>("Label8")->text(), "(MPH)");
  EXPECT_NEAR(speed(kDataSetA, 10), 60, 1e-9);
  EXPECT_DOUBLE_EQ(speed(kDataSetB, 10), 60);
}

TEST_F(PlotWindowFilesTest, AUnitSwitchRebuildsAnXAxisShowingItsChannel) {
  show();
  form.findChild<QComboBox*>("ComboBox3")->setCurrentIndex(static_cast<int>(analysis::XChannel::Speed));
  EXPECT_EQ(chart().Scale1X().Caption(), "Speed(MPH)");
  group("RadioGroup4")->setItemIndex(1);
  EXPECT_EQ(chart().Scale1X().Caption(), "Speed(KMH)");
  EXPECT_DOUBLE_EQ(state.log.dataset(kDataSetA).ch_work.get(10), 60 * 1.6);
  // Feet apply to the x copy, the lap distance array stays in metres.
  const double lap_odo = state.log.dataset(kDataSetA).ch_lap_odo.get(10);
  form.findChild<QComboBox*>("ComboBox3")->setCurrentIndex(static_cast<int>(analysis::XChannel::Distance));
  group("RadioGroup11")->setItemIndex(1);
  EXPECT_EQ(chart().Scale1X().Caption(), "Distance(ft)");
  EXPECT_DOUBLE_EQ(state.log.dataset(kDataSetA).ch_lap_odo.get(10), lap_odo);
}

TEST_F(PlotWindowFilesTest, AConfigurationLoadAppliesEveryLineAndRedrawsEvenForColoursOnly) {
  show();
  analysis::PlotSettings wanted = form.settings();
  wanted.trace[0].colour[0] = chart::clRed;  // RPM/100 of A
  const std::string path = dir.file("look.cfg");
  const QImage before = chart().ScreenImage().copy();
  load_cfg(path, wanted);
  EXPECT_EQ(ui.texts(), std::vector<std::string>{plot_files::cfg_msg::kLoaded});
  EXPECT_EQ(form.findChild<chart::TColorPick*>("ColorPick1")->SelColor(), chart::clRed);
  EXPECT_NE(chart().ScreenImage(), before);

  // Saved and loaded back: the units convert like a click, the lines take
  // their groups.
  wanted.speed_unit = 1;
  wanted.grid_lines = analysis::GridLines::VerticalOnly;
  load_cfg(path, wanted);
  EXPECT_EQ(group("RadioGroup4")->itemIndex(), 1);
  EXPECT_EQ(group("RadioGroup3")->itemIndex(), 1);
  EXPECT_DOUBLE_EQ(speed(kDataSetB, 10), 96);
  EXPECT_EQ(form.findChild<QLabel*>("Label8")->text(), "(KMH)");
}

// The load sets the grid without a picture of its own: the re-plot's picture
// must show it as choosing it by hand does.
TEST_F(PlotWindowFilesTest, AConfigurationChangingOnlyTheGridShowsItAsTheControlsDo) {
  show();
  const analysis::PlotSettings before = form.settings();
  analysis::PlotSettings wanted = before;
  wanted.grid_lines = analysis::GridLines::HorizontalOnly;
  wanted.grid_enable = analysis::GridEnable::Axis2;
  ASSERT_NE(wanted.grid_lines, before.grid_lines);
  ASSERT_NE(wanted.grid_enable, before.grid_enable);
  const QImage old_grid = chart().ScreenImage().copy();
  load_cfg(dir.file("grid.cfg"), wanted);
  EXPECT_EQ(ui.texts(), std::vector<std::string>{plot_files::cfg_msg::kLoaded});
  const QImage loaded = chart().ScreenImage().copy();
  EXPECT_NE(loaded, old_grid);

  // Back and forth by hand: the same window, so the same picture.
  for (const auto& [name, index] : {std::pair{"RadioGroup3", static_cast<int>(before.grid_lines)},
                                    std::pair{"RadioGroup9", static_cast<int>(before.grid_enable)}}) {
    group(name)->setItemIndex(index);
  }
  for (const auto& [name, index] : {std::pair{"RadioGroup3", static_cast<int>(wanted.grid_lines)},
                                    std::pair{"RadioGroup9", static_cast<int>(wanted.grid_enable)}}) {
    group(name)->setItemIndex(index);
  }
  EXPECT_EQ(chart().ScreenImage(), loaded);
}

TEST_F(PlotWindowFilesTest, LabelsArePlacedShownHiddenClearedAndKeptInAFile) {
  show();
  const auto place_text = [&](const char* text, double x, double y) {
    form.findChild<QLineEdit*>("Edit74")->setText(text);
    form.get_cursor_position(true, {}, x, y);
    form.set_cursor_down();
  };
  place_text("Ignored", 1, 20);  // "Off": a click places nothing
  EXPECT_EQ(form.labels().label_count(), 1);
  group("RadioGroup14")->setItemIndex(3);  // Set Text
  place_text("Braking", 2, 30);
  place_text("Apex", 3, 40);
  EXPECT_EQ(chart().TextLabel(1).Caption, "Braking");
  EXPECT_EQ(chart().TextLabel(2).Mode, chart::TTxtLblMode::tlShadow);
  EXPECT_EQ(chart().TextLabel(2).ColorBkg, chart::clInfoBk);
  EXPECT_EQ(chart().TextLabel(3).Mode, chart::TTxtLblMode::tlOff);
  group("RadioGroup14")->setItemIndex(0);
  EXPECT_EQ(chart().TextLabel(1).Mode, chart::TTxtLblMode::tlOff);

  const std::string path = dir.file("laps.lab");
  ui.queue_file(path);
  click("BitBtn8");
  click("Button8");  // Clear Last
  EXPECT_EQ(form.labels().label_count(), 2);
  click("Button9");  // Clear All
  EXPECT_EQ(chart().TextLabel(1).Mode, chart::TTxtLblMode::tlOff);
  ui.clear();
  ui.queue_file(path);
  click("BitBtn9");
  EXPECT_EQ(ui.texts(), std::vector<std::string>{"Label File Loaded"});
  EXPECT_EQ(group("RadioGroup14")->itemIndex(), 1);  // View
  EXPECT_EQ(chart().TextLabel(2).Caption, "Apex");
  EXPECT_EQ(chart().TextLabel(2).Mode, chart::TTxtLblMode::tlShadow);

  // A full re-plot (a new x channel) clears them all.
  form.findChild<QComboBox*>("ComboBox3")->setCurrentIndex(2);
  EXPECT_EQ(form.labels().label_count(), 1);
  EXPECT_EQ(chart().TextLabel(2).Mode, chart::TTxtLblMode::tlOff);
}

TEST_F(PlotWindowFilesTest, AnEmptyTextIsNotDrawnAndACharacterTheFileCannotHoldIsRefusedAsTyped) {
  show();
  group("RadioGroup14")->setItemIndex(3);  // Set Text
  auto* text = form.findChild<QLineEdit*>("Edit74");
  text->clear();
  form.get_cursor_position(true, {}, 2, 30);
  form.set_cursor_down();
  EXPECT_EQ(form.labels().label_count(), 2);
  EXPECT_EQ(chart().TextLabel(1).Mode, chart::TTxtLblMode::tlOff);

  // Typed "?" stays (the file turns it into a line break, as it always has).
  for (const QChar ch : QString::fromUtf8("T1 \u03A9 \u20AC?")) {
    QKeyEvent key(QEvent::KeyPress, Qt::Key_unknown, Qt::NoModifier, QString(ch));
    QApplication::sendEvent(text, &key);
  }
  EXPECT_EQ(text->text(), QString::fromUtf8("T1  \u20AC?"));
  form.set_cursor_down();
  EXPECT_EQ(chart().TextLabel(2).Caption, "T1  \u20AC?");
  EXPECT_EQ(chart().TextLabel(2).Mode, chart::TTxtLblMode::tlShadow);
}

TEST_F(PlotWindowFilesTest, NotesPagesCopyEachDecodedSheetAndLeaveTheLastSetCurrent) {
  state.log.dataset(kDataSetA).sheet.setup_fields[1] = "82\xB0";  // Windows-1252 degree sign
  // Far longer than the set-up window lets anyone type: shown whole.
  const std::string long_field = "Camber -2.5, toe 1 mm out, new shims";
  state.log.dataset(kDataSetA).sheet.setup_fields[2] = long_field;
  state.log.dataset(kDataSetA).sheet.notes_text = {"Dry track", "New tyres"};
  state.log.dataset(kDataSetB).sheet.setup_fields[65] = "Locked";
  show();
  EXPECT_EQ(state.log.current_data_set, kDataSetB);
  auto* first = form.findChild<QLineEdit*>("Edit7A");
  EXPECT_EQ(first->text(), QString::fromUtf8("82\u00B0"));
  EXPECT_TRUE(first->isReadOnly());
  EXPECT_EQ(form.findChild<QLineEdit*>("Edit8A")->text().toStdString(), long_field);
  EXPECT_EQ(form.findChild<QLineEdit*>("Edit71")->text(), "Locked");
  EXPECT_EQ(form.findChild<QPlainTextEdit*>("Memo2")->toPlainText(), "Dry track\nNew tyres");

  // A page whose set is not decoded keeps what it showed.
  form.hide();
  state.log.dataset(kDataSetA).decoded_valid = 0;
  state.log.dataset(kDataSetB).sheet.setup_fields[65] = "Open";
  show();
  EXPECT_EQ(form.findChild<QLineEdit*>("Edit71")->text(), "Open");
  EXPECT_EQ(form.findChild<QPlainTextEdit*>("Memo2")->toPlainText(), "Dry track\nNew tyres");
}

TEST_F(PlotWindowFilesTest, PrintToFileAsksBeforeOverwritingTheNameItWritesAndTheClipboardCopySaysSo) {
  show();
  const std::string written = dir.file("run.bmp");
  std::ofstream(written) << "old";
  ui.queue_file(dir.file("run.1.bmp"));
  ui.queue_answer(kNo);
  click("Button7");
  EXPECT_EQ(QImage(QString::fromStdString(written)).isNull(), true);
  ui.queue_file(dir.file("run.1.bmp"));
  ui.queue_answer(kYes);
  click("Button7");
  const QImage saved(QString::fromStdString(written));
  ASSERT_FALSE(saved.isNull());
  EXPECT_EQ(saved.convertToFormat(QImage::Format_RGB32), chart().Picture(false).convertToFormat(QImage::Format_RGB32));

  ui.clear();
  click("Button5");
  EXPECT_EQ(ui.texts(), std::vector<std::string>{"Plot Saved to ClipBoard"});
}

using analysis::test::pdf_text;

TEST_F(PlotWindowFilesTest, PrintWritesTheTitleAndBothNamesAboveTheChart) {
  show();
  click("Button6");  // dialog cancelled: nothing printed, nothing said
  EXPECT_EQ(ui.print_dialogs(), 1);
  EXPECT_TRUE(ui.texts().empty());

  const std::string pdf = dir.file("plot.pdf");
  ui.printer = [&](const Ui::DrawPage& draw) {
    QPdfWriter writer(QString::fromStdString(pdf));
    writer.setResolution(600);
    draw(writer);
    return true;
  };
  state.log.dataset(kDataSetB).name_text = "run.kvl";
  form.hide();
  show();
  click("Button6");
  const std::string text = pdf_text(pdf);
  EXPECT_NE(text.find("Pelmorix Data Plot"), std::string::npos) << text;
  EXPECT_NE(text.find("Data A: "), std::string::npos) << text;
  EXPECT_NE(text.find("Data B: run.kvl"), std::string::npos) << text;
}

TEST_F(PlotWindowFilesTest, SaveReportWritesAPageForEachLoadedSetWithTheChartAsDrawn) {
  state.log.dataset(kDataSetA).name_text = "a.kvl";
  state.log.dataset(kDataSetB).name_text = "b.kvl";
  show();
  ui.queue_file(dir.file("session"));
  click("SaveReport");
  EXPECT_EQ(ui.texts(), std::vector<std::string>{"File Saved OK"});
  ASSERT_EQ(ui.dialogs().size(), 1u);
  EXPECT_EQ(ui.dialogs()[0].title, "Save Session Report");
  EXPECT_EQ(ui.dialogs()[0].file_name, "default.pdf");
  EXPECT_EQ(state.dialogs.report.file_name, "session.pdf");
  const std::string text = pdf_text(dir.file("session.pdf"));
  EXPECT_NE(text.find("Session Report: Data A"), std::string::npos) << text;
  EXPECT_NE(text.find("Session Report: Data B"), std::string::npos) << text;
  // The speed switch shows MPH: the report says so.
  EXPECT_NE(text.find("Avg"), std::string::npos);
  EXPECT_NE(text.find("Speeds in MPH"), std::string::npos);
}

}  // namespace
}  // namespace kv
