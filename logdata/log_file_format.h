#pragma once
// The native log file's text: the notes lines ("//"), the 80 set-up slot
// lines ("@@"), five identity lines and one line of hex bytes per packet.
// Writing and reading work on whole texts; files are the caller's business.
#include <cstdint>
#include <string>
#include <vector>

#include "logdata/dataset.h"
#include "link/unit_identity.h"
#include "ui/ui.h"

namespace kv {

// Everything a log file carries.
struct LogFileContents {
  SetupSheet sheet;
  UnitIdentity identity;
  std::vector<std::uint8_t> raw_memory;
  std::uint32_t used_bytes = 0;
};

enum class LogFileFault {
  None,
  Format,      // a header line is missing or does not convert
  Version,     // the version line is outside 3.19-3.29
  OutOfRange,  // a packet line starts with an invalid header
};

struct LogFileRead {
  LogFileFault fault = LogFileFault::None;
  int bad_packet_line = 0;  // 1-based, for OutOfRange
  LogFileContents contents;
};

// A packet line's number as the load's message shows it: the packet line's
// index plus the 80 slot lines, five identity lines and one more.
constexpr int kOutOfRangeLineBase = 86;

// The file text of a dataset: packet lines walk positions 0 … used_bytes - 2
// and stop at the end of the image. In dump mode every line holds 8 bytes.
// Runs the Ui's message pump once per packet line.
std::string write_log_file_text(const SetupSheet& sheet, const UnitIdentity& identity,
                          const std::vector<std::uint8_t>& raw_memory, std::uint32_t used_bytes, bool dump_mode,
                          Ui& ui);

// Reads a whole file text. Runs the message pump once per packet line.
LogFileRead read_log_file_text(const std::string& text, Ui& ui);

}  // namespace kv
