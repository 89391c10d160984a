// Renders the calculator window with both tyre sides in use, after a
// calculation with the starting sizes, and saves it as a PNG:
//   calculator_snapshot <file.png>
#include <QApplication>
#include <QGroupBox>
#include <QPixmap>
#include <QPushButton>
#include <QRadioButton>
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
  const int front_drive_rear_sensor = static_cast<int>(kv::calc::DriveSensor::FrontDriveRearSensor);
  const auto items = window.findChild<QGroupBox*>("Drive_Sensor_Buttons")->findChildren<QRadioButton*>();
  items.at(front_drive_rear_sensor)->click();
  window.findChild<QPushButton*>("Button1")->click();
  QApplication::processEvents();
  if (!window.grab().save(QString::fromLocal8Bit(argv[1]))) {
    std::fprintf(stderr, "cannot write %s\n", argv[1]);
    return 1;
  }
  return 0;
}
