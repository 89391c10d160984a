#include "calculator/calculator.h"

#include <QButtonGroup>
#include <QComboBox>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QStackedWidget>
#include <QVBoxLayout>
#include <optional>

#include "chart/numedit.h"
#include "ui/ui.h"

namespace kv {
namespace {

constexpr const char* kDriveItems[calc::kDriveSensorCount] = {
    "Front Wheel Drive, Front Wheel Sensor", "Front Wheel Drive, Rear Wheel Sensor",
    "Rear Wheel Drive, Front Wheel Sensor", "Rear Wheel Drive, Propshaft Sensor",
    "Rear Wheel Drive, Rear Wheel Sensor"};
constexpr const char* kTyreItems[calc::kTyreTypeCount] = {"Road Tyres", "Slick Tyres", "Unknown Tyres"};
constexpr int kInitialDrive = static_cast<int>(calc::DriveSensor::RearDrivePropshaftSensor);
constexpr int kInitialTyreType = static_cast<int>(calc::TyreType::Road);

constexpr const char* kResultsHint = "Results should be entered into your Korvanta configuration";
constexpr const char* kInitialRatio = "3.54";
constexpr const char* kEmptyRatio = "0.00";
constexpr const char* kRatioMask = "9.99";
constexpr int kResultDigits = 5;  // "Error"
constexpr int kRatioDigits = 4;

constexpr int kMinimumDiameter = 200;
constexpr int kMinimumCircumference = 300;

const QColor kResultColor(0xFF, 0xFF, 0x00);
const QColor kErrorColor(0xFF, 0x00, 0x00);

// Fills an edit with a colour of its own, or gives it back the window's
// normal colours.
void paint_field(QLineEdit* field, std::optional<QColor> color) {
  if (!color) {
    field->setPalette(QPalette());
    return;
  }
  QPalette palette = field->palette();
  palette.setColor(QPalette::Base, *color);
  palette.setColor(QPalette::Text, Qt::black);
  field->setPalette(palette);
}

QButtonGroup* radio_group(QGroupBox* box, const char* const* items, int count, int initial) {
  auto* group = new QButtonGroup(box);
  auto* column = new QVBoxLayout(box);
  for (int i = 0; i < count; ++i) {
    auto* button = new QRadioButton(items[i], box);
    group->addButton(button, i);
    column->addWidget(button);
  }
  group->button(initial)->setChecked(true);
  return group;
}

QPushButton* button(const char* name, const char* caption, const char* hint) {
  auto* b = new QPushButton(caption);
  b->setObjectName(name);
  b->setToolTip(hint);
  return b;
}

QGroupBox* group_box(const char* name, const char* caption, const char* hint) {
  auto* box = new QGroupBox(caption);
  box->setObjectName(name);
  if (*hint != '\0') box->setToolTip(hint);
  return box;
}

}  // namespace

TForm4::TForm4(Ui& ui, QWidget* parent) : NavigableWindow(parent, Qt::Window), ui_(ui) {
  setObjectName("TForm4");
  setWindowTitle("Calculator");
  auto* page = new QVBoxLayout(this);
  page->addWidget(build_choices());
  notebook_ = calc::build_tyre_notebook(tyres_, this);
  page->addWidget(notebook_);
  auto* lower = new QHBoxLayout;
  lower->addWidget(build_transmission());
  lower->addWidget(build_results(), 1);
  page->addLayout(lower);
  page->addWidget(build_buttons());
  connect_clearing();
  connect_minimum_checks();
  // The window keeps the size its contents ask for; the desktop's fonts are
  // only known once it is shown.
  page->setSizeConstraint(QLayout::SetFixedSize);
}

QWidget* TForm4::build_choices() {
  auto* row = new QWidget;
  auto* layout = new QHBoxLayout(row);
  layout->setContentsMargins(0, 0, 0, 0);
  QGroupBox* drive =
      group_box("Drive_Sensor_Buttons", "Drive and Sensor Position ",
                "Choose the configuration of sensor and transmission that matches your vehicle");
  drive_sensor_ = radio_group(drive, kDriveItems, calc::kDriveSensorCount, kInitialDrive);
  QGroupBox* tyres =
      group_box("Tyre_type_buttons", "Type of Tyres", "Choose the type of tyres fitted to your car here");
  tyre_type_ = radio_group(tyres, kTyreItems, calc::kTyreTypeCount, kInitialTyreType);
  layout->addWidget(drive, 1);
  layout->addWidget(tyres);
  connect(drive_sensor_, &QButtonGroup::idClicked, this, [this] { Drive_Sensor_ButtonsClick(); });
  connect(tyre_type_, &QButtonGroup::idClicked, this, [this] { Tyre_type_buttonsClick(); });
  return row;
}

QWidget* TForm4::build_transmission() {
  QGroupBox* box = group_box("Transmission", "Transmission", "");
  auto* layout = new QHBoxLayout(box);
  diff_ratio_value_ = new QLineEdit;
  diff_ratio_value_->setObjectName("diff_ratio_value");
  diff_ratio_value_->setToolTip("Enter your differential ratio");
  diff_ratio_value_->setInputMask(kRatioMask);
  diff_ratio_value_->setText(kInitialRatio);
  calc::fit_to_digits(diff_ratio_value_, kRatioDigits);
  layout->addWidget(new QLabel("Differential Ratio"));
  layout->addWidget(diff_ratio_value_);
  layout->addWidget(new QLabel(":1"));
  connect(diff_ratio_value_, &QLineEdit::textChanged, this, [this] { update_diff_display(); });
  return box;
}

QWidget* TForm4::build_results() {
  QGroupBox* box = group_box("Results", "Results", kResultsHint);
  auto* grid = new QGridLayout(box);
  const auto result_box = [&](const char* name, const char* caption, int row) {
    auto* field = new QLineEdit;
    field->setObjectName(name);
    field->setReadOnly(true);
    field->setToolTip(kResultsHint);
    calc::fit_to_digits(field, kResultDigits);
    paint_field(field, kResultColor);
    grid->addWidget(new QLabel(caption), row, 0);
    grid->addWidget(field, row, 1);
    return field;
  };
  speedo_cal_ = result_box("speedo_cal", "Speedo Cal", 0);
  gear_cal_ = result_box("gear_cal", "Gear Cal", 1);
  auto* advice = new QLabel("Enter results into\nKorvanta setup or\nconfiguration menus.");
  grid->addWidget(advice, 0, 2, 2, 1);
  grid->setColumnStretch(2, 1);
  return box;
}

QWidget* TForm4::build_buttons() {
  auto* row = new QWidget;
  auto* layout = new QHBoxLayout(row);
  layout->setContentsMargins(0, 0, 0, 0);
  QPushButton* calculate = button("Button1", "Calculate",
                                  "Calculate the calibration factors given the tyre, sensor and differential "
                                  "configuration.");
  QPushButton* help = button("BitBtn3", "Help", "Help just in case you are having problems !");
  QPushButton* menu = button("BitBtn1", "Main Menu", "Back to the Main Menu.");
  layout->addWidget(calculate);
  layout->addStretch(1);
  layout->addWidget(help);
  layout->addWidget(menu);
  connect(calculate, &QPushButton::clicked, this, [this] { Button1Click(); });
  connect(help, &QPushButton::clicked, this, [this] { view_help(); });
  connect(menu, &QPushButton::clicked, this, [this] { back_to_main(); });
  return row;
}

// Picking a road list entry or changing a slick or circumference field
// makes the shown results stale; typing into a road list does not.
void TForm4::connect_clearing() {
  for (QComboBox* list : {tyres_.front_tyre_width, tyres_.front_tyre_profile, tyres_.front_wheel_diameter,
                          tyres_.rear_tyre_width, tyres_.rear_tyre_profile, tyres_.rear_wheel_diameter}) {
    connect(list, &QComboBox::activated, this, [this] { clear_displays(); });
  }
  for (chart::TNumEdit* field : {tyres_.front_tyre_diameter, tyres_.rear_tyre_diameter,
                                 tyres_.front_tyre_circumference, tyres_.rear_tyre_circumference}) {
    connect(field, &QLineEdit::textChanged, this, [this] { clear_displays(); });
  }
}

// The checks run once the focus change that left the field is complete, so
// their message box never opens in the middle of a click elsewhere.
void TForm4::connect_minimum_checks() {
  const auto on_exit = [this](chart::TNumEdit* field, void (TForm4::*check)()) {
    connect(field, &chart::TNumEdit::exited, this, [this, check] { (this->*check)(); }, Qt::QueuedConnection);
  };
  on_exit(tyres_.front_tyre_diameter, &TForm4::check_front_diameter);
  on_exit(tyres_.rear_tyre_diameter, &TForm4::check_rear_diameter);
  on_exit(tyres_.front_tyre_circumference, &TForm4::check_front_circumference);
  on_exit(tyres_.rear_tyre_circumference, &TForm4::check_rear_circumference);
}

void TForm4::setup_form4() { activate(); }

void TForm4::activated() {
  const int type = tyre_type_->checkedId();
  if (type >= 0) notebook_->setCurrentIndex(type);
  update_tyre_fields();
}

void TForm4::update_tyre_fields() {
  const int item = drive_sensor_->checkedId();
  if (item < 0) return;
  const auto layout = static_cast<calc::DriveSensor>(item);
  const bool front = layout == calc::DriveSensor::FrontDriveFrontSensor ||
                     layout == calc::DriveSensor::FrontDriveRearSensor ||
                     layout == calc::DriveSensor::RearDriveFrontSensor;
  const bool rear = layout != calc::DriveSensor::FrontDriveFrontSensor;
  for (QWidget* w : tyres_.front_side) w->setVisible(front);
  for (QWidget* w : tyres_.rear_side) w->setVisible(rear);
}

void TForm4::Tyre_type_buttonsClick() {
  const int type = tyre_type_->checkedId();
  if (type >= 0) notebook_->setCurrentIndex(type);
  clear_displays();
}

void TForm4::Drive_Sensor_ButtonsClick() {
  update_tyre_fields();
  clear_displays();
}

void TForm4::Button1Click() {
  calculate_calibration();
  show_results();
}

void TForm4::clear_displays() {
  for (QLineEdit* box : {speedo_cal_, gear_cal_}) {
    box->clear();
    paint_field(box, kResultColor);
  }
}

void TForm4::check_front_diameter() {
  check_minimum(tyres_.front_tyre_diameter, kMinimumDiameter, "Minimum Front Tyre Diameter is 200mm");
}
void TForm4::check_rear_diameter() {
  check_minimum(tyres_.rear_tyre_diameter, kMinimumDiameter, "Minimum Rear Tyre Diameter is 200mm");
}
void TForm4::check_front_circumference() {
  check_minimum(tyres_.front_tyre_circumference, kMinimumCircumference,
                "Minimum Front Tyre Circumference is 300mm");
}
void TForm4::check_rear_circumference() {
  check_minimum(tyres_.rear_tyre_circumference, kMinimumCircumference,
                "Minimum Rear Tyre Circumference is 300mm");
}

void TForm4::check_minimum(chart::TNumEdit* field, int minimum, const char* message) {
  if (field->value() >= minimum) return;
  field->setText(QString::number(minimum));
  ui_.warning(message);
}

void TForm4::update_diff_display() {
  // The mask leaves a blank for every digit not typed; with none typed the
  // field counts as empty.
  const QString shown = diff_ratio_value_->displayText();
  const bool valid = calc::diff_ratio_looks_valid(shown.toStdString());
  paint_field(diff_ratio_value_, valid ? std::nullopt : std::optional<QColor>(kErrorColor));
  if (shown.trimmed() == ".") diff_ratio_value_->setText(kEmptyRatio);
}

void TForm4::back_to_main() { go_to_main_menu(); }

void TForm4::view_help() { go_to_help(); }

calc::CalculatorInput TForm4::read_input() const {
  const auto sizes = [](QComboBox* width, QComboBox* profile, QComboBox* wheel, chart::TNumEdit* slick,
                        chart::TNumEdit* measured) {
    return calc::AxleSizes{width->currentText().toStdString(), profile->currentText().toStdString(),
                           wheel->currentText().toStdString(), static_cast<long long>(slick->value()),
                           static_cast<long long>(measured->value())};
  };
  calc::CalculatorInput input;
  input.drive_sensor = static_cast<calc::DriveSensor>(std::max(0, drive_sensor_->checkedId()));
  input.tyre_type = static_cast<calc::TyreType>(std::max(0, tyre_type_->checkedId()));
  input.front = sizes(tyres_.front_tyre_width, tyres_.front_tyre_profile, tyres_.front_wheel_diameter,
                      tyres_.front_tyre_diameter, tyres_.front_tyre_circumference);
  input.rear = sizes(tyres_.rear_tyre_width, tyres_.rear_tyre_profile, tyres_.rear_wheel_diameter,
                     tyres_.rear_tyre_diameter, tyres_.rear_tyre_circumference);
  input.diff_ratio = diff_ratio_value_->displayText().toStdString();
  return input;
}

void TForm4::calculate_calibration() { calibration_ = calc::calculate_calibration(read_input()); }

void TForm4::show_results() {
  const calc::ResultDisplay speedo = calc::present_speedo_cal(calibration_.speedo);
  const calc::ResultDisplay gear = calc::present_gear_cal(calibration_.gear);
  show_result(speedo_cal_, speedo);
  if (!speedo.message.empty()) ui_.error(speedo.message);
  show_result(gear_cal_, gear);
  // One unreadable entry can spoil both factors; say so once.
  if (!gear.message.empty() && gear.message != speedo.message) ui_.error(gear.message);
}

void TForm4::show_result(QLineEdit* box, const calc::ResultDisplay& shown) {
  box->setText(QString::fromStdString(shown.text));
  paint_field(box, shown.error ? kErrorColor : kResultColor);
}

}  // namespace kv
