#pragma once
// The lap table's rule for the fastest lap, shared by the tools that name it.
#include <cstddef>
#include <optional>
#include <span>

namespace kv::lap_tools {

// Index of the fastest of `lap_times`: the lowest valid time, a tie keeping
// the earlier lap. A time of 0 (or anything not above 0) is invalid and never
// fastest, unless no lap has a valid time: then the first lap is, as in the
// lap table. Nothing for no laps.
std::optional<std::size_t> fastest_lap(std::span<const double> lap_times);

}  // namespace kv::lap_tools
