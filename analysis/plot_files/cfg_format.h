#pragma once
// The plot configuration file: 41 lines, no header. Lines 1-22 are colours
// (signed decimal TColor values), 23-33 check boxes ("TRUE"/"FALSE"), 34-41
// radio group item indexes. This part knows the file only, not the window.
#include <array>
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace kv::plot_files {

inline constexpr int kCfgLineCount = 41;
inline constexpr int kCfgColourLines = 22;   // lines 1-22
inline constexpr int kCfgBooleanLines = 11;  // lines 23-33
inline constexpr int kCfgFirstBooleanLine = kCfgColourLines + 1;
inline constexpr int kCfgFirstIndexLine = kCfgFirstBooleanLine + kCfgBooleanLines;  // 34

enum class CfgLineKind { Colour, Boolean, Index };
CfgLineKind cfg_line_kind(int line);  // line 1 … 41

// The value of every line: colours as signed 32-bit words, booleans 0/1.
using CfgLines = std::array<std::int32_t, kCfgLineCount>;

std::string cfg_text(const CfgLines& lines);

// The lines a file applies, in order: a file that ends early yields empty
// lines (a check box cleared, a number unconvertible), only the first 41
// lines count, and an empty file applies nothing. A colour or index line that
// is not a whole 32-bit number stops the reading; `bad_text` holds it and
// `values` the lines before it.
struct CfgRead {
  std::vector<std::int32_t> values;
  std::optional<std::string> bad_text;
};
CfgRead read_cfg_text(std::string_view text);

}  // namespace kv::plot_files
