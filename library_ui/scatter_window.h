#pragma once
// "Set-up vs Lap Time": for the sessions the library window shows, the
// fastest lap (or the theoretical best) against a chosen set-up field, and
// the best lap of each day at one chosen track as a line, a season's
// progress. Lap times of different tracks do not compare, so the line never
// mixes them.
#include <QWidget>
#include <cstddef>
#include <string>
#include <vector>

#include "library/session_query.h"
#include "library/session_row.h"

class QComboBox;
class QLabel;

namespace kv {

namespace chart {
class TPlotChart;
}
class ScatterLabelLayer;

class TForm14 : public QWidget {
  Q_OBJECT
 public:
  explicit TForm14(QWidget* parent = nullptr);

  // The sessions to plot: indexes into `rows` of those shown.
  void set_sessions(std::vector<library::SessionRow> rows, std::vector<std::size_t> shown);
  // The set-up slot on the x axis (1-65; 31 is the track temperature).
  void set_axis(int setup_slot);
  void set_measure(library::LapMeasure measure);
  // The track of the day line, in any letter case; ignored when no shown
  // session is at it.
  void set_track(const std::string& track);
  void redraw();

  const std::vector<library::ScatterPoint>& points() const { return points_; }
  const std::vector<library::DayBest>& days() const { return days_; }
  // The tracks of the shown sessions, the one with most sessions first.
  const std::vector<library::TrackCount>& tracks() const { return tracks_; }
  std::string track() const;
  chart::TPlotChart& scatter_chart() { return *PlotChart1; }
  chart::TPlotChart& progress_chart() { return *PlotChart2; }
  // The layers writing each point's date over the two charts.
  const ScatterLabelLayer& scatter_dates() const { return *scatter_dates_; }
  const ScatterLabelLayer& progress_dates() const { return *progress_dates_; }

 private:
  library::ScatterAxis axis() const;
  library::LapMeasure measure() const;
  void fill_tracks();

  std::vector<library::SessionRow> rows_;
  std::vector<std::size_t> shown_;
  std::vector<library::ScatterPoint> points_;
  std::vector<library::DayBest> days_;
  std::vector<library::TrackCount> tracks_;
  QComboBox* field_box_ = nullptr;
  QComboBox* measure_box_ = nullptr;
  QComboBox* track_box_ = nullptr;
  QLabel* progress_caption_ = nullptr;
  chart::TPlotChart* PlotChart1 = nullptr;
  chart::TPlotChart* PlotChart2 = nullptr;
  ScatterLabelLayer* scatter_dates_ = nullptr;
  ScatterLabelLayer* progress_dates_ = nullptr;
};

}  // namespace kv
