#include <gtest/gtest.h>

#include "chart/chart_mouse.h"

namespace kv::chart {
namespace {

TEST(ChartMouseMath, PanMovesContentWithThePointer) {
  // 573 pixels for 0..573: one unit per pixel.
  EXPECT_EQ(pan_axis({0, 573}, 10, 573, false), (AxisRange{-10, 563}));
  // Dragging down moves the content down, so the range moves up.
  EXPECT_EQ(pan_axis({0, 418}, 10, 418, true), (AxisRange{10, 428}));
  EXPECT_EQ(pan_axis({0, 418}, -10, 418, true), (AxisRange{-10, 408}));
  EXPECT_EQ(pan_axis({5, 6}, 10, 0, false), (AxisRange{5, 6}));
}

TEST(ChartMouseMath, LimitsKeepTheSpanWhilePanning) {
  EXPECT_EQ(clamp_keep_span({-30, 70}, 0, 1e8), (AxisRange{0, 100}));
  EXPECT_EQ(clamp_keep_span({1e8 - 10, 1e8 + 90}, 0, 1e8), (AxisRange{1e8 - 100, 1e8}));
  EXPECT_EQ(clamp_keep_span({10, 20}, 0, 1e8), (AxisRange{10, 20}));
  EXPECT_EQ(clamp_keep_span({-5, 200}, 0, 100), (AxisRange{0, 205}));  // wider than the limits: low wins
}

TEST(ChartMouseMath, LimitsCutTheEndsWhileZooming) {
  EXPECT_EQ(clamp_ends({-30, 70}, 0, 50), (AxisRange{0, 50}));
  EXPECT_EQ(clamp_ends({10, 20}, 0, 50), (AxisRange{10, 20}));
}

TEST(ChartMouseMath, DragZoomAboutTheCentre) {
  EXPECT_DOUBLE_EQ(drag_zoom_factor_x(65, 650), 0.9);
  EXPECT_DOUBLE_EQ(drag_zoom_factor_y(50, 500), 1.1);
  EXPECT_EQ(zoom_axis({0, 100}, 0.5), (AxisRange{25, 75}));
  EXPECT_EQ(zoom_axis({100, 0}, 0.5), (AxisRange{75, 25}));  // a reversed range stays reversed
}

TEST(ChartMouseMath, BandCornersOrderedOrAsDragged) {
  EXPECT_EQ(band_axis(8, 2, {0, 10}, true), (AxisRange{2, 8}));
  EXPECT_EQ(band_axis(2, 8, {10, 0}, true), (AxisRange{8, 2}));
  EXPECT_EQ(band_axis(8, 2, {0, 10}, false), (AxisRange{8, 2}));
}

TEST(ChartMouseMath, RangeLimitsAllZeroMeanNone) {
  EXPECT_FALSE(RangeLimits{}.active());
  EXPECT_TRUE((RangeLimits{-1e8, 0, 1e8, 1e8}).active());
}

TEST(ChartMouseMath, PointerShapesDifferByMode) {
  using enum TMouseActMode;
  EXPECT_EQ(pointer_shape(maNone, true), PointerShape::Cross);
  EXPECT_EQ(pointer_shape(maPan, true), PointerShape::Hand);
  EXPECT_EQ(pointer_shape(maPanHoriz, true), PointerShape::Hand);
  EXPECT_EQ(pointer_shape(maDragCrossH, true), PointerShape::Arrow);
  EXPECT_EQ(pointer_shape(maZoomDrag, false), PointerShape::Arrow);
  const PointerShape zooms[] = {pointer_shape(maZoomWind, true), pointer_shape(maZoomWindPos, true),
                                pointer_shape(maZoomDrag, true)};
  EXPECT_NE(zooms[0], zooms[1]);
  EXPECT_NE(zooms[1], zooms[2]);
  EXPECT_NE(zooms[0], zooms[2]);
  EXPECT_NE(zooms[0], PointerShape::Cross);
}

}  // namespace
}  // namespace kv::chart
