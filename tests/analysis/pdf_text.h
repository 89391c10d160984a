#pragma once
// The text of a PDF as pdftotext finds it, pages separated by form feeds.
#include <string>

namespace kv::analysis::test {

// `pages`: "" for all, else pdftotext's page options such as "-f 1 -l 1".
std::string pdf_text(const std::string& pdf, const std::string& pages = "");

}  // namespace kv::analysis::test
