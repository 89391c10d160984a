#pragma once
// The fixed texts of the about and help windows, one entry per memo line.
#include <string>
#include <vector>

namespace kv {

using TextLines = std::vector<std::string>;

const TextLines& about_text();
const TextLines& download_help_text();
const TextLines& configure_help_text();
const TextLines& calculator_help_text();

// "Korvanta Tools Version 1.21"
std::string version_text();

}  // namespace kv
