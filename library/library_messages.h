#pragma once
// The texts the library hands back to its callers, who show them once (a
// message box in the window, a line on stderr in korvanta-cli).
#include <string>

namespace kv::library::msg {

// "The session library's index at %s failed its check and was moved aside to
// %s; it has been rebuilt from the library folder."
std::string index_rebuilt(const std::string& index, const std::string& moved_to);
// "The session library at %s is in use by another program; try again when it
// has finished."
std::string library_busy(const std::string& root);
// "The session library at %s cannot be opened: %s"
std::string cannot_open(const std::string& root, const std::string& reason);
// "The download was not archived in the session library (%s): %s"
std::string not_archived(const std::string& root, const std::string& reason);
// "The archived file %s could not be updated: %s"
std::string not_updated(const std::string& path, const std::string& reason);
// "%s is not in the session library"
std::string not_in_library(const std::string& path);

}  // namespace kv::library::msg
