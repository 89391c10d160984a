#pragma once
// The log data shared by the whole program: the dataset selector, both
// datasets, the shared used-byte count, unit identity and memory figures.
#include <array>
#include <cstdint>

#include "logdata/dataset.h"
#include "logdata/unit_identity.h"

namespace kv {

constexpr std::uint8_t kDataSetA = 1;
constexpr std::uint8_t kDataSetB = 2;

struct LogState {
  std::uint8_t current_data_set = kDataSetA;
  std::array<Dataset, 2> datasets;
  // Shared by both datasets: the meaningful length of the image last
  // downloaded or loaded, whichever dataset it went to.
  std::uint32_t used_bytes = 0;
  UnitIdentity identity;
  MemoryStatus memory;

  // 1 = A, 2 = B; any other number falls back to A so it can never index out.
  Dataset& dataset(std::uint8_t which) { return datasets[which == kDataSetB ? 1 : 0]; }
  const Dataset& dataset(std::uint8_t which) const { return datasets[which == kDataSetB ? 1 : 0]; }
  Dataset& current() { return dataset(current_data_set); }
  const Dataset& current() const { return dataset(current_data_set); }
};

}  // namespace kv
