#include "library/library_messages.h"

namespace kv::library::msg {

std::string index_rebuilt(const std::string& index, const std::string& moved_to) {
  return "The session library's index at " + index + " failed its check and was moved aside to " + moved_to +
         "; it has been rebuilt from the library folder.";
}

std::string library_busy(const std::string& root) {
  return "The session library at " + root + " is in use by another program; try again when it has finished.";
}

std::string cannot_open(const std::string& root, const std::string& reason) {
  return "The session library at " + root + " cannot be opened: " + reason;
}

std::string not_archived(const std::string& root, const std::string& reason) {
  return "The download was not archived in the session library (" + root + "): " + reason;
}

std::string not_updated(const std::string& path, const std::string& reason) {
  return "The archived file " + path + " could not be updated: " + reason;
}

std::string not_in_library(const std::string& path) { return path + " is not in the session library"; }

}  // namespace kv::library::msg
