#pragma once
// How much of a dataset's image is meaningful. The program keeps one shared
// used-byte count; each dataset also remembers the count its own image came
// with, so a later download or load into the other dataset cannot change how
// much of this image is decoded or saved.
#include <cstdint>

#include "logdata/log_state.h"

namespace kv {

// The used-byte count that belongs to a dataset's image: its own, recorded by
// the download or load that filled it, while the image is still that one;
// otherwise the shared count.
inline std::uint32_t image_used_bytes(const LogState& log, const Dataset& data) {
  if (data.own_length && data.own_length->image_size == data.raw_memory.size()) return data.own_length->used_bytes;
  return log.used_bytes;
}

// Records the shared count as the image's own, right after a download or load.
inline void remember_used_bytes(const LogState& log, Dataset& data) {
  data.own_length = Dataset::OwnLength{log.used_bytes, data.raw_memory.size()};
}

}  // namespace kv
