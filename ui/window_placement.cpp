#include "ui/window_placement.h"

#include <QGuiApplication>
#include <QScreen>
#include <QWidget>

namespace kv {

void centre_on_screen(QWidget& window) {
  const QScreen* screen = window.screen() != nullptr ? window.screen() : QGuiApplication::primaryScreen();
  if (screen == nullptr) return;
  const QRect area = screen->geometry();
  const auto place = centred_placement(area.width(), area.height(), window.width(), window.height());
  window.move(area.left() + place.left, area.top() + place.top);
}

}  // namespace kv
