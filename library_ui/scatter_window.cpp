#include "library_ui/scatter_window.h"

#include <QComboBox>
#include <QGridLayout>
#include <QLabel>
#include <QSignalBlocker>

#include "chart/plotchart.h"
#include "library_ui/scatter_label_layer.h"
#include "library_ui/scatter_plot.h"
#include "logdata/windows1252_qt.h"

namespace kv {
namespace {

constexpr const char* kMeasureCaptions[] = {"Fastest Lap", "Theoretical Best"};

std::string field_caption(int slot) {
  return library::column_caption({library::Column::Setup, slot});
}

constexpr const char* kNoTrack = "(no track)";

QString track_name(const std::string& track) {
  return track.empty() ? QString(kNoTrack) : qstring_from_windows1252(track);
}

QString progress_caption(const QComboBox& tracks) {
  if (tracks.count() == 0) return "Best lap of each day";
  return "Best lap of each day at " + track_name(tracks.currentData().toByteArray().toStdString());
}

chart::TPlotChart* make_chart(QWidget* parent, const char* name) {
  auto* chart = new chart::TPlotChart(parent);
  chart->setObjectName(name);
  chart->setMinimumSize(420, 360);
  chart->SetRims(60, 20, 15, 50);
  return chart;
}

}  // namespace

TForm14::TForm14(QWidget* parent) : QWidget(parent) {
  setObjectName("TForm14");
  setWindowTitle("Set-up vs Lap Time");
  auto* layout = new QGridLayout(this);
  field_box_ = new QComboBox(this);
  field_box_->setObjectName("SetupField");
  for (int slot = 1; slot <= library::kSetupFieldsInRow; ++slot) {
    field_box_->addItem(QString::fromStdString(field_caption(slot)), slot);
  }
  field_box_->setCurrentIndex(library::kTrackTempSlot - 1);
  measure_box_ = new QComboBox(this);
  measure_box_->setObjectName("LapMeasure");
  for (const char* caption : kMeasureCaptions) measure_box_->addItem(caption);
  layout->addWidget(new QLabel("Set-up field", this), 0, 0);
  layout->addWidget(field_box_, 0, 1);
  layout->addWidget(new QLabel("Lap time", this), 0, 2);
  layout->addWidget(measure_box_, 0, 3);
  PlotChart1 = make_chart(this, "PlotChart1");
  PlotChart2 = make_chart(this, "PlotChart2");
  scatter_dates_ = new ScatterLabelLayer(*PlotChart1);
  progress_dates_ = new ScatterLabelLayer(*PlotChart2);
  layout->addWidget(PlotChart1, 1, 0, 1, 4);
  track_box_ = new QComboBox(this);
  track_box_->setObjectName("Track");
  progress_caption_ = new QLabel(progress_caption(*track_box_), this);
  progress_caption_->setObjectName("ProgressCaption");
  layout->addWidget(progress_caption_, 0, 4);
  layout->addWidget(track_box_, 0, 5);
  layout->addWidget(PlotChart2, 1, 4, 1, 2);
  layout->setColumnStretch(1, 1);
  layout->setColumnStretch(4, 1);
  connect(field_box_, &QComboBox::currentIndexChanged, this, &TForm14::redraw);
  connect(measure_box_, &QComboBox::currentIndexChanged, this, &TForm14::redraw);
  connect(track_box_, &QComboBox::currentIndexChanged, this, &TForm14::redraw);
  resize(1080, 480);
}

library::ScatterAxis TForm14::axis() const { return {field_box_->currentData().toInt()}; }

library::LapMeasure TForm14::measure() const {
  return measure_box_->currentIndex() == 1 ? library::LapMeasure::TheoreticalBest : library::LapMeasure::FastestLap;
}

std::string TForm14::track() const { return track_box_->currentData().toByteArray().toStdString(); }

void TForm14::set_sessions(std::vector<library::SessionRow> rows, std::vector<std::size_t> shown) {
  rows_ = std::move(rows);
  shown_ = std::move(shown);
  fill_tracks();
  redraw();
}

// The track chosen before stays chosen while shown sessions are at it.
void TForm14::fill_tracks() {
  const std::string chosen = track();
  const bool had_choice = track_box_->count() > 0;
  tracks_ = library::tracks_of(rows_, shown_);
  const QSignalBlocker quiet(track_box_);
  track_box_->clear();
  for (const auto& [name, sessions] : tracks_) {
    track_box_->addItem(QString("%1 (%2)").arg(track_name(name)).arg(sessions), QByteArray::fromStdString(name));
  }
  if (had_choice) set_track(chosen);
}

void TForm14::set_track(const std::string& track) {
  for (std::size_t i = 0; i < tracks_.size(); ++i) {
    if (library::same_track(tracks_[i].track, track)) {
      track_box_->setCurrentIndex(static_cast<int>(i));
      return;
    }
  }
}

void TForm14::set_axis(int setup_slot) {
  if (setup_slot >= 1 && setup_slot <= library::kSetupFieldsInRow) field_box_->setCurrentIndex(setup_slot - 1);
}

void TForm14::set_measure(library::LapMeasure measure) {
  measure_box_->setCurrentIndex(measure == library::LapMeasure::TheoreticalBest ? 1 : 0);
}

void TForm14::redraw() {
  points_ = library::scatter_points(rows_, shown_, axis(), measure());
  days_ = library::best_per_day(rows_, library::rows_at_track(rows_, shown_, track()), measure());
  progress_caption_->setText(progress_caption(*track_box_));
  // The lap measure is named in the box above; the rim holds only the unit.
  scatter_dates_->set_spots(draw_scatter(*PlotChart1, points_, field_caption(axis().setup_slot), "s"));
  progress_dates_->set_spots(draw_progress(*PlotChart2, days_, "s"));
}

}  // namespace kv
