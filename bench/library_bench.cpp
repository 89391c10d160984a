// The session library's figures: importing full-memory logs (decode
// included), archiving a full-memory download, and opening, filtering and
// sorting a library of 10,000 sessions.
//
// KV_LIBRARY_IMPORT_COUNT sets how many logs one import round takes (default
// 20; 1000 for the full figure, which needs about 3 GB in the temporary
// folder); ms_per_file is the figure to read.
#include <benchmark/benchmark.h>

#include <cstdlib>
#include <filesystem>
#include <string>

#include "bench/library_bench_support.h"
#include "common/atomic_file.h"
#include "emulator/log_generator.h"
#include "library/session_library.h"
#include "library/session_query.h"
#include "library/sha256.h"
#include "logdata/decoder.h"
#include "logdata/log_file_format.h"
#include "ui/scripted_ui.h"

namespace {

namespace fs = std::filesystem;
using namespace kv::library;

using kv::bench::big_library;
constexpr int kRows = kv::bench::kBigLibraryRows;

kv::Dataset downloaded(int pages) { return kv::bench::generated_download(pages); }
std::string text_of(const kv::Dataset& data) { return kv::bench::log_text_of(data); }

fs::path fresh_folder(const std::string& name) {
  const fs::path folder = fs::temp_directory_path() / name;
  fs::remove_all(folder);
  fs::create_directories(folder);
  return folder;
}

int import_count() {
  const char* text = std::getenv("KV_LIBRARY_IMPORT_COUNT");
  const int count = text != nullptr ? std::atoi(text) : 0;
  return count > 0 ? count : 20;
}

// `count` different files: the same full memory with its own notes line
// each, so no two have the same content.
fs::path import_sources(int count) {
  const fs::path folder = fresh_folder("kv-bench-library-sources");
  kv::Dataset data = downloaded(kv::emu::kFullMemoryPages);
  for (int i = 0; i < count; ++i) {
    data.sheet.notes_text = {"session " + std::to_string(i)};
    kv::write_file_atomically((folder / ("log" + std::to_string(i) + ".kvl")).string(), text_of(data));
  }
  return folder;
}

void BM_ImportFullMemoryLogs(benchmark::State& state) {
  const int count = static_cast<int>(state.range(0));
  const fs::path sources = import_sources(count);
  for (auto _ : state) {
    state.PauseTiming();
    const fs::path root = fresh_folder("kv-bench-library-import");
    auto library = SessionLibrary::open({root.string()}).library;
    state.ResumeTiming();
    const ImportReport report = library->import_paths({sources.string()});
    if (static_cast<int>(report.added.size()) != count) state.SkipWithError("not every file was added");
  }
  state.counters["ms_per_file"] = benchmark::Counter(
      static_cast<double>(count) / 1000.0, benchmark::Counter::kIsIterationInvariantRate | benchmark::Counter::kInvert);
  fs::remove_all(sources);
  fs::remove_all(fs::temp_directory_path() / "kv-bench-library-import");
}
BENCHMARK(BM_ImportFullMemoryLogs)->Arg(import_count())->Unit(benchmark::kMillisecond)->Iterations(1);

// A download is decoded before it is archived.
void BM_ArchiveFullMemoryDownload(benchmark::State& state) {
  const fs::path root = fresh_folder("kv-bench-library-archive");
  auto library = SessionLibrary::open({root.string()}).library;
  kv::LogState log;
  log.current() = downloaded(kv::emu::kFullMemoryPages);
  kv::ScriptedUi ui;
  kv::process_data_packets(log, ui);
  const kv::Dataset& data = log.current();
  const std::time_t when = 1'780'000'000;
  for (auto _ : state) {
    const WriteResult result = library->archive(data, when);
    if (!result.ok) state.SkipWithError(result.error.c_str());
    state.PauseTiming();
    fs::remove(library->absolute_path(result.path));
    state.ResumeTiming();
  }
  fs::remove_all(root);
}
BENCHMARK(BM_ArchiveFullMemoryDownload)->Unit(benchmark::kMillisecond);

void BM_ContentHashFullMemory(benchmark::State& state) {
  const std::string text = text_of(downloaded(kv::emu::kFullMemoryPages));
  for (auto _ : state) benchmark::DoNotOptimize(sha256(text));
  state.SetBytesProcessed(static_cast<std::int64_t>(state.iterations() * text.size()));
}
BENCHMARK(BM_ContentHashFullMemory)->Unit(benchmark::kMillisecond);

void BM_OpenLibrary10k(benchmark::State& state) {
  const std::string root = big_library().string();
  for (auto _ : state) {
    auto library = SessionLibrary::open({root}).library;
    const auto rows = library->rows();
    if (rows.size() != kRows) state.SkipWithError("rows missing");
    benchmark::DoNotOptimize(rows.data());
  }
}
BENCHMARK(BM_OpenLibrary10k)->Unit(benchmark::kMillisecond);

// The two halves of the above: bringing the index in step with the folder,
// and reading the rows.
void BM_Sync10k(benchmark::State& state) {
  auto library = SessionLibrary::open({big_library().string()}).library;
  for (auto _ : state) benchmark::DoNotOptimize(library->sync());
}
BENCHMARK(BM_Sync10k)->Unit(benchmark::kMillisecond);

void BM_Rows10k(benchmark::State& state) {
  auto library = SessionLibrary::open({big_library().string()}).library;
  for (auto _ : state) benchmark::DoNotOptimize(library->rows());
}
BENCHMARK(BM_Rows10k)->Unit(benchmark::kMillisecond);

void BM_FilterSort10k(benchmark::State& state) {
  const auto rows = SessionLibrary::open({big_library().string()}).library->rows();
  SessionFilter filter;
  SortOrder order;
  switch (state.range(0)) {
    case 0: order = {{Column::Time, 0}, false}; break;
    case 1: order = {{Column::Setup, 4}, true}; break;
    case 2: filter.track = "brands"; order = {{Column::FastestLap, 0}, false}; break;
    default: filter.text = "session 99"; order = {{Column::Track, 0}, false}; break;
  }
  for (auto _ : state) {
    const auto chosen = select_rows(rows, filter, order);
    benchmark::DoNotOptimize(chosen.data());
  }
}
BENCHMARK(BM_FilterSort10k)->DenseRange(0, 3)->Unit(benchmark::kMillisecond);

void BM_Scatter10k(benchmark::State& state) {
  const auto rows = SessionLibrary::open({big_library().string()}).library->rows();
  for (auto _ : state) {
    const auto chosen = select_rows(rows, {}, {});
    const auto points = scatter_points(rows, chosen, {kTrackTempSlot}, LapMeasure::FastestLap);
    const auto days = best_per_day(rows, chosen, LapMeasure::FastestLap);
    benchmark::DoNotOptimize(points.data());
    benchmark::DoNotOptimize(days.data());
  }
}
BENCHMARK(BM_Scatter10k)->Unit(benchmark::kMillisecond);

}  // namespace
