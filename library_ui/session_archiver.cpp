#include "library_ui/session_archiver.h"

#include <filesystem>

#include "library/library_messages.h"

namespace kv {

bool archive_download(LibraryAccess& access, Dataset& data, std::time_t when) {
  std::string error;
  library::SessionLibrary* lib = access.get(error);
  if (lib == nullptr) {
    access.ui().warning(library::msg::not_archived(access.folder(), error));
    return false;
  }
  const auto written = lib->archive(data, when);
  if (!written.ok) {
    access.ui().warning(written.error);  // says itself that it was not archived
    return false;
  }
  remember_library_copy(data, lib->root(), written.path);
  return true;
}

bool update_library_copy(LibraryAccess& access, Dataset& data) {
  LibraryCopy& copy = data.library_copy;
  if (copy.empty() || copy.sheet == data.sheet) return true;
  std::string error;
  auto borrowed = access.at(copy.root, error);
  const std::string file = (std::filesystem::path(copy.root) / copy.path).string();
  if (borrowed.library == nullptr) {
    access.ui().warning(library::msg::not_updated(file, error));
    return false;
  }
  const auto written = borrowed.library->update_archived(copy.path, data.sheet);
  if (!written.ok) {
    access.ui().warning(written.error);  // names the file it could not update
    return false;
  }
  copy.sheet = data.sheet;
  return true;
}

void remember_library_copy(Dataset& data, const std::string& root, const std::string& path) {
  data.library_copy = {root, path, data.sheet};
}

}  // namespace kv
