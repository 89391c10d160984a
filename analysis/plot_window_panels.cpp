// The five panels of the plot window's left tab strip.
#include <QCheckBox>
#include <QComboBox>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QVBoxLayout>

#include "analysis/axis_controls.h"
#include "analysis/plot_window.h"
#include "analysis/radio_group.h"
#include "chart/colorpick.h"

namespace kv {

using analysis::RadioGroup;

namespace {

const QStringList kLineTypes = {"Solid Line", "Dotted Line", "Points"};
const QStringList kZoomModes = {"Off",
                                "Zoom Box",
                                "Zoom Pan",
                                "Pan Axis 1",
                                "Pan Axis 2",
                                "Pan Axis 1 Horiz Only",
                                "Pan Axis 2 Horiz Only",
                                "Pan All",
                                "Pan All Horiz Only"};
const QStringList kStatsChannels = {"RPM/100",  "Speed",      "Gear",          "Brake %", "Oil Pressure",
                                    "Oil Temp", "Water Temp", "Battery Volts", "Lap Time"};

struct TraceLookNames {
  const char* group;
  const char* caption;
  const char* on_box;
  int default_line;
};
constexpr TraceLookNames kTraceLooks[] = {{"RadioGroup7", "Data A Line Type", "CheckBox13", 0},
                                          {"RadioGroup8", "Data B Line Type", "CheckBox14", 1}};

constexpr int kMargin = 4;

QLabel* named_label(const char* name, const char* text, QWidget* parent) {
  auto* label = new QLabel(text, parent);
  label->setObjectName(name);
  return label;
}

QCheckBox* named_box(const char* name, const char* caption, bool checked, QWidget* parent) {
  auto* box = new QCheckBox(caption, parent);
  box->setObjectName(name);
  box->setChecked(checked);
  return box;
}

QComboBox* named_list(const char* name, const QStringList& items, QWidget* parent) {
  auto* list = new QComboBox(parent);
  list->setObjectName(name);
  list->addItems(items);
  list->setCurrentIndex(0);
  return list;
}

template <std::size_t N>
QStringList items_of(const std::array<const char*, N>& items) {
  QStringList list;
  for (const char* item : items) list << item;
  return list;
}

QVBoxLayout* column_of(QGroupBox* group) {
  auto* layout = new QVBoxLayout(group);
  layout->setContentsMargins(kMargin, kMargin, kMargin, kMargin);
  return layout;
}

}  // namespace

QGroupBox* TForm10::build_load_print() {
  QGroupBox* group = panel("LoadPrint", "Load and Print Data");
  QVBoxLayout* layout = column_of(group);
  layout->addWidget(button("LoadDataSetA", "Load Data Set A", &TForm10::loadDataSetA));
  layout->addWidget(button("LoadDataSetB", "Load Data Set B", &TForm10::loadDataSetB));
  layout->addWidget(build_config_buttons());
  layout->addWidget(build_export_group());
  layout->addStretch(1);
  layout->addWidget(button("BackToLogger", "Back to Logger", &TForm10::back_to_logger));
  return group;
}

QGroupBox* TForm10::build_data_select() {
  QGroupBox* group = panel("DataSelect", "Data Select");
  QVBoxLayout* layout = column_of(group);
  auto* grid = new QGridLayout;
  grid->setVerticalSpacing(1);
  Label7 = named_label("Label7", "Data A", group);
  Label12 = named_label("Label12", "Data B", group);
  grid->addWidget(Label7, 0, 2);
  grid->addWidget(Label12, 0, 3);
  Label8 = named_label(analysis::kSpeedUnitLabel, "(MPH)", group);
  Label9 = named_label(analysis::kPressureUnitLabel, "(psi)", group);
  Label10 = named_label(analysis::kOilTempUnitLabel, "(degC)", group);
  Label11 = named_label(analysis::kWaterTempUnitLabel, "(degC)", group);
  const std::array<std::pair<analysis::Channel, QLabel*>, 4> unit_labels = {
      {{analysis::Channel::Speed, Label8},
       {analysis::Channel::OilPressure, Label9},
       {analysis::Channel::OilTemp, Label10},
       {analysis::Channel::WaterTemp, Label11}}};
  for (const analysis::ChannelInfo& info : analysis::channel_catalogue()) {
    const int row = analysis::index_of(info.id) + 1;
    const auto k = static_cast<std::size_t>(row - 1);
    channel_boxes_[k] = named_box(info.check_box, info.caption, info.id == analysis::Channel::Rpm, group);
    grid->addWidget(channel_boxes_[k], row, 0);
    for (const auto& [channel, label] : unit_labels) {
      if (channel == info.id) grid->addWidget(label, row, 1);
    }
    for (int t = 0; t < 2; ++t) {
      auto* pick = new chart::TColorPick(group);
      pick->setObjectName(t == 0 ? info.colour_a : info.colour_b);
      pick->setSelColor(info.default_colour);
      colour_picks_[static_cast<std::size_t>(t)][k] = pick;
      grid->addWidget(pick, row, 2 + t);
    }
  }
  layout->addLayout(grid);
  auto* looks = new QHBoxLayout;
  looks->addWidget(build_trace_look(1));
  looks->addWidget(build_trace_look(2));
  layout->addLayout(looks);
  auto* x_row = new QHBoxLayout;
  x_row->addWidget(new QLabel("X-Axis Data", group));
  ComboBox3 = named_list("ComboBox3", items_of(analysis::x_channel_items()), group);
  x_row->addWidget(ComboBox3, 1);
  layout->addLayout(x_row);
  layout->addStretch(1);
  return group;
}

QWidget* TForm10::build_trace_look(int trace_set) {
  const TraceLookNames& names = kTraceLooks[trace_set - 1];
  const auto k = static_cast<std::size_t>(trace_set - 1);
  auto* box = new QWidget(this);
  auto* layout = new QVBoxLayout(box);
  layout->setContentsMargins(0, 0, 0, 0);
  line_types_[k] = new RadioGroup(names.group, names.caption, kLineTypes, 1, names.default_line, box);
  trace_on_[k] = named_box(names.on_box, "On", true, box);
  layout->addWidget(line_types_[k]);
  layout->addWidget(trace_on_[k]);
  return box;
}

QGroupBox* TForm10::build_zoom_pan() {
  QGroupBox* group = panel("ZoomPan", "View Options");
  QVBoxLayout* layout = column_of(group);
  RadioGroup2 = new RadioGroup("RadioGroup2", "Plot", {"All Plot Data", "Lap Overlay"}, 1, 0, group);
  layout->addWidget(RadioGroup2);
  CheckBox12 = named_box("CheckBox12", "Data B on 2nd Axis", false, group);
  CheckBox12->setEnabled(false);
  CheckBox11 = named_box("CheckBox11", "Y-Axis AutoScale Select", true, group);
  layout->addWidget(CheckBox12);
  layout->addWidget(CheckBox11);
  match_scaling_ = button("MatchWindowScaling", "Match Window Scaling", &TForm10::copy_data_axisBA);
  restore_scaling_ = button("RestoreOriginalScaling", "Restore Original Scaling", nullptr);
  for (QPushButton* b : {match_scaling_, restore_scaling_}) {
    b->setEnabled(false);
    layout->addWidget(b);
  }
  RadioGroup1 = new RadioGroup("RadioGroup1", "Zoom and Pan", kZoomModes, 1, 0, group);
  layout->addWidget(RadioGroup1);
  layout->addWidget(build_zoom_buttons());
  layout->addStretch(1);
  return group;
}

QGroupBox* TForm10::build_cursor_panel() {
  QGroupBox* group = panel("Cursor", "Markers, Labels and Statistics");
  QVBoxLayout* layout = column_of(group);
  layout->addWidget(build_markers());
  layout->addWidget(build_label_group());
  layout->addWidget(build_statistics());
  CheckBox17 = named_box("CheckBox17", "Cursor Data", true, group);
  layout->addWidget(CheckBox17);
  layout->addStretch(1);
  return group;
}

QGroupBox* TForm10::build_statistics() {
  auto* group = new QGroupBox("Statistics (Time Axis Only)", this);
  auto* grid = new QGridLayout(group);
  grid->setContentsMargins(kMargin, kMargin, kMargin, kMargin);
  ComboBox4 = named_list("ComboBox4", kStatsChannels, group);
  RadioGroup12 = new RadioGroup("RadioGroup12", "", {"Max", "Min", "Avg"}, 3, 0, group);
  RadioGroup13 = new RadioGroup("RadioGroup13", "Stats On", {"All Data ", "In Window"}, 2, 0, group);
  grid->addWidget(ComboBox4, 0, 0, 1, 2);
  grid->addWidget(RadioGroup12, 1, 0, 1, 2);
  grid->addWidget(RadioGroup13, 2, 0, 1, 2);
  Label121 = named_label("Label121", "Data A:", group);
  Label122 = named_label("Label122", "Data B:", group);
  const std::array<const char*, 2> result_names = {"Edit72", "Edit73"};
  for (std::size_t k = 0; k < 2; ++k) {
    stats_results_[k] = new QLineEdit(group);
    stats_results_[k]->setObjectName(result_names[k]);
    stats_results_[k]->setReadOnly(true);
    grid->addWidget(k == 0 ? Label121 : Label122, 3 + static_cast<int>(k), 0);
    grid->addWidget(stats_results_[k], 3 + static_cast<int>(k), 1);
  }
  return group;
}

QGroupBox* TForm10::build_option_panel() {
  QGroupBox* group = panel("Option", "Options");
  QVBoxLayout* layout = column_of(group);
  auto* units = new QGridLayout;
  RadioGroup4 = new RadioGroup("RadioGroup4", "Speed", {"MPH", "KMH"}, 2, 0, group);
  RadioGroup5 = new RadioGroup("RadioGroup5", "Temperature", {"degC", "degF"}, 2, 0, group);
  RadioGroup6 = new RadioGroup("RadioGroup6", "Pressure", {"PSI", "Bar"}, 2, 0, group);
  RadioGroup11 = new RadioGroup("RadioGroup11", "Distance", {"Metres", "Feet"}, 2, 0, group);
  const std::array<RadioGroup*, 4> unit_groups = {RadioGroup4, RadioGroup5, RadioGroup6, RadioGroup11};
  for (std::size_t i = 0; i < unit_groups.size(); ++i) {
    units->addWidget(unit_groups[i], static_cast<int>(i / 2), static_cast<int>(i % 2));
  }
  layout->addLayout(units);
  layout->addWidget(build_grid_controls());
  layout->addStretch(1);
  return group;
}

QGroupBox* TForm10::build_grid_controls() {
  auto* group = new QGroupBox("Grid", this);
  auto* grid = new QGridLayout(group);
  grid->setContentsMargins(kMargin, kMargin, kMargin, kMargin);
  RadioGroup3 = new RadioGroup("RadioGroup3", "Grid Lines", {"Vert + Horiz Grid", "Vertical Only ", "Horizontal Only"},
                               1, 0, group);
  RadioGroup9 = new RadioGroup("RadioGroup9", "Grid Enable", {"Off", "Axis 1", "Axis 2"}, 1, 1, group);
  grid->addWidget(RadioGroup3, 0, 0, 1, 2);
  grid->addWidget(RadioGroup9, 0, 2, 1, 2);
  ComboBox1 = named_list("ComboBox1", items_of(analysis::kGridDyItems), group);
  ComboBox2 = named_list("ComboBox2", items_of(analysis::kGridDxItems), group);
  grid->addWidget(new QLabel("Horizontal", group), 1, 0);
  grid->addWidget(ComboBox1, 1, 1);
  grid->addWidget(new QLabel("Vertical", group), 1, 2);
  grid->addWidget(ComboBox2, 1, 3);
  return group;
}

}  // namespace kv
