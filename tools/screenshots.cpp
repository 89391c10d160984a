// Renders the program's windows to PNG files for the README, from the real
// widgets: the main menu, and the download window after a download from the
// emulated instrument.
#include <QApplication>
#include <QPixmap>
#include <QWidget>
#include <cstdio>

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
  for (const auto& text : ui.texts()) std::printf("message: %s\n", text.c_str());
  return 0;
}
