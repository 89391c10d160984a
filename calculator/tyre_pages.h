#pragma once
// The calculator's tyre notebook: one page of size fields per tyre type, each
// with a front and a rear set.
#include <QString>
#include <vector>

class QComboBox;
class QLineEdit;
class QStackedWidget;
class QWidget;

namespace kv::chart {
class TNumEdit;
}

namespace kv::calc {

struct TyreFields {
  QComboBox* front_tyre_width = nullptr;
  QComboBox* front_tyre_profile = nullptr;
  QComboBox* front_wheel_diameter = nullptr;
  QComboBox* rear_tyre_width = nullptr;
  QComboBox* rear_tyre_profile = nullptr;
  QComboBox* rear_wheel_diameter = nullptr;
  chart::TNumEdit* front_tyre_diameter = nullptr;
  chart::TNumEdit* rear_tyre_diameter = nullptr;
  chart::TNumEdit* front_tyre_circumference = nullptr;
  chart::TNumEdit* rear_tyre_circumference = nullptr;
  // Every front-side and rear-side control with its labels, for showing and
  // hiding by drive and sensor position.
  std::vector<QWidget*> front_side;
  std::vector<QWidget*> rear_side;
};

// Sizes a one-line field to hold `digits` characters in its own font, so the
// window stays tidy whatever font the desktop uses.
void fit_to_digits(QLineEdit* field, int digits);

// Builds the notebook `tyre_type_notebook` with the pages in tyre type order
// and fills `fields`.
QStackedWidget* build_tyre_notebook(TyreFields& fields, QWidget* parent);

}  // namespace kv::calc
