#include "link/port_path.h"

#include <sys/stat.h>
#include <unistd.h>

#include <cstdlib>

namespace kv {

std::string emulator_link_folder() {
  const char* runtime = std::getenv("XDG_RUNTIME_DIR");
  if (runtime != nullptr && runtime[0] != '\0') return std::string(runtime) + "/korvanta";
  return "/tmp/korvanta-" + std::to_string(::getuid());
}

std::vector<std::string> port_path_candidates(int port_number) {
  const std::string index = std::to_string(port_number - 1);
  return {
      emulator_link_folder() + "/COM" + std::to_string(port_number),
      "/dev/ttyUSB" + index,
      "/dev/ttyACM" + index,
      "/dev/ttyS" + index,
  };
}

std::string port_device_path(int port_number) {
  const auto candidates = port_path_candidates(port_number);
  for (const auto& path : candidates) {
    struct stat info {};
    if (::stat(path.c_str(), &info) == 0) return path;
  }
  return candidates.front();
}

}  // namespace kv
