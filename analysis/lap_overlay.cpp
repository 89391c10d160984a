#include "analysis/lap_overlay.h"

#include <algorithm>

#include "analysis/plot_text.h"
#include "logdata/sample_time.h"

namespace kv::analysis {
namespace {

std::size_t records_of(const Dataset& data) {
  if (data.decoded_valid != 1) return 0;
  return std::min(static_cast<std::size_t>(std::max(data.lap_count(), 0L)), data.lap_table.size());
}

const char* letter_of(std::uint8_t data_set) { return data_set == kDataSetA ? "A" : "B"; }

}  // namespace

std::vector<OverlayItem> overlay_items(const LogState& log) {
  std::vector<OverlayItem> items;
  for (const std::uint8_t set : {kDataSetA, kDataSetB}) {
    const Dataset& data = log.dataset(set);
    for (std::size_t r = 0; r < records_of(data); ++r) {
      const LapRecord& rec = data.lap_table[r];
      items.push_back({set, r,
                       "Session Log: " + padded_int(rec.session) + "  Lap: " + padded_int(rec.lap) + "  Data " +
                           letter_of(set)});
    }
  }
  return items;
}

std::optional<LapSelection> lap_selection(const LogState& log, const OverlayItem& item) {
  const Dataset& data = log.dataset(item.data_set);
  if (item.record >= records_of(data)) return std::nullopt;
  const LapRecord& r = data.lap_table[item.record];
  LapSelection lap;
  lap.first_sample = lap_first_sample(r);
  lap.last_sample = lap_last_sample(r);
  lap.lap = r.lap;
  lap.session = r.session;
  lap.set_letter = letter_of(item.data_set);
  lap.lap_time = r.lap_time;
  return lap;
}

void fill_overlay_slots(PlotState& plot, const LogState& log, const std::vector<OverlayItem>& items,
                        const std::array<int, 2>& picked) {
  for (std::size_t s = 0; s < plot.overlay.size(); ++s) {
    OverlaySlot& slot = plot.overlay[s];
    const int index = picked[s];
    const bool named = index >= 0 && static_cast<std::size_t>(index) < items.size();
    const std::optional<LapSelection> lap = named ? lap_selection(log, items[static_cast<std::size_t>(index)])
                                                  : std::nullopt;
    slot.chosen = lap.has_value();
    if (lap) slot.lap = *lap;
  }
}

SlotCaptions slot_captions(const PlotState& plot, int slot) {
  const OverlaySlot& s = plot.overlay[slot == 2 ? 1 : 0];
  if (!s.chosen) return {"No Lap Selected", "No Lap"};
  const std::string number = std::to_string(slot == 2 ? 2 : 1);
  return {"Sel " + number + " = Log:" + std::to_string(s.lap.session) + " Lap:" + std::to_string(s.lap.lap) +
              " Data:" + s.lap.set_letter,
          "Selection " + number};
}

}  // namespace kv::analysis
