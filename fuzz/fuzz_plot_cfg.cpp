// The plot configuration reader on an arbitrary file; whatever it takes is
// written back and must read back the same.
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <string_view>

#include "analysis/plot_files/cfg_format.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  const std::string_view text(reinterpret_cast<const char*>(data), size);
  const kv::plot_files::CfgRead read = kv::plot_files::read_cfg_text(text);
  if (read.values.size() != kv::plot_files::kCfgLineCount) return 0;
  kv::plot_files::CfgLines lines{};
  for (std::size_t k = 0; k < lines.size(); ++k) lines[k] = read.values[k];
  const kv::plot_files::CfgRead again = kv::plot_files::read_cfg_text(kv::plot_files::cfg_text(lines));
  if (again.values != read.values || again.bad_text) std::abort();
  return 0;
}
