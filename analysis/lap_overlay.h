#pragma once
// The two "Select Laps to Overlay" lists, the overlay slots they fill and the
// captions that name the chosen laps.
#include <optional>
#include <string>
#include <vector>

#include "analysis/plot_state.h"
#include "logdata/log_state.h"

namespace kv::analysis {

inline constexpr const char* kSelectLapForOverlay = "Select Lap for Overlay";

// One list item: which lap record of which dataset it stands for.
struct OverlayItem {
  std::uint8_t data_set = kDataSetA;
  std::size_t record = 0;
  std::string text;  // "Session Log: %3d  Lap: %3d  Data A"
};

// A's laps then B's, each in table order. A dataset that is not decoded
// offers none, and no more than its table holds.
std::vector<OverlayItem> overlay_items(const LogState& log);

// The slot of a picked lap; nothing when the item no longer names a record.
std::optional<LapSelection> lap_selection(const LogState& log, const OverlayItem& item);

// Fills the slots from the lists' current items (an index outside the items
// leaves the slot unchosen, its lap kept).
void fill_overlay_slots(PlotState& plot, const LogState& log, const std::vector<OverlayItem>& items,
                        const std::array<int, 2>& picked);

// The captions of one overlay slot.
struct SlotCaptions {
  std::string group;    // the line type group
  std::string heading;  // colour heading and statistics caption
};
SlotCaptions slot_captions(const PlotState& plot, int slot);

}  // namespace kv::analysis
