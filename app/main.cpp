// korvanta-tools: the desktop companion of the Korvanta dashboard and logger.
#include "app/application.h"
#include "app/guarded_application.h"
#include "ui/qt_ui.h"

int main(int argc, char** argv) {
  kv::GuardedApplication app(argc, argv);
  kv::QtUi ui;
  app.set_ui(&ui);
  kv::ProgramState state(QCoreApplication::applicationDirPath().toStdString());
  kv::Application shell(state, ui);
  shell.start();
  return app.exec();
}
