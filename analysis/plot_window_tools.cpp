// The plot window's tools on the chart: the cursor read-out box, the two
// markers, the statistics line, zoom and pan, and the label mode.
#include <QCheckBox>
#include <QEvent>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QVBoxLayout>

#include "analysis/axis_controls.h"
#include "analysis/cursor_readout.h"
#include "analysis/markers.h"
#include "analysis/plot_stats.h"
#include "analysis/plot_text.h"
#include "analysis/plot_window.h"
#include "analysis/radio_group.h"
#include "analysis/zoom.h"
#include "chart/numedit.h"
#include "chart/plotchart.h"

namespace kv {

using namespace analysis;

namespace {

// Marker 1 blue, marker 2 red (the chart's colours are blue-green-red).
constexpr chart::TColor kMarker1Colour = 0xFF0000;
constexpr chart::TColor kMarker2Colour = 0x0000FF;
constexpr int kMarkerWidth = 1;
constexpr int kMarkersOn = 1;
constexpr int kLabelsOff = 0;

// NumEdit5, 6, 8 (x1, x2, x1 - x2) and NumEdit10, 9, 7 (y1, y2, y1 - y2).
constexpr std::array<const char*, 6> kMarkerBoxes = {"NumEdit5", "NumEdit6", "NumEdit8",
                                                     "NumEdit10", "NumEdit9", "NumEdit7"};
constexpr std::array<const char*, 3> kMarkerColumns = {"Marker 1", "Marker 2", "Difference"};

constexpr int kReadoutInset = 48;
constexpr int kMargin = 4;

QLabel* value_label(const char* name, QWidget* parent) {
  auto* label = new QLabel(parent);
  label->setObjectName(name);
  label->hide();
  return label;
}

}  // namespace

// ---- building ----

QGroupBox* TForm10::build_markers() {
  auto* group = new QGroupBox("Markers", this);
  auto* grid = new QGridLayout(group);
  grid->setContentsMargins(kMargin, kMargin, kMargin, kMargin);
  RadioGroup10 = new RadioGroup("RadioGroup10", "", {"Off", "On (Drag from left axis)"}, 1, 0, group);
  grid->addWidget(RadioGroup10, 0, 0, 1, 4);
  for (std::size_t c = 0; c < kMarkerColumns.size(); ++c) {
    grid->addWidget(new QLabel(kMarkerColumns[c], group), 1, 1 + static_cast<int>(c));
  }
  grid->addWidget(new QLabel("X", group), 2, 0);
  grid->addWidget(new QLabel("Y", group), 3, 0);
  for (std::size_t b = 0; b < kMarkerBoxes.size(); ++b) {
    auto* box = new chart::TNumEdit(group);
    box->setObjectName(kMarkerBoxes[b]);
    box->setReadOnly(true);
    marker_boxes_[b] = box;
    grid->addWidget(box, 2 + static_cast<int>(b / 3), 1 + static_cast<int>(b % 3));
  }
  Label13 = value_label("Label13", group);
  Label6 = value_label("Label6", group);
  grid->addWidget(Label13, 4, 1);
  grid->addWidget(Label6, 4, 2);
  reset_markers_ = button("ResetMarkers", "Reset Markers", &TForm10::clear_markers);
  grid->addWidget(reset_markers_, 4, 3);
  // Each overlaid lap at both markers: marker 1 / marker 2 / difference.
  lap_marker_values_ = value_label("LapMarkerValues", group);
  lap_marker_values_->setTextInteractionFlags(Qt::TextSelectableByMouse);
  grid->addWidget(lap_marker_values_, 5, 0, 1, 4);
  return group;
}

QWidget* TForm10::build_zoom_buttons() {
  auto* row = new QWidget(this);
  auto* layout = new QHBoxLayout(row);
  layout->setContentsMargins(0, 0, 0, 0);
  layout->addWidget(button("ZoomIn", "In", &TForm10::zoom_in));
  layout->addWidget(button("ZoomOut", "Out", &TForm10::zoom_out));
  layout->addWidget(button("ZoomFull", "Full", &TForm10::zoomFull));
  return row;
}

void TForm10::build_readout_box() {
  StaticText5 = new QLabel(PlotChart1);
  StaticText5->setObjectName("StaticText5");
  StaticText5->setFrameStyle(QFrame::Box | QFrame::Plain);
  StaticText5->setAutoFillBackground(true);
  StaticText5->setAttribute(Qt::WA_TransparentForMouseEvents);
  StaticText5->move(kReadoutInset, kReadoutInset / 3);
  StaticText5->hide();
  PlotChart1->installEventFilter(this);
}

bool TForm10::eventFilter(QObject* watched, QEvent* event) {
  if (watched == PlotChart1 && event->type() == QEvent::Leave) get_cursor_position(false, {}, 0, 0);
  return QWidget::eventFilter(watched, event);
}

void TForm10::connect_tool_handlers() {
  connect(PlotChart1, &chart::TPlotChart::OnClick, this, &TForm10::set_cursor_down);
  connect(CheckBox17, &QCheckBox::toggled, this, &TForm10::enable_on_plot_cursor_pos);
  connect(RadioGroup10, &RadioGroup::changed, this, &TForm10::cursorControl);
  connect(RadioGroup1, &RadioGroup::changed, this, &TForm10::change_mouse_mode);
  connect(RadioGroup14, &RadioGroup::changed, this, &TForm10::change_cursor_mode);
  connect(restore_scaling_, &QPushButton::clicked, this, &TForm10::zoomFull);
  enable_markers(false);
}

// ---- cursor read-out ----

void TForm10::get_cursor_position(bool in_chart, Qt::KeyboardModifiers, double x, double y) {
  if (!in_chart) {
    for (QWidget* w : std::initializer_list<QWidget*>{StaticText5, Label6, Label13}) w->hide();
    plot_.mouse_x = 0;
    plot_.mouse_y = 0;
    return;
  }
  // The chart reports in the active layer's units, which the grid may have
  // set to layer 2.
  const DataPoint p = convert_layer_units(PlotChart1->layer_map(PlotChart1->ActiveLayer()), PlotChart1->layer_map(1),
                                          x, y);
  plot_.mouse_x = p.x;
  plot_.mouse_y = p.y;
  if (RadioGroup10->itemIndex() == kMarkersOn) {
    Label13->setText(QString::fromStdString(fixed_text(p.x, 1)));
    Label6->setText(QString::fromStdString(fixed_text(p.y, 1)));
    Label13->show();
    Label6->show();
  }
  cursor_readout_ = analysis::with_readout_line(overlay_readout(analysis::cursor_readout(state_.log, plot_, p.x, p.y), p.x),
                                                slip_readout_line(p.x));
  if (CheckBox17->isChecked()) {
    StaticText5->setText(QString::fromStdString(cursor_readout_));
    StaticText5->adjustSize();
    StaticText5->show();
  }
  // A drag may have panned or zoomed the window.
  refresh_stats_when_window_moved();
}

void TForm10::enable_on_plot_cursor_pos() {
  StaticText5->clear();
  StaticText5->setVisible(CheckBox17->isChecked());
}

// ---- markers ----

void TForm10::cursorControl() {
  const bool on = RadioGroup10->itemIndex() == kMarkersOn;
  const chart::TCrossHMode mode = on ? chart::TCrossHMode::chBoth : chart::TCrossHMode::chOff;
  PlotChart1->SetCrossHairStyle(1, kMarker1Colour, mode, chart::TPenStyle::psSolid, kMarkerWidth);
  PlotChart1->SetCrossHairStyle(2, kMarker2Colour, mode, chart::TPenStyle::psSolid, kMarkerWidth);
  PlotChart1->SetMouseAction(chart::TMouseActMode::maDragCrossH);
  enable_markers(on);
  update_markers();
  PlotChart1->Redisplay();
}

void TForm10::enable_markers(bool on) {
  reset_markers_->setEnabled(on);
  const QColor colour = on ? QColor(Qt::yellow) : palette().color(QPalette::Button);
  for (chart::TNumEdit* box : marker_boxes_) {
    QPalette p = box->palette();
    p.setColor(QPalette::Base, colour);
    box->setPalette(p);
    if (!on) box->clear();
  }
  if (!on) {
    Label13->hide();
    Label6->hide();
    lap_marker_values_->clear();
    lap_marker_values_->hide();
  }
}

void TForm10::clear_markers() {
  PlotChart1->SetCrossHairPos(1, 0, 0);
  PlotChart1->SetCrossHairPos(2, 0, 0);
  // Not clamped into the window: when the x channel or the plot mode changes
  // the window still spans the old axis until the re-plot.
  show_marker_values({MarkerPoint{0, 0}, MarkerPoint{0, 0}});
}

void TForm10::refresh_lap_marker_values() {
  // The laps, their units or the slip reference may have changed; the
  // markers stay where they are.
  if (RadioGroup10->itemIndex() != kMarkersOn) return;
  show_lap_marker_values(PlotChart1->CrossHairPosX(1), PlotChart1->CrossHairPosX(2));
}

void TForm10::update_markers() {
  if (RadioGroup10->itemIndex() != kMarkersOn) return;
  const chart::TScaleProps& x_scale = PlotChart1->Scale1X();
  std::array<MarkerPoint, 2> markers{};
  for (int m = 1; m <= 2; ++m) {
    const MarkerPoint now{PlotChart1->CrossHairPosX(m), PlotChart1->CrossHairPosY(m)};
    const MarkerPoint kept = marker_in_window(now, x_scale.RangeLow(), x_scale.RangeHigh());
    if (kept.x != now.x) PlotChart1->SetCrossHairPos(m, kept.x, kept.y);
    markers[static_cast<std::size_t>(m - 1)] = kept;
  }
  show_marker_values(markers);
}

void TForm10::show_marker_values(const std::array<MarkerPoint, 2>& markers) {
  if (RadioGroup10->itemIndex() != kMarkersOn) return;
  const auto texts = marker_texts(markers[0], markers[1]);
  for (std::size_t b = 0; b < texts.size(); ++b) marker_boxes_[b]->setText(QString::fromStdString(texts[b]));
  show_lap_marker_values(markers[0].x, markers[1].x);
}

// ---- statistics ----

PlotHooks TForm10::plot_hooks() {
  PlotHooks hooks;
  hooks.update_stats = [this](std::uint8_t set, int trace_set, int layer) { update_stats(set, trace_set, layer); };
  hooks.clear_labels = [this] {
    labels_.clear_all();
    show_labels();
  };
  return hooks;
}

void TForm10::update_stats(std::uint8_t data_set, int trace_set, int layer) {
  const LayerRange window = port_->layer_range(layer);
  stats_window_[static_cast<std::size_t>(layer == 2 ? 1 : 0)] = window;
  const auto result = analysis::update_stats(state_.log, plot_, data_set, trace_set, window.x_low, window.x_high);
  if (!result) return;
  stats_results_[static_cast<std::size_t>(result->box)]->setText(QString::fromStdString(result->text));
}

void TForm10::refresh_stats() {
  for (int t = 1; t <= 2; ++t) {
    const TraceSetPlan& target = plot_.plan.trace[static_cast<std::size_t>(t - 1)];
    if (target.drawn) update_stats(target.data_set, t, target.layer);
  }
}

void TForm10::refresh_stats_when_window_moved() {
  if (plot_.settings.stats_range != static_cast<int>(StatsRange::InWindow)) return;
  for (const TraceSetPlan& target : plot_.plan.trace) {
    if (target.drawn && port_->layer_range(target.layer) != stats_window_[static_cast<std::size_t>(target.layer - 1)]) {
      refresh_stats();
      return;
    }
  }
}

// ---- zoom and pan ----

void TForm10::change_mouse_mode() {
  PlotChart1->SetLayerMouseEnabled(1, false);
  PlotChart1->SetLayerMouseEnabled(2, false);
  const MouseMode mode = mouse_mode(RadioGroup1->itemIndex());
  if (mode.layer1) PlotChart1->SetLayerMouseEnabled(1, true);
  if (mode.layer2) PlotChart1->SetLayerMouseEnabled(2, true);
  PlotChart1->SetMouseAction(mode.action);
}

void TForm10::zoom_in() { zoom_layers(true); }
void TForm10::zoom_out() { zoom_layers(false); }

void TForm10::zoom_layers(bool in) {
  const int last_layer = CheckBox12->isChecked() ? 2 : 1;
  for (int layer = 1; layer <= last_layer; ++layer) {
    const LayerRange now = port_->layer_range(layer);
    const LayerRange next = in ? analysis::zoom_in(now) : analysis::zoom_out(now, plot_.home(layer));
    port_->SetLayerRange(layer, next.x_low, next.y_low, next.x_high, next.y_high);
  }
  PlotChart1->Redisplay();
  refresh_stats();
}

void TForm10::zoomFull() {
  const auto full = [this](int layer) {
    port_->AutoRangeLayer(layer, 0);
    const LayerRange r = port_->layer_range(layer);
    port_->SetLayerRange(layer, r.x_low, r.y_low, widened_high(r.x_high), widened_high(r.y_high));
  };
  full(layer_a(plot_.settings));
  if (layer_b(plot_.settings) == 2 && state_.log.dataset(kDataSetB).decoded_valid == 1) full(2);
  PlotChart1->Redisplay();
  refresh_stats();
}

}  // namespace kv
