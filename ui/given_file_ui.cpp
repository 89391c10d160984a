#include "ui/given_file_ui.h"

namespace kv {

std::optional<std::string> GivenFileUi::open_file(const FileDialogRequest& request) {
  if (!given_) return person_.open_file(request);
  std::optional<std::string> path;
  path.swap(given_);
  return path;
}

}  // namespace kv
