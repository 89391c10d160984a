// The text labels a user pins onto the plot, and their file.
#include <QGridLayout>
#include <QGroupBox>
#include <QLineEdit>
#include <QPushButton>

#include "analysis/plot_files/label_file.h"
#include "analysis/plot_window.h"
#include "analysis/radio_group.h"
#include "chart/plotchart.h"
#include "notes/typing_limit.h"

namespace kv {

using analysis::RadioGroup;
using plot_files::LabelMode;

namespace {
constexpr const char* kLabelTextDefault = "Put Text Here";
// A line edit's own length limit; the label file keeps any length.
constexpr int kLabelTextLimit = 32767;
}  // namespace

QGroupBox* TForm10::build_label_group() {
  auto* group = new QGroupBox("Labels", this);
  auto* grid = new QGridLayout(group);
  RadioGroup14 = new RadioGroup("RadioGroup14", "", {"Off", "View", "Set Label", "Set Text"}, 2,
                                static_cast<int>(LabelMode::Off), group);
  // The label file is Windows-1252: a character it cannot hold is refused as
  // it is typed rather than saved as "?" (which reloads as a line break).
  auto* text = new LimitedEdit(kLabelTextLimit, group);
  text->set_text(kLabelTextDefault);
  Edit74 = text;
  Edit74->setObjectName("Edit74");
  grid->addWidget(RadioGroup14, 0, 0, 1, 2);
  grid->addWidget(Edit74, 1, 0, 1, 2);
  grid->addWidget(button("Button8", "Clear Last", &TForm10::clear_last_label), 2, 0);
  grid->addWidget(button("Button9", "Clear All", &TForm10::clear_labels), 2, 1);
  grid->addWidget(button("BitBtn8", "Save", &TForm10::save_lab_data), 3, 0);
  grid->addWidget(button("BitBtn9", "Load", &TForm10::load_lab_data), 3, 1);
  return group;
}

void TForm10::prepare_chart_labels() {
  for (int i = 1; i <= chart::kTextLabelCount; ++i) {
    chart::TTextLabel& label = PlotChart1->TextLabel(i);
    label.AttachToData = true;
    label.Alignment = chart::TAlignment::taLeftJustify;
    label.Mode = chart::TTxtLblMode::tlShadow;
    label.Font.color = chart::clBlack;
    label.ColorBkg = chart::clInfoBk;
  }
  show_labels();
}

void TForm10::show_labels() {
  for (int i = 1; i <= chart::kTextLabelCount; ++i) PlotChart1->TextLabel(i).Mode = chart::TTxtLblMode::tlOff;
  for (int i = 1; i <= chart::kTextLabelCount; ++i) {
    const plot_files::PlotLabel& label = labels_.label(i);
    chart::TTextLabel& shown = PlotChart1->TextLabel(i);
    shown.PosX = label.x;
    shown.PosY = label.y;
    shown.Caption = label.caption;
  }
  for (int i : plot_files::labels_to_draw(labels_, RadioGroup14->itemIndex())) {
    PlotChart1->TextLabel(i).Mode = chart::TTxtLblMode::tlShadow;
  }
}

void TForm10::change_cursor_mode() {
  show_labels();
  PlotChart1->Redisplay();
}

void TForm10::clear_labels() {
  labels_.clear_all();
  show_labels();
  PlotChart1->Redisplay();
}

void TForm10::clear_last_label() {
  labels_.clear_last();
  show_labels();
  PlotChart1->Redisplay();
}

void TForm10::set_cursor_down() {
  if (plot_files::place_label_on_click(labels_, RadioGroup14->itemIndex(), RadioGroup1->itemIndex(), plot_.mouse_x,
                                       plot_.mouse_y, current_readout(), Edit74->text().toStdString(), ui_)) {
    show_labels();
    PlotChart1->Redisplay();
  }
  update_markers();
  refresh_stats_when_window_moved();
}

std::string TForm10::current_readout() const { return cursor_readout_; }

void TForm10::save_lab_data() { plot_files::save_lab_data(labels_, state_.dialogs.label, ui_); }

void TForm10::load_lab_data() {
  const plot_files::LabelLoad r = plot_files::load_lab_data(labels_, state_.dialogs.label, ui_);
  if (r.labels_changed) show_labels();
  if (!r.loaded) return;
  PlotChart1->Redisplay();
  RadioGroup14->setItemIndex(static_cast<int>(LabelMode::View));  // shows the labels through its handler
}

}  // namespace kv
