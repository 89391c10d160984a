#pragma once
// What a log download brings back from the instrument, before any of it is
// given to a dataset: the caller decides what to keep once it knows how many
// pages arrived whole.
#include <cstdint>
#include <vector>

#include "link/unit_identity.h"

namespace kv {

struct LogDownload {
  bool accepted = false;        // the version was accepted: identity and figures below are the unit's
  bool memory_read = false;     // the 's' reply arrived: `memory` holds the unit's figures
  UnitIdentity identity;
  MemoryStatus memory;
  std::vector<std::uint8_t> image;  // every page read, the failed one included
  std::uint32_t used_bytes = 0;     // the meaningful length the unit reported
  int pages_total = 0;              // pages the download set out to read
  int pages_good = 0;               // pages from the first that passed their checksum and were kept
};

}  // namespace kv
