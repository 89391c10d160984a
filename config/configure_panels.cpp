// The contents of the configure window's nine tabs and its side buttons.
#include <QCheckBox>
#include <QFrame>
#include <QGridLayout>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QVBoxLayout>

#include "config/config_widgets.h"
#include "config/configure_window.h"

namespace kv {

using namespace config;

namespace {

constexpr int kVersionDigits = 2;

QGroupBox* group(const QString& caption, const QString& hint = {}) {
  auto* box = new QGroupBox(caption);
  if (!hint.isEmpty()) box->setToolTip(hint);
  return box;
}

// A tab's page: its groups top-down above a stretch, inside a frame with the
// page's caption or, without a caption, directly.
QWidget* page(std::initializer_list<QWidget*> groups, const QString& frame_caption = {}) {
  auto* panel = new QWidget;
  auto* outer = new QVBoxLayout(panel);
  outer->setContentsMargins(0, 0, 0, 0);
  QVBoxLayout* body = outer;
  if (!frame_caption.isEmpty()) {
    auto* frame = group(frame_caption);
    outer->addWidget(frame);
    body = new QVBoxLayout(frame);
  }
  for (QWidget* g : groups) body->addWidget(g);
  body->addStretch(1);
  return panel;
}

// Groups side by side, as one widget of a page.
QWidget* side_by_side(std::initializer_list<QWidget*> groups) {
  auto* row = new QWidget;
  auto* layout = new QHBoxLayout(row);
  layout->setContentsMargins(0, 0, 0, 0);
  for (QWidget* g : groups) layout->addWidget(g);
  return row;
}

// One row of a field grid: caption, field, unit.
void add_row(QGridLayout* grid, const QString& caption, QWidget* field, const QString& unit = {}) {
  const int row = grid->rowCount();
  grid->addWidget(new QLabel(caption), row, 0);
  grid->addWidget(field, row, 1);
  if (!unit.isEmpty()) grid->addWidget(new QLabel(unit), row, 2);
}

// A row of a field grid that spans `columns` columns.
void add_wide_row(QGridLayout* grid, QWidget* widget, int columns) {
  grid->addWidget(widget, grid->rowCount(), 0, 1, columns);
}

QGridLayout* field_grid(QGroupBox* box) {
  auto* grid = new QGridLayout(box);
  grid->setColumnStretch(3, 1);
  return grid;
}

// A group holding a single captioned field.
QGroupBox* one_field_group(const QString& group_caption, const QString& hint, const QString& caption,
                           QWidget* field, const QString& unit = {}) {
  auto* box = group(group_caption, hint);
  add_row(field_grid(box), caption, field, unit);
  return box;
}

QLabel* wrapping_label(const char* name) {
  auto* label = new QLabel;
  label->setWordWrap(true);
  label->setObjectName(name);
  return label;
}

QPushButton* button(const QString& name, const QString& caption, const QString& hint) {
  auto* b = new QPushButton(caption);
  b->setObjectName(name);
  b->setToolTip(hint);
  return b;
}

}  // namespace

QWidget* TForm3::build_general() {
  auto* version = group("Korvanta Version");
  auto* version_row = new QHBoxLayout(version);
  version_major_ = new QLineEdit;
  version_minor_ = new QLineEdit;
  version_major_->setObjectName("Edit1");
  version_minor_->setObjectName("Edit2");
  version_row->addWidget(new QLabel("Ver"));
  for (QLineEdit* edit : {version_major_, version_minor_}) {
    edit->setReadOnly(true);
    set_typing_limit(edit, kVersionDigits);
    edit->setFixedWidth(edit->fontMetrics().horizontalAdvance("0000") + 12);
  }
  version_row->addWidget(version_major_);
  version_row->addWidget(new QLabel(".Rev"));
  version_row->addWidget(version_minor_);
  version_row->addStretch(1);

  auto* odometer = group("Odometer", "Current Odometer reading. This is not written to the Korvanta.");
  auto* grid = field_grid(odometer);
  add_row(grid, "Odo Reading", int_edit(IntField::odometer_value));
  factory_set_ = new QCheckBox("Factory Set");
  factory_set_->setObjectName("CheckBox1");
  connect(factory_set_, &QCheckBox::clicked, this, &TForm3::check_password);
  add_wide_row(grid, factory_set_, 3);
  return page({version, odometer}, "General Korvanta Parameters");
}

QWidget* TForm3::build_alarms() {
  QGroupBox* fuel =
      one_field_group("Fuel Alarms", {}, "Fuel Level Alarm (0 to 99)", int_edit(IntField::fuel_level_value), "%");

  auto* engine = group("Engine Alarms", "Set the alarm limits and enable or disable them.");
  auto* grid = field_grid(engine);
  add_row(grid, "Water Temp Alarm (0 to 140)", int_edit(IntField::water_temp_value), "deg C");
  add_row(grid, "Oil Temp Alarm (0 to 140)", int_edit(IntField::oil_temp_value), "deg C");
  add_row(grid, "Oil Pressure Alarm (0 to 140)", int_edit(IntField::oil_psi_value), "psi");
  add_row(grid, "enabled over", int_edit(IntField::rpm_oil_psi_value), "RPM");
  add_wide_row(grid, new QLabel("Enable RPM  100 RPM Resolution"), 3);
  add_wide_row(grid,
               side_by_side({choice_group(Choice::RadioGroup4, "Oil Alarm Display", {"O.I.L.", "L E V"}),
                             choice_group(Choice::RadioGroup5, "Oil Alarm Switch", {"NO", "NC"})}),
               4);
  return page({fuel, engine}, "Korvanta Alarms Setup");
}

QWidget* TForm3::build_display() {
  auto* menu = group("LCD Menu Options", "Select the options you want to run on the Korvanta.");
  auto* menu_column = new QVBoxLayout(menu);
  menu_column->addWidget(tick_box(Tick::lap_function_enable, "Lap Timer"));
  menu_column->addWidget(tick_box(Tick::accel_function_enable, "Accel/Brake Timer"));
  menu_column->addWidget(tick_box(Tick::trip_function_enable, "Trip Distance/Timer"));
  menu_column->addWidget(tick_box(Tick::max_function_enable, "Max Hold Menus"));
  QGroupBox* led = one_field_group("LED Display", "Set the display options.", "Brightness (0..7)",
                                   int_edit(IntField::display_brightness));

  auto* units = group("Display Units");
  auto* unit_row = new QHBoxLayout(units);
  unit_row->addWidget(choice_group(Choice::mph_kmh_sel, "Speed", {"KMH ", "MPH"}));
  unit_row->addWidget(choice_group(Choice::RadioGroup2, "Temperature", {"Degree Farenhait", "Degree Centrigrade"}));
  unit_row->addWidget(choice_group(Choice::RadioGroup3, "Pressure", {"Bar", "PSI"}));
  return page({side_by_side({menu, led}), units}, "Korvanta Display Options");
}

QWidget* TForm3::build_shift_lights() {
  auto* shift = group("Shift Lights", "Setup the shift lights, shift points and mode.");
  auto* row = new QHBoxLayout(shift);
  RadioGroup* mode = choice_group(Choice::shift_light_mode, "Mode", {"Off", "Norm", "Block "});
  mode->setToolTip("Shift light mode.");
  row->addWidget(mode);
  auto* points = new QGridLayout;
  points->setColumnStretch(3, 1);
  add_wide_row(points, new QLabel("Shift Points:"), 3);
  add_row(points, "Peak", int_edit(IntField::shift_value_peak), "RPM");
  add_row(points, "Delta", int_edit(IntField::shift_value_delta), "RPM");
  add_wide_row(points, new QLabel("Shift Points  100 RPM Resolution"), 3);
  add_wide_row(points, tick_box(Tick::CheckBox2, "Flash on max shift time"), 3);
  row->addLayout(points, 1);
  return page({shift}, "Shift Light Setup");
}

QWidget* TForm3::build_timers() {
  auto* lap = group("Lap / Split Timer", "Lap timer settings for track or race day.");
  auto* lap_grid = field_grid(lap);
  add_row(lap_grid, "Lap Trigger Blanking Period ", int_edit(IntField::lap_blank_period), "secs");
  lap_text_ = wrapping_label("lap_text");
  add_wide_row(lap_grid, lap_text_, 4);
  auto* splits = group("Split Distances");
  auto* split_grid = field_grid(splits);
  add_row(split_grid, "1:", int_edit(IntField::split_1_distance), "metres");
  add_row(split_grid, "2:", int_edit(IntField::split_2_distance), "metres");
  add_row(split_grid, "3:", int_edit(IntField::split_3_distance), "metres");
  split_text_ = wrapping_label("split_text");
  add_wide_row(split_grid, split_text_, 4);
  add_wide_row(lap_grid, splits, 4);

  auto* accel = group("Accel/Brake Timer", "Acceleration or Deacceleration test setup.");
  auto* accel_grid = field_grid(accel);
  const char* unit_names[] = {"accel_start_mph_kmh", "accel_stop_mph_kmh"};
  for (int i = 0; i < 2; ++i) {
    accel_units_[i] = new QLabel("MPH");
    accel_units_[i]->setObjectName(unit_names[i]);
  }
  accel_grid->addWidget(new QLabel("Start Speed"), 0, 0);
  accel_grid->addWidget(int_edit(IntField::accel_start_speed), 0, 1);
  accel_grid->addWidget(accel_units_[0], 0, 2);
  accel_grid->addWidget(new QLabel("Stop Speed  "), 1, 0);
  accel_grid->addWidget(int_edit(IntField::accel_stop_speed), 1, 1);
  accel_grid->addWidget(accel_units_[1], 1, 2);
  panel2_ = new QFrame;
  panel2_->setObjectName("Panel2");
  panel2_->setFrameShape(QFrame::StyledPanel);
  panel2_->setAutoFillBackground(true);
  accel_text_ = wrapping_label("accel_text");
  (new QHBoxLayout(panel2_))->addWidget(accel_text_);
  accel_grid->addWidget(panel2_, 0, 3, 2, 1);
  // The Timers page holds its two groups without a frame of its own.
  return page({lap, accel});
}

QWidget* TForm3::build_gears() {
  auto* ratios = group("Gearbox Ratios", "Gear ratios for your engine/gearbox.");
  auto* grid = field_grid(ratios);
  add_row(grid, "Number of Forward Gears", int_edit(IntField::num_gear_value));
  // Primary first, then gear 1 upwards, as a gearbox is read.
  add_row(grid, spec_of(RatioField::prim_ratio_value).caption, ratio_edit(RatioField::prim_ratio_value));
  for (auto it = kRatioFields.rbegin(); it + 1 != kRatioFields.rend(); ++it) {
    add_row(grid, it->caption, ratio_edit(it->id));
  }
  grid->addWidget(new QLabel("Valid Ratios 0.500 to 5.000"), 1, 3);
  grid->addWidget(new QLabel("Set to 1.000 for car engine gearbox."), 2, 3);
  return page({ratios}, "Gear Indicator Setup");
}

QWidget* TForm3::build_fuel() {
  return page({choice_group(Choice::fuel_level_sender, "Fuel Sender Type", {"ZRN Lever", "VDO Lever"}, 2)},
              "Fuel Setup");
}

QWidget* TForm3::build_calibrate() {
  QGroupBox* ignition = one_field_group("Engine Ignition", "Tachometer calibration.", "Pulses per Engine Cycle",
                                        int_edit(IntField::pulses_engine_cycle));
  auto* calibration = group("Calibration", "Get the calibration factors from the Calculator option.");
  auto* grid = field_grid(calibration);
  add_row(grid, "Speedo Cal Factor", int_edit(IntField::speedo_cal_value));
  add_row(grid, "Gear Cal Factor", int_edit(IntField::gear_cal_value));
  QGroupBox* weight = one_field_group("Vehicle Weight with Driver/Passenger", {}, "Vehicle Weight",
                                      int_edit(IntField::veh_weight), "kg");
  return page({ignition, calibration, weight}, "Korvanta Calibration");
}

QWidget* TForm3::build_logger() {
  QWidget* panel = page({new QLabel("Start and Stop Logger using Button 3")}, "Logger Configuration");
  // The logger control and the auto-save box are never shown; their values
  // still travel through the image.
  RadioGroup* logger = choice_group(Choice::RadioGroup1, "Logger On/Off Control",
                                    {"Button 3 for On/Off", "Engine Running (Auto Save On: 3.20 or later Korvanta option)",
                                     "Vehicle Moving  (Auto Save On: 3.20 or later Korvanta option)"});
  auto* auto_save = group("AutoSave");
  (new QVBoxLayout(auto_save))
      ->addWidget(tick_box(Tick::CheckBox3, "Auto Save Data to Memory (3.20 or later Korvanta option)"));
  for (QWidget* hidden : {static_cast<QWidget*>(logger), static_cast<QWidget*>(auto_save)}) {
    hidden->setParent(panel);
    hidden->hide();
  }
  return panel;
}

QWidget* TForm3::build_side_buttons() {
  auto* side = new QWidget(this);
  auto* column = new QVBoxLayout(side);
  column->setContentsMargins(0, 0, 0, 0);

  auto* file = group("File Save/Load", "Load and Save configurations to file.");
  auto* file_column = new QVBoxLayout(file);
  QPushButton* load = button("BitBtn3", "Load Config", "Load and Save configurations to file.");
  QPushButton* save = button("BitBtn4", "Save Config", "Load and Save configurations to file.");
  file_column->addWidget(load);
  file_column->addWidget(save);
  connect(load, &QPushButton::clicked, this, &TForm3::load_config_data);
  connect(save, &QPushButton::clicked, this, &TForm3::save_config_data);
  column->addWidget(file);

  const QString link_hint = "Write and Read the configuration on the Korvanta.";
  auto* link = group("Korvanta Read/Write", link_hint);
  auto* link_column = new QVBoxLayout(link);
  QPushButton* write = button("BitBtn5", "Write Config", link_hint);
  QPushButton* read = button("BitBtn6", "Read Config", link_hint);
  link_column->addWidget(write);
  link_column->addWidget(read);
  connect(write, &QPushButton::clicked, this, &TForm3::set_config_data);
  connect(read, &QPushButton::clicked, this, &TForm3::get_config_data);
  column->addWidget(link);

  serial_group_ = new RadioGroup("Serial Port", {"COM 1", "COM 2", "COM 3", "COM 4"}, 2, side);
  serial_group_->setObjectName("Serial_COM_group");
  serial_group_->setToolTip("Select a Serial COM port.");
  connect(serial_group_, &RadioGroup::itemClicked, this, &TForm3::change_serial_port);
  column->addWidget(serial_group_);
  column->addStretch(1);

  QPushButton* help = button("BitBtn7", "Help", "Help, having problems with the Korvanta Setup.");
  QPushButton* back = button("BitBtn1", "Main Menu", "Back to Main Menu");
  connect(help, &QPushButton::clicked, this, &TForm3::view_help);
  connect(back, &QPushButton::clicked, this, &TForm3::back_to_main);
  column->addWidget(help);
  column->addWidget(back);
  return side;
}

}  // namespace kv
