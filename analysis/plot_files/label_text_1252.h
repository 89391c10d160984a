#pragma once
// Windows-1252 <-> UTF-8 for label captions: files hold Windows-1252 bytes,
// the window shows UTF-8. The code page itself is the program's one table
// (logdata/windows1252.h); this adds the UTF-8 side.
#include <string>
#include <string_view>

namespace kv::plot_files {

// Every byte maps to one character, so a file's caption comes back
// byte for byte when it is written again.
std::string label_utf8_from_1252(std::string_view bytes);

// Characters Windows-1252 cannot hold, and broken UTF-8, become "?".
std::string label_1252_from_utf8(std::string_view text);

}  // namespace kv::plot_files
