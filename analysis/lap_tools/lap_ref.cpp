#include "analysis/lap_tools/lap_ref.h"

#include <algorithm>
#include <cmath>
#include <limits>

#include "logdata/sample_time.h"

namespace kv::lap_tools {
long sample_total(const Dataset& data) {
  return std::max(0L, std::min({data.sample_count(), data.ch_time.NrOfElem(), data.ch_lap_odo.NrOfElem()}));
}

SampleRange clamp_range(const Dataset& data, long first, long last) {
  const long total = sample_total(data);
  if (total == 0) return {};
  return {std::max(first, 1L), std::min(last, total)};
}

SampleRange all_samples(const Dataset& data) { return clamp_range(data, 1, sample_total(data)); }

SampleRange samples_between(const Dataset& data, double from, double to) {
  const SampleRange all = all_samples(data);
  if (all.empty() || !(from <= to)) return {};
  // Sample times rise with the sample number, so both ends are a search away.
  const double* times = data.ch_time.data();
  const double* begin = times + (all.first - 1);
  const double* end = times + all.last;
  const double* low = std::lower_bound(begin, end, from);
  const double* high = std::upper_bound(low, end, to);
  return {static_cast<long>(low - times) + 1, static_cast<long>(high - times)};
}

SampleRange lap_samples_between(const Dataset& data, SampleRange lap, double from, double to) {
  const SampleRange inside = clamp_range(data, lap.first, lap.last);
  if (inside.empty()) return {};
  const double offset = data.ch_time.get(inside.first);
  const SampleRange r = samples_between(data, from + offset, to + offset);
  return {std::max(r.first, inside.first), std::min(r.last, inside.last)};
}

SampleRange overlay_range(const Dataset& data, const LapRecord& record) {
  // The lap overlay's own ends: the lap tools cover the samples it draws.
  return clamp_range(data, lap_first_sample(record), lap_last_sample(record));
}

std::size_t record_total(const Dataset& data) {
  return std::min(static_cast<std::size_t>(std::max(data.lap_count(), 0L)), data.lap_table.size());
}

LapRef lap_ref(const Dataset& data, std::size_t record) {
  if (record >= record_total(data)) return {&data, {}, 0.0};
  const LapRecord& r = data.lap_table[record];
  const double lap_time = std::isfinite(r.lap_time) && r.lap_time > 0 ? r.lap_time : 0.0;
  return {&data, overlay_range(data, r), lap_time};
}

std::vector<LapEntry> laps_of(const LogState& log) {
  std::vector<LapEntry> laps;
  for (const std::uint8_t set : {kDataSetA, kDataSetB}) {
    const Dataset& data = log.dataset(set);
    if (data.decoded_valid == 0) continue;
    for (std::size_t r = 0; r < record_total(data); ++r) {
      const LapRecord& rec = data.lap_table[r];
      laps.push_back({set, r, rec.lap, rec.session, lap_ref(data, r)});
    }
  }
  return laps;
}

}  // namespace kv::lap_tools
