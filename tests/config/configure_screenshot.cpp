// Renders the configure window to a PNG: configure_screenshot OUT.png [TAB].
#include <QApplication>
#include <QPixmap>
#include <QTabBar>
#include <cstdio>

#include "config/configure_window.h"
#include "ui/scripted_ui.h"

int main(int argc, char** argv) {
  if (argc < 2) {
    std::fputs("usage: configure_screenshot OUT.png [TAB]\n", stderr);
    return 2;
  }
  QApplication app(argc, argv);
  kv::ConfigState config;
  kv::SerialState serial;
  kv::DialogDefault config_dialog = kv::DialogDefaults::in_folder(".").config;
  kv::ScriptedUi ui;
  kv::TForm3 window({config, serial, config_dialog}, ui);
  if (argc > 2) window.findChild<QTabBar*>("TabControl1")->setCurrentIndex(std::atoi(argv[2]));
  window.show();
  app.processEvents();
  return window.grab().save(argv[1]) ? 0 : 1;
}
