#include "analysis/plot_files/lab_format.h"

#include <charconv>
#include <cmath>

#include "common/text_lines.h"
#include "logdata/number_format.h"

namespace kv::plot_files {
namespace {

constexpr int kPositionDecimals = 2;
constexpr char kLineBreakMark = '?';

// A readout's line breaks may be CR LF or LF alone; each becomes one mark.
std::string caption_line(const std::string& caption) {
  std::string line;
  for (std::size_t i = 0; i < caption.size(); ++i) {
    const bool line_break_follows = caption[i] == '\r' && i + 1 < caption.size() && caption[i + 1] == '\n';
    if (line_break_follows) continue;
    line += caption[i] == '\n' ? kLineBreakMark : caption[i];
  }
  return line;
}

std::string caption_from_line(std::string line) {
  for (char& c : line) {
    if (c == kLineBreakMark) c = '\n';
  }
  return line;
}

bool is_blank(char c) { return c == ' ' || c == '\t'; }

}  // namespace

std::string lab_text(const std::vector<LabRecord>& labels) {
  std::string text = std::to_string(labels.size()) + kLineEnd;
  for (const LabRecord& label : labels) {
    text += format_fixed(label.x, kPositionDecimals) + kLineEnd;
    text += format_fixed(label.y, kPositionDecimals) + kLineEnd;
    text += caption_line(label.caption) + kLineEnd;
  }
  return text;
}

std::optional<double> parse_position(std::string_view text) {
  while (!text.empty() && is_blank(text.front())) text.remove_prefix(1);
  while (!text.empty() && is_blank(text.back())) text.remove_suffix(1);
  if (!text.empty() && text.front() == '+') text.remove_prefix(1);
  // Only digits, one sign, one separator and an exponent: no "inf", "nan"
  // or hexadecimal forms.
  std::string plain(text);
  for (char& c : plain) {
    if (c == ',') c = '.';
    const bool allowed = (c >= '0' && c <= '9') || c == '.' || c == '-' || c == '+' || c == 'e' || c == 'E';
    if (!allowed) return std::nullopt;
  }
  double value = 0;
  const char* end = plain.data() + plain.size();
  const auto result = std::from_chars(plain.data(), end, value, std::chars_format::general);
  if (result.ec != std::errc() || result.ptr != end || !std::isfinite(value)) return std::nullopt;
  return value;
}

LabRead read_lab_text(std::string_view text) {
  LabRead read;
  const std::vector<std::string> lines = split_lines(std::string(text));
  const std::string first = lines.empty() ? std::string() : lines.front();
  read.count = parse_decimal(first);
  if (!read.count) {
    read.fault = LabFault::BadCount;
    read.bad_count_text = first;
    return read;
  }
  // Past the end of the file a line reads as empty: a missing position does
  // not convert, a missing caption is empty.
  auto line = [&lines](std::size_t i) { return i < lines.size() ? lines[i] : std::string(); };
  for (std::size_t next = 1; next < lines.size(); next += 3) {
    const auto x = parse_position(line(next));
    const auto y = parse_position(line(next + 1));
    if (!x || !y || read.records.size() == kMaxLabels) {
      read.fault = LabFault::BadRecords;
      break;
    }
    read.records.push_back({*x, *y, caption_from_line(line(next + 2))});
  }
  return read;
}

}  // namespace kv::plot_files
