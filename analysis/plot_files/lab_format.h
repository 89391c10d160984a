#pragma once
// The plot label file: the number of labels, then three lines per label (X
// and Y in layer 1 data units with two decimals, the caption with every line
// feed written as "?"). Positions are written with "." whatever the desktop
// locale, and "." or "," is taken on reading, so files move between machines.
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace kv::plot_files {

inline constexpr int kMaxLabels = 20;

// One label as the file holds it; the caption is the file's own bytes with
// its line breaks restored.
struct LabRecord {
  double x = 0;
  double y = 0;
  std::string caption;
  bool operator==(const LabRecord&) const = default;
};

std::string lab_text(const std::vector<LabRecord>& labels);

enum class LabFault {
  None,
  BadCount,    // the first line is not a whole number: nothing is taken
  BadRecords,  // a position that does not convert, or a 21st record
};

// What a file gives: `count` from its first line (as written, unbounded) and
// the records read before any fault, at most 20.
struct LabRead {
  std::optional<long long> count;
  std::vector<LabRecord> records;
  LabFault fault = LabFault::None;
  std::string bad_count_text;  // the first line, when it did not convert
};
LabRead read_lab_text(std::string_view text);

// A finite number with "." or "," as decimal separator, blanks around it
// allowed; nothing for anything else.
std::optional<double> parse_position(std::string_view text);

}  // namespace kv::plot_files
