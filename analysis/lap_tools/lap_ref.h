#pragma once
// A lap as the lap tools see it: a dataset, the samples of it that belong to
// the lap, and the lap time the instrument recorded. The two laps a tool
// compares may come from the same dataset or from A and B.
#include <cstddef>
#include <cstdint>
#include <vector>

#include "logdata/dataset.h"
#include "logdata/log_state.h"

namespace kv::lap_tools {

inline constexpr double kSamplePeriod = 0.1;  // s between samples

// Samples first … last (1-based); empty when first > last.
struct SampleRange {
  long first = 1;
  long last = 0;

  bool empty() const { return first > last; }
  long size() const { return empty() ? 0 : last - first + 1; }
  friend bool operator==(const SampleRange&, const SampleRange&) = default;
};

struct LapRef {
  const Dataset* data = nullptr;  // nothing: an empty lap
  SampleRange samples;            // the tools clamp it to 1 … sample_total(*data)
  double lap_time = 0.0;          // s as recorded; 0 when invalid or unknown
  friend bool operator==(const LapRef&, const LapRef&) = default;
};

// One lap of the lap table, with where it comes from.
struct LapEntry {
  std::uint8_t set = kDataSetA;  // kDataSetA or kDataSetB
  std::size_t record = 0;        // index into that set's lap_table
  std::uint8_t lap = 0;
  std::uint8_t session = 0;
  LapRef ref;

  double lap_time() const { return ref.lap_time; }
  friend bool operator==(const LapEntry&, const LapEntry&) = default;
};

// Samples a dataset really holds: its sample count, bounded by the length of
// its time and lap distance arrays (a failed decode can leave them apart).
long sample_total(const Dataset& data);

// `first` … `last` clamped into 1 … sample_total(data).
SampleRange clamp_range(const Dataset& data, long first, long last);
SampleRange all_samples(const Dataset& data);

// The samples whose time lies in [from, to] seconds (the visible part of a
// time axis); empty when none does.
SampleRange samples_between(const Dataset& data, double from, double to);
// The same within a lap, with times counted from the lap's first sample as
// the Lap Overlay's time axis shows them.
SampleRange lap_samples_between(const Dataset& data, SampleRange lap, double from, double to);

// The lap overlay's range of a lap record: first = Round((end_time -
// lap_time) / 0.1), last = Round((end_time - 0.1) / 0.1), halves to even,
// each raised to 0 when negative, then clamped to the dataset's samples.
SampleRange overlay_range(const Dataset& data, const LapRecord& record);

// Lap records in use: the lap count, bounded by the table's length.
std::size_t record_total(const Dataset& data);

// Record `record` of the dataset as a lap; an empty lap when there is none.
LapRef lap_ref(const Dataset& data, std::size_t record);

// Every lap of each decoded set that has lap records, A's first, each set in
// table order: the rows of the sector and statistics tables.
std::vector<LapEntry> laps_of(const LogState& log);

}  // namespace kv::lap_tools
