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
  bool help = false;              // --help, -h
};

// What the arguments (without the program name) ask for, or the text of
// what is wrong with them.
struct ParsedStart {
  StartOptions options;
  std::optional<std::string> error;
};

ParsedStart parse_start_options(const std::vector<std::string>& args);

// True when --help or -h is among the arguments: answered before the window
// system is reached, so it works without a display.
bool asks_for_help(int argc, const char* const* argv);

// The --help text.
const char* start_help_text();

}  // namespace kv::desktop
