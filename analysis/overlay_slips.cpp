#include "analysis/overlay_slips.h"

#include "analysis/lap_tools/lap_trace.h"

namespace kv::analysis {
namespace {

lap_tools::LapTrace trace_of(const LogState& log, const LapSelection& lap, double distance_factor) {
  const Dataset& data = log.dataset(lap.set_letter == "A" ? kDataSetA : kDataSetB);
  const lap_tools::LapRef ref{&data, {lap.first_sample, lap.last_sample}, lap.lap_time};
  return lap_tools::LapTrace(ref, distance_factor, lap_tools::TraceSmoothing::light);
}

}  // namespace

OverlaySlips overlay_slips(const LogState& log, const std::vector<OverlaidLap>& laps,
                           const std::optional<LapKey>& chosen_reference, double distance_factor) {
  OverlaySlips slips;
  std::size_t drawn = 0;
  for (const OverlaidLap& lap : laps) drawn += lap.drawn() ? 1 : 0;
  if (drawn < 2) return slips;
  slips.reference = slip_reference_index(laps, chosen_reference);
  if (!slips.reference) return slips;
  const lap_tools::LapTrace reference = trace_of(log, laps[*slips.reference].lap, distance_factor);
  for (std::size_t i = 0; i < laps.size(); ++i) {
    if (i == *slips.reference || !laps[i].drawn()) continue;
    slips.curves.push_back({i, lap_tools::time_slip_curve(reference, trace_of(log, laps[i].lap, distance_factor))});
  }
  return slips;
}

const LapSlipCurve* slip_curve_of(const OverlaySlips& slips, std::size_t lap) {
  for (const LapSlipCurve& c : slips.curves) {
    if (c.lap == lap) return &c;
  }
  return nullptr;
}

}  // namespace kv::analysis
