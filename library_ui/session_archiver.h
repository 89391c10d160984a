#pragma once
// Keeping every download in the session library: the download is written
// there at once, and the copy follows later edits of the set's notes and
// set-up sheet. A library that cannot take it never costs the download: it
// stays in memory as ever, with one warning.
#include <ctime>

#include "library_ui/library_access.h"
#include "logdata/dataset.h"

namespace kv {

// Archives a dataset that a download has just filled, remembering the copy
// in the dataset. False (after one warning) when the library refused it.
bool archive_download(LibraryAccess& access, Dataset& data, std::time_t when);

// Writes the dataset's notes and set-up sheet to its library copy when they
// changed since it was last written. True when there was nothing to do or
// the copy was updated; false after a warning.
bool update_library_copy(LibraryAccess& access, Dataset& data);

// Remembers that a dataset now holds the library file `path` (relative to
// `root`), as opened from the library.
void remember_library_copy(Dataset& data, const std::string& root, const std::string& path);

}  // namespace kv
