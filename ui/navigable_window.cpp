#include "ui/navigable_window.h"

#include <QCloseEvent>
#include <QShowEvent>

#include "ui/window_placement.h"

namespace kv {

void NavigableWindow::go_to_main_menu() {
  hide();
  emit mainMenuRequested();
}

void NavigableWindow::go_to_help() {
  hide();
  emit helpRequested();
}

void NavigableWindow::activate() {
  centre_on_screen(*this);
  activated();
}

void NavigableWindow::showEvent(QShowEvent* event) {
  QWidget::showEvent(event);
  // A window restored by the desktop is not a new showing.
  if (!event->spontaneous()) activate();
}

void NavigableWindow::closeEvent(QCloseEvent* event) {
  event->accept();
  // Only the person's close box ends the program, not the shell closing a
  // hidden window on its way out.
  if (isVisible()) emit programExitRequested();
}

}  // namespace kv
