#include "analysis/session_report/report_layout.h"

#include <algorithm>
#include <cmath>

namespace kv::session_report {
namespace {

constexpr double kGap = 12.0;
constexpr double kLeftWidth = 400.0;
constexpr double kRightX = kMargin + kLeftWidth + kGap + 4.0;
constexpr double kRightWidth = kPageWidth - kMargin - kRightX;
constexpr double kBottom = kPageHeight - kMargin;

constexpr double kTitleSize = 14.0;
constexpr double kTextSize = 8.0;
constexpr double kLineHeight = 10.0;
constexpr double kTableTop = 70.0;
// The lap table's rows shrink to fit a long session, down to a size that
// still reads when printed.
constexpr double kMaxRowHeight = 10.0;
constexpr double kMinRowHeight = 5.6;
constexpr double kFontPerRow = 0.78;

constexpr double kChartMaxHeight = 180.0;
constexpr double kSetupRowHeight = 7.6;
constexpr double kSetupSize = 5.6;
constexpr double kSetupValueWidth = 22.0;  // a tyre temperature triple
constexpr double kSetupWideValue = 30.0;   // a pair such as the wings' angle and height
constexpr double kSetupCaptionWidth = 56.0;
constexpr double kNotesRowHeight = 9.0;
constexpr double kNotesSize = 7.0;
// Characters of the notes font a line surely holds (an average character is
// about half as wide as the font is high), for the lines a long note wraps to.
constexpr double kNotesCharsPerLine = kRightWidth / (0.55 * kNotesSize);

// Preferred widths of the lap table's columns: session, lap, lap time, three
// splits, distance, average, then the sectors.
constexpr double kLapColumnWidths[] = {34, 20, 36, 31, 31, 31, 40, 34};
constexpr double kHeadingShrink = 0.85;
constexpr double kMinHeadingSize = 4.5;
constexpr double kSectorColumnWidth = 35;

class Placer {
 public:
  explicit Placer(ReportPage& page) : page_(page) {}
  void text(Box box, std::string text, double size, bool bold = false, Align align = Align::left) {
    page_.texts.push_back({box, std::move(text), size, bold, align});
  }
  void wrapped(Box box, std::string text, double size, bool bold, Align align, bool bottom) {
    page_.texts.push_back({box, std::move(text), size, bold, align, true, bottom});
  }
  void rule(double x1, double y1, double x2, double y2) { page_.rules.push_back({x1, y1, x2, y2}); }

