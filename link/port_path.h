#pragma once
// Where COM n lives on this system.
#include <sys/types.h>

#include <optional>
#include <string>
#include <vector>

namespace kv {

// The folder in which the emulator makes its COMn links:
// $XDG_RUNTIME_DIR/korvanta, or /tmp/korvanta-<uid> when that is unset.
std::string emulator_link_folder();

// The device paths tried for COM n, in order.
std::vector<std::string> port_path_candidates(int port_number);

// Why `folder` cannot be trusted to hold links for user `owner`: it must be a
// real folder (not a link) of that user that no group or other may write
// into, or anyone could plant a port there. Nothing when it is sound.
std::optional<std::string> link_folder_problem(const std::string& folder, uid_t owner);
// The same for the entry COMn inside it: a symbolic link of that user.
std::optional<std::string> link_entry_problem(const std::string& entry, uid_t owner);

struct PortDevice {
  std::string path;
  // Set when the link folder held an entry for this port that was skipped,
  // naming the folder and why.
  std::string warning;
};

// The first candidate that exists and can be trusted; the first device
// candidate that may be trusted when none exists (so the open fails with a
// name the user can recognise).
PortDevice find_port_device(int port_number);
std::string port_device_path(int port_number);

}  // namespace kv
