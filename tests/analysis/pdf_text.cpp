#include "tests/analysis/pdf_text.h"

#include <cstdio>
#include <memory>

namespace kv::analysis::test {

std::string pdf_text(const std::string& pdf, const std::string& pages) {
  const std::string command = "pdftotext -layout " + pages + " '" + pdf + "' -";
  std::unique_ptr<FILE, int (*)(FILE*)> pipe(popen(command.c_str(), "r"), pclose);
  std::string text;
  if (!pipe) return text;
  char buffer[256];
  while (std::fgets(buffer, sizeof buffer, pipe.get()) != nullptr) text += buffer;
  return text;
}

}  // namespace kv::analysis::test
