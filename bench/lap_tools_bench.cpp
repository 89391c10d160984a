// Times the lap analysis tools on a full memory (2048 pages) decoded into
// dataset A: the slip between two full laps, the sector table, the per-lap
// statistics and a histogram over every sample.
#include <benchmark/benchmark.h>

#include <algorithm>

#include "analysis/lap_tools/histogram.h"
#include "analysis/lap_tools/lap_stats.h"
#include "analysis/lap_tools/sector_times.h"
#include "analysis/lap_tools/time_slip.h"
#include "emulator/generated_download.h"

namespace {

namespace lt = kv::lap_tools;

struct FullMemory {
  kv::emu::GeneratedLog generated = kv::emu::generate_log({.pages = kv::emu::kFullMemoryPages, .sessions = 3, .seed = 1});
  kv::LogState log;

  FullMemory() { kv::emu::decode_download(log, generated); }
  const kv::Dataset& data() const { return log.current(); }
  std::vector<double> boundaries() const {
    return {generated.circuit_metres / 4, generated.circuit_metres / 2, generated.circuit_metres * 3 / 4};
  }
};

const FullMemory& full_memory() {
  static const FullMemory memory;
  return memory;
}

void BM_TimeSlipTwoFullLaps(benchmark::State& state) {
  const FullMemory& m = full_memory();
  const lt::LapRef lap1 = lt::lap_ref(m.data(), 1), lap2 = lt::lap_ref(m.data(), 2);
  std::size_t points = 0;
  for (auto _ : state) {
    const lt::LapTrace trace1(lap1, 1.0, lt::TraceSmoothing::light), trace2(lap2, 1.0, lt::TraceSmoothing::light);
    const auto curve = lt::time_slip_curve(trace1, trace2);
    points = curve.size();
    benchmark::DoNotOptimize(curve.data());
  }
  state.counters["samples_per_lap"] = static_cast<double>(lap1.samples.size());
  state.counters["curve_points"] = static_cast<double>(points);
}
BENCHMARK(BM_TimeSlipTwoFullLaps)->Unit(benchmark::kMillisecond);

void BM_SectorTableFullMemory(benchmark::State& state) {
  const FullMemory& m = full_memory();
  const auto boundaries = m.boundaries();
  for (auto _ : state) benchmark::DoNotOptimize(lt::sector_table(m.log, boundaries));
  state.counters["laps"] = static_cast<double>(lt::record_total(m.data()));
}
BENCHMARK(BM_SectorTableFullMemory)->Unit(benchmark::kMillisecond);

void BM_LapStatsFullMemory(benchmark::State& state) {
  const FullMemory& m = full_memory();
  for (auto _ : state) benchmark::DoNotOptimize(lt::lap_stats_table(m.log));
}
BENCHMARK(BM_LapStatsFullMemory)->Unit(benchmark::kMillisecond);

void BM_SectorTableAndLapStatsFullMemory(benchmark::State& state) {
  const FullMemory& m = full_memory();
  const auto boundaries = m.boundaries();
  for (auto _ : state) {
    benchmark::DoNotOptimize(lt::sector_table(m.log, boundaries));
    benchmark::DoNotOptimize(lt::lap_stats_table(m.log));
  }
}
BENCHMARK(BM_SectorTableAndLapStatsFullMemory)->Unit(benchmark::kMillisecond);

void BM_HistogramFullMemory(benchmark::State& state) {
  const FullMemory& m = full_memory();
  const auto channel = static_cast<lt::HistogramChannel>(state.range(0));
  const lt::SampleRange all = lt::all_samples(m.data());
  for (auto _ : state) {
    benchmark::DoNotOptimize(lt::time_histogram(m.data(), channel, all, lt::histogram_channel(channel).default_bin_width));
  }
  state.counters["samples"] = static_cast<double>(all.size());
  state.SetLabel(lt::histogram_channel(channel).caption);
}
BENCHMARK(BM_HistogramFullMemory)->DenseRange(0, 5)->Unit(benchmark::kMillisecond);

}  // namespace
