// Renders the program's windows to PNG files for the README, from the real
// widgets: the main menu, the download window after a download from the
// emulated instrument, and the plot window with that log in A and a second
// instrument's log in B, its Lap Times page, and two laps overlaid with the
// markers and the read-out box.
#include <QApplication>
#include <QCheckBox>
#include <QComboBox>
#include <QDoubleSpinBox>
#include <QFile>
#include <QPushButton>
#include <QLineEdit>
#include <QTabBar>
#include <QPixmap>
#include <QProgressBar>
#include <QTemporaryDir>
#include <QWidget>
#include <cstdio>
#include <cstdlib>

#include "analysis/lap_tools/lap_tools.h"
#include "analysis/plot_window.h"
#include "analysis/radio_group.h"
#include "chart/plotchart.h"
#include "config/configure_window.h"
#include "config/password_window.h"
#include "app/application.h"
#include "app/main_menu.h"
#include "emulator/demo_log.h"
#include "logdata/download_window.h"
#include "tests/support/emulator_fixture.h"
#include "ui/scripted_ui.h"

void render_library_pictures(const QString& folder);

namespace {

void save(QWidget& window, const QString& path) {
  window.show();
  QApplication::processEvents();
  if (!window.grab().save(path)) std::fprintf(stderr, "cannot write %s\n", qPrintable(path));
}

void render_guide_pictures(const QString& folder);
void render_lap_tool_pictures(const QString& folder);
void render_labels_and_notes(const QString& folder);

}  // namespace

int main(int argc, char** argv) {
  QApplication app(argc, argv);
  const QString folder = argc > 1 ? argv[1] : "docs";
  kv::emu::Instrument unit;
  kv::emu::load_generated_log(unit, 256, 7);
  kv::test::EmulatorFixture instrument(unit);
  kv::ScriptedUi ui;
  kv::ProgramState state(".");
  // Downloads are kept in a library of their own, not beside the pictures.
  QTemporaryDir library;
  state.library_folder = library.path().toStdString();
  kv::Application shell(state, ui);
  save(shell.main_menu(), folder + "/main-menu.png");
  shell.main_menu().hide();
  shell.download().show();
  shell.download().change_serial_port(0);
  shell.download().get_log_dataSet();
  save(shell.download(), folder + "/download-window.png");

  // B: another day's log from a second instrument, drawn on its own axis.
  kv::emu::Instrument other;
  kv::emu::load_generated_log(other, 256, 8);
  kv::test::EmulatorFixture second(other, 2);
  shell.download().findChild<QComboBox*>("ComboBox1")->setCurrentIndex(1);
  shell.download().change_serial_port(1);
  shell.download().get_log_dataSet();
  kv::TForm10& plot = shell.plot();
  plot.resize(1280, 720);
  shell.download().view_plot_data();
  for (const char* channel : {"CheckBox2", "CheckBox6", "CheckBox10"}) {
    plot.findChild<QCheckBox*>(channel)->setChecked(true);
  }
  plot.findChild<QCheckBox*>("CheckBox12")->setChecked(true);
  plot.findChild<QTabBar*>("TabControl1")->setCurrentIndex(1);
  save(plot, folder + "/plot-window.png");

  plot.findChild<QTabBar*>("TabControl2")->setCurrentIndex(1);
  save(plot, folder + "/lap-times.png");

  // A's second lap against B's first, with both markers and the read-out.
  plot.findChild<QTabBar*>("TabControl2")->setCurrentIndex(0);
  plot.findChild<QTabBar*>("TabControl1")->setCurrentIndex(3);
  plot.findChild<QComboBox*>("ComboBox7")->setCurrentIndex(1);
  auto* second_list = plot.findChild<QComboBox*>("ComboBox5");
  second_list->setCurrentIndex(second_list->findText("Data B", Qt::MatchEndsWith));
  plot.lapPlotUpdate();
  plot.findChild<kv::analysis::RadioGroup*>("RadioGroup10")->setItemIndex(1);
  kv::chart::TPlotChart& chart = plot.chart();
  const double span = chart.Scale1X().RangeHigh();
  chart.SetCrossHairPos(1, 0.3 * span, 0);
  chart.SetCrossHairPos(2, 0.55 * span, 0);
  plot.update_markers();
  emit chart.OnMouseMoveInChart(true, {}, 0.4 * span, 0.6 * chart.Scale1Y().RangeHigh());
  save(plot, folder + "/lap-overlay.png");
  for (const auto& text : ui.texts()) std::printf("message: %s\n", text.c_str());
  render_guide_pictures(folder);
  render_lap_tool_pictures(folder);
  render_library_pictures(folder);
  return 0;
}

