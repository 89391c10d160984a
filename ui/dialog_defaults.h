#pragma once
// The remembered folder and file name of every file dialog, set at start-up
// to the program's own folder and "default" with the kind's extension.
#include <string>

namespace kv {

struct DialogDefault {
  std::string folder;
  std::string file_name;
};

struct DialogDefaults {
  DialogDefault log, csv, config, setup, bitmap, plot_config, label;
  DialogDefault report;  // the plot window's session report (PDF)

  static DialogDefaults in_folder(const std::string& folder) {
    return {{folder, "default.kvl"}, {folder, "default.csv"}, {folder, "default.kvc"}, {folder, "default.qsu"},
            {folder, "default.bmp"}, {folder, "default.cfg"}, {folder, "default.lab"},
            {folder, "default.pdf"}};
  }
};

}  // namespace kv
