// Renders the calculator window after a calculation with the starting values
// and saves it as a PNG: calculator_snapshot <file.png>
#include <QApplication>
#include <QPixmap>
#include <QPushButton>
#include <cstdio>

#include "calculator/calculator.h"
#include "ui/scripted_ui.h"

int main(int argc, char** argv) {
  QApplication app(argc, argv);
  if (argc != 2) {
    std::fprintf(stderr, "usage: calculator_snapshot <file.png>\n");
    return 2;
  }
  kv::ScriptedUi ui;
  kv::TForm4 window(ui);
  window.show();
  window.findChild<QPushButton*>("Button1")->click();
  QApplication::processEvents();
  if (!window.grab().save(QString::fromLocal8Bit(argv[1]))) {
    std::fprintf(stderr, "cannot write %s\n", argv[1]);
    return 1;
  }
  return 0;
}
