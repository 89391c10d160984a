#pragma once
// Everything program-wide, created once at start-up and handed to the windows.
// Plain functions take only the piece they work on.
#include <string>

#include "config/config_state.h"
#include "desktop/user_folder.h"
#include "link/serial_state.h"
#include "logdata/log_state.h"
#include "ui/dialog_defaults.h"

namespace kv {

struct ProgramState {
  explicit ProgramState(const std::string& program_folder)
      : dialogs(DialogDefaults::in_folder(program_folder)),
        library_folder(desktop::default_library_folder(program_folder)) {}

  LogState log;
  SerialState serial;
  ConfigState config;
  DialogDefaults dialogs;
  bool distance_in_feet = false;  // the plot window's distance unit
  // The session library's folder; the library window may choose another,
  // which is remembered in `library_folder_file` for the next run (the start
  // reads both, see desktop::recall_library_folder; empty: not remembered).
  std::string library_folder;
  std::string library_folder_file;
};

}  // namespace kv
