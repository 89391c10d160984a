#include "desktop/start_options.h"

namespace kv::desktop {

ParsedStart parse_start_options(const std::vector<std::string>& args) {
  ParsedStart parsed;
  for (std::size_t i = 0; i < args.size(); ++i) {
    const std::string& arg = args[i];
    if (arg == "--help" || arg == "-h") {
      parsed.options.help = true;
    } else if (arg == "--version") {
      parsed.options.version = true;
    } else if (arg == "--quit-after-start") {
      parsed.options.quit_after_start = true;
    } else if (arg == "--report-windows") {
      parsed.options.report_windows = true;
    } else if (arg == "--protocol-log") {
      if (i + 1 >= args.size() || args[i + 1].empty()) {
        parsed.error = "--protocol-log needs a file name";
        return parsed;
      }
      parsed.options.protocol_log = args[++i];
    } else if (arg.size() > 1 && arg[0] == '-') {
      parsed.error = "unknown argument " + arg;
      return parsed;
    } else {
      parsed.options.files.push_back(arg);
    }
  }
  return parsed;
}

std::optional<std::string> console_answer(int argc, const char* const* argv, const char* version) {
  for (int i = 1; i < argc; ++i) {
    const std::string arg = argv[i];
    if (arg == "--help" || arg == "-h") return start_help_text();
    if (arg == "--version") return std::string("korvanta-tools ") + version + "\n";
  }
  return std::nullopt;
}

const char* start_help_text() {
  return "usage: korvanta-tools [--protocol-log FILE] [--quit-after-start] [LOG.kvl [LOG2.kvl] | CONFIG.kvc]\n"
         "\n"
         "The desktop companion of the Korvanta dashboard and data logger.\n"
         "A log file given is loaded into data set A (a second one into B) and\n"
         "shown in the plot window; a configuration file opens the configure\n"
         "window with it loaded.\n"
         "File dialogs start in the per-user folder $XDG_DATA_HOME/korvanta-tools\n"
         "(~/.local/share/korvanta-tools), where the default files live.\n"
         "\n"
         "  --protocol-log FILE  write every byte sent to and received from the\n"
         "                       instrument to FILE, for support\n"
         "  --quit-after-start   open the main menu, then end at once (a check\n"
         "                       that the program starts)\n"
         "  --report-windows     when the program ends, print the title of every\n"
         "                       window shown and the name of each data set\n"
         "  --version            show the program's version\n"
         "  -h, --help           show this text\n";
}

}  // namespace kv::desktop
