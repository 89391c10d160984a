// korvanta-emulator: an emulated instrument on a pseudo-terminal, linked as a
// COM port the program can open, with a generated multi-session log in memory.
#include <csignal>
#include <cstdio>
#include <cstdlib>
#include <string>

#include "emulator/emulator.h"
#include "emulator/demo_log.h"

namespace {

volatile std::sig_atomic_t g_stop = 0;
void on_signal(int) { g_stop = 1; }

struct Options {
  int port = 1;
  int pages = 64;
  int baud = 0;
  unsigned seed = 1;
};

constexpr const char* kUsage =
    "usage: korvanta-emulator [--port 1-4] [--pages 1-2048] [--baud N] [--seed N]\n"
    "       korvanta-emulator --help | --version\n";

constexpr const char* kHelp =
    "\n"
    "Stands in for a Korvanta instrument: creates a pseudo-terminal, links it as\n"
    "COM n ($XDG_RUNTIME_DIR/korvanta/COMn, or /tmp/korvanta-<uid>/COMn when\n"
    "XDG_RUNTIME_DIR is unset), fills the log memory with a generated log of\n"
    "several sessions on a circuit of a few kilometres, and answers the\n"
    "instrument's protocol until Ctrl+C or SIGTERM.\n"
    "\n"
    "  --port N     the COM port to appear as, 1 to 4 (default 1)\n"
    "  --pages N    memory pages of log to generate, 1 to 2048 (default 64)\n"
    "  --baud N     pace every byte at N baud, as a real line would (115200 is\n"
    "               the instrument's); 0, the default, answers at once\n"
    "  --seed N     the seed of the generated log (default 1): the same seed\n"
    "               gives the same log\n"
    "  --version    show the program's version\n"
    "  -h, --help   show this text\n";

bool wants(int argc, char** argv, const char* flag) {
  for (int i = 1; i < argc; ++i) {
    if (std::string(argv[i]) == flag) return true;
  }
  return false;
}

bool parse(int argc, char** argv, Options& options) {
  for (int i = 1; i + 1 < argc; i += 2) {
    const std::string name = argv[i];
    const int value = std::atoi(argv[i + 1]);
    if (name == "--port") options.port = value;
    else if (name == "--pages") options.pages = value;
    else if (name == "--baud") options.baud = value;
    else if (name == "--seed") options.seed = static_cast<unsigned>(value);
    else return false;
  }
  return (argc % 2) == 1 && options.port >= 1 && options.port <= 4 && options.pages >= 1 && options.pages <= 2048;
}

}  // namespace

int main(int argc, char** argv) {
  if (wants(argc, argv, "--version")) {
    std::puts("korvanta-emulator " KV_VERSION);
    return 0;
  }
  if (wants(argc, argv, "--help") || wants(argc, argv, "-h")) {
    std::fputs(kUsage, stdout);
    std::fputs(kHelp, stdout);
    return 0;
  }
  Options options;
  if (!parse(argc, argv, options)) {
    std::fputs(kUsage, stderr);
    return 2;
  }
  kv::emu::Instrument instrument;
  instrument.pacing_baud = options.baud;
  kv::emu::load_generated_log(instrument, options.pages, options.seed);
  kv::emu::Emulator emulator(instrument);
  if (!emulator.link_as_com(options.port)) {
    const std::string reason = emulator.link_error();
    if (reason.empty()) std::perror("korvanta-emulator: cannot create the pseudo-terminal link");
    else std::fprintf(stderr, "korvanta-emulator: cannot create the pseudo-terminal link in %s\n", reason.c_str());
    return 1;
  }
  const auto loaded = emulator.instrument();
  std::printf("korvanta-emulator: instrument version %d.%02d on COM%d (%s)\n", loaded.version_major,
              loaded.version_minor, options.port, emulator.device_path().c_str());
  std::printf("korvanta-emulator: %u of %u pages used, %u bytes in the last page; pacing %s\n",
              loaded.memory.used_pages, loaded.memory.total_pages, loaded.memory.tail_count,
              options.baud > 0 ? std::to_string(options.baud).append(" baud").c_str() : "off");
  std::fflush(stdout);
  std::signal(SIGINT, on_signal);
  std::signal(SIGTERM, on_signal);
  emulator.serve([] { return g_stop == 0; });
  std::puts("korvanta-emulator: stopped");
  return 0;
}
