#include "library_ui/library_access.h"

namespace kv {

std::unique_ptr<library::SessionLibrary> LibraryAccess::open(const std::string& root, std::string& error) {
  auto opened = library::SessionLibrary::open({.root = root});
  for (const auto& notice : opened.notices) ui_.information(notice);
  if (!opened.library) error = opened.error;
  return std::move(opened.library);
}

library::SessionLibrary* LibraryAccess::get(std::string& error) {
  if (library_ && opened_folder_ == folder_) return library_.get();
  library_ = open(folder_, error);
  opened_folder_ = library_ ? folder_ : std::string();
  return library_.get();
}

LibraryAccess::Borrowed LibraryAccess::at(const std::string& root, std::string& error) {
  Borrowed borrowed;
  if (root == folder_) {
    borrowed.library = get(error);
    return borrowed;
  }
  borrowed.owned = open(root, error);
  borrowed.library = borrowed.owned.get();
  return borrowed;
}

}  // namespace kv
