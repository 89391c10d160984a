// The plot window's unit switches on two full memories (2048 pages, about
// 61,000 samples each): one switch converts both datasets. Run from a
// release build: build-rel/bench/bench_plot_files
#include <benchmark/benchmark.h>

#include "analysis/plot_files/unit_switches.h"
#include "emulator/generated_download.h"

namespace {

using kv::plot_files::UnitSwitch;

void decode_full_memory(kv::LogState& log, std::uint8_t which, unsigned seed) {
  log.current_data_set = which;
  kv::emu::decode_download(log, kv::emu::generate_log({.pages = kv::emu::kFullMemoryPages, .sessions = 3, .seed = seed}));
}

kv::LogState& two_full_memories() {
  static kv::LogState log = [] {
    kv::LogState both;
    decode_full_memory(both, kv::kDataSetA, 1);
    decode_full_memory(both, kv::kDataSetB, 2);
    return both;
  }();
  return log;
}

// Every iteration moves the switch to its other item, converting both sets.
void BM_UnitSwitch(benchmark::State& state, UnitSwitch which) {
  kv::LogState& log = two_full_memories();
  bool feet = false;
  int index = 0;
  for (auto _ : state) {
    index = 1 - index;
    const auto result = kv::plot_files::change_unit(log, feet, which, index, kv::analysis::XChannel::Time);
    benchmark::DoNotOptimize(result);
  }
  state.counters["samples_per_set"] = static_cast<double>(log.datasets[0].sample_count());
  // Leave the sets in their recorded units for the next benchmark.
  kv::plot_files::change_unit(log, feet, which, 0, kv::analysis::XChannel::Time);
}

BENCHMARK_CAPTURE(BM_UnitSwitch, speed, UnitSwitch::Speed)->Unit(benchmark::kMillisecond);
BENCHMARK_CAPTURE(BM_UnitSwitch, temperature, UnitSwitch::Temperature)->Unit(benchmark::kMillisecond);
BENCHMARK_CAPTURE(BM_UnitSwitch, pressure, UnitSwitch::Pressure)->Unit(benchmark::kMillisecond);

}  // namespace

BENCHMARK_MAIN();
