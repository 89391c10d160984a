// Clipboard, bitmap file and printer output of the chart.
#include <gtest/gtest.h>

#include <QClipboard>
#include <QFile>
#include <QGuiApplication>
#include <QPainter>
#include <QPrinter>

#include "chart/plotchart.h"
#include "chart/plotchart_design.h"
#include "tests/support/temp_dir.h"

namespace kv::chart {
namespace {

class ChartOutput : public ::testing::Test {
 protected:
  ChartOutput() {
    apply_plot_window_design(chart);
    chart.SetLayerRange(1, 0, 0, 573, 418);
    chart.SetDataColor(clRed);
    chart.AddMoveTo(0, 100);
    chart.AddDrawTo(573, 100);
    chart.Redisplay();
    chart.SetCrossHairStyle(1, clBlue, TCrossHMode::chBoth, TPenStyle::psSolid, 1);
    chart.SetCrossHairPos(1, 200, 200);
  }
  TPlotChart chart;
};

TEST_F(ChartOutput, PictureHasNoCrosshairs) {
  EXPECT_EQ(chart.ScreenImage().pixel(240, 300), argb_of(clBlue));
  const QImage pic = chart.Picture(false);
  EXPECT_EQ(pic.size(), QSize(653, 498));
  EXPECT_EQ(pic.pixel(240, 300), argb_of(clWhite));
  EXPECT_EQ(pic.pixel(100, 333), argb_of(clRed));
  EXPECT_EQ(pic.pixel(5, 5), argb_of(clActiveBorder));
}

TEST_F(ChartOutput, MonoIsBlackOnWhite) {
  const QImage pic = chart.Picture(true);
  EXPECT_EQ(pic.pixel(100, 333), argb_of(clBlack));
  EXPECT_EQ(pic.pixel(5, 5), argb_of(clWhite));
  EXPECT_EQ(pic.pixel(300, 200), argb_of(clWhite));
}

TEST_F(ChartOutput, ClipboardGetsThePicture) {
  chart.CopyToClipboard(false);
  const QImage img = QGuiApplication::clipboard()->image();
  ASSERT_FALSE(img.isNull());
  EXPECT_EQ(img.size(), QSize(653, 498));
  EXPECT_EQ(img.pixel(100, 333), argb_of(clRed));
}

TEST_F(ChartOutput, BitmapFileNameCutAtTheFirstDot) {
  test::TempDir dir;
  ASSERT_TRUE(chart.SaveBitmapFile(dir.file("a.b.c"), false));
  ASSERT_TRUE(chart.SaveBitmapFile(dir.file("plain"), false));
  EXPECT_EQ(test::list_folder(dir.path()), (std::vector<std::string>{"a.bmp", "plain.bmp"}));
  QImage img(QString::fromStdString(dir.file("a.bmp")));
  ASSERT_FALSE(img.isNull());
  EXPECT_EQ(img.pixel(100, 333), argb_of(clRed));
  EXPECT_EQ(img.pixel(240, 300), argb_of(clWhite));  // no crosshair
  EXPECT_EQ(test::read_file(dir.file("a.bmp")).substr(0, 2), "BM");
}

TEST_F(ChartOutput, BitmapIntoAMissingFolderFails) {
  test::TempDir dir;
  EXPECT_FALSE(chart.SaveBitmapFile(dir.file("none/x.bmp"), false));
}

// A printer is a paint device of higher resolution: an image of 192 dots per
// inch stands in for it so that the pixels can be read back.
TEST_F(ChartOutput, PrintScalesScreenPixelsToPrinterResolution) {
  QImage page(2000, 2000, QImage::Format_RGB32);
  page.fill(Qt::white);
  const double dpi = 2 * chart.logicalDpiX();
  page.setDotsPerMeterX(qRound(dpi / 0.0254));
  page.setDotsPerMeterY(qRound(dpi / 0.0254));
  ASSERT_NEAR(page.logicalDpiX(), dpi, 1);
  QPainter p(&page);
  p.setPen(Qt::green);
  const QTransform before = p.transform();
  chart.PrintChart(p, 100, 50, false, 1.0);  // one screen pixel = two page pixels
  EXPECT_EQ(p.transform(), before);
  EXPECT_EQ(p.pen().color(), QColor(Qt::green));
  p.end();
  EXPECT_EQ(page.pixel(99, 60), qRgb(255, 255, 255));
  EXPECT_EQ(page.pixel(101, 51), argb_of(clActiveBorder));
  EXPECT_EQ(page.pixel(100 + 2 * 653 - 2, 50 + 2 * 498 - 2), argb_of(clActiveBorder));
  EXPECT_EQ(page.pixel(100 + 2 * 653 + 1, 60), qRgb(255, 255, 255));
  EXPECT_EQ(page.pixel(100 + 2 * 300, 50 + 2 * 333 + 1), argb_of(clRed));  // the item line
  EXPECT_EQ(page.pixel(100 + 2 * 240, 50 + 2 * 300), argb_of(clWhite));   // no crosshair
}

TEST_F(ChartOutput, PrintToPdf) {
  test::TempDir dir;
  QPrinter printer(QPrinter::HighResolution);
  printer.setOutputFormat(QPrinter::PdfFormat);
  printer.setOutputFileName(QString::fromStdString(dir.file("plot.pdf")));
  QPainter p;
  ASSERT_TRUE(p.begin(&printer));
  p.drawText(300, 300, "Korvanta");
  chart.PrintChart(p, 300, 1100, false, 0.8);
  p.end();
  const std::string pdf = test::read_file(dir.file("plot.pdf"));
  EXPECT_EQ(pdf.substr(0, 5), "%PDF-");
  EXPECT_GT(pdf.size(), 2000u);
}

}  // namespace
}  // namespace kv::chart
