#include "calculator/tyre_pages.h"

#include <QComboBox>
#include <QGridLayout>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QStackedWidget>
#include <QVBoxLayout>

#include "chart/numedit.h"

namespace kv::calc {
namespace {

// Grid columns of a page: front label, field, unit, gap, rear label, field, unit.
constexpr int kFrontColumn = 0;
constexpr int kRearColumn = 4;
constexpr int kGapColumn = 3;
constexpr int kGapWidth = 24;
constexpr int kListDigits = 3;
constexpr int kNumberDigits = 4;

struct ListRow {
  const char* name;  // "Tyre Width" gives front_tyre_width and "Front Tyre Width"
  const char* unit;
  int first, last, step;
  const char* front_initial;
  const char* rear_initial;
  QComboBox* TyreFields::*front;
  QComboBox* TyreFields::*rear;
};

constexpr ListRow kRoadRows[] = {
    {"Tyre Width", "mm", 275, 135, -10, "185", "205", &TyreFields::front_tyre_width,
     &TyreFields::rear_tyre_width},
    {"Tyre Profile", "%", 80, 20, -10, "60", "60", &TyreFields::front_tyre_profile,
     &TyreFields::rear_tyre_profile},
    {"Wheel Diameter", "inches", 19, 10, -1, "13", "13", &TyreFields::front_wheel_diameter,
     &TyreFields::rear_wheel_diameter},
};

struct NumberPage {
  const char* page_name;
  const char* page_caption;
  const char* group;
  const char* hint;
  const char* name;
  double high;
  const char* front_initial;
  const char* rear_initial;
  const char* note;
  chart::TNumEdit* TyreFields::*front;
  chart::TNumEdit* TyreFields::*rear;
};

constexpr NumberPage kSlickPage{"Slick_tyres", "Slick Tyres", "Slick Tyre Details",
                                "Enter the diameter of your slick tyres.", "Tyre Diameter", 999, "450", "550",
                                "Minimum Tyre Diameter is 200mm", &TyreFields::front_tyre_diameter,
                                &TyreFields::rear_tyre_diameter};
constexpr NumberPage kOtherPage{"other_tyres", "Unknown Tyres", "Other Tyre Details", "",
                                "Tyre Circumference", 9999, "1500", "1700",
                                "Minimum Tyre Circumference is 300mm", &TyreFields::front_tyre_circumference,
                                &TyreFields::rear_tyre_circumference};

// "Front" + "Tyre Width" -> caption "Front Tyre Width", name "front_tyre_width".
QString caption_of(const char* side, const char* name) { return QString("%1 %2").arg(side, name); }
QString object_name_of(const char* side, const char* name) {
  return caption_of(side, name).toLower().replace(' ', '_');
}

// Places label, field and unit of one side in a row and records them for
// showing and hiding.
void place_side(QGridLayout* grid, int row, int column, const QString& caption, QWidget* field,
                const char* unit, std::vector<QWidget*>& side) {
  auto* label = new QLabel(caption);
  auto* unit_label = new QLabel(unit);
  grid->addWidget(label, row, column);
  grid->addWidget(field, row, column + 1);
  grid->addWidget(unit_label, row, column + 2);
  for (QWidget* w : {static_cast<QWidget*>(label), field, static_cast<QWidget*>(unit_label)}) {
    // Hidden fields keep their room so the other side does not move.
    QSizePolicy policy = w->sizePolicy();
    policy.setRetainSizeWhenHidden(true);
    w->setSizePolicy(policy);
    side.push_back(w);
  }
}

QGridLayout* page_grid(QStackedWidget* notebook, const char* page_name, const char* page_caption,
                       const char* group, const char* hint) {
  auto* page = new QWidget;
  page->setObjectName(page_name);
  page->setAccessibleName(page_caption);
  auto* box = new QGroupBox(group, page);
  if (*hint != '\0') box->setToolTip(hint);
  auto* outer = new QVBoxLayout(page);
  outer->setContentsMargins(0, 0, 0, 0);
  outer->addWidget(box);
  auto* grid = new QGridLayout(box);
  grid->setColumnMinimumWidth(kGapColumn, kGapWidth);
  grid->setColumnStretch(kGapColumn, 1);
  notebook->addWidget(page);
  return grid;
}

QComboBox* size_list(const ListRow& row, const char* side, const char* initial) {
  auto* list = new QComboBox;
  list->setObjectName(object_name_of(side, row.name));
  list->setEditable(true);
  list->setInsertPolicy(QComboBox::NoInsert);
  list->setMinimumContentsLength(kListDigits);
  list->setSizeAdjustPolicy(QComboBox::AdjustToMinimumContentsLengthWithIcon);
  for (int value = row.first; row.step < 0 ? value >= row.last : value <= row.last; value += row.step) {
    list->addItem(QString::number(value));
  }
  list->setCurrentText(initial);
  return list;
}

void build_road_page(QStackedWidget* notebook, TyreFields& fields) {
  QGridLayout* grid = page_grid(notebook, "Road_tyres", "Road Tyres", "Road Tyre Details",
                                "Enter the details for your road going tyres");
  int r = 0;
  for (const ListRow& row : kRoadRows) {
    fields.*row.front = size_list(row, "Front", row.front_initial);
    fields.*row.rear = size_list(row, "Rear", row.rear_initial);
    place_side(grid, r, kFrontColumn, caption_of("Front", row.name), fields.*row.front, row.unit,
               fields.front_side);
    place_side(grid, r, kRearColumn, caption_of("Rear", row.name), fields.*row.rear, row.unit,
               fields.rear_side);
    ++r;
  }
}

chart::TNumEdit* size_field(const NumberPage& page, const char* side, const char* initial) {
  auto* edit = new chart::TNumEdit;
  edit->setObjectName(object_name_of(side, page.name));
  edit->setInputFormat(chart::InputFormat::itInt);
  edit->setDecPlaceSep(chart::DecPlaceSep::dsDot);
  edit->setRange(0, page.high);
  edit->setBeep(false);
  fit_to_digits(edit, kNumberDigits);
  edit->setText(initial);
  return edit;
}

void build_number_page(QStackedWidget* notebook, TyreFields& fields, const NumberPage& page) {
  QGridLayout* grid = page_grid(notebook, page.page_name, page.page_caption, page.group, page.hint);
  fields.*page.front = size_field(page, "Front", page.front_initial);
  fields.*page.rear = size_field(page, "Rear", page.rear_initial);
  place_side(grid, 0, kFrontColumn, caption_of("Front", page.name), fields.*page.front, "mm",
             fields.front_side);
  place_side(grid, 0, kRearColumn, caption_of("Rear", page.name), fields.*page.rear, "mm",
             fields.rear_side);
  grid->addWidget(new QLabel(page.note), 1, kFrontColumn, 1, kRearColumn + 3);
  grid->setRowStretch(2, 1);
}

}  // namespace

void fit_to_digits(QLineEdit* field, int digits) {
  // Room for two more digits covers the frame and the text margins.
  constexpr int kSpareDigits = 2;
  field->setFixedWidth(field->fontMetrics().horizontalAdvance(QString(digits + kSpareDigits, '0')));
}

QStackedWidget* build_tyre_notebook(TyreFields& fields, QWidget* parent) {
  auto* notebook = new QStackedWidget(parent);
  notebook->setObjectName("tyre_type_notebook");
  notebook->setToolTip("If there are no markings on the tyres then measure the circumference.");
  build_road_page(notebook, fields);
  build_number_page(notebook, fields, kSlickPage);
  build_number_page(notebook, fields, kOtherPage);
  return notebook;
}

}  // namespace kv::calc
