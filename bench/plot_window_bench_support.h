#pragma once
// What the plot window's benchmarks share: datasets decoded from a full
// generated memory, and a main that runs the benchmarks with a QApplication.
#include <cstdint>
#include <functional>
#include <memory>

#include "analysis/plot_window.h"
#include "app/program_state.h"
#include "logdata/log_state.h"
#include "ui/scripted_ui.h"

namespace kv::bench {

// Dataset `which` of `log` decoded from a full memory (2048 pages, about
// 61,000 samples) of three sessions, named "Memory A" or "Memory B".
void decode_full_memory(LogState& log, std::uint8_t which, unsigned seed);

// The program's state with both datasets decoded from full memories (A from
// seed 1, B from seed 2) and a plot window on them, not yet shown.
struct PlotWindowBench {
  PlotWindowBench();

  ScriptedUi ui;
  ProgramState state;
  std::unique_ptr<TForm10> form;
};

// Runs the registered benchmarks offscreen (unless QT_QPA_PLATFORM says
// otherwise); `before_exit` drops the windows while the application lives.
int run_window_benchmarks(int argc, char** argv, const std::function<void()>& before_exit);

}  // namespace kv::bench
