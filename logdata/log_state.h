#pragma once
// The log data shared by the whole program: the dataset selector, both
// datasets, the units the plot window shows them in and the memory figures
// of the instrument on the lead.
#include <array>
#include <cstdint>

#include "logdata/dataset.h"
#include "link/unit_identity.h"

namespace kv {

constexpr std::uint8_t kDataSetA = 1;
constexpr std::uint8_t kDataSetB = 2;

struct LogState {
  std::uint8_t current_data_set = kDataSetA;
  std::array<Dataset, 2> datasets;
  // The units of the plot window's switches. A download or a load that
  // decodes sets them to its log's recorded units; the switches change them.
  HeldUnits shown_units;
  MemoryStatus memory;

  // 1 = A, 2 = B; any other number falls back to A so it can never index out.
  Dataset& dataset(std::uint8_t which) { return datasets[which == kDataSetB ? 1 : 0]; }
  const Dataset& dataset(std::uint8_t which) const { return datasets[which == kDataSetB ? 1 : 0]; }
  Dataset& current() { return dataset(current_data_set); }
  const Dataset& current() const { return dataset(current_data_set); }
};

}  // namespace kv