 private:
  ReportPage& page_;
};

std::vector<double> column_widths(std::size_t columns) {
  std::vector<double> widths;
  for (std::size_t c = 0; c < columns; ++c) {
    widths.push_back(c < std::size(kLapColumnWidths) ? kLapColumnWidths[c] : kSectorColumnWidth);
  }
  double total = 0;
  for (const double w : widths) total += w;
  if (total > kLeftWidth) {
    for (double& w : widths) w *= kLeftWidth / total;
  }
  return widths;
}

bool closes_session(const std::vector<std::string>& row) {
  return row.size() > 1 && std::all_of(row.begin() + 1, row.end(), [](const std::string& s) { return s.empty(); });
}

// The headings take two lines, so that "Lap Time (s)" needs no wide column.
void place_table_row(Placer& put, const std::vector<std::string>& cells, const std::vector<double>& widths, double y,
                     double height, double size, bool headings) {
  if (!headings && closes_session(cells)) {
    put.text({kMargin, y, kLeftWidth, height}, cells.front(), size, true);
    return;
  }
  double x = kMargin;
  for (std::size_t c = 0; c < cells.size() && c < widths.size(); ++c) {
    const Box box{x, y, widths[c] - 2.0, headings ? 2 * height : height};
    if (headings) {
      put.wrapped(box, cells[c], std::max(size * kHeadingShrink, kMinHeadingSize), true, Align::right, true);
    } else {
      put.text(box, cells[c], size, false, Align::right);
    }
    x += widths[c];
  }
}

// The whole table when it fits at the smallest row height, else its first
// rows and a line saying how many more there are. Returns where it ends.
double place_lap_table(Placer& put, const ReportTable& table) {
  const double available = kBottom - kTableTop;
  const std::size_t rows = table.rows.size() + 2;  // and the headings' two lines
  const double height = std::clamp(available / static_cast<double>(rows), kMinRowHeight, kMaxRowHeight);
  const double size = height * kFontPerRow;
  const auto fitting = static_cast<std::size_t>(std::floor(available / height));
  const bool cut = rows > fitting;
  const std::size_t shown = cut ? fitting - 3 : table.rows.size();
  const std::vector<double> widths = column_widths(table.headings.size());
  place_table_row(put, table.headings, widths, kTableTop, height, size, true);
  const double below_headings = kTableTop + 2 * height;
  put.rule(kMargin, below_headings, kMargin + kLeftWidth, below_headings);
  double y = below_headings + 1.0;
  for (std::size_t r = 0; r < shown; ++r, y += height) place_table_row(put, table.rows[r], widths, y, height, size, false);
  if (cut) {
    put.text({kMargin, y, kLeftWidth, height},
             "... " + std::to_string(table.rows.size() - shown) + " more rows of the lap table not shown", size);
    y += height;
  }
  return y;
}

// The largest box of the picture's aspect inside `room`, centred across it,
// at its top.
Box fitted_chart(const Box& room, double aspect) {
  double w = room.w;
  double h = w / aspect;
  if (h > room.h) {
    h = std::max(0.0, room.h);
    w = h * aspect;
  }
  return {room.x + (room.w - w) / 2, room.y, w, h};
}

void frame(ReportPage& page, const Box& c) {
  page.rules.push_back({c.x, c.y, c.right(), c.y});
  page.rules.push_back({c.x, c.bottom(), c.right(), c.bottom()});
  page.rules.push_back({c.x, c.y, c.x, c.bottom()});
  page.rules.push_back({c.right(), c.y, c.right(), c.bottom()});
}

// The plot goes under a short lap table, where it can be read at the size of
// the whole column, and otherwise above the summary on the right. Returns
// where the right column's text starts.
double place_chart(ReportPage& page, double aspect, double table_bottom) {
  if (aspect <= 0) return kTableTop;
  const Box right = fitted_chart({kRightX, kTableTop, kRightWidth, kChartMaxHeight}, aspect);
  const double left_top = table_bottom + kGap;
  const Box left = fitted_chart({kMargin, left_top, kLeftWidth, kBottom - left_top}, aspect);
  const bool under_table = left.w > right.w;
  page.chart = under_table ? left : right;
  frame(page, page.chart);
  return under_table ? kTableTop : right.bottom() + 6.0;
}

double place_lines(Placer& put, const std::vector<std::string>& lines, double top) {
  for (const std::string& line : lines) {
    put.text({kRightX, top, kRightWidth, kLineHeight}, line, kTextSize);
    top += kLineHeight;
  }
  return top;
}

double place_block(Placer& put, const SetupBlockText& block, double x, double width, double top) {
  const std::size_t values = std::max<std::size_t>(1, [&] {
    std::size_t n = block.column_heads.size();
    for (const SetupRowText& row : block.rows) n = std::max(n, row.values.size());
    return n;
  }());
  const double value_width =
      std::clamp((width - kSetupCaptionWidth) / static_cast<double>(values), kSetupValueWidth, kSetupWideValue);
  const double caption_width = width - static_cast<double>(values) * value_width;
  put.text({x, top, width, kSetupRowHeight}, block.title, kSetupSize + 0.6, true);
  top += kSetupRowHeight;
  auto place_values = [&](const std::vector<std::string>& cells, double y, bool bold) {
    for (std::size_t c = 0; c < cells.size(); ++c) {
      put.text({x + caption_width + static_cast<double>(c) * value_width, y, value_width - 1.5, kSetupRowHeight},
               cells[c], kSetupSize, bold, Align::right);
    }
  };
  for (std::size_t r = 0; r < block.rows.size(); ++r) {
    if (r == block.head_row && !block.column_heads.empty()) {
      place_values(block.column_heads, top, true);
      top += kSetupRowHeight;
    }
    put.text({x, top, caption_width - 1.0, kSetupRowHeight}, block.rows[r].caption, kSetupSize);
    place_values(block.rows[r].values, top, true);
    top += kSetupRowHeight;
  }
  return top + 2.0;
}

// Three columns as on the sheet: the left wheels, the general block, the
// right wheels.
double place_setup(Placer& put, const std::vector<SetupBlockText>& blocks, double top) {
  put.text({kRightX, top, kRightWidth, kLineHeight}, "Car Setup", kTextSize + 1, true);
  top += kLineHeight + 1.0;
  const double width = kRightWidth / 3.0;
  double bottom = top;
  const std::size_t columns[][2] = {{0, 1}, {2, 2}, {3, 4}};
  for (std::size_t c = 0; c < 3; ++c) {
    double y = top;
    for (std::size_t b = columns[c][0]; b <= columns[c][1] && b < blocks.size(); ++b) {
      y = place_block(put, blocks[b], kRightX + static_cast<double>(c) * width, width - 4.0, y);
    }
    bottom = std::max(bottom, y);
  }
  return bottom + 4.0;
}

std::size_t wrapped_lines(const std::string& note) {
  return std::max<std::size_t>(1, static_cast<std::size_t>(std::ceil(static_cast<double>(note.size()) / kNotesCharsPerLine)));
}

// Each note wraps within the column; notes that do not fit above the bottom
// margin are counted on the last line.
void place_notes(Placer& put, const std::vector<std::string>& notes, double top) {
  put.text({kRightX, top, kRightWidth, kLineHeight}, "Notes", kTextSize + 1, true);
  top += kLineHeight + 1.0;
  const auto rows_left = [&] { return static_cast<std::size_t>(std::max(0.0, std::floor((kBottom - top) / kNotesRowHeight))); };
  for (std::size_t i = 0; i < notes.size(); ++i) {
    const std::size_t lines = wrapped_lines(notes[i]);
    const bool last = i + 1 == notes.size();
    if (lines + (last ? 0 : 1) > rows_left()) {
      if (rows_left() > 0) {
        put.text({kRightX, top, kRightWidth, kNotesRowHeight},
                 "... " + std::to_string(notes.size() - i) + " more lines of notes not shown", kNotesSize);
      }
      return;
    }
    const double height = static_cast<double>(lines) * kNotesRowHeight;
    put.wrapped({kRightX, top, kRightWidth, height}, notes[i], kNotesSize, false, Align::left, false);
    top += height;
  }
}

}  // namespace

ReportPage lay_out_page(const ReportContent& content, double chart_aspect) {
  ReportPage page;
  Placer put(page);
  put.text({kMargin, kMargin - 4, kPageWidth - 2 * kMargin, 18}, content.title, kTitleSize, true);
  put.text({kMargin, 40, kLeftWidth, kLineHeight}, content.source, kTextSize);
  put.text({kMargin, 51, kPageWidth - 2 * kMargin, kLineHeight}, content.units, kTextSize);
  put.rule(kMargin, 64, kPageWidth - kMargin, 64);
  const double table_bottom = place_lap_table(put, content.laps);
  double y = place_chart(page, chart_aspect, table_bottom);
  y = place_lines(put, content.summary, y);
  y = place_setup(put, content.setup, y + 4.0);
  place_notes(put, content.notes, y);
  return page;
}

}  // namespace kv::session_report
