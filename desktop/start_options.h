#pragma once
// The command line of korvanta-tools. The program needs none; these serve
// support and the installed program's own checks.
#include <optional>
#include <string>
#include <vector>

namespace kv::desktop {

struct StartOptions {
  std::string protocol_log;       // --protocol-log FILE: every byte on the line
  bool quit_after_start = false;  // --quit-after-start: open the windows, then end
  bool report_windows = false;    // --report-windows: print what is shown at the end
  bool help = false;              // --help, -h
  bool version = false;           // --version
  // Files to open at start: logs go to A then B, a configuration file to the
  // configure window.
  std::vector<std::string> files;
};

// What the arguments (without the program name) ask for, or the text of
// what is wrong with them.
struct ParsedStart {
  StartOptions options;
  std::optional<std::string> error;
};

ParsedStart parse_start_options(const std::vector<std::string>& args);

// The text that --help, -h or --version among the arguments asks for, or
// nothing: answered before the window system is reached, so it works without
// a display.
std::optional<std::string> console_answer(int argc, const char* const* argv, const char* version);

// The --help text.
const char* start_help_text();

}  // namespace kv::desktop
