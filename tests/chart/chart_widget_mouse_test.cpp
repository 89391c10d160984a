// Mouse over the chart: pointer report, click, pan, zoom and crosshair drag.
#include <gtest/gtest.h>

#include <QCoreApplication>
#include <QMouseEvent>

#include "chart/plotchart.h"
#include "chart/plotchart_design.h"

namespace kv::chart {
namespace {

class ChartMouse : public ::testing::Test {
 protected:
  ChartMouse() {
    apply_plot_window_design(chart);
    chart.SetLayerRange(1, 0, 0, 573, 418);  // one unit per pixel
  }
  void send(QEvent::Type type, QPoint pos, Qt::MouseButton button, Qt::MouseButtons held) {
    QMouseEvent e(type, QPointF(pos), QPointF(chart.mapToGlobal(pos)), button, held, Qt::NoModifier);
    QCoreApplication::sendEvent(&chart, &e);
  }
  void press(QPoint p) { send(QEvent::MouseButtonPress, p, Qt::LeftButton, Qt::LeftButton); }
  void drag(QPoint p) { send(QEvent::MouseMove, p, Qt::NoButton, Qt::LeftButton); }
  void hover(QPoint p) { send(QEvent::MouseMove, p, Qt::NoButton, Qt::NoButton); }
  void release(QPoint p) { send(QEvent::MouseButtonRelease, p, Qt::LeftButton, Qt::NoButton); }
  void drag_path(QPoint from, QPoint to) {
    press(from);
    drag(from);
    drag(to);
    release(to);
  }
  AxisRange x1() { return {chart.Scale1X().RangeLow(), chart.Scale1X().RangeHigh()}; }
  AxisRange y1() { return {chart.Scale1Y().RangeLow(), chart.Scale1Y().RangeHigh()}; }
  TPlotChart chart;
};

struct Report {
  bool in_chart;
  double x;
  double y;
};

TEST_F(ChartMouse, MoveReportsThePointerInActiveLayerUnits) {
  std::vector<Report> reports;
  QObject::connect(&chart, &TPlotChart::OnMouseMoveInChart,
                   [&](bool in, Qt::KeyboardModifiers, double x, double y) { reports.push_back({in, x, y}); });
  hover({140, 333});
  hover({20, 20});
  ASSERT_EQ(reports.size(), 2u);
  EXPECT_TRUE(reports[0].in_chart);
  EXPECT_DOUBLE_EQ(reports[0].x, 100);
  EXPECT_DOUBLE_EQ(reports[0].y, 100);
  EXPECT_FALSE(reports[1].in_chart);
  hover({613, 433});  // the frame counts as inside
  EXPECT_TRUE(reports[2].in_chart);
}

TEST_F(ChartMouse, ClickOnReleaseAfterPress) {
  int clicks = 0;
  QObject::connect(&chart, &TPlotChart::OnClick, [&] { ++clicks; });
  release({100, 100});
  EXPECT_EQ(clicks, 0);
  press({100, 100});
  release({100, 100});
  EXPECT_EQ(clicks, 1);
}

TEST_F(ChartMouse, ReleaseWithoutMoveChangesNoRange) {
  for (TMouseActMode m : {TMouseActMode::maPan, TMouseActMode::maZoomDrag, TMouseActMode::maZoomWindPos}) {
    chart.SetMouseAction(m);
    press({200, 200});
    release({200, 200});
    EXPECT_EQ(x1(), (AxisRange{0, 573}));
    EXPECT_EQ(y1(), (AxisRange{0, 418}));
  }
}

TEST_F(ChartMouse, PanMovesEveryMouseLayer) {
  chart.SetLayerRange(2, 0, 0, 100, 100);
  chart.SetLayerMouseEnabled(2, true);
  chart.SetLayerRange(3, 0, 0, 1, 1);
  chart.SetMouseAction(TMouseActMode::maPan);
  drag_path({300, 200}, {310, 190});
  EXPECT_EQ(x1(), (AxisRange{-10, 563}));
  EXPECT_EQ(y1(), (AxisRange{-10, 408}));
  EXPECT_NEAR(chart.Scale2X().RangeLow(), -100.0 * 10 / 573, 1e-12);
  EXPECT_EQ(chart.Scale3X().RangeLow(), 0);  // mouse flag off
}

TEST_F(ChartMouse, PanHorizOnlyAndMovesOutsideIgnored) {
  chart.SetMouseAction(TMouseActMode::maPanHoriz);
  press({300, 200});
  drag({300, 200});
  drag({320, 250});
  drag({630, 250});  // outside: ignored
  release({630, 250});
  EXPECT_EQ(x1(), (AxisRange{-20, 553}));
  EXPECT_EQ(y1(), (AxisRange{0, 418}));
}

TEST_F(ChartMouse, PanningDownStopsAtZeroKeepingTheSpan) {
  chart.SetRangeLimits(-1e8, 0, 1e8, 1e8);
  chart.SetLayerRange(1, 0, 50, 573, 468);
  chart.SetMouseAction(TMouseActMode::maPan);
  press({300, 300});
  drag({300, 300});
  drag({300, 200});  // content up: the range moves down by 100
  EXPECT_EQ(y1(), (AxisRange{0, 418}));
  release({300, 200});
}

TEST_F(ChartMouse, DragZoomNarrowsXAndWidensY) {
  chart.SetMouseAction(TMouseActMode::maZoomDrag);
  drag_path({300, 200}, {300 + 653 / 10, 200 + 498 / 10});
  const double fx = 1.0 - 65.0 / 653, fy = 1.0 + 49.0 / 498;
  EXPECT_NEAR(x1().high - x1().low, 573 * fx, 1e-9);
  EXPECT_NEAR((x1().high + x1().low) / 2, 286.5, 1e-9);
  EXPECT_NEAR(y1().high - y1().low, 418 * fy, 1e-9);
}

TEST_F(ChartMouse, DragZoomRespectsTheLimits) {
  chart.SetRangeLimits(-1e8, 0, 1e8, 1e8);
  chart.SetMouseAction(TMouseActMode::maZoomDrag);
  drag_path({300, 200}, {300, 400});
  EXPECT_EQ(y1().low, 0);
  EXPECT_GT(y1().high, 418);
}

TEST_F(ChartMouse, ZoomWindowTakesTheBandsDataRectangle) {
  chart.SetMouseAction(TMouseActMode::maZoomWindPos);
  drag_path({240, 133}, {140, 333});  // dragged up-left
  EXPECT_EQ(x1(), (AxisRange{100, 200}));
  EXPECT_EQ(y1(), (AxisRange{100, 300}));
  chart.SetLayerRange(1, 0, 0, 573, 418);
  chart.SetMouseAction(TMouseActMode::maZoomWind);
  drag_path({240, 133}, {140, 333});
  EXPECT_EQ(x1(), (AxisRange{200, 100}));  // as dragged
}

TEST_F(ChartMouse, ZoomWindowHeldInsideAndCancelledByTheRightButton) {
  chart.SetMouseAction(TMouseActMode::maZoomWindPos);
  drag_path({140, 333}, {900, 900});  // corner held at the chart's bottom-right
  EXPECT_EQ(x1(), (AxisRange{100, 573}));
  EXPECT_EQ(y1(), (AxisRange{0, 100}));
  chart.SetLayerRange(1, 0, 0, 573, 418);
  press({140, 333});
  drag({240, 133});
  send(QEvent::MouseButtonRelease, {240, 133}, Qt::RightButton, Qt::LeftButton);
  release({240, 133});
  EXPECT_EQ(x1(), (AxisRange{0, 573}));
  // A band without height zooms nothing.
  drag_path({140, 333}, {240, 333});
  EXPECT_EQ(x1(), (AxisRange{0, 573}));
}

TEST_F(ChartMouse, CrosshairDragTakesTheNearestLowerIndexOnTies) {
  chart.SetCrossHairStyle(1, clRed, TCrossHMode::chBoth, TPenStyle::psSolid, 1);
  chart.SetCrossHairStyle(2, clBlue, TCrossHMode::chBoth, TPenStyle::psSolid, 1);
  chart.SetCrossHairPos(1, 100, 300);
  chart.SetCrossHairPos(2, 120, 100);
  chart.SetMouseAction(TMouseActMode::maDragCrossH);
  drag_path({40 + 110, 433 - 200}, {40 + 50, 433 - 60});  // 10 px from both vertical lines
  EXPECT_EQ(chart.CrossHairPosX(1), 50);
  EXPECT_EQ(chart.CrossHairPosY(1), 60);
  EXPECT_EQ(chart.CrossHairPosX(2), 120);
  drag_path({40 + 118, 433 - 200}, {700, 433 - 60});  // nearer 2; not confined to the chart
  EXPECT_EQ(chart.CrossHairPosX(2), 700 - 40);
}

TEST_F(ChartMouse, PointerShapeFollowsTheMode) {
  hover({300, 200});
  EXPECT_EQ(chart.cursor().shape(), Qt::CrossCursor);
  chart.SetMouseAction(TMouseActMode::maPan);
  hover({300, 200});
  EXPECT_EQ(chart.cursor().shape(), Qt::OpenHandCursor);
  hover({10, 10});
  EXPECT_EQ(chart.cursor().shape(), Qt::ArrowCursor);
  chart.SetMouseAction(TMouseActMode::maZoomWind);
  hover({300, 200});
  EXPECT_EQ(chart.cursor().shape(), Qt::BitmapCursor);
}

}  // namespace
}  // namespace kv::chart
