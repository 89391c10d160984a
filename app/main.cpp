// korvanta-tools: the desktop companion of the Korvanta dashboard and logger.
#include <QTimer>
#include <cstdio>

#include "app/application.h"
#include "app/guarded_application.h"
#include "desktop/start_options.h"
#include "desktop/user_folder.h"
#include "ui/qt_ui.h"

int main(int argc, char** argv) {
  if (kv::desktop::asks_for_help(argc, argv)) {
    std::fputs(kv::desktop::start_help_text(), stdout);
    return 0;
  }
  // Qt takes its own options (-platform, -style, …) out of argv first.
  kv::GuardedApplication app(argc, argv);
  const auto start = kv::desktop::parse_start_options(std::vector<std::string>(argv + 1, argv + argc));
  if (start.error) {
    std::fprintf(stderr, "korvanta-tools: %s\n%s", start.error->c_str(), kv::desktop::start_help_text());
    return 2;
  }
  kv::QtUi ui;
  app.set_ui(&ui);
  kv::ProgramState state(
      kv::desktop::user_program_folder(QCoreApplication::applicationDirPath().toStdString()));
  state.serial.protocol_log.set_path(start.options.protocol_log);
  kv::Application shell(state, ui);
  shell.start();
  if (start.options.quit_after_start) QTimer::singleShot(0, &app, &QCoreApplication::quit);
  return app.exec();
}
