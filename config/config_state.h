#pragma once
// The instrument's configuration as the program holds it: image offset N is
// instrument address 204 + N.
#include "link/protocol.h"

namespace kv {

struct ConfigState {
  ConfigBytes config_image{};
  ConfigBytes config_staging{};
  bool odometer_write_enabled = false;
  bool config_range_error = false;
};

}  // namespace kv
