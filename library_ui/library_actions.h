#pragma once
// What the library window's buttons do, without the window: each takes the
// library and the Ui, does the work through the library and tells the
// person the outcome.
#include <cstdint>
#include <string>
#include <vector>

#include "library/session_library.h"
#include "logdata/log_state.h"
#include "ui/dialog_defaults.h"
#include "ui/given_file_ui.h"

namespace kv {

namespace library_msg {
// "Move the session %s to the library's trash folder?"
std::string remove_question(const std::string& path);
// "Imported %d sessions; %d were already in the library."
std::string imported(int added, int duplicates);
// "The library index was rebuilt: %d sessions."
std::string rebuilt(int sessions);
// The files that fail the log file's checks, one line each: "path: message".
std::string unreadable_list(const std::vector<library::UnreadableFile>& files);
}  // namespace library_msg

// The open dialog of "Import Files", from `folder` on: any number of log
// files at once.
FileDialogRequest import_files_request(const std::string& folder);

// Imports files or folders and reports what came in and what did not.
void import_into_library(library::SessionLibrary& lib, Ui& ui, const std::vector<std::string>& sources);

// Asks first; Yes moves the session into the library's trash folder. True
// when it was moved.
bool remove_from_library(library::SessionLibrary& lib, Ui& ui, const std::string& path);

// Reads the whole folder again and reports the unreadable files.
void rebuild_library(library::SessionLibrary& lib, Ui& ui);

// Writes the tags into the session's file. True when written.
bool save_session_tags(library::SessionLibrary& lib, Ui& ui, const std::string& path, const library::SessionTags& tags);

// Loads the library file `path` into dataset `which` exactly as the download
// window's Load button would load it, with its checks and messages, and
// remembers it as the set's library copy. True when it loaded and decoded.
bool open_library_session(LogState& log, DialogDefaults& defaults, GivenFileUi& ui, std::uint8_t which,
                          const library::SessionLibrary& lib, const std::string& path);

}  // namespace kv
