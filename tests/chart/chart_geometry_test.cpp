#include <gtest/gtest.h>

#include "chart/chart_geometry.h"

namespace kv::chart {
namespace {

TEST(ChartGeometry, CaptionSplitsAtLineFeeds) {
  EXPECT_EQ(caption_lines("a\nbc\n"), (std::vector<std::string>{"a", "bc", ""}));
  EXPECT_EQ(caption_lines(""), (std::vector<std::string>{""}));
}

TEST(ChartGeometry, LabelBoxAroundTheTextBlock) {
  const int widths[] = {30, 50};
  const LabelLayout left = layout_label({100, 200}, TAlignment::taLeftJustify, widths, 13);
  EXPECT_EQ(left.box.left, 96);
  EXPECT_EQ(left.box.top, 200 - 26 - 2);
  EXPECT_EQ(left.box.right, 154);
  EXPECT_EQ(left.box.bottom, 202);
  EXPECT_EQ(left.line_origins[0], (PixelPoint{100, 174}));
  EXPECT_EQ(left.line_origins[1], (PixelPoint{100, 187}));

  const LabelLayout right = layout_label({100, 200}, TAlignment::taRightJustify, widths, 13);
  EXPECT_EQ(right.block_left, 50);
  EXPECT_EQ(right.line_origins[0].x, 70);  // shorter line moved to the right edge

  const int odd[] = {31, 51};
  const LabelLayout centre = layout_label({100, 200}, TAlignment::taCenter, odd, 13);
  EXPECT_EQ(centre.block_left, 75);  // 51 / 2 = 25
  EXPECT_EQ(centre.line_origins[0].x, 85);
}

TEST(ChartGeometry, CrosshairDrawnOnlyStrictlyInsideTheArea) {
  const ChartGeometry g;
  const LayerMap m = make_layer_map(g, 0, 100, 0, 100);
  const CrossHairLines in = crosshair_lines(m, g.area(), TCrossHMode::chBoth, 50, 50, 1);
  EXPECT_TRUE(in.horizontal);
  EXPECT_TRUE(in.vertical);
  const CrossHairLines edge = crosshair_lines(m, g.area(), TCrossHMode::chBoth, 0, 100, 1);
  EXPECT_FALSE(edge.vertical);  // on the frame
  EXPECT_FALSE(edge.horizontal);
  const CrossHairLines out = crosshair_lines(m, g.area(), TCrossHMode::chVert, 150, 50, 1);
  EXPECT_FALSE(out.vertical);
  EXPECT_FALSE(out.horizontal);  // not asked for
  // A 5-pixel line must clear the frame by 2 pixels.
  const double one_px = 100.0 / 573;
  EXPECT_FALSE(crosshair_lines(m, g.area(), TCrossHMode::chVert, 2 * one_px, 0, 5).vertical);
  EXPECT_TRUE(crosshair_lines(m, g.area(), TCrossHMode::chVert, 3 * one_px, 0, 5).vertical);
}

TEST(ChartGeometry, NearestCrosshairLowerIndexOnTies) {
  const CrossHairTarget hairs[] = {{TCrossHMode::chVert, {100, 0}},
                                   {TCrossHMode::chVert, {120, 0}},
                                   {TCrossHMode::chOff, {110, 0}},
                                   {TCrossHMode::chHoriz, {0, 300}}};
  EXPECT_EQ(nearest_crosshair(hairs, {110, 50}), 1);  // 10 px from both
  EXPECT_EQ(nearest_crosshair(hairs, {111, 50}), 2);
  EXPECT_EQ(nearest_crosshair(hairs, {110, 297}), 4);  // 3 px below the horizontal line
  const CrossHairTarget none[] = {{TCrossHMode::chOff, {0, 0}}, {TCrossHMode::chOff, {5, 5}}};
  EXPECT_EQ(nearest_crosshair(none, {5, 5}), 1);
  const CrossHairTarget both[] = {{TCrossHMode::chHoriz, {0, 10}}, {TCrossHMode::chBoth, {200, 40}}};
  EXPECT_EQ(nearest_crosshair(both, {198, 10}), 1);  // 0 vertical distance wins over 2 horizontal
}

TEST(ChartGeometry, BitmapNameCutAtTheFirstDot) {
  EXPECT_EQ(bitmap_file_name("a.b.c"), "a.bmp");
  EXPECT_EQ(bitmap_file_name("/data/plots/run.1.bmp"), "/data/plots/run.bmp");
  EXPECT_EQ(bitmap_file_name("/data/v1.2/lap"), "/data/v1.2/lap.bmp");
  EXPECT_EQ(bitmap_file_name("plot"), "plot.bmp");
}

TEST(ChartGeometry, PrintFactorScalesScreenToPrinterPixels) {
  EXPECT_DOUBLE_EQ(print_factor(0.8, 600, 96), 5.0);
  EXPECT_DOUBLE_EQ(print_factor(1, 96, 96), 1.0);
  EXPECT_DOUBLE_EQ(print_factor(0.8, 600, 0), 0.8);
}

TEST(ChartGeometry, TextLabelIndexErrorText) {
  EXPECT_EQ(text_label_index_error("PlotChart1"), "Component \"PlotChart1\": invalid index into TextLabel array");
}

}  // namespace
}  // namespace kv::chart
