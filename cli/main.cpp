// korvanta-cli: the program's download, conversion and configuration work
// without a window, for scripts and batch jobs.
#include <QCoreApplication>
#include <cstdio>

#include "cli/commands.h"

namespace {

constexpr const char* kUsage =
    "usage:\n"
    "  korvanta-cli [--protocol-log FILE] download --port N [--set A|B] [--keep-partial] [--force] OUT.kvl\n"
    "  korvanta-cli [--protocol-log FILE] dump --port N [--keep-partial] [--force] OUT.kvl\n"
    "  korvanta-cli convert [--force] LOG.kvl [OUT.csv]\n"
    "  korvanta-cli [--protocol-log FILE] config-read --port N [--force] OUT.kvc\n"
    "  korvanta-cli [--protocol-log FILE] config-write --port N [--odometer-password WORD] IN.kvc\n"
    "  korvanta-cli library list [--library DIR] [SELECTION] [--columns NAME,...]\n"
    "  korvanta-cli library import [--library DIR] FILE.kvl|FOLDER...\n"
    "  korvanta-cli library rebuild [--library DIR]\n"
    "  korvanta-cli library export-csv [--library DIR] [SELECTION] [--force] OUT.csv\n"
    "  korvanta-cli --help | --version\n";

constexpr const char* kHelp =
    "\n"
    "Talks to a Korvanta dashboard and data logger on a serial port and works\n"
    "with its files, printing the messages the windows of korvanta-tools show.\n"
    "\n"
    "Commands:\n"
    "  download    Download the instrument's log memory into data set A or B,\n"
    "              decode it and save it as a log file. Ctrl+C stops after the\n"
    "              page in progress and saves the pages that arrived (exit 1).\n"
    "  dump        Download all 513 memory pages, whatever is in use, and save\n"
    "              them as a log file of 8-byte lines. Ctrl+C stops the same way.\n"
    "  convert     Load a log file and export it as comma-separated values;\n"
    "              without OUT.csv the export goes beside the log.\n"
    "  config-read   Read the instrument's 52 configuration bytes into a file.\n"
    "  config-write  Check a configuration file and write it to the instrument.\n"
    "  library list        Print the sessions of the session library, one line\n"
    "                      each, tab-separated, after a line of column names.\n"
    "  library import      Copy log files, and the log files of folders and their\n"
    "                      subfolders, into the library; a file whose content is\n"
    "                      there already is not added again, an unreadable file\n"
    "                      is named with its message (exit 1) and the rest go on.\n"
    "  library rebuild     Make this machine's index again from the library's\n"
    "                      files; nothing is lost, the tags live in the files.\n"
    "  library export-csv  Write the chosen sessions with every column, the 65\n"
    "                      set-up fields included, as comma-separated values.\n"
    "\n"
    "Options:\n"
    "  --port N        the COM port, 1 to 4 (COM n is the first of\n"
    "                  $XDG_RUNTIME_DIR/korvanta/COMn, /dev/ttyUSB<n-1>,\n"
    "                  /dev/ttyACM<n-1>, /dev/ttyS<n-1> that exists)\n"
    "  --set A|B       the data set a download goes into (default A)\n"
    "  --force         replace an output file that exists already; without it\n"
    "                  such a file is refused before the port is opened\n"
    "  --keep-partial  download, dump: when a page fails its checksum or never\n"
    "                  comes, save the good pages before it (a log cut back to\n"
    "                  its last whole packet) instead of nothing (exit 1)\n"
    "  --odometer-password WORD\n"
    "                  also write the odometer, after the password is accepted\n"
    "  --protocol-log FILE\n"
    "                  write every byte sent and received to FILE, one line a\n"
    "                  byte, with a line where each exchange starts and ends\n"
    "  --library DIR   the session library folder (default: library in the\n"
    "                  program's own folder, $XDG_DATA_HOME/korvanta-tools or\n"
    "                  ~/.local/share/korvanta-tools); each machine keeps its\n"
    "                  index in DIR/.index/HOST.sqlite3\n"
    "  SELECTION       --track NAME, --car NAME, --driver NAME (whole tag, any\n"
    "                  letter case), --text WORD (in the notes or free tags),\n"
    "                  --from YYYY-MM-DD, --to YYYY-MM-DD (both days included),\n"
    "                  --sort COLUMN [--descending] (default: time)\n"
    "  --columns NAME,...\n"
    "                  library list: the columns to print (default\n"
    "                  time,track,car,driver,fastest,theoretical,laps,file); names:\n"
    "                  time track car driver tags fastest theoretical\n"
    "                  fastest-session fastest-lap average-speed sessions laps\n"
    "                  samples pages version pulses-per-mile units notes file hash\n"
    "                  state setup1 ... setup65\n"
    "  --version       show the program's version\n"
    "  -h, --help      show this text\n"
    "\n"
    "Exit status: 0 when everything succeeded, 1 when something was refused,\n"
    "failed or cancelled, 2 for a command line that is not understood.\n";

int usage_error() {
  std::fputs(kUsage, stderr);
  return kv::cli::kExitUsage;
}

}  // namespace

int main(int argc, char** argv) {
  QCoreApplication app(argc, argv);
  kv::cli::Args args(argv + 1, argv + argc);
  if (kv::cli::has_flag(args, "--help") || kv::cli::has_flag(args, "-h")) {
    std::fputs(kUsage, stdout);
    std::fputs(kHelp, stdout);
    return kv::cli::kExitOk;
  }
  if (kv::cli::has_flag(args, "--version")) {
    std::puts("korvanta-cli " KV_VERSION);
    return kv::cli::kExitOk;
  }
  if (const auto unknown = kv::cli::unknown_option(args)) {
    std::fprintf(stderr, "korvanta-cli: unknown option %s\n", unknown->c_str());
    return usage_error();
  }
  const auto command = kv::cli::take_command(args);
  if (!command) return usage_error();
  kv::ConsoleUi ui;
  if (auto code = kv::cli::run_log_command(*command, args, ui)) return *code;
  if (auto code = kv::cli::run_config_command(*command, args, ui)) return *code;
  if (auto code = kv::cli::run_library_command(*command, args)) return *code;
  return usage_error();
}
