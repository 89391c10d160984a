#pragma once
// A window of the main menu's family: it centres itself each time it is
// shown, asks the shell for the main menu or its help window, and its close
// box ends the program.
#include <QWidget>

class QCloseEvent;
class QShowEvent;

namespace kv {

class NavigableWindow : public QWidget {
  Q_OBJECT
 public:
  using QWidget::QWidget;

 signals:
  void mainMenuRequested();
  void helpRequested();
  void programExitRequested();

 protected:
  // Each showing centres the window, then runs its own set-up, activated().
  void activate();
  virtual void activated() {}

  // Hide this window and hand over to the main menu or the help window.
  void go_to_main_menu();
  void go_to_help();

  void showEvent(QShowEvent* event) override;
  void closeEvent(QCloseEvent* event) override;
};

}  // namespace kv
