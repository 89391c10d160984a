// download, dump and convert: the download window's sequences with the file
// names taken from the command line instead of the dialogs.
#include <unistd.h>

#include <cstdio>
#include <filesystem>

#include "cli/commands.h"
#include "link/serial_state.h"
#include "logdata/csv_export.h"
#include "logdata/download_sequence.h"
#include "logdata/log_file.h"

namespace kv::cli {
namespace {

constexpr int kOk = 0;
constexpr int kRefused = 1;
constexpr int kUsage = 2;

int usage(const char* text) {
  std::fprintf(stderr, "korvanta-cli: %s\n", text);
  return kUsage;
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

struct Session {
  LogState log;
  DialogDefaults defaults = DialogDefaults::in_folder(std::filesystem::current_path().string());
  SerialState serial;
};

bool open_port(Session& s, const Args& args, ConsoleUi& ui) {
  const auto port = port_option(args, ui);
  // The radio group's item index of COM n is n - 1.
  return port && select_port(s.serial, *port - 1, ui);
}

int download(const Args& args, ConsoleUi& ui, bool dump) {
  const Args files = positional(args);
  if (files.size() != 1) return usage(dump ? "dump needs one output file" : "download needs one output file");
  const auto set = option_value(args, "--set").value_or("A");
  if (set != "A" && set != "B" && set != "a" && set != "b") return usage("--set takes A or B");
  const std::uint8_t which = (set == "B" || set == "b") ? kDataSetB : kDataSetA;
  Session s;
  if (!open_port(s, args, ui)) return kRefused;
  ui.queue_file(files[0]);
  DownloadResult result;
  {
    TerminalProgress progress;
    result = get_log_data(s.serial.link, s.log, s.defaults, ui, which, dump, progress.observer());
  }
  if (dump) return result.saved ? kOk : kRefused;
  // A download that fails to decode is still kept, so nothing is lost.
  const bool saved = result.pages_read && s.log.dataset(which).memory_valid == 1 &&
                     save_log_data(s.log, s.defaults, ui);
  return saved && result.decoded ? kOk : kRefused;
}

int convert(const Args& args, ConsoleUi& ui) {
  const Args files = positional(args);
  if (files.empty() || files.size() > 2) return usage("convert needs a log file and optionally a CSV file");
  Session s;
  ui.queue_file(files[0]);
  if (!load_log_data(s.log, s.defaults, ui)) return kRefused;
  // Without a name the CSV goes beside the log, as the window suggests.
  ui.queue_file(files.size() == 2 ? files[1]
                                  : (std::filesystem::path(s.defaults.csv.folder) / s.defaults.csv.file_name).string());
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
