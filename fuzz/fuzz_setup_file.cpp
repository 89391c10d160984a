// The set-up template reader on an arbitrary file. Whatever it reads is
// written back; reading and writing that text again must give the same text,
// so no slot or notes text can shift the lines of a saved template.
#include <cstddef>
#include <cstdint>
#include <string>

#include "common/text_lines.h"
#include "notes/setup_file.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  const std::string text(reinterpret_cast<const char*>(data), size);
  kv::SetupSheet sheet;
  kv::parse_setup_lines(kv::split_lines(text), 0, sheet);
  const std::string written = kv::format_setup_text(sheet);
  kv::SetupSheet again;
  kv::parse_setup_lines(kv::split_lines(written), 0, again);
  if (kv::format_setup_text(again) != written) __builtin_trap();
  return 0;
}
