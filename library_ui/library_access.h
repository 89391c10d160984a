#pragma once
// The session library of the folder the program state names, opened at its
// first use and kept open for the run; opened again when the folder changes.
// The index's own notices (a rebuilt index) are shown once, at the opening.
//
// Listing and stat'ing every file of a large library is most of what opening
// it costs, so the window may show the index's rows at once and leave that
// check of the folder to a worker thread. The worker only lists the folder;
// the index is touched on the caller's thread alone, and get() waits for a
// check still running before anything is done to the library.
#include <future>
#include <memory>
#include <optional>
#include <string>

#include "library/session_library.h"
#include "ui/ui.h"

namespace kv {

class LibraryAccess {
 public:
  LibraryAccess(const std::string& folder, Ui& ui) : folder_(folder), ui_(ui) {}
  ~LibraryAccess();  // waits for a check still listing the folder
  LibraryAccess(const LibraryAccess&) = delete;
  LibraryAccess& operator=(const LibraryAccess&) = delete;

  // The library in step with its folder, or null with `error` saying why it
  // cannot be opened.
  library::SessionLibrary* get(std::string& error);
  // The library as its index stands, for showing at once; a first opening
  // begins the check of the folder on a worker thread (see finish_check()).
  library::SessionLibrary* get_as_indexed(std::string& error);

  // A check of the folder is begun and not yet applied.
  bool checking() const { return listing_.valid(); }
  // Applies the check once its listing is there (waiting for it when
  // `wait`): whether it changed the index. Nothing when no check is pending
  // or it is still listing. Its failure (a busy index) is shown once.
  std::optional<bool> finish_check(bool wait);

  // The library at another folder than the current one (a set archived
  // before the folder changed); opened for this use only when it differs.
  struct Borrowed {
    library::SessionLibrary* library = nullptr;
    std::unique_ptr<library::SessionLibrary> owned;
  };
  Borrowed at(const std::string& root, std::string& error);

  const std::string& folder() const { return folder_; }
  Ui& ui() { return ui_; }

 private:
  std::unique_ptr<library::SessionLibrary> open(const std::string& root, bool sync_at_open, std::string& error);
  void open_current(bool check_later, std::string& error);
  void begin_check();

  const std::string& folder_;
  Ui& ui_;
  std::unique_ptr<library::SessionLibrary> library_;
  std::string opened_folder_;
  std::future<library::FolderListing> listing_;
};

}  // namespace kv
