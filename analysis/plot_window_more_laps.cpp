// The plot window's added laps: the "Add Lap" list under the two overlay
// selections, the lap legend with its removable entries, the slip reference,
// and each lap's values at the pointer and at the markers.
#include <QComboBox>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QListWidget>
#include <QPixmap>
#include <QPushButton>
#include <QVBoxLayout>

#include "analysis/cursor_readout.h"
#include "analysis/lap_readout.h"
#include "analysis/plot_window.h"
#include "analysis/radio_group.h"
#include "chart/plotchart.h"

namespace kv {

using namespace analysis;

namespace {

constexpr const char* kAddLap = "Add Lap";
constexpr const char* kFastestReference = "Fastest lap";
constexpr int kSwatchWidth = 24;
constexpr int kSwatchHeight = 4;

// The chart's colours are blue-green-red.
QColor colour_of(TColor c) { return QColor(static_cast<int>(c & 0xFF), static_cast<int>((c >> 8) & 0xFF), static_cast<int>((c >> 16) & 0xFF)); }

QIcon swatch(TColor colour) {
  QPixmap pixmap(kSwatchWidth, kSwatchHeight);
  pixmap.fill(colour_of(colour));
  return QIcon(pixmap);
}

QString html_escaped(const std::string& text) { return QString::fromStdString(text).toHtmlEscaped(); }

}  // namespace

QWidget* TForm10::build_more_laps(QWidget* parent) {
  auto* box = new QWidget(parent);
  auto* column = new QVBoxLayout(box);
  column->setContentsMargins(0, 0, 0, 0);
  auto* row = new QHBoxLayout;
  add_lap_list_ = new QComboBox(box);
  add_lap_list_->setObjectName("AddLap");
  add_lap_list_->setPlaceholderText(kAddLap);
  add_lap_list_->setToolTip("Up to six more laps from A or B, each in its own colour and line style");
  auto* fastest = new QPushButton("Fastest of each session", box);
  fastest->setObjectName("FastestOfEachSession");
  row->addWidget(new QLabel("More laps:", box));
  row->addWidget(add_lap_list_, 1);
  row->addWidget(fastest);
  column->addLayout(row);

  auto* legend_row = new QHBoxLayout;
  lap_legend_ = new QListWidget(box);
  lap_legend_->setObjectName("LapLegend");
  lap_legend_->setMaximumHeight(6 * lap_legend_->fontMetrics().height() + 8);
  auto* side = new QVBoxLayout;
  remove_lap_ = new QPushButton("Remove Lap", box);
  remove_lap_->setObjectName("RemoveLap");
  slip_reference_list_ = new QComboBox(box);
  slip_reference_list_->setObjectName("SlipReference");
  slip_reference_list_->setToolTip("The lap the time slip of every other lap is taken against");
  side->addWidget(remove_lap_);
  side->addWidget(new QLabel("Slip reference:", box));
  side->addWidget(slip_reference_list_);
  side->addStretch(1);
  legend_row->addWidget(lap_legend_, 1);
  legend_row->addLayout(side);
  column->addLayout(legend_row);

  connect(add_lap_list_, &QComboBox::activated, this, &TForm10::add_lap);
  connect(fastest, &QPushButton::clicked, this, &TForm10::add_fastest_laps);
  connect(remove_lap_, &QPushButton::clicked, this, &TForm10::remove_lap);
  connect(slip_reference_list_, &QComboBox::activated, this, &TForm10::choose_slip_reference);
  return box;
}

void TForm10::build_lap_legend_box() {
  chart_lap_legend_ = new QLabel(this);
  chart_lap_legend_->setObjectName("LapLegendBox");
  chart_lap_legend_->setTextFormat(Qt::RichText);
  // Six entries are wider than the chart: they go on as many lines as needed.
  chart_lap_legend_->setWordWrap(true);
  chart_lap_legend_->hide();
  if (auto* plot_column = qobject_cast<QBoxLayout*>(right_panels_[0]->layout())) {
    plot_column->addWidget(chart_lap_legend_);
  }
}

void TForm10::fill_add_lap_list() {
  const QSignalBlocker quiet(add_lap_list_);
  add_lap_list_->clear();
  for (const OverlayItem& item : overlay_items_) add_lap_list_->addItem(QString::fromStdString(item.text));
  add_lap_list_->setCurrentIndex(-1);
  // The items named the laps of the logs loaded before.
  plot_.extra_laps.clear();
  plot_.slip_reference.reset();
  show_lap_legend();
}

void TForm10::add_lap(int index) {
  add_lap_list_->setCurrentIndex(-1);
  if (index < 0 || static_cast<std::size_t>(index) >= overlay_items_.size()) return;
  if (!add_extra_lap(plot_, state_.log, overlay_items_[static_cast<std::size_t>(index)])) return;
  replot_with_laps();
}

void TForm10::add_fastest_laps() {
  add_fastest_of_each_session(plot_, state_.log, overlay_items_);
  replot_with_laps();
}

void TForm10::remove_lap() {
  const int row = lap_legend_->currentRow();
  if (row < 0) return;
  remove_extra_lap(plot_, static_cast<std::size_t>(row));
  // All Plot Data does not draw the added laps: only the legend changes.
  if (RadioGroup2->itemIndex() == static_cast<int>(PlotMode::LapOverlay)) reload_engine_data();
  show_lap_legend();
}

void TForm10::choose_slip_reference(int index) {
  // Item 0 is the fastest lap, then the overlaid laps in their order.
  const auto lap = static_cast<std::size_t>(index - 1);
  plot_.slip_reference = index > 0 && lap < overlaid_.size() ? std::optional(key_of(overlaid_[lap].lap)) : std::nullopt;
  refresh_engine_data();
  show_lap_legend();
}

void TForm10::replot_with_laps() {
  const bool all_data = RadioGroup2->itemIndex() == static_cast<int>(PlotMode::AllPlotData);
  if (all_data && plot_.extra_laps.empty()) {  // nothing was added
    show_lap_legend();
    return;
  }
  // As picking a lap does: adding one ends in Lap Overlay.
  if (all_data) {
    RadioGroup2->setItemIndex(static_cast<int>(PlotMode::LapOverlay));  // runs the Lap Overlay re-plot
  } else {
    reload_engine_data();
  }
  show_lap_legend();
}

void TForm10::show_lap_legend() {
  const std::vector<OverlaidLap> laps = overlaid_laps(state_.log, plot_);
  lap_legend_->clear();
  for (std::size_t e = 0; e < plot_.extra_laps.size(); ++e) {
    const ExtraLap& extra = plot_.extra_laps[e];
    auto* item = new QListWidgetItem(swatch(extra_lap_palette()[extra.style % kMaxExtraLaps].colour),
                                     QString::fromStdString("Add " + std::to_string(e + 1) + "  " +
                                                            lap_legend_text(extra.lap)),
                                     lap_legend_);
    const std::string problem = lap_problem(state_.log, extra.lap);
    if (!problem.empty()) {
      item->setToolTip(QString::fromStdString(problem));
      item->setForeground(palette().color(QPalette::Disabled, QPalette::Text));
    }
  }
  remove_lap_->setEnabled(!plot_.extra_laps.empty());

  const QSignalBlocker quiet(slip_reference_list_);
  slip_reference_list_->clear();
  slip_reference_list_->addItem(kFastestReference);
  int chosen = 0;
  for (std::size_t i = 0; i < laps.size(); ++i) {
    slip_reference_list_->addItem(QString::fromStdString(laps[i].name + "  " + lap_legend_text(laps[i].lap)));
    if (plot_.slip_reference && key_of(laps[i].lap) == *plot_.slip_reference) chosen = static_cast<int>(i) + 1;
  }
  slip_reference_list_->setCurrentIndex(chosen);

  QString html;
  for (std::size_t e = 0; e < plot_.extra_laps.size(); ++e) {
    const ExtraLap& extra = plot_.extra_laps[e];
    if (!lap_problem(state_.log, extra.lap).empty()) continue;
    const QColor colour = colour_of(extra_lap_palette()[extra.style % kMaxExtraLaps].colour);
    // Lines break between entries only: not at a space, nor after a colon
    // ("Lap:" and its number), inside one.
    const QString entry = html_escaped("Add " + std::to_string(e + 1) + " " + lap_legend_text(extra.lap))
                              .replace(' ', "&nbsp;")
                              .replace(':', ":&#8288;");
    html += QString("<span style=\"color:%1\">&#9473;&#9473;&nbsp;%2</span>&nbsp;&nbsp; ").arg(colour.name(), entry);
  }
  chart_lap_legend_->setText(html);
  chart_lap_legend_->setVisible(!html.isEmpty() && plot_.settings.plot_mode == PlotMode::LapOverlay);
}

std::string TForm10::overlay_readout(std::string readout, double x) const {
  for (const std::string& line : overlay_readout_lines(state_.log, plot_, overlaid_, slips_, x)) {
    readout = with_readout_line(std::move(readout), line);
  }
  return readout;
}

void TForm10::show_lap_marker_values(double x1, double x2) {
  QStringList lines;
  if (plot_.settings.plot_mode == PlotMode::LapOverlay && !overlaid_.empty()) {
    const std::vector<LapReading> at1 = lap_readings(state_.log, plot_, overlaid_, slips_, x1);
    const std::vector<LapReading> at2 = lap_readings(state_.log, plot_, overlaid_, slips_, x2);
    for (std::size_t i = 0; i < at1.size(); ++i) lines << QString::fromStdString(marker_reading_line(at1[i], at2[i]));
  }
  lap_marker_values_->setText(lines.join('\n'));
  lap_marker_values_->setVisible(!lines.isEmpty());
}

}  // namespace kv
