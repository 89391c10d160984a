#include "app/main_menu.h"

#include <QCloseEvent>
#include <QGridLayout>
#include <QLabel>
#include <QPushButton>

#include "ui/window_placement.h"

namespace kv {
namespace {

struct MenuButton {
  const char* name;
  const char* caption;
  const char* hint;
  void (TForm1::*handler)();
};

constexpr MenuButton kStacked[] = {
    {"BitBtn2", "Korvanta Analysis", "Download the logged data from the Korvanta.", &TForm1::open_download},
    {"BitBtn3", "Korvanta Configure", "Setup all the Korvanta parameters.", &TForm1::open_configure},
    {"BitBtn4", "Korvanta Calculator", "Calculate the Speed and Gear calibration factors.", &TForm1::open_calculator},
    {"BitBtn6", "Session Library", "Find, open and compare every session kept.", &TForm1::open_library},
};
constexpr MenuButton kExit{"BitBtn1", "Exit", "Exit the Korvanta tools.", &TForm1::exit_form1};
constexpr MenuButton kAbout{"BitBtn5", "About", "Korvanta Tools Information.", &TForm1::open_about};

}  // namespace

TForm1::TForm1(ProgramState& state, QWidget* parent) : QWidget(parent), state_(state) {
  setObjectName("TForm1");
  setWindowTitle("Korvanta Tools");
  auto* layout = new QGridLayout(this);
  layout->setContentsMargins(40, 24, 40, 24);
  layout->setVerticalSpacing(10);
  const auto add = [this](const MenuButton& entry) {
    auto* b = new QPushButton(entry.caption, this);
    b->setObjectName(entry.name);
    b->setToolTip(entry.hint);
    b->setMinimumHeight(40);
    connect(b, &QPushButton::clicked, this, [this, handler = entry.handler] { (this->*handler)(); });
    return b;
  };
  int row = 0;
  for (const auto& entry : kStacked) layout->addWidget(add(entry), row++, 0, 1, 2);
  layout->addWidget(add(kExit), row, 0);
  layout->addWidget(add(kAbout), row, 1);
  setFixedSize(kWidth, kHeight);
}

void TForm1::showEvent(QShowEvent* event) {
  QWidget::showEvent(event);
  centre_on_screen(*this);
}

void TForm1::open_window(void (TForm1::*request)()) {
  hide();
  emit(this->*request)();
}

void TForm1::open_download() { open_window(&TForm1::downloadRequested); }
void TForm1::open_configure() { open_window(&TForm1::configureRequested); }
void TForm1::open_calculator() { open_window(&TForm1::calculatorRequested); }
void TForm1::open_about() { open_window(&TForm1::aboutRequested); }
void TForm1::open_library() { open_window(&TForm1::libraryRequested); }

void TForm1::exit_form1() { close(); }

void TForm1::closeEvent(QCloseEvent* event) {
  state_.serial.serial_port.close_port();
  state_.serial.port_open = 0;
  event->accept();
  emit programEnded();
}

}  // namespace kv
