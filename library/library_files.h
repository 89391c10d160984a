#pragma once
// The file side of the library: placing a new file under a name nobody else
// holds, moving one aside, and listing the sessions of the folder.
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace kv::library {

// A file name with a clash suffix: "2026/2026-05-17_143012.kvl", 2 →
// "2026/2026-05-17_143012_2.kvl"; 1 leaves it as it is.
std::string with_clash_suffix(const std::string& relative, int number);

struct PlacedFile {
  std::string relative;  // where it went, when error is empty
  std::string error;     // the system's reason otherwise
};

// Writes `bytes` as a new file at `relative` under `root` (folders made as
// needed), or at its first free clash-suffixed name: the text goes to a
// temporary file that is flushed and then linked under the free name, so the
// name holds the whole file or nothing and an existing file is never
// replaced, even by another program choosing the same name.
PlacedFile place_new_file(const std::string& root, const std::string& relative, std::string_view bytes);

// Moves `from` (absolute) to `relative` under `root`, or its first free
// clash-suffixed name, never over another file.
PlacedFile move_without_replacing(const std::string& from, const std::string& root, const std::string& relative);

struct FileStamp {
  std::int64_t size = 0;
  std::int64_t mtime_ns = 0;
  bool operator==(const FileStamp&) const = default;
};
std::optional<FileStamp> file_stamp(const std::string& path);

struct FolderListing {
  std::vector<std::string> sessions;     // relative paths of the .kvl files
  std::vector<FileStamp> stamps;         // of each session, as listed
  std::vector<std::string> temporaries;  // relative paths of unfinished files
};

// Every session of the folder, skipping trash/ and names beginning with a
// dot (the index folder among them); the .kvl extension is matched exactly,
// as the load does. Folders nested deeper than kMaxListingDepth are not
// entered.
inline constexpr int kMaxListingDepth = 32;
FolderListing list_library_folder(const std::string& root);

// The system's text for the last failed call (errno).
std::string system_reason();

}  // namespace kv::library
