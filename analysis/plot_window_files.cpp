// The plot window's unit switches, its configuration file and its exports.
#include <QCheckBox>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPagedPaintDevice>
#include <QPainter>
#include <QPushButton>
#include <QSignalBlocker>
#include <QVBoxLayout>

#include "analysis/plot_files/cfg_settings.h"
#include "analysis/plot_files/plot_export.h"
#include "analysis/plot_window.h"
#include "analysis/radio_group.h"
#include "analysis/session_report/session_report.h"
#include "chart/colorpick.h"
#include "chart/plotchart.h"

namespace kv {

using analysis::RadioGroup;
using plot_files::CfgChoice;
using plot_files::UnitSwitch;

// Applies a configuration onto the controls with their handlers held back,
// so a file that changes every line costs one re-plot, not one per line. The
// unit lines still convert the data, as a click would.
class TForm10::Applier final : public plot_files::PlotSettingsApplier {
 public:
  explicit Applier(TForm10& form) : form_(form) {}

  void set_trace_colour(int trace_set, analysis::Channel channel, analysis::TColor colour) override {
    if (trace_set < 1 || trace_set > 2) return;
    chart::TColorPick* pick = form_.colour_picks_[static_cast<std::size_t>(trace_set - 1)]
                                                 [static_cast<std::size_t>(analysis::index_of(channel))];
    if (pick->SelColor() == colour) return;
    pick->setSelColor(colour);
    changed_ = true;
  }

  void set_channel_shown(analysis::Channel channel, bool on) override {
    QCheckBox* box = form_.channel_boxes_[static_cast<std::size_t>(analysis::index_of(channel))];
    if (box->isChecked() == on) return;
    const QSignalBlocker quiet(box);
    box->setChecked(on);
    changed_ = true;
  }

  void set_choice(CfgChoice choice, int index) override {
    RadioGroup* group = group_of(choice);
    if (group->itemIndex() == index) return;
    {
      const QSignalBlocker quiet(group);
      group->setItemIndex(index);
    }
    if (group->itemIndex() != index) return;
    changed_ = true;
    if (const auto unit = unit_of(choice)) {
      const auto r = plot_files::change_unit(form_.state_.log, form_.state_.distance_in_feet, *unit, index,
                                             form_.settings().x_channel);
      rebuild_x_ = rebuild_x_ || r.rebuild_x;
    }
  }

  bool changed() const { return changed_; }
  bool rebuild_x() const { return rebuild_x_; }

 private:
  RadioGroup* group_of(CfgChoice choice) const {
    switch (choice) {
      case CfgChoice::LineTypeA: return form_.line_types_[0];
      case CfgChoice::LineTypeB: return form_.line_types_[1];
      case CfgChoice::GridEnable: return form_.RadioGroup9;
      case CfgChoice::GridLines: return form_.RadioGroup3;
      case CfgChoice::SpeedUnit: return form_.RadioGroup4;
      case CfgChoice::DistanceUnit: return form_.RadioGroup11;
      case CfgChoice::TempUnit: return form_.RadioGroup5;
      case CfgChoice::PressureUnit: return form_.RadioGroup6;
    }
    return form_.line_types_[0];
  }

  static std::optional<UnitSwitch> unit_of(CfgChoice choice) {
    switch (choice) {
      case CfgChoice::SpeedUnit: return UnitSwitch::Speed;
      case CfgChoice::DistanceUnit: return UnitSwitch::Distance;
      case CfgChoice::TempUnit: return UnitSwitch::Temperature;
      case CfgChoice::PressureUnit: return UnitSwitch::Pressure;
      default: return std::nullopt;
    }
  }