// The user guide's pictures: a download caught half-way with Cancel live, the
// plot window's View and Option panels, and the configure window with its
// odometer password dialog. Each group gets its own emulated instrument and
// program, so the README's pictures above stay as they are.
namespace {

constexpr int kGuideLogPages = 256;
constexpr unsigned kFirstLogSeed = 7;
constexpr unsigned kSecondLogSeed = 8;

kv::emu::Instrument instrument_with_log(unsigned seed) {
  kv::emu::Instrument unit;
  kv::emu::load_generated_log(unit, kGuideLogPages, seed);
  return unit;
}

// One running program with an emulated instrument on COM 1.
struct GuideProgram {
  explicit GuideProgram(kv::emu::Instrument unit) : instrument(std::move(unit)) {
    state.library_folder = library.path().toStdString();
  }
  ~GuideProgram() {
    for (const auto& text : ui.texts()) std::printf("guide message: %s\n", text.c_str());
  }

  // Chooses the port in the download window as a click would, so the
  // picture shows it chosen.
  kv::TForm2& download_window_on(int port_item) {
    kv::TForm2& download = shell.download();
    download.show();
    download.change_serial_port(port_item);
    download.setup_form2();
    return download;
  }

  kv::test::EmulatorFixture instrument;
  kv::ScriptedUi ui;
  QTemporaryDir library;
  kv::ProgramState state{"."};
  kv::Application shell{state, ui};
};

// Pictures the download window when the progress bar has passed this share,
// then presses Cancel as a racer would.
constexpr double kDownloadPictureShare = 0.4;

void render_download_in_progress(const QString& folder) {
  GuideProgram program(instrument_with_log(kFirstLogSeed));
  kv::TForm2& download = program.download_window_on(0);
  auto* progress = download.findChild<QProgressBar*>("ProgressBar1");
  bool pictured = false;
  program.ui.on_pump = [&] {
    if (pictured || progress->maximum() <= 1 || progress->value() < progress->maximum() * kDownloadPictureShare) return;
    pictured = true;
    save(download, folder + "/guide-downloading.png");
    download.cancel_download();
  };
  download.get_log_dataSet();
  program.ui.on_pump = nullptr;
}

template <typename Control>
Control& control(QWidget& window, const char* name) {
  return *window.findChild<Control*>(name);
}

constexpr int kPlotWidth = 1280;
constexpr int kPlotHeight = 720;
enum LeftTab { kFileTab, kDataTab, kViewTab, kMarkerTab, kOptionTab };
enum XChoice { kXTime, kXDistance };
enum GridLines { kGridBoth, kGridVerticalOnly, kGridHorizontalOnly };
enum SpeedUnit { kSpeedMph, kSpeedKmh };

// Both instruments' logs downloaded, A and B, and the plot window opened.
kv::TForm10& plot_both_logs(GuideProgram& program) {
  kv::TForm2& download = program.download_window_on(0);
  download.get_log_dataSet();
  // The second instrument's link folder replaces the first one's, so it is
  // started only once A has arrived.
  kv::test::EmulatorFixture second(instrument_with_log(kSecondLogSeed), 2);
  control<QComboBox>(download, "ComboBox1").setCurrentIndex(1);
  program.download_window_on(1).get_log_dataSet();

  kv::TForm10& plot = program.shell.plot();
  plot.resize(kPlotWidth, kPlotHeight);
  download.view_plot_data();
  return plot;
}

void render_plot_panels(const QString& folder) {
  GuideProgram program(instrument_with_log(kFirstLogSeed));
  kv::TForm10& plot = plot_both_logs(program);
  control<QCheckBox>(plot, "CheckBox2").setChecked(true);   // Speed
  control<QCheckBox>(plot, "CheckBox12").setChecked(true);  // Data B on 2nd Axis
  control<QTabBar>(plot, "TabControl1").setCurrentIndex(kViewTab);
  save(plot, folder + "/guide-plot-view.png");

  // A alone against distance, with vertical grid lines only.
  control<QCheckBox>(plot, "CheckBox12").setChecked(false);
  control<QCheckBox>(plot, "CheckBox14").setChecked(false);  // B's "On"
  control<QComboBox>(plot, "ComboBox3").setCurrentIndex(kXDistance);
  control<kv::analysis::RadioGroup>(plot, "RadioGroup3").setItemIndex(kGridVerticalOnly);
  // The generated logs are recorded in km/h; the Speed switch shows that unit.
  control<kv::analysis::RadioGroup>(plot, "RadioGroup4").setItemIndex(kSpeedKmh);
  control<QTabBar>(plot, "TabControl1").setCurrentIndex(kOptionTab);
  save(plot, folder + "/guide-plot-options.png");
}

void render_configure_and_password(const QString& folder) {
  GuideProgram program{kv::emu::Instrument{}};
  kv::TForm3& configure = program.shell.configure();
  configure.show();
  configure.change_serial_port(0);
  configure.setup_configure_form();  // shows COM 1 chosen, as a click would
  configure.get_config_data();
  control<QTabBar>(configure, "TabControl1").setCurrentIndex(0);
  save(configure, folder + "/guide-configure-general.png");
  // The dialog empties its entry when it opens; type after that.
  kv::TForm12& password = configure.password_dialog();
  password.show();
  QApplication::processEvents();
  password.findChild<QLineEdit*>()->setText("secret");
  save(password, folder + "/guide-odometer-password.png");
  password.hide();
}

void render_guide_pictures(const QString& folder) {
  render_download_in_progress(folder);
  render_plot_panels(folder);
  render_configure_and_password(folder);
  render_labels_and_notes(folder);
}

// The README's plot with three pinned text labels, and the Data A Notes page
// with a filled set-up sheet.
struct PinnedText {
  double x_share;  // where on the visible window, 0 … 1
  double y_share;
  const char* text;
};
constexpr PinnedText kPinnedTexts[] = {{0.12, 0.80, "Out lap"}, {0.45, 0.62, "Fastest lap 1:12.4"},
                                       {0.78, 0.40, "Brake check"}};
enum LabelMode { kLabelsOff, kLabelsView, kLabelsSetLabel, kLabelsSetText };
enum RightTab { kPlotTab, kLapTab, kNotesATab };

void fill_setup_sheet(kv::Dataset& data) {
  constexpr std::pair<int, const char*> kFields[] = {
      {1, "82"}, {2, "85"}, {3, "88"}, {4, "28"}, {9, "-2.5"}, {31, "24"}, {57, "19"}, {14, "12"}, {63, "30"},
      {15, "14"}, {64, "32"}, {16, "610"}, {61, "8"}, {17, "6"}, {62, "45"}, {18, "50"}, {19, "40"}, {20, "22"},
      {21, "2.1"}, {65, "Locked"}};
  for (const auto& [slot, text] : kFields) data.sheet.setup_fields[static_cast<std::size_t>(slot)] = text;
  data.sheet.notes_text = {"Dry track, 24 degC, light wind from turn 3.",
                           "New soft tyres; rear roll bar one step softer after session 1."};
}

double share_of(kv::chart::TScaleProps& scale, double share) {
  return scale.RangeLow() + share * (scale.RangeHigh() - scale.RangeLow());
}

void render_labels_and_notes(const QString& folder) {
  GuideProgram program(instrument_with_log(kFirstLogSeed));
  program.download_window_on(0).get_log_dataSet();
  fill_setup_sheet(program.state.log.dataset(kv::kDataSetA));
  kv::TForm10& plot = program.shell.plot();
  plot.resize(kPlotWidth, kPlotHeight);
  program.shell.download().view_plot_data();
  control<QCheckBox>(plot, "CheckBox2").setChecked(true);  // Speed
  control<QTabBar>(plot, "TabControl1").setCurrentIndex(kMarkerTab);
  control<kv::analysis::RadioGroup>(plot, "RadioGroup14").setItemIndex(kLabelsSetText);
  kv::chart::TPlotChart& chart = plot.chart();
  for (const PinnedText& pin : kPinnedTexts) {
    const double x = share_of(chart.Scale1X(), pin.x_share);
    const double y = share_of(chart.Scale1Y(), pin.y_share);
    control<QLineEdit>(plot, "Edit74").setText(pin.text);
    plot.get_cursor_position(true, {}, x, y);
    plot.set_cursor_down();
  }
  save(plot, folder + "/plot-labels.png");
  control<QTabBar>(plot, "TabControl2").setCurrentIndex(kNotesATab);
  save(plot, folder + "/plot-notes.png");
}

}  // namespace

