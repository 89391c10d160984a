#include "bench/plot_window_bench_support.h"

#include <benchmark/benchmark.h>

#include <QApplication>

#include "emulator/generated_download.h"

namespace kv::bench {

void decode_full_memory(LogState& log, std::uint8_t which, unsigned seed) {
  log.current_data_set = which;
  emu::decode_download(log, emu::generate_log({.pages = emu::kFullMemoryPages, .sessions = 3, .seed = seed}));
  log.current().name_text = which == kDataSetA ? "Memory A" : "Memory B";
}

PlotWindowBench::PlotWindowBench() : state(".") {
  decode_full_memory(state.log, kDataSetA, 1);
  decode_full_memory(state.log, kDataSetB, 2);
  form = std::make_unique<TForm10>(
      PlotWindowState{state.log, state.dialogs, state.distance_in_feet, state.config}, ui);
}

int run_window_benchmarks(int argc, char** argv, const std::function<void()>& before_exit) {
  if (qgetenv("QT_QPA_PLATFORM").isEmpty()) qputenv("QT_QPA_PLATFORM", "offscreen");
  QApplication app(argc, argv);
  benchmark::Initialize(&argc, argv);
  benchmark::RunSpecifiedBenchmarks();
  benchmark::Shutdown();
  before_exit();
  return 0;
}

}  // namespace kv::bench
