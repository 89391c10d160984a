#pragma once
// A see-through layer over a chart that writes each point's date beside it.
// The chart itself holds only a few text labels, too few for a season of
// sessions. The places are worked out afresh at every paint from the
// chart's current range and size, so the dates follow a resize, a new range
// or a restore from minimised without being told.
#include <QWidget>
#include <vector>

#include "library_ui/scatter_labels.h"

namespace kv {

namespace chart {
class TPlotChart;
}

class ScatterLabelLayer : public QWidget {
 public:
  // Lives on `chart` as its child and covers it exactly.
  explicit ScatterLabelLayer(chart::TPlotChart& chart);

  void set_spots(std::vector<LabelSpot> spots);
  const std::vector<LabelSpot>& spots() const { return spots_; }
  // Where the dates go with the chart's range and size as they are now.
  LabelPlacement placement() const;

 protected:
  bool eventFilter(QObject* watched, QEvent* event) override;
  void paintEvent(QPaintEvent* event) override;

 private:
  chart::TPlotChart& chart_;
  std::vector<LabelSpot> spots_;
};

}  // namespace kv
