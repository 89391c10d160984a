#pragma once
// Where COM n lives on this system.
#include <string>
#include <vector>

namespace kv {

// The folder in which the emulator makes its COMn links:
// $XDG_RUNTIME_DIR/korvanta, or /tmp/korvanta-<uid> when that is unset.
std::string emulator_link_folder();

// The device paths tried for COM n, in order.
std::vector<std::string> port_path_candidates(int port_number);

// The first candidate that exists, or the first candidate when none does (so
// the open fails with a name the user can recognise).
std::string port_device_path(int port_number);

}  // namespace kv
