#include "library_ui/library_actions.h"

#include <cstdio>

#include "library_ui/session_archiver.h"
#include "logdata/log_file.h"

namespace kv {
namespace library_msg {

std::string remove_question(const std::string& path) {
  return "Move the session " + path + " to the library's trash folder?";
}

std::string imported(int added, int duplicates) {
  char text[96];
  std::snprintf(text, sizeof text, "Imported %d sessions; %d were already in the library.", added, duplicates);
  return text;
}

std::string rebuilt(int sessions) {
  char text[64];
  std::snprintf(text, sizeof text, "The library index was rebuilt: %d sessions.", sessions);
  return text;
}

std::string unreadable_list(const std::vector<library::UnreadableFile>& files) {
  std::string text = "These files could not be read:";
  for (const auto& file : files) text += "\n" + file.path + ": " + file.message;
  return text;
}

}  // namespace library_msg

namespace {

void report_unreadable(Ui& ui, const std::vector<library::UnreadableFile>& files) {
  if (!files.empty()) ui.warning(library_msg::unreadable_list(files));
}

}  // namespace

FileDialogRequest import_files_request(const std::string& folder) {
  return {"Import Sessions", "Korvanta files (*.kvl)", "kvl", folder, ""};
}

void import_into_library(library::SessionLibrary& lib, Ui& ui, const std::vector<std::string>& sources) {
  library::ImportReport report;
  {
    BusyCursor busy(ui);
    report = lib.import_paths(sources);
  }
  if (!report.error.empty()) {
    ui.warning(report.error);
    return;
  }
  ui.information(library_msg::imported(static_cast<int>(report.added.size()),
                                       static_cast<int>(report.duplicates.size())));
  auto not_taken = report.unreadable;
  not_taken.insert(not_taken.end(), report.failed.begin(), report.failed.end());
  report_unreadable(ui, not_taken);
}

bool remove_from_library(library::SessionLibrary& lib, Ui& ui, const std::string& path) {
  if (!ui.ask_yes_no(MsgKind::Confirmation, library_msg::remove_question(path))) return false;
  const auto moved = lib.remove_to_trash(path);
  if (!moved.ok) ui.warning(moved.error);
  return moved.ok;
}

void rebuild_library(library::SessionLibrary& lib, Ui& ui) {
  library::ScanReport report;
  {
    BusyCursor busy(ui);
    report = lib.rebuild();
  }
  if (!report.error.empty()) {
    ui.warning(report.error);
    return;
  }
  ui.information(library_msg::rebuilt(report.added));
  report_unreadable(ui, report.unreadable);
}

bool save_session_tags(library::SessionLibrary& lib, Ui& ui, const std::string& path,
                       const library::SessionTags& tags) {
  const auto written = lib.set_tags(path, tags);
  if (!written.ok) ui.warning(written.error);
  return written.ok;
}

bool open_library_session(LogState& log, DialogDefaults& defaults, GivenFileUi& ui, std::uint8_t which,
                          const library::SessionLibrary& lib, const std::string& path) {
  bool loaded = false;
  ui.load_given(lib.absolute_path(path), [&] {
    loaded = which == kDataSetB ? load_log_dataSetB(log, defaults, ui) : load_log_dataSetA(log, defaults, ui);
  });
  if (loaded) remember_library_copy(log.dataset(which), lib.root(), path);
  return loaded;
}

}  // namespace kv
