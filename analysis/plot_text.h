#pragma once
// Numbers the plot window shows or writes: a "." decimal point whatever the
// desktop's locale (the C library's printf follows the locale the toolkit
// sets at start-up, so it is not used for them).
#include <string>

namespace kv::analysis {

// As "%.<decimals>f" would print in the C locale (rounded from the binary
// value, so 0.25 with one decimal gives "0.2").
std::string fixed_text(double value, int decimals);

// As "%3d" prints: right-aligned in `width` places.
std::string padded_int(int value, int width = 3);

}  // namespace kv::analysis
