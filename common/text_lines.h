#pragma once
// Text files are written with CR LF line ends; readers also take LF alone.
#include <optional>
#include <string>
#include <vector>

namespace kv {

inline constexpr const char* kLineEnd = "\r\n";

// Splits file text into lines, dropping each line's CR LF or LF. A last line
// without an ending still counts; an empty text has no lines.
std::vector<std::string> split_lines(const std::string& text);

// Reads a whole file; nothing when it cannot be opened or read (a folder).
std::optional<std::string> read_whole_file(const std::string& path);

// Parses a decimal integer the way a strict conversion does: optional sign,
// digits, nothing else (surrounding blanks allowed). Nothing on any fault or
// on overflow of a 64-bit value.
std::optional<long long> parse_decimal(const std::string& text);

}  // namespace kv
