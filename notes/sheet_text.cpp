#include "notes/sheet_text.h"

#include "logdata/windows1252.h"

namespace kv {
namespace {

// What the memo shows of the stored lines, line by line, with the stored line
// each came from: the memo also breaks a line at a lone carriage return.
struct ShownLines {
  std::vector<std::u16string> text;
  std::vector<std::size_t> owner;
};

ShownLines shown_lines(const std::vector<std::string>& stored) {
  ShownLines shown;
  for (std::size_t i = 0; i < stored.size(); ++i) {
    const std::u16string line = windows1252_decode(stored[i]);
    std::size_t start = 0;
    while (true) {
      const std::size_t end = line.find(u'\r', start);
      shown.text.push_back(line.substr(start, end == std::u16string::npos ? std::u16string::npos : end - start));
      shown.owner.push_back(i);
      if (end == std::u16string::npos) break;
      start = end + 1;
    }
  }
  return shown;
}

// Lines first … last - 1 of what was shown, all untouched by the edit: a
// stored line all of whose memo lines lie inside keeps its bytes.
void keep_untouched(const std::vector<std::string>& stored, const ShownLines& before, std::size_t first,
                    std::size_t last, std::vector<std::string>& out) {
  for (std::size_t i = first; i < last; ++i) {
    const std::size_t owner = before.owner[i];
    std::size_t end = i;
    while (end < before.owner.size() && before.owner[end] == owner) ++end;
    const bool whole = (i == 0 || before.owner[i - 1] != owner) && end <= last;
    if (whole) {
      out.push_back(stored[owner]);
      i = end - 1;
    } else {
      out.push_back(windows1252_encode(before.text[i]));
    }
  }
}

}  // namespace

std::u16string notes_to_memo_text(const std::vector<std::string>& notes) {
  std::u16string text;
  for (std::size_t i = 0; i < notes.size(); ++i) {
    if (i > 0) text.push_back(u'\n');
    text += windows1252_decode(notes[i]);
  }
  return text;
}

std::vector<std::string> notes_after_edit(const std::vector<std::string>& stored,
                                          const std::vector<std::u16string>& shown) {
  const ShownLines before = shown_lines(stored);
  const std::size_t old_count = before.text.size();
  std::size_t prefix = 0;
  while (prefix < old_count && prefix < shown.size() && before.text[prefix] == shown[prefix]) ++prefix;
  std::size_t suffix = 0;
  while (suffix < old_count - prefix && suffix < shown.size() - prefix &&
         before.text[old_count - 1 - suffix] == shown[shown.size() - 1 - suffix]) {
    ++suffix;
  }
  std::vector<std::string> out;
  keep_untouched(stored, before, 0, prefix, out);
  for (std::size_t i = prefix; i < shown.size() - suffix; ++i) out.push_back(windows1252_encode(shown[i]));
  keep_untouched(stored, before, old_count - suffix, old_count, out);
  return out;
}

void clear_sheet(SetupSheet& sheet) { sheet = SetupSheet{}; }

}  // namespace kv
