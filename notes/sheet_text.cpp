#include "notes/sheet_text.h"

namespace kv {

std::string notes_to_memo_text(const std::vector<std::string>& notes) {
  std::string text;
  for (std::size_t i = 0; i < notes.size(); ++i) {
    if (i > 0) text.push_back('\n');
    text += notes[i];
  }
  return text;
}

std::vector<std::string> notes_from_memo_text(const std::string& text) {
  std::vector<std::string> lines;
  if (text.empty()) return lines;
  std::size_t start = 0;
  while (true) {
    const std::size_t end = text.find('\n', start);
    if (end == std::string::npos) {
      lines.push_back(text.substr(start));
      return lines;
    }
    lines.push_back(text.substr(start, end - start));
    start = end + 1;
  }
}

void clear_sheet(SetupSheet& sheet) { sheet = SetupSheet{}; }

}  // namespace kv
