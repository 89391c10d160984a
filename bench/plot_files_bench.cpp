// The plot window's unit switches on two full memories (2048 pages, about
// 61,000 samples each): one switch converts both datasets. Run from a
// release build: build-rel/bench/bench_plot_files
#include <benchmark/benchmark.h>

#include "analysis/plot_files/unit_switches.h"
#include "emulator/log_generator.h"
#include "logdata/decoder.h"
#include "ui/scripted_ui.h"

namespace {

using kv::plot_files::UnitSwitch;

void decode_full_memory(kv::LogState& log, std::uint8_t which, unsigned seed) {
  const kv::emu::GeneratedLog generated =
      kv::emu::generate_log({.pages = kv::emu::kFullMemoryPages, .sessions = 3, .seed = seed});
  log.current_data_set = which;
  log.current().raw_memory = generated.memory.data;
  log.current().used_bytes = generated.used_bytes;
  log.current().identity.pulses_per_mile = generated.pulses_per_mile;
  log.current().identity.set_flags(generated.unit_flags1, generated.unit_flags2);
  kv::ScriptedUi quiet;
  kv::process_data_packets(log, quiet);
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
