#pragma once
// What the download window shows, worked out without the window.
#include <cstdint>
#include <string>

#include "logdata/log_state.h"
#include "ui/ui.h"

namespace kv {

struct MemoryFigures {
  int usage_bar = 0;         // percent used, nearest integer, ties to even
  std::string percent_text;  // "%3.1f"
  std::string size_text;     // "%d" Mbit
};

MemoryFigures memory_figures(const MemoryStatus& status);

// The "Serial Port" item that shows `selected_port` (1-4), or -1 for none.
int port_item_for(std::uint8_t selected_port);

// "A" (item 0) is dataset 1; anything else is dataset 2.
std::uint8_t data_set_for_item(int combo_index);

inline constexpr const char* kNoDataLoaded = "No Korvanta Data Loaded";
inline constexpr const char* kNoDataRecorded = "No Data Recorded";

// The View Data checks: some dataset decoded, and some dataset with samples.
// False after showing why the plot window cannot open.
bool view_data_allowed(const LogState& log, Ui& ui);

}  // namespace kv
