#pragma once
// The lap tools' controls in the plot window: the sector table with its
// boundary fields, the per-lap statistics tables and the histogram tab. They
// only show what the lap tools compute; the window feeds them and acts on
// their signals.
#include <QGroupBox>
#include <array>
#include <optional>
#include <string>
#include <vector>

#include "analysis/lap_tools/lap_tools.h"
#include "chart/chart_types.h"

class QComboBox;
class QDoubleSpinBox;
class QLabel;
class QTableWidget;

namespace kv::chart {
class TPlotChart;
}

namespace kv::analysis {

// Up to three sector boundaries and a row per lap with its sector times, the
// best of each sector highlighted, and the theoretical best lap per set and
// over both. A lap left out of the bests is greyed, its reason in its tooltip.
class SectorPanel : public QGroupBox {
  Q_OBJECT
 public:
  explicit SectorPanel(QWidget* parent = nullptr);

  // The boundaries are lap distances: shown and typed in the plot's distance
  // unit, handed over in metres.
  void show_boundaries(const std::vector<double>& metres, bool in_feet);
  // The fields as typed, in metres, 0 for a boundary switched off.
  std::vector<double> typed_boundaries() const;
  void show_table(const lap_tools::SectorTable& table);

 signals:
  void applied();

 private:
  // Why a lap stays out of the bests, with its distance and its set's in the
  // shown unit.
  QString left_out_text(double lap_metres, double typical_metres) const;
  void grey_out(int row, const QString& reason);
  // The shown table's left-out laps told again in the distance unit now set.
  void retell_left_out(const lap_tools::SectorTable& table);

  std::array<QDoubleSpinBox*, lap_tools::kMaxSectorBoundaries> fields_{};
  // What the fields were last given: a field left as shown keeps its exact
  // metres rather than the metres of its rounded feet.
  std::array<double, lap_tools::kMaxSectorBoundaries> shown_metres_{};
  std::array<double, lap_tools::kMaxSectorBoundaries> shown_values_{};
  double unit_per_metre_ = 1.0;
  QLabel* unit_label_ = nullptr;
  QTableWidget* table_ = nullptr;
  // What the table shows, in the unit it was shown in: every re-plot hands
  // the table over again, and filling a grid and sizing its columns costs
  // far more than comparing.
  std::optional<lap_tools::SectorTable> shown_table_;
  double shown_unit_per_metre_ = 1.0;
};

// One table per data set, a row per lap, in the units the channels are shown
// in, and the button that saves them.
class LapStatsPanel : public QGroupBox {
  Q_OBJECT
 public:
  explicit LapStatsPanel(QWidget* parent = nullptr);
  void show_rows(const std::vector<lap_tools::LapStatsRow>& rows, const HeldUnits& units);

 signals:
  void saveRequested();

 private:
  std::array<QTableWidget*, 2> tables_{};  // A, B
  std::optional<std::string> shown_text_;  // the figures the tables show, as saved
  std::optional<std::vector<lap_tools::LapStatsRow>> shown_rows_;  // and as handed over
  HeldUnits shown_units_;
};

// Which samples the histogram covers.
enum class HistogramRange { all_data, overlay_laps, visible_window };

struct HistogramSeries {
  std::string name;
  chart::TColor colour = 0;
  lap_tools::Histogram histogram;
};

// Time spent per value band: a bar chart, one colour per data set or lap,
// with the figures in a table beside it.
class HistogramPanel : public QGroupBox {
  Q_OBJECT
 public:
  explicit HistogramPanel(QWidget* parent = nullptr);
  ~HistogramPanel() override;

  lap_tools::HistogramChannel channel() const;
  HistogramRange range() const;
  // The width typed, or nothing for the channel's default.
  std::optional<double> bin_width() const;
  void show_series(const std::vector<HistogramSeries>& series);

  chart::TPlotChart& chart() { return *chart_; }

 signals:
  void changed();

 private:
  void draw_bars(const std::vector<HistogramSeries>& series);
  void fill_table(const std::vector<HistogramSeries>& series);

  QComboBox* channel_ = nullptr;
  QComboBox* range_ = nullptr;
  QDoubleSpinBox* width_ = nullptr;
  chart::TPlotChart* chart_ = nullptr;
  QTableWidget* table_ = nullptr;
};

}  // namespace kv::analysis
