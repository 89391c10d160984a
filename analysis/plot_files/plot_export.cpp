#include "analysis/plot_files/plot_export.h"

#include <algorithm>
#include <cmath>
#include <filesystem>

#include "common/file_dialog_flow.h"

namespace kv::plot_files {
namespace {

constexpr const char* kBitmapExtension = ".bmp";
constexpr const char* kBitmapFilter = "BitMap files (*.bmp)";
constexpr const char* kDefaultBitmapName = "default.bmp";
constexpr int kTitleTop = 300;
constexpr int kDataATop = 500;
constexpr int kDataBTop = 700;
constexpr int kPageMargin = kPrintLeft;
constexpr double kSmallestScale = 0.05;

int printed(int screen_pixels, double pixels_per_screen_pixel) {
  return static_cast<int>(std::lround(screen_pixels * pixels_per_screen_pixel));
}

}  // namespace

std::string bitmap_file_name(const std::string& chosen) {
  const std::filesystem::path path(chosen);
  std::string name = path.filename().string();
  name = name.substr(0, name.find('.')) + kBitmapExtension;
  return (path.parent_path() / name).string();
}

bool save_plot_bitmap(const DialogDefault& bitmap, Ui& ui, const SaveBitmapTo& save) {
  const auto chosen = ui.save_file({bitmap_msg::kTitle, kBitmapFilter, "bmp", bitmap.folder, kDefaultBitmapName});
  if (!chosen) {
    ui.warning(bitmap_msg::kNotSaved);
    return false;
  }
  const std::string path = bitmap_file_name(*chosen);
  std::error_code ec;
  if (std::filesystem::exists(path, ec) && !ui.ask_yes_no(MsgKind::Warning, kOverwriteQuestion)) {
    ui.warning(bitmap_msg::kNotSaved);
    return false;
  }
  if (!save(path)) {
    ui.error(bitmap_msg::kSaveFailed);
    return false;
  }
  return true;
}

PrintedPage print_page_layout(const PrintSurface& surface, const std::string& name_a, const std::string& name_b) {
  PrintedPage page;
  page.lines = {PrintedText{kPrintLeft, kTitleTop, "Pelmorix Data Plot"},
                PrintedText{kPrintLeft, kDataATop, "Data A: " + name_a},
                PrintedText{kPrintLeft, kDataBTop, "Data B: " + name_b}};
  page.chart_left = kPrintLeft;
  page.chart_top = kPrintChartTop;
  page.scale = kPrintScale;
  const bool measurable = surface.printer_dpi > 0 && surface.screen_dpi > 0 && surface.chart_width > 0 &&
                          surface.chart_height > 0;
  if (!measurable) return page;
  const double dpi_ratio = static_cast<double>(surface.printer_dpi) / surface.screen_dpi;
  const double room_x = surface.page_width - kPrintLeft - kPageMargin;
  const double room_y = surface.page_height - kPrintChartTop - kPageMargin;
  const double fit = std::min(room_x / (surface.chart_width * dpi_ratio), room_y / (surface.chart_height * dpi_ratio));
  page.scale = std::clamp(fit, kSmallestScale, kPrintScale);
  page.chart_width = printed(surface.chart_width, page.scale * dpi_ratio);
  page.chart_height = printed(surface.chart_height, page.scale * dpi_ratio);
  return page;
}

}  // namespace kv::plot_files