// The lap tools: two flying laps of A overlaid against distance with the
// time slip between them, and the Lap Times page with the sector table and
// the theoretical best lap.
namespace {

constexpr std::size_t kPicturedLapRecords[] = {1, 3};  // two flying laps of two sessions
constexpr int kLapTimesTab = 1;
constexpr double kPicturedSectors[] = {500, 1000, 1500};

void render_more_laps(const QString& folder);

void put_in_overlay_slot(kv::TForm10& plot, std::size_t slot, const kv::LogState& log, std::uint8_t set) {
  const kv::Dataset& data = log.dataset(set);
  const std::size_t record = kPicturedLapRecords[slot];
  if (record >= kv::lap_tools::record_total(data)) return;
  const kv::lap_tools::LapRef ref = kv::lap_tools::lap_ref(data, record);
  kv::analysis::OverlaySlot& s = plot.plot_state().overlay[slot];
  s.lap.first_sample = static_cast<std::int32_t>(ref.samples.first);
  s.lap.last_sample = static_cast<std::int32_t>(ref.samples.last);
  s.lap.lap = data.lap_table[record].lap;
  s.lap.session = data.lap_table[record].session;
  s.lap.set_letter = set == kv::kDataSetA ? "A" : "B";
  s.lap.lap_time = ref.lap_time;
  s.chosen = true;
}

// The first page of "Save Report" with the time slip plot, as pdftoppm shows it.
void render_session_report(GuideProgram& program, kv::TForm10& plot, const QString& folder) {
  fill_setup_sheet(program.state.log.dataset(kv::kDataSetA));
  control<QTabBar>(plot, "TabControl2").setCurrentIndex(0);
  const QString pdf = folder + "/session-report.pdf";
  program.ui.queue_file(pdf.toStdString());
  control<QPushButton>(plot, "SaveReport").click();
  const QString command = "pdftoppm -png -r 90 -f 1 -l 1 -singlefile '" + pdf + "' '" + folder + "/session-report'";
  if (std::system(command.toLocal8Bit().constData()) != 0) std::fprintf(stderr, "pdftoppm failed\n");
  QFile::remove(pdf);
}

// Speed of A's two laps overlaid on Distance.
kv::TForm10& two_laps_on_distance(GuideProgram& program) {
  kv::TForm10& plot = plot_both_logs(program);
  control<QCheckBox>(plot, "CheckBox2").setChecked(true);  // Speed
  put_in_overlay_slot(plot, 0, program.state.log, kv::kDataSetA);
  put_in_overlay_slot(plot, 1, program.state.log, kv::kDataSetA);
  control<QComboBox>(plot, "ComboBox3").setCurrentIndex(kXDistance);
  control<kv::analysis::RadioGroup>(plot, "RadioGroup2").setItemIndex(1);  // Lap Overlay
  return plot;
}

void render_lap_tool_pictures(const QString& folder) {
  GuideProgram program(instrument_with_log(kFirstLogSeed));
  kv::TForm10& plot = two_laps_on_distance(program);
  control<QCheckBox>(plot, "TimeSlip").setChecked(true);
  save(plot, folder + "/time-slip.png");

  for (int k = 0; k < 3; ++k) {
    control<QDoubleSpinBox>(plot, ("SectorBoundary" + std::to_string(k + 1)).c_str()).setValue(kPicturedSectors[k]);
  }
  control<QPushButton>(plot, "ApplySectors").click();
  control<QTabBar>(plot, "TabControl2").setCurrentIndex(kLapTimesTab);
  save(plot, folder + "/sector-table.png");
  render_session_report(program, plot, folder);
  render_more_laps(folder);
}

// Eight laps: the fastest lap of each session added to the two overlaid
// laps (but the one a selection holds) and more up to six, every lap's slip
// against the fastest, and the read-out of every lap at the pointer.
void render_more_laps(const QString& folder) {
  GuideProgram program(instrument_with_log(kFirstLogSeed));
  kv::TForm10& plot = two_laps_on_distance(program);
  plot.add_fastest_laps();
  // Then laps from the top of the list.
  const int items = control<QComboBox>(plot, "AddLap").count();
  for (int item = 0; item < items && plot.plot_state().extra_laps.size() < kv::analysis::kMaxExtraLaps; ++item) {
    plot.add_lap(item);
  }
  control<QCheckBox>(plot, "TimeSlip").setChecked(true);
  plot.show();
  QApplication::processEvents();
  const auto& x = plot.chart().Scale1X();
  const auto& y = plot.chart().Scale1Y();
  emit plot.chart().OnMouseMoveInChart(true, {}, x.RangeLow() + 0.3 * (x.RangeHigh() - x.RangeLow()),
                                       y.RangeLow() + 0.6 * (y.RangeHigh() - y.RangeLow()));
  save(plot, folder + "/more-laps.png");
}

}  // namespace
