#include "analysis/plot_files/plot_file_io.h"

#include <filesystem>

#include "common/atomic_file.h"
#include "common/file_dialog_flow.h"
#include "common/text_lines.h"

namespace kv::plot_files {

bool write_plot_file(Ui& ui, DialogDefault& remembered, const std::string& path, const std::string& text,
                     const std::string& already_open) {
  AtomicFile file(path);
  if (!file.open()) {
    ui.warning(already_open);
    return false;
  }
  remember_path(remembered, path);
  bool written = false;
  {
    BusyCursor busy(ui);
    file.write(text);
    written = file.commit();
  }
  if (!written) {
    ui.error(kProblemWritingFile);
    return false;
  }
  ui.information(kFileSavedOk);
  return true;
}

std::optional<std::string> read_plot_file(const std::string& path) {
  std::error_code ec;
  if (!std::filesystem::is_regular_file(path, ec)) return std::nullopt;
  return read_whole_file(path);
}

std::string not_an_integer_text(const std::string& bad_text) {
  // A junk file's first line may be megabytes long: a message box of it
  // would take seconds to appear and say nothing more.
  constexpr std::size_t kQuotedChars = 40;
  return "'" + bad_text.substr(0, kQuotedChars) + "' is not a valid integer value";
}

}  // namespace kv::plot_files
