#pragma once
// The folder that stands for "the program's own folder" on a Linux desktop,
// where the program file itself lies in a shared, read-only place: every
// file dialog starts there and the default names (default.cfg, default.lab
// and the others) live there.
#include <filesystem>
#include <string>

namespace kv::desktop {

// $XDG_DATA_HOME/korvanta-tools, or ~/.local/share/korvanta-tools when
// XDG_DATA_HOME is unset, empty or not absolute. Empty when there is no home
// folder to put it in.
std::string user_folder_path();

// The per-user folder, created (with its parents) when missing; `fallback`
// when it cannot be made or is not a folder.
std::string user_program_folder(const std::string& fallback);

// Where the session library keeps its files unless the user chooses another
// folder: "library" in the program's own folder.
inline std::string default_library_folder(const std::string& program_folder) {
  return (std::filesystem::path(program_folder) / "library").string();
}

// The small text file in the program's own folder that remembers the library
// folder the user chose, from one run to the next.
std::string library_folder_file(const std::string& program_folder);

// The remembered library folder. The file may have been edited, truncated or
// left by another machine, so anything but one absolute path of an existing
// folder (a missing, empty or over-long file included) gives the default
// library folder, quietly.
std::string remembered_library_folder(const std::string& program_folder);

// At start-up: the remembered folder into `library_folder`, and the file
// that remembers the next choice into `memo_file`.
void recall_library_folder(const std::string& program_folder, std::string& library_folder, std::string& memo_file);

// Remembers `folder` for the next run (written whole or not at all). False
// when the file cannot be written.
bool remember_library_folder(const std::string& file, const std::string& folder);

}  // namespace kv::desktop
