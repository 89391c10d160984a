#pragma once
// Reading and writing the plot window's files once their name is chosen.
#include <optional>
#include <string>

#include "ui/dialog_defaults.h"
#include "ui/ui.h"

namespace kv::plot_files {

inline constexpr const char* kProblemWritingFile = "Problem Writing File";

// Creates the file, remembers its name, writes the text under the busy
// cursor so that a failure leaves any old file whole, and reports.
bool write_plot_file(Ui& ui, DialogDefault& remembered, const std::string& path, const std::string& text,
                     const std::string& already_open);

// A regular file's bytes; nothing for a folder or a file that cannot be read.
std::optional<std::string> read_plot_file(const std::string& path);

// The text shown for a number line that is not a whole number, quoting at
// most its first 40 characters.
std::string not_an_integer_text(const std::string& bad_text);

}  // namespace kv::plot_files
