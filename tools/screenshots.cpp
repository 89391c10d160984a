// Renders the program's windows to PNG files for the README, from the real
// widgets: the main menu, the download window after a download from the
// emulated instrument, and the plot window with that log in A and a second
// instrument's log in B, its Lap Times page, and two laps overlaid with the
// markers and the read-out box.
#include <QApplication>
#include <QCheckBox>
#include <QComboBox>
#include <QTabBar>
#include <QPixmap>
#include <QWidget>
#include <cstdio>

#include "analysis/plot_window.h"
#include "analysis/radio_group.h"
#include "chart/plotchart.h"
#include "app/application.h"
#include "app/main_menu.h"
#include "emulator/demo_log.h"
#include "logdata/download_window.h"
#include "tests/support/emulator_fixture.h"
#include "ui/scripted_ui.h"

namespace {

void save(QWidget& window, const QString& path) {
  window.show();
  QApplication::processEvents();
  if (!window.grab().save(path)) std::fprintf(stderr, "cannot write %s\n", qPrintable(path));
}

}  // namespace

int main(int argc, char** argv) {
  QApplication app(argc, argv);
  const QString folder = argc > 1 ? argv[1] : "docs";
  kv::emu::Instrument unit;
  kv::emu::load_generated_log(unit, 256, 7);
  kv::test::EmulatorFixture instrument(unit);
  kv::ScriptedUi ui;
  kv::ProgramState state(".");
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
  return 0;
}
