#include "tests/analysis/pdf_text.h"

#include <cstdio>
#include <cstdlib>
#include <memory>

namespace kv::analysis::test {
namespace {

std::string command_output(const std::string& command) {
  std::unique_ptr<FILE, int (*)(FILE*)> pipe(popen(command.c_str(), "r"), pclose);
  std::string text;
  if (!pipe) return text;
  char buffer[256];
  while (std::fgets(buffer, sizeof buffer, pipe.get()) != nullptr) text += buffer;
  return text;
}

// The number in `attribute="…"` of the element that starts at `from`.
double attribute(const std::string& xml, std::size_t from, const std::string& name) {
  const std::size_t at = xml.find(name + "=\"", from);
  return at == std::string::npos ? 0.0 : std::strtod(xml.c_str() + at + name.size() + 2, nullptr);
}

}  // namespace

std::string pdf_text(const std::string& pdf, const std::string& pages) {
  return command_output("pdftotext -layout " + pages + " '" + pdf + "' -");
}

std::optional<WordSpan> pdf_word_span(const std::string& pdf, const std::string& word) {
  const std::string xml = command_output("pdftotext -bbox '" + pdf + "' -");
  const std::size_t end = xml.find(">" + word + "</word>");
  if (end == std::string::npos) return std::nullopt;
  const std::size_t start = xml.rfind("<word ", end);
  if (start == std::string::npos) return std::nullopt;
  return WordSpan{attribute(xml, start, "yMin"), attribute(xml, start, "yMax")};
}

}  // namespace kv::analysis::test
