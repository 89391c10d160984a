#pragma once
// "Print to File" and the printed page of the plot window, without painting:
// the window supplies the chart's picture and paints where these say.
#include <array>
#include <functional>
#include <string>

#include "ui/dialog_defaults.h"
#include "ui/ui.h"

namespace kv::plot_files {

// The name a bitmap is written under: the folder stays, the file name is cut
// at its first dot and ".bmp" appended (run.1.bmp -> run.bmp).
std::string bitmap_file_name(const std::string& chosen);

// Writes the chart's picture to a path; false when the file cannot be written.
using SaveBitmapTo = std::function<bool(const std::string& path)>;

// The save dialog on the bitmap folder and "default.bmp" (never changed), the
// overwrite question about the name that will really be written, then the
// picture. No message on success.
bool save_plot_bitmap(const DialogDefault& bitmap, Ui& ui, const SaveBitmapTo& save);

namespace bitmap_msg {
inline constexpr const char* kTitle = "Save Plot to BitMap File";
inline constexpr const char* kNotSaved = "Plot not Saved to BitMap File";
inline constexpr const char* kSaveFailed = "Problem Saving BitMap File";
inline constexpr const char* kClipboard = "Plot Saved to ClipBoard";
}  // namespace bitmap_msg

// The printed page, in printer pixels from the page's top-left corner.
struct PrintedText {
  int x = 0;
  int y = 0;
  std::string text;
  bool operator==(const PrintedText&) const = default;
};

struct PrintSurface {
  int page_width = 0;   // printable page, printer pixels
  int page_height = 0;
  int printer_dpi = 0;
  int screen_dpi = 0;
  int chart_width = 0;  // the chart on screen, screen pixels
  int chart_height = 0;
};

struct PrintedPage {
  std::array<PrintedText, 3> lines;  // title, dataset A, dataset B
  int chart_left = 0;                // PrintChart's left, top and scale
  int chart_top = 0;
  double scale = 0;
  int chart_width = 0;               // the printed chart's size, printer pixels
  int chart_height = 0;
};

inline constexpr int kPrintLeft = 300;
inline constexpr int kPrintChartTop = 1100;
inline constexpr double kPrintScale = 0.8;

// The chart prints at 80 % of its size on screen; a chart too large for the
// page (a window enlarged beyond its design) prints at the largest scale that
// keeps the page's 300-pixel margin on the right and at the bottom too.
// The name texts are the two dataset name fields as they read.
PrintedPage print_page_layout(const PrintSurface& surface, const std::string& name_a, const std::string& name_b);

}  // namespace kv::plot_files
