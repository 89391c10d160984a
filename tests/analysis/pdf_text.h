#pragma once
// The text of a PDF as pdftotext finds it, pages separated by form feeds.
#include <optional>
#include <string>

namespace kv::analysis::test {

// `pages`: "" for all, else pdftotext's page options such as "-f 1 -l 1".
std::string pdf_text(const std::string& pdf, const std::string& pages = "");

// Where the first occurrence of `word` is drawn, in points from the page's top,
// whether or not it is clipped.
struct WordSpan {
  double top = 0;
  double bottom = 0;
};
std::optional<WordSpan> pdf_word_span(const std::string& pdf, const std::string& word);

}  // namespace kv::analysis::test
