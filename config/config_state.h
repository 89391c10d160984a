#pragma once
// The instrument's configuration as the program holds it: image offset N is
// instrument address 204 + N.
#include "link/protocol.h"

namespace kv {

inline constexpr int kDefaultGearCount = 6;

struct ConfigState {
  ConfigBytes config_image{};
  ConfigBytes config_staging{};
  bool odometer_write_enabled = false;
  // Set by every failing field check; only a full check clears it.
  bool config_range_error = false;
  // The number of forward gears the window last accepted (2-6); gear fields
  // above it are not in use.
  int gear_count = kDefaultGearCount;
};

}  // namespace kv
