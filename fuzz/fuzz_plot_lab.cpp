// The plot label reader on an arbitrary file; the labels it takes are
// written back (captions through the window's text and back) and must read
// back to the same number of labels at the positions rounded to 0.01.
#include <cmath>
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <string_view>

#include "analysis/plot_files/lab_format.h"
#include "analysis/plot_files/label_text_1252.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  namespace pf = kv::plot_files;
  const std::string_view text(reinterpret_cast<const char*>(data), size);
  pf::LabRead read = pf::read_lab_text(text);
  if (read.records.size() > pf::kMaxLabels) std::abort();
  for (pf::LabRecord& r : read.records) {
    if (!std::isfinite(r.x) || !std::isfinite(r.y)) std::abort();
    r.caption = pf::label_1252_from_utf8(pf::label_utf8_from_1252(r.caption));
  }
  const pf::LabRead again = pf::read_lab_text(pf::lab_text(read.records));
  if (again.records.size() != read.records.size()) std::abort();
  for (std::size_t k = 0; k < read.records.size(); ++k) {
    const double tolerance = 0.006 + 1e-12 * std::fabs(read.records[k].x);
    if (std::fabs(again.records[k].x - read.records[k].x) > tolerance) std::abort();
  }
  return 0;
}
