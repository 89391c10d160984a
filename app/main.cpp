// korvanta-tools: the desktop companion of the Korvanta dashboard and logger.
#include <QApplication>
#include <QDir>
#include <QIcon>
#include <QTimer>
#include <QWidget>
#include <cstdio>

#include "app/application.h"
#include "app/guarded_application.h"
#include "desktop/start_options.h"
#include "desktop/user_folder.h"
#include "ui/qt_ui.h"

int main(int argc, char** argv) {
  if (const auto answer = kv::desktop::console_answer(argc, argv, KV_VERSION)) {
    std::fputs(answer->c_str(), stdout);
    return 0;
  }
  // Qt takes its own options (-platform, -style, …) out of argv first.
  kv::GuardedApplication app(argc, argv);
  const auto start = kv::desktop::parse_start_options(std::vector<std::string>(argv + 1, argv + argc));
  if (start.error) {
    std::fprintf(stderr, "korvanta-tools: %s\n%s", start.error->c_str(), kv::desktop::start_help_text());
    return 2;
  }
  // Task switchers and title bars find the icon through the desktop entry.
  QGuiApplication::setDesktopFileName("korvanta-tools");
  QApplication::setWindowIcon(QIcon::fromTheme("korvanta-tools"));
  kv::QtUi ui;
  app.set_ui(&ui);
  const std::string program_folder =
      kv::desktop::user_program_folder(QCoreApplication::applicationDirPath().toStdString());
  kv::ProgramState state(program_folder);
  kv::desktop::recall_library_folder(program_folder, state.library_folder, state.library_folder_file);
  state.serial.protocol_log.set_path(start.options.protocol_log);
  kv::Application shell(state, ui);
  bool started = false;
  if (start.options.files.empty()) {
    shell.start();
    started = true;
  } else {
    // Loaded from the event loop, so their message boxes come up over a
    // running program.
    const auto files = kv::plan_start_files(start.options.files, QDir::currentPath().toStdString());
    QTimer::singleShot(0, &app, [&shell, &started, files] {
      shell.start_with(files);
      started = true;
    });
  }
  if (start.options.quit_after_start) {
    // Ends once the start has settled, pressing the default button of any
    // box it shows, as nobody is there to press it.
    auto* settle = new QTimer(&app);
    QObject::connect(settle, &QTimer::timeout, &app, [&, settle] {
      if (QWidget* box = QApplication::activeModalWidget()) {
        box->close();
        return;
      }
      if (!started) return;
      settle->stop();
      if (start.options.report_windows) std::fputs(shell.shown_windows().c_str(), stdout);
      // exit(), not quit(): a window that only hides on close (the notes
      // window) would turn a quit down.
      QCoreApplication::exit(0);
    });
    settle->start(10);
  }
  return app.exec();
}
