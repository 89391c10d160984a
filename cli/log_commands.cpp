// download, dump and convert: the download window's sequences with the file
// names taken from the command line instead of the dialogs.
#include <unistd.h>

#include <csignal>
#include <cstdio>
#include <filesystem>

#include "cli/commands.h"
#include "link/serial_state.h"
#include "logdata/csv_export.h"
#include "logdata/download_sequence.h"
#include "logdata/log_file.h"

namespace kv::cli {
namespace {

constexpr int kOk = kExitOk;
constexpr int kRefused = kExitRefused;

int usage(const char* text) {
  std::fprintf(stderr, "korvanta-cli: %s\n", text);
  return kExitUsage;
}

// A progress line on a terminal; nothing when standard error is redirected.
class TerminalProgress {
 public:
  TerminalProgress() : shown_(::isatty(STDERR_FILENO) == 1) {}
  ~TerminalProgress() {
    if (shown_ && total_ > 0) std::fputc('\n', stderr);
  }
  DownloadObserver observer() {
    DownloadObserver o;
    o.on_memory_status = [this](const MemoryStatus& m) {
      if (shown_) std::fprintf(stderr, "Memory usage %.1f%% of %d Mbits\n", m.percent_used, m.memory_size_mbit);
    };
    o.on_pages_start = [this](int pages) { total_ = pages; };
    o.on_page_done = [this] { show(++done_); };
    return o;
  }

 private:
  void show(int page) const {
    if (!shown_ || total_ <= 0) return;
    std::fprintf(stderr, "\rDownloading page %d of %d (%d%%)", page, total_, page * 100 / total_);
    std::fflush(stderr);
  }
  bool shown_;
  int total_ = 0;
  int done_ = 0;
};

// Ctrl+C during a download stops it after the page in progress and keeps
// what arrived. A signal handler can only reach a flag of static storage.
volatile std::sig_atomic_t g_interrupted = 0;

extern "C" void note_interrupt(int) { g_interrupted = 1; }

// Catches the first SIGINT while it lives; a second one ends the program as
// usual, for a line that has gone quiet for good.
class InterruptCatcher {
 public:
  InterruptCatcher() {
    g_interrupted = 0;
    struct sigaction action {};
    action.sa_handler = note_interrupt;
    action.sa_flags = SA_RESETHAND;
    sigemptyset(&action.sa_mask);
    ::sigaction(SIGINT, &action, &previous_);
  }
  ~InterruptCatcher() { ::sigaction(SIGINT, &previous_, nullptr); }
  InterruptCatcher(const InterruptCatcher&) = delete;
  InterruptCatcher& operator=(const InterruptCatcher&) = delete;

 private:
  struct sigaction previous_ {};
};

struct Session {
  LogState log;
  DialogDefaults defaults = DialogDefaults::in_folder(std::filesystem::current_path().string());
  SerialState serial;
};

int download(const Args& args, ConsoleUi& ui, bool dump) {
  const Args files = positional(args);
  if (files.size() != 1) return usage(dump ? "dump needs one output file" : "download needs one output file");
  const auto set = option_value(args, "--set").value_or("A");
  if (set != "A" && set != "B" && set != "a" && set != "b") return usage("--set takes A or B");
  const std::uint8_t which = (set == "B" || set == "b") ? kDataSetB : kDataSetA;
  const auto out = checked_output(files[0], log_file_msg::kExtension, args);
  if (!out) return kRefused;
  Session s;
  if (!open_port(s.serial, args, ui)) return kRefused;
  ui.queue_file(*out);
  DownloadResult result;
  {
    InterruptCatcher interrupt;
    TerminalProgress progress;
    DownloadObserver observer = progress.observer();
    observer.cancel_requested = [] { return g_interrupted != 0; };
    // The command line never asks: the good pages before a failed one are
    // kept only when told so.
    const auto partial = has_flag(args, "--keep-partial") ? PartialPages::Keep : PartialPages::Drop;
    result = get_log_data(s.serial.link, s.log, s.defaults, ui, which, dump, observer, partial);
  }
  // Only a download that read every page is complete; a cancelled or failed
  // one is still saved with what it kept, and ends with 1.
  const bool complete = result.outcome == LinkOutcome::Done;
  if (dump) return result.saved && complete ? kOk : kRefused;
  // A download that fails to decode, or was cut short, is still kept, so
  // nothing that arrived is lost.
  const bool saved = result.pages_read && s.log.dataset(which).memory_valid == 1 &&
                     save_log_data(s.log, s.defaults, ui);
  return saved && result.decoded && complete ? kOk : kRefused;
}

int convert(const Args& args, ConsoleUi& ui) {
  const Args files = positional(args);
  if (files.empty() || files.size() > 2) return usage("convert needs a log file and optionally a CSV file");
  std::optional<std::string> out;
  if (files.size() == 2 && !(out = checked_output(files[1], csv_text::kExtension, args))) return kRefused;
  Session s;
  ui.queue_file(files[0]);
  if (!load_log_data(s.log, s.defaults, ui)) return kRefused;
  // Without a name the CSV goes beside the log, as the window suggests.
  if (!out) {
    out = checked_output((std::filesystem::path(s.defaults.csv.folder) / s.defaults.csv.file_name).string(),
                         csv_text::kExtension, args);
    if (!out) return kRefused;
  }
  ui.queue_file(*out);
  return save_csv_data(s.log, s.defaults, ui) ? kOk : kRefused;
}

}  // namespace

std::optional<int> run_log_command(const std::string& command, const Args& args, ConsoleUi& ui) {
  if (command == "download") return download(args, ui, false);
  if (command == "dump") return download(args, ui, true);
  if (command == "convert") return convert(args, ui);
  return std::nullopt;
}

}  // namespace kv::cli
