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

}  // namespace kv::desktop
