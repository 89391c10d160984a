#include "analysis/plot_files/cfg_format.h"

#include <limits>

#include "common/text_lines.h"

namespace kv::plot_files {
namespace {

constexpr const char* kTrue = "TRUE";
constexpr const char* kFalse = "FALSE";

std::optional<std::int32_t> whole_number(const std::string& line) {
  const auto value = parse_decimal(line);
  if (!value || *value < std::numeric_limits<std::int32_t>::min() || *value > std::numeric_limits<std::int32_t>::max()) {
    return std::nullopt;
  }
  return static_cast<std::int32_t>(*value);
}

}  // namespace

CfgLineKind cfg_line_kind(int line) {
  if (line < kCfgFirstBooleanLine) return CfgLineKind::Colour;
  if (line < kCfgFirstIndexLine) return CfgLineKind::Boolean;
  return CfgLineKind::Index;
}

std::string cfg_text(const CfgLines& lines) {
  std::string text;
  for (int line = 1; line <= kCfgLineCount; ++line) {
    const std::int32_t value = lines[static_cast<std::size_t>(line - 1)];
    text += cfg_line_kind(line) == CfgLineKind::Boolean ? (value != 0 ? kTrue : kFalse) : std::to_string(value);
    text += kLineEnd;
  }
  return text;
}

CfgRead read_cfg_text(std::string_view text) {
  CfgRead read;
  if (text.empty()) return read;
  std::vector<std::string> lines = split_lines(std::string(text));
  lines.resize(kCfgLineCount);  // missing lines read as empty ones
  for (int line = 1; line <= kCfgLineCount; ++line) {
    const std::string& content = lines[static_cast<std::size_t>(line - 1)];
    if (cfg_line_kind(line) == CfgLineKind::Boolean) {
      read.values.push_back(content == kTrue ? 1 : 0);
      continue;
    }
    const auto value = whole_number(content);
    if (!value) {
      read.bad_text = content;
      break;
    }
    read.values.push_back(*value);
  }
  return read;
}

}  // namespace kv::plot_files
