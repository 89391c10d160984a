#include <gtest/gtest.h>

#include "analysis/plot_files/plot_export.h"
#include "tests/support/temp_dir.h"
#include "ui/scripted_ui.h"

namespace kv::plot_files {
namespace {

TEST(BitmapName, CutAtTheFirstDotOfTheFileName) {
  EXPECT_EQ(bitmap_file_name("/runs/run.1.bmp"), "/runs/run.bmp");
  EXPECT_EQ(bitmap_file_name("/runs.2026/a.b.c"), "/runs.2026/a.bmp");
  EXPECT_EQ(bitmap_file_name("/runs/plain"), "/runs/plain.bmp");
}

struct BitmapSave : ::testing::Test {
  test::TempDir dir;
  ScriptedUi ui;
  DialogDefault bitmap{dir.path().string(), "default.bmp"};
  std::vector<std::string> written;
  bool writes = true;
  bool save() {
    return save_plot_bitmap(bitmap, ui, [this](const std::string& path) {
      written.push_back(path);
      return writes;
    });
  }
};

TEST_F(BitmapSave, AsksAboutTheNameThatIsReallyWritten) {
  test::write_file(dir.file("run.bmp"), "old");
  ui.queue_file(dir.file("run.1.bmp"));  // run.1.bmp does not exist, run.bmp does
  ui.queue_answer(kNo);
  EXPECT_FALSE(save());
  EXPECT_EQ(ui.texts(), (std::vector<std::string>{"File Exists, Overwrite File ?", "Plot not Saved to BitMap File"}));
  EXPECT_TRUE(written.empty());

  ui.clear();
  ui.queue_file(dir.file("run.1.bmp"));
  EXPECT_TRUE(save());  // Yes
  EXPECT_EQ(written, std::vector<std::string>{dir.file("run.bmp")});
  EXPECT_EQ(ui.texts(), std::vector<std::string>{"File Exists, Overwrite File ?"});  // no success message
  EXPECT_EQ(ui.dialogs()[0].file_name, "default.bmp");
  EXPECT_EQ(ui.dialogs()[0].filter, "BitMap files (*.bmp)");
  EXPECT_EQ(ui.dialogs()[0].default_ext, "bmp");
}

TEST_F(BitmapSave, CancelAndWriteFailure) {
  EXPECT_FALSE(save());
  writes = false;
  ui.queue_file(dir.file("new"));
  EXPECT_FALSE(save());
  EXPECT_EQ(ui.texts(), (std::vector<std::string>{"Plot not Saved to BitMap File", "Problem Saving BitMap File"}));
  EXPECT_EQ(ui.messages()[0].kind, MsgKind::Warning);
  EXPECT_EQ(ui.messages()[1].kind, MsgKind::Error);
  EXPECT_EQ(bitmap.file_name, "default.bmp");
}

TEST(PrintPage, DesignChartPrintsAtFourFifthsBelowTheTexts) {
  // A4 at 600 dpi, the chart at its design size on a 96 dpi screen.
  const PrintedPage page = print_page_layout({4960, 7016, 600, 96, 653, 498}, "Memory A", " No Data");
  EXPECT_EQ(page.lines[0], (PrintedText{300, 300, "Pelmorix Data Plot"}));
  EXPECT_EQ(page.lines[1], (PrintedText{300, 500, "Data A: Memory A"}));
  EXPECT_EQ(page.lines[2], (PrintedText{300, 700, "Data B:  No Data"}));
  EXPECT_EQ(page.chart_left, 300);
  EXPECT_EQ(page.chart_top, 1100);
  EXPECT_DOUBLE_EQ(page.scale, 0.8);
  EXPECT_EQ(page.chart_width, 3265);  // 653 x 0.8 x 600 / 96
}

TEST(PrintPage, ALargerChartShrinksToFitThePage) {
  const PrintedPage wide = print_page_layout({4960, 7016, 600, 96, 1900, 498}, "", "");
  EXPECT_LT(wide.scale, 0.8);
  EXPECT_LE(300 + wide.chart_width, 4960 - 300);
  EXPECT_GE(300 + wide.chart_width, 4960 - 301);
  const PrintedPage tall = print_page_layout({4960, 3000, 600, 96, 653, 498}, "", "");
  EXPECT_LE(1100 + tall.chart_height, 3000 - 300);
  // Nothing measurable: the design scale.
  EXPECT_DOUBLE_EQ(print_page_layout({4960, 7016, 0, 96, 653, 498}, "", "").scale, 0.8);
}

}  // namespace
}  // namespace kv::plot_files