  TForm10& form_;
  bool changed_ = false;
  bool rebuild_x_ = false;
};

void TForm10::connect_file_handlers() {
  const std::array<std::pair<RadioGroup*, void (TForm10::*)()>, 4> units = {{{RadioGroup4, &TForm10::change_mph_kmh},
                                                                          {RadioGroup5, &TForm10::change_degC_degF},
                                                                          {RadioGroup6, &TForm10::change_psi_bar},
                                                                          {RadioGroup11, &TForm10::change_metre_feet}}};
  for (const auto& [group, handler] : units) connect(group, &RadioGroup::changed, this, handler);
}

QWidget* TForm10::build_config_buttons() {
  auto* row = new QWidget(this);
  auto* layout = new QHBoxLayout(row);
  layout->setContentsMargins(0, 0, 0, 0);
  layout->addWidget(button("BitBtn6", "Load Config", &TForm10::load_cfg_data));
  layout->addWidget(button("BitBtn7", "Save Config", &TForm10::save_cfg_data));
  return row;
}

QGroupBox* TForm10::build_export_group() {
  auto* group = new QGroupBox("Plot", this);
  auto* layout = new QVBoxLayout(group);
  layout->addWidget(button("Button5", "Print to ClipBoard", &TForm10::SavePlotClipBoardBitmap));
  layout->addWidget(button("Button7", "Print to File", &TForm10::SavePlotFileBitmap));
  layout->addWidget(button("Button6", "Print", &TForm10::PrintPlot));
  layout->addWidget(button("SaveReport", "Save Report", &TForm10::save_report));
  return group;
}

// ---- unit switches ----

void TForm10::change_mph_kmh() { change_unit(UnitSwitch::Speed, RadioGroup4); }
void TForm10::change_degC_degF() { change_unit(UnitSwitch::Temperature, RadioGroup5); }
void TForm10::change_psi_bar() { change_unit(UnitSwitch::Pressure, RadioGroup6); }
void TForm10::change_metre_feet() { change_unit(UnitSwitch::Distance, RadioGroup11); }

void TForm10::change_unit(UnitSwitch which, const RadioGroup* group) {
  const auto r = plot_files::change_unit(state_.log, state_.distance_in_feet, which, group->itemIndex(),
                                         settings().x_channel);
  show_unit_labels();
  if (r.rebuild_x) {
    change_data_axis();
  } else if (r.converted) {
    redraw_engine_data();
  }
}

void TForm10::synchronise_unit_switches() {
  // The data is already in the recorded units: the switches only show them.
  const plot_files::UnitChoices u = plot_files::synchronise_units(state_.log, state_.distance_in_feet);
  const std::array<std::pair<RadioGroup*, int>, 4> shown = {
      {{RadioGroup4, u.speed}, {RadioGroup5, u.temperature}, {RadioGroup6, u.pressure}, {RadioGroup11, u.distance}}};
  for (const auto& [group, index] : shown) {
    const QSignalBlocker quiet(group);
    group->setItemIndex(index);
  }
  show_unit_labels();
}

// ---- configuration file ----

void TForm10::load_cfg_data() { apply_cfg(true); }

void TForm10::save_cfg_data() { plot_files::save_cfg_data(settings(), state_.dialogs.plot_config, ui_); }

void TForm10::apply_cfg(bool loaded_by_button) {
  Applier applier(*this);
  if (!loaded_by_button) {
    plot_files::load_default_cfg(applier, state_.dialogs.plot_config, ui_);
    return;  // the show re-plots everything after
  }
  plot_files::load_cfg_data(applier, state_.dialogs.plot_config, ui_);
  if (!applier.changed()) return;
  // A colour set by the program raises no event of its own: redraw once here.
  // Both re-plots below end with a picture, which shows the new grid too.
  drop_curves_before_replot();
  show_unit_labels();
  set_grid();
  if (applier.rebuild_x()) {
    change_data_axis();
  } else {
    redraw_engine_data();
  }
}

// ---- export ----

void TForm10::SavePlotClipBoardBitmap() {
  PlotChart1->CopyToClipboard(false);
  ui_.information(plot_files::bitmap_msg::kClipboard);
}

void TForm10::SavePlotFileBitmap() {
  plot_files::save_plot_bitmap(state_.dialogs.bitmap, ui_,
                               [this](const std::string& path) { return PlotChart1->SaveBitmapFile(path, false); });
}

void TForm10::PrintPlot() {
  ui_.print_page([this](QPagedPaintDevice& device) {
    QPainter painter(&device);
    const plot_files::PrintSurface surface{device.width(),         device.height(),       device.logicalDpiX(),
                                           PlotChart1->logicalDpiX(), PlotChart1->width(), PlotChart1->height()};
    const plot_files::PrintedPage page =
        plot_files::print_page_layout(surface, source_names_[0]->text().toStdString(),
                                      source_names_[1]->text().toStdString());
    // The page's positions are the text's top-left corners.
    const int ascent = painter.fontMetrics().ascent();
    for (const plot_files::PrintedText& line : page.lines) {
      painter.drawText(line.x, line.y + ascent, QString::fromStdString(line.text));
    }
    PlotChart1->PrintChart(painter, page.chart_left, page.chart_top, false, page.scale);
  });
}

void TForm10::save_report() {
  const session_report::ReportUnits units{state_.log.shown_units.speed_in_mph, state_.distance_in_feet};
  session_report::save_session_report(state_.log,
                                      lap_tools::sector_boundaries(lap_tool_settings_, state_.config.config_image),
                                      units, PlotChart1->Picture(false), state_.dialogs.report, ui_);
}

}  // namespace kv
