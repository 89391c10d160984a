#pragma once
// The session library of the folder the program state names, opened at its
// first use and kept open for the run; opened again when the folder changes.
// The index's own notices (a rebuilt index) are shown once, at the opening.
#include <memory>
#include <string>

#include "library/session_library.h"
#include "ui/ui.h"

namespace kv {

class LibraryAccess {
 public:
  LibraryAccess(const std::string& folder, Ui& ui) : folder_(folder), ui_(ui) {}

  // The library, or null with `error` saying why it cannot be opened.
  library::SessionLibrary* get(std::string& error);
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
  std::unique_ptr<library::SessionLibrary> open(const std::string& root, std::string& error);

  const std::string& folder_;
  Ui& ui_;
  std::unique_ptr<library::SessionLibrary> library_;
  std::string opened_folder_;
};

}  // namespace kv
