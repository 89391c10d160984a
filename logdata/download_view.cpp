#include "logdata/download_view.h"

#include <cmath>
#include <cstdio>

namespace kv {

MemoryFigures memory_figures(const MemoryStatus& status) {
  MemoryFigures figures;
  figures.usage_bar = static_cast<int>(std::nearbyint(status.percent_used));
  char text[32];
  std::snprintf(text, sizeof text, "%3.1f", status.percent_used);
  figures.percent_text = text;
  std::snprintf(text, sizeof text, "%d", static_cast<int>(status.memory_size_mbit));
  figures.size_text = text;
  return figures;
}

int port_item_for(std::uint8_t selected_port) {
  return selected_port >= 1 && selected_port <= 4 ? selected_port - 1 : -1;
}

std::uint8_t data_set_for_item(int combo_index) { return combo_index == 0 ? kDataSetA : kDataSetB; }

bool view_data_allowed(const LogState& log, Ui& ui) {
  const auto& a = log.dataset(kDataSetA);
  const auto& b = log.dataset(kDataSetB);
  if (a.decoded_valid == 0 && b.decoded_valid == 0) {
    ui.message(MsgKind::Information, kNoDataLoaded, kOk);
    return false;
  }
  if (a.sample_count() == 0 && b.sample_count() == 0) {
    ui.message(MsgKind::Information, kNoDataRecorded, kOk);
    return false;
  }
  return true;
}

}  // namespace kv
