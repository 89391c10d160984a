#pragma once
// Where everything of one report page goes, in points (1/72 inch) from the
// top-left corner of an A4 landscape page: the lap table on the left with the
// plot under it when the table is short, else the plot at the top right; the
// lap summary, the set-up sheet and the notes on the right. The painter only
// draws what this places; a text is cut to its box.
#include <cstddef>
#include <string>
#include <vector>

#include "analysis/session_report/report_content.h"

namespace kv::session_report {

inline constexpr double kPageWidth = 842.0;   // A4 landscape
inline constexpr double kPageHeight = 595.0;
inline constexpr double kMargin = 24.0;

struct Box {
  double x = 0, y = 0, w = 0, h = 0;
  double right() const { return x + w; }
  double bottom() const { return y + h; }
};

enum class Align { left, right };

struct PlacedText {
  Box box;
  std::string text;
  double size = 0;  // points
  bool bold = false;
  Align align = Align::left;
  bool wrap = false;    // may break between words onto further lines of its box
  bool bottom = false;  // a wrapped text sits on its box's bottom, else at its top
};

struct PlacedRule {
  double x1 = 0, y1 = 0, x2 = 0, y2 = 0;
};

struct ReportPage {
  std::vector<PlacedText> texts;
  std::vector<PlacedRule> rules;
  Box chart;  // the plot picture, its own aspect kept; empty without one
};

// `chart_aspect` is the picture's width / height; 0 or less when there is
// no picture.
ReportPage lay_out_page(const ReportContent& content, double chart_aspect);

}  // namespace kv::session_report
