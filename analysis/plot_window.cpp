#include "analysis/plot_window.h"

#include <QCheckBox>
#include <QCloseEvent>
#include <QComboBox>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QTabBar>

#include "analysis/axis_controls.h"
#include "analysis/display_mode.h"
#include "analysis/plot_building.h"
#include "analysis/plot_files/unit_switches.h"
#include "analysis/radio_group.h"
#include "analysis/x_axis.h"
#include "chart/colorpick.h"
#include "chart/plotchart.h"
#include "logdata/log_file.h"
#include "ui/controls_lock.h"
#include "ui/window_placement.h"

namespace kv {

using namespace analysis;

namespace {

// The chart's pan and zoom bounds: never below 0 on y.
constexpr LayerRange kRangeLimits{-1e8, 0, 1e8, 1e8};
constexpr const char* kStatsChannelReset = "RPM/100";

void set_caption(chart::TScaleProps& scale, const std::string& caption) {
  // Every scale change repaints the whole chart: change only what differs.
  if (scale.Caption() != caption) scale.SetCaption(caption);
}

void set_visible(chart::TScaleProps& scale, bool on) {
  if (scale.Visible() != on) scale.SetVisible(on);
}

void paint_base(QWidget* widget, const QColor& colour) {
  QPalette p = widget->palette();
  p.setColor(QPalette::Base, colour);
  widget->setPalette(p);
}

}  // namespace

TForm10::TForm10(PlotWindowState state, Ui& ui, QWidget* parent) : QWidget(parent), state_(state), ui_(ui) {
  setObjectName("TForm10");
  setWindowTitle("View Data");
  build();
  build_readout_box();
  connect_handlers();
  connect_tool_handlers();
  build_lap_tools();
  build_notes_panels();
  connect_file_handlers();
  tabPlotOptions(0);
  tabViewOptions(0);
}

TForm10::~TForm10() = default;

void TForm10::connect_handlers() {
  connect(TabControl1, &QTabBar::currentChanged, this, &TForm10::tabPlotOptions);
  connect(TabControl2, &QTabBar::currentChanged, this, &TForm10::tabViewOptions);
  for (QCheckBox* box : channel_boxes_) connect(box, &QCheckBox::toggled, this, &TForm10::redraw_engine_data);
  for (const auto& picks : colour_picks_) {
    for (chart::TColorPick* pick : picks) {
      connect(pick, &chart::TColorPick::OnChange, this, &TForm10::refresh_engine_data);
    }
  }
  for (int t = 1; t <= 2; ++t) {
    const auto k = static_cast<std::size_t>(t - 1);
    connect(line_types_[k], &RadioGroup::changed, this, &TForm10::redraw_engine_data);
    connect(trace_on_[k], &QCheckBox::toggled, this, [this, t] { enable_line_display(t); });
    connect(legend_on_[k], &QCheckBox::toggled, this, [this, t] { onoffButton(t); });
  }
  connect(ComboBox3, &QComboBox::currentIndexChanged, this, &TForm10::change_data_axis);
  connect(RadioGroup2, &RadioGroup::changed, this, &TForm10::change_view_mode);
  connect(CheckBox12, &QCheckBox::toggled, this, &TForm10::change_axis_mode);
  for (RadioGroup* group : {RadioGroup3, RadioGroup9}) {
    connect(group, &RadioGroup::changed, this, &TForm10::change_grid_mode);
  }
  for (QComboBox* list : {ComboBox1, ComboBox2}) {
    connect(list, &QComboBox::currentIndexChanged, this, &TForm10::change_grid_mode);
  }
  connect(ComboBox4, &QComboBox::currentIndexChanged, this, &TForm10::refresh_engine_data);
  for (RadioGroup* group : {RadioGroup12, RadioGroup13}) {
    connect(group, &RadioGroup::changed, this, &TForm10::refresh_engine_data);
  }
  connect(PlotChart1, &chart::TPlotChart::OnMouseMoveInChart, this, &TForm10::get_cursor_position);
}

PlotSettings TForm10::settings() const {
  PlotSettings s;
  s.x_channel = x_channel_from_index(ComboBox3->currentIndex());
  for (std::size_t k = 0; k < channel_boxes_.size(); ++k) s.channel_shown[k] = channel_boxes_[k]->isChecked();
  for (std::size_t t = 0; t < 2; ++t) {
    TraceLook& look = s.trace[t];
    for (std::size_t k = 0; k < colour_picks_[t].size(); ++k) look.colour[k] = colour_picks_[t][k]->SelColor();
    look.line_type = static_cast<LineType>(std::max(line_types_[t]->itemIndex(), 0));
    look.on = trace_on_[t]->isChecked();
  }
  s.plot_mode = RadioGroup2->itemIndex() == 1 ? PlotMode::LapOverlay : PlotMode::AllPlotData;
  s.b_on_second_axis = CheckBox12->isChecked();
  s.y_autoscale = CheckBox11->isChecked();
  s.speed_unit = RadioGroup4->itemIndex();
  s.temp_unit = RadioGroup5->itemIndex();
  s.pressure_unit = RadioGroup6->itemIndex();
  s.distance_unit = RadioGroup11->itemIndex();
  s.grid_lines = static_cast<GridLines>(std::max(RadioGroup3->itemIndex(), 0));
  s.grid_enable = static_cast<GridEnable>(std::max(RadioGroup9->itemIndex(), 0));
  s.grid_dy = ComboBox1->currentIndex();
  s.grid_dx = ComboBox2->currentIndex();
  s.zoom_mode = RadioGroup1->itemIndex();
  s.markers_on = RadioGroup10->itemIndex();
  s.stats_channel = ComboBox4->currentIndex();
  s.stats_kind = RadioGroup12->itemIndex();
  s.stats_range = RadioGroup13->itemIndex();
  s.cursor_readout_on = CheckBox17->isChecked();
  return s;
}

PlotState& TForm10::current_plot() {
  plot_.settings = settings();
  return plot_;
}

// ---- showing, leaving, tabs ----

void TForm10::showEvent(QShowEvent* event) {
  QWidget::showEvent(event);
  // Only an opening by the program sets the window up. The desktop's own
  // show (restoring from minimised, un-hiding) keeps the user's zoom,
  // labels, markers and overlay as they were.
  if (event->spontaneous()) return;
  setup_form_10();
  activate_form_10();
}

void TForm10::setup_form_10() {
  apply_cfg(false);
  prepare_chart_labels();
  copy_decoded_notes();
  PlotChart1->SetRangeLimits(kRangeLimits.x_low, kRangeLimits.y_low, kRangeLimits.x_high, kRangeLimits.y_high);
  show_dataset_names();
  synchronise_unit_switches();
  change_grid_mode();
  change_display_mode();
  // The lists are refilled (no lap chosen) before the plot is drawn.
  for (std::uint8_t which : {kDataSetA, kDataSetB}) rebuild_lap_table(which);
  update_lap_combo();
  change_data_axis();
}

void TForm10::activate_form_10() { centre_on_screen(*this); }

void TForm10::closeEvent(QCloseEvent* event) {
  // A load in progress (the controls are locked) finishes first.
  if (!sides_[0]->isEnabled()) {
    event->ignore();
    return;
  }
  event->accept();
  analysis::clear_plot_data(*port_);
  emit backRequested();
}

void TForm10::close_plot_data() { close(); }

void TForm10::back_to_logger() { close(); }

void TForm10::tabPlotOptions(int index) {
  for (QGroupBox* p : left_panels_) p->hide();
  RadioGroup1->setItemIndex(0);
  PlotChart1->SetMouseAction(chart::TMouseActMode::maDragCrossH);
  const bool known = index >= 0 && index < static_cast<int>(left_panels_.size());
  left_panels_[static_cast<std::size_t>(known ? index : 0)]->show();
}

void TForm10::tabViewOptions(int index) {
  for (QGroupBox* p : right_panels_) p->hide();
  const bool known = index >= 0 && index < static_cast<int>(right_panels_.size());
  right_panels_[static_cast<std::size_t>(known ? index : 0)]->show();
}

// ---- x axis and datasets ----

void TForm10::change_x_axis() {
  enable_stats(false);
  show_x_axis(plot_files::change_x_axis_in_units(state_.log, settings(), state_.distance_in_feet, ui_));
}

void TForm10::show_x_axis(const XAxisView& view) {
  set_caption(PlotChart1->Scale1X(), view.caption);
  set_caption(PlotChart1->Scale2X(), view.caption);
  if (view.unit_label) {
    if (auto* label = findChild<QLabel*>(QString::fromStdString(view.unit_label->first))) {
      label->setText(QString::fromStdString(view.unit_label->second));
    }
  }
  if (view.stats_on) enable_stats(true);
}

void TForm10::change_data_axis() {
  drop_curves_before_replot();
  change_x_axis();
  clear_markers();
  reload_engine_data();
}

void TForm10::loadDataSetA() { load_data_set(kDataSetA); }
void TForm10::loadDataSetB() { load_data_set(kDataSetB); }

void TForm10::load_data_set(std::uint8_t which) {
  const bool shown_before = state_.log.dataset(which).decoded_valid == 1;
  bool loaded = false;
  {
    const ControlsLock lock({sides_[0], sides_[1]});
    loaded = which == kDataSetA ? load_log_dataSetA(state_.log, state_.dialogs, ui_)
                                : load_log_dataSetB(state_.log, state_.dialogs, ui_);
  }
  const bool decoded = loaded && state_.log.dataset(which).decoded_valid == 1;
  // A cancelled or refused load leaves the plot as it was; a file that was
  // read but did not decode has emptied its set, whose curves must go.
  if (decoded || (shown_before && state_.log.dataset(which).decoded_valid != 1)) replot_after_load(which, decoded);
}

void TForm10::replot_after_load(std::uint8_t which, bool decoded) {
  // Only a decoded log brings its notes to the page and its units to the switches.
  if (decoded) copy_notes(which);
  show_dataset_names();
  // Only the loaded set's table: the other's is unchanged, and rebuilding it
  // would repeat its warnings and leave `current_data_set` on it.
  rebuild_lap_table(which);
  update_lap_combo();
  if (decoded) synchronise_unit_switches();
  drop_curves_before_replot();
  change_x_axis();
  change_display_mode();
  reload_engine_data();
}

void TForm10::drop_curves_before_replot() {
  // Captions and scale visibility repaint the chart at once; the curves they
  // would repaint are about to be rebuilt anyway.
  port_->ClearItems();
}

void TForm10::show_dataset_names() {
  for (std::uint8_t which : {kDataSetA, kDataSetB}) {
    const Dataset& data = state_.log.dataset(which);
    QLineEdit* field = source_names_[which == kDataSetA ? 0 : 1];
    // A field that was never written keeps its design text.
    if (data.decoded_valid == 1 || field->isModified()) {
      field->setText(QString::fromStdString(dataset_name_text(data)));
      field->setModified(true);
    }
  }
}

void TForm10::show_unit_labels() {
  const HeldUnits& units = state_.log.shown_units;
  Label8->setText(QString::fromStdString(speed_unit_text(units)));
  Label9->setText(QString::fromStdString(pressure_unit_text(units)));
  Label10->setText(QString::fromStdString(temp_unit_text(units)));
  Label11->setText(QString::fromStdString(temp_unit_text(units)));
}

void TForm10::enable_stats(bool on) {
  const QColor colour = on ? QColor(Qt::yellow) : palette().color(QPalette::Button);
  for (QLineEdit* box : stats_results_) {
    paint_base(box, colour);
    if (!on) box->clear();
  }
  for (QWidget* control : std::initializer_list<QWidget*>{RadioGroup13, ComboBox4, RadioGroup12}) {
    control->setEnabled(on);
  }
  paint_base(ComboBox4, colour);
  if (!on) {
    // Reset quietly: the re-plot that follows refreshes the statistics.
    const QSignalBlocker quiet(ComboBox4);
    ComboBox4->setCurrentIndex(ComboBox4->findText(kStatsChannelReset));
  }
}

// ---- axis controls ----

void TForm10::change_axis_mode() {
  drop_curves_before_replot();
  change_display_mode();
  reload_engine_data();
}

void TForm10::copy_data_axisBA() {
  const auto range = matched_layer1_range(state_.log, settings(), port_->layer_range(1), port_->layer_range(2), ui_);
  if (!range) return;
  PlotChart1->SetLayerRange(1, range->x_low, range->y_low, range->x_high, range->y_high);
  PlotChart1->Redisplay();
  refresh_stats();  // "In Window" follows the new window, as after any zoom
}

void TForm10::change_grid_mode() {
  set_grid();
  PlotChart1->Redisplay();
}

void TForm10::set_grid() {
  const GridView grid = grid_view(settings());
  PlotChart1->SetGridColor(grid.color);
  PlotChart1->SetGridStyle(grid.style);
  PlotChart1->SetGridDx(grid.dx);
  PlotChart1->SetGridDy(grid.dy);
  PlotChart1->SetActiveLayer(grid.layer);
}

// ---- plot building ----

void TForm10::reload_engine_data() {
  // The tables' figures need only the log, which the re-plot only reads:
  // the other core works them out meanwhile.
  auto figures = lap_tool_figures_later();
  analysis::reload_engine_data(*port_, state_.log, current_plot(), ui_, plot_hooks());
  // Boxes ticked or cleared by a configuration file raise no click.
  ComboBox3->setEnabled(plot_.settings.any_channel_shown());
  refresh_lap_tools(figures.get());
}

void TForm10::refresh_engine_data() {
  analysis::refresh_engine_data(*port_, state_.log, current_plot(), plot_hooks());
  redraw_lap_tools();
}

void TForm10::redraw_engine_data() {
  auto figures = lap_tool_figures_later();  // as in reload_engine_data()
  ComboBox3->setEnabled(analysis::redraw_engine_data(*port_, state_.log, current_plot(), plot_hooks()));
  refresh_lap_tools(figures.get());  // a unit switch changes the figures too
}

void TForm10::clear_plot_data() { analysis::clear_plot_data(*port_); }

void TForm10::change_display_mode() {
  BusyCursor busy(ui_);
  const DisplayView view = analysis::change_display_mode(state_.log, settings());
  for (QWidget* control : std::initializer_list<QWidget*>{CheckBox12, match_scaling_, restore_scaling_}) {
    control->setEnabled(view.axis_controls_enabled);
  }
  for (std::size_t k = 0; k < legends_.size(); ++k) {
    if (view.show_legend[k]) legends_[k]->show();
  }
  for (int layer = 1; layer <= kPlotLayers; ++layer) {
    const auto& visible = view.scales_visible[static_cast<std::size_t>(layer - 1)];
    if (!visible) continue;
    set_visible(PlotChart1->ScaleX(layer), *visible);
    set_visible(PlotChart1->ScaleY(layer), *visible);
  }
}

void TForm10::change_view_mode() {
  if (RadioGroup2->itemIndex() == static_cast<int>(PlotMode::LapOverlay)) {
    if (!lap_overlay_allowed(state_.log, ui_)) {
      RadioGroup2->setItemIndex(static_cast<int>(PlotMode::AllPlotData));  // runs the All Plot Data branch
      return;
    }
    StaticText4->setText(kLapOverlayCaption);
    clear_plot_data();
    change_x_axis();
    change_display_mode();
    clear_markers();
    update_lap_info();
    reload_engine_data();
    ask_for_laps_when_none_chosen(plot_, ui_);
    return;
  }
  set_all_plot_captions();
  drop_curves_before_replot();
  change_x_axis();
  change_display_mode();
  reload_engine_data();
}

void TForm10::set_all_plot_captions() {
  const ModeCaptions& c = all_plot_captions();
  StaticText4->setText(c.view);
  line_types_[0]->setTitle(c.line_type_a);
  line_types_[1]->setTitle(c.line_type_b);
  for (QLabel* label : {Label7, Label121}) label->setText(c.heading_a);
  for (QLabel* label : {Label12, Label122}) label->setText(c.heading_b);
}

void TForm10::enable_line_display(int trace_set) {
  const auto k = static_cast<std::size_t>(trace_set - 1);
  const bool on = trace_on_[k]->isChecked();
  line_types_[k]->setEnabled(on);
  legend_on_[k]->setChecked(on);
  redraw_engine_data();
}

void TForm10::onoffButton(int trace_set) {
  const auto k = static_cast<std::size_t>(trace_set - 1);
  trace_on_[k]->setChecked(legend_on_[k]->isChecked());
}

}  // namespace kv
