// X-axis captions as the plot window sets them never hide a tick label: the
// label row is read back from the picture with and without the caption.
#include <gtest/gtest.h>

#include <algorithm>
#include <ostream>
#include <string>
#include <vector>

#include "chart/plotchart.h"
#include "chart/plotchart_design.h"

namespace kv::chart {
namespace {

constexpr int kLabelRowFrom = 8;  // below the ruler line: past the ticks
constexpr int kLabelRowTo = 27;
constexpr int kSameLabel = 5;     // ink columns this close belong to one label

struct Ink {
  int left, top, right, bottom;
};

// The ink each tick label leaves on the label row of the X ruler at `line`.
std::vector<Ink> label_inks(const QImage& picture, int line) {
  const QRgb margin = argb_of(clActiveBorder);
  std::vector<Ink> inks;
  for (int x = 0; x < picture.width(); ++x) {
    int top = picture.height();
    int bottom = -1;
    for (int y = line + kLabelRowFrom; y <= std::min(picture.height() - 1, line + kLabelRowTo); ++y)
      if (picture.pixel(x, y) != margin) {
        top = std::min(top, y);
        bottom = y;
      }
    if (bottom < 0) continue;
    if (!inks.empty() && x - inks.back().right <= kSameLabel) {
      Ink& ink = inks.back();
      ink = {ink.left, std::min(ink.top, top), x, std::max(ink.bottom, bottom)};
    } else {
      inks.push_back({x, top, x, bottom});
    }
  }
  return inks;
}

bool same_pixels(const QImage& a, const QImage& b, const Ink& r) {
  for (int y = r.top; y <= r.bottom; ++y)
    for (int x = r.left; x <= r.right; ++x)
      if (a.pixel(x, y) != b.pixel(x, y)) return false;
  return true;
}

struct CaptionCase {
  const char* caption;
  double x_high;
  bool both_datasets;  // "Data B on 2nd Axis": Scale2X 33 pixels further down
  std::size_t labels = 5;  // 0, 1/4 ... 4/4 of x_high
};

void PrintTo(const CaptionCase& c, std::ostream* os) {
  *os << '"' << c.caption << "\" over 0.." << c.x_high << (c.both_datasets ? " on both X rulers" : "");
}

class RulerCaptions : public ::testing::TestWithParam<CaptionCase> {
 protected:
  RulerCaptions() { apply_plot_window_design(chart); }
  void show(const char* caption) {
    for (int layer : {1, 2}) chart.ScaleX(layer).SetCaption(caption);
  }
  TPlotChart chart;
};

TEST_P(RulerCaptions, EveryMajorTickKeepsItsLabel) {
  const CaptionCase c = GetParam();
  std::vector<int> lines{433};
  for (int layer : {1, 2}) chart.SetLayerRange(layer, 0, 0, c.x_high, 1);
  chart.Scale1X().SetVisible(true);
  if (c.both_datasets) {
    chart.Scale2X().SetVisible(true);
    lines.push_back(433 + 33);
  }
  show("");
  const QImage bare = chart.Picture(false);
  show(c.caption);
  const QImage shown = chart.Picture(false);
  EXPECT_NE(bare, shown);  // the caption is there
  for (int line : lines) {
    const std::vector<Ink> labels = label_inks(bare, line);
    ASSERT_EQ(labels.size(), c.labels) << "ruler at " << line;
    for (const Ink& label : labels)
      EXPECT_TRUE(same_pixels(bare, shown, label)) << "ruler at " << line << ", label at x " << label.left;
  }
}

INSTANTIATE_TEST_SUITE_P(
    PlotWindowCaptions, RulerCaptions,
    ::testing::Values(CaptionCase{"Time(s)", 20, false}, CaptionCase{"Time(s)", 200, false},
                      CaptionCase{"Oil Pressure(psi)", 20, false}, CaptionCase{"Oil Pressure(psi)", 200, false},
                      CaptionCase{"Time(s)", 20, true}, CaptionCase{"Oil Pressure(psi)", 200, true},
                      CaptionCase{"Oil Pressure(psi)", 2000, true}, CaptionCase{"Distance(ft)", 20000, true},
                      // No gap is wide enough: the caption shrinks into the widest.
                      CaptionCase{"Oil Pressure(psi)", 6, true, 7}));

}  // namespace
}  // namespace kv::chart
