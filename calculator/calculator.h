#pragma once
// TForm4 "Calculator": works out the speedo and gear calibration factors from
// the drive layout, sensor position, tyre sizes and differential ratio.
#include "calculator/calibration.h"
#include "calculator/tyre_pages.h"
#include "ui/navigable_window.h"

class QButtonGroup;
class QLineEdit;
class QStackedWidget;

namespace kv {

class Ui;

class TForm4 : public NavigableWindow {
  Q_OBJECT

 public:
  explicit TForm4(Ui& ui, QWidget* parent = nullptr);

  // Event handlers, public so the window can be driven as a user would.
  void setup_form4();
  void Tyre_type_buttonsClick();
  void Drive_Sensor_ButtonsClick();
  void Button1Click();
  void clear_displays();
  void check_front_diameter();
  void check_rear_diameter();
  void check_front_circumference();
  void check_rear_circumference();
  void update_diff_display();
  void back_to_main();
  void view_help();

  // The values kept between the calculation and the display.
  const calc::Calibration& last_calibration() const { return calibration_; }

 protected:
  void activated() override;

 private:
  QWidget* build_choices();
  QWidget* build_transmission();
  QWidget* build_results();
  QWidget* build_buttons();
  void connect_clearing();
  void connect_minimum_checks();

  void calculate_calibration();
  void show_results();
  void update_tyre_fields();
  calc::CalculatorInput read_input() const;
  void show_result(QLineEdit* box, const calc::ResultDisplay& shown);
  void check_minimum(chart::TNumEdit* field, int minimum, const char* message);

  Ui& ui_;
  QButtonGroup* drive_sensor_ = nullptr;
  QButtonGroup* tyre_type_ = nullptr;
  QStackedWidget* notebook_ = nullptr;
  calc::TyreFields tyres_;
  QLineEdit* diff_ratio_value_ = nullptr;
  QLineEdit* speedo_cal_ = nullptr;
  QLineEdit* gear_cal_ = nullptr;
  calc::Calibration calibration_;
};

}  // namespace kv
