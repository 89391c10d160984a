#pragma once
// "Set-up vs Lap Time": for the sessions the library window shows, the
// fastest lap (or the theoretical best) against a chosen set-up field, and
// the best lap of each day as a line, a season's progress when the sessions
// are those of one track.
#include <QWidget>
#include <cstddef>
#include <vector>

#include "library/session_query.h"
#include "library/session_row.h"

class QComboBox;

namespace kv {

namespace chart {
class TPlotChart;
}

class TForm14 : public QWidget {
  Q_OBJECT
 public:
  explicit TForm14(QWidget* parent = nullptr);

  // The sessions to plot: indexes into `rows` of those shown.
  void set_sessions(std::vector<library::SessionRow> rows, std::vector<std::size_t> shown);
  // The set-up slot on the x axis (1-65; 31 is the track temperature).
  void set_axis(int setup_slot);
  void set_measure(library::LapMeasure measure);
  void redraw();

  const std::vector<library::ScatterPoint>& points() const { return points_; }
  const std::vector<library::DayBest>& days() const { return days_; }
  chart::TPlotChart& scatter_chart() { return *PlotChart1; }
  chart::TPlotChart& progress_chart() { return *PlotChart2; }

 private:
  library::ScatterAxis axis() const;
  library::LapMeasure measure() const;

  std::vector<library::SessionRow> rows_;
  std::vector<std::size_t> shown_;
  std::vector<library::ScatterPoint> points_;
  std::vector<library::DayBest> days_;
  QComboBox* field_box_ = nullptr;
  QComboBox* measure_box_ = nullptr;
  chart::TPlotChart* PlotChart1 = nullptr;
  chart::TPlotChart* PlotChart2 = nullptr;
};

}  // namespace kv
