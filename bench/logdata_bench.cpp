// Times the log side on a full memory (2048 pages): decode with smoothing,
// log file save, log file load with decode, and CSV export.
#include <benchmark/benchmark.h>

#include <filesystem>
#include <string>

#include "common/text_lines.h"
#include "emulator/generated_download.h"
#include "logdata/csv_export.h"
#include "logdata/decoder.h"
#include "logdata/log_file.h"
#include "ui/scripted_ui.h"

namespace {

// A full memory downloaded into dataset A, not yet decoded.
kv::LogState full_memory() {
  static const kv::emu::GeneratedLog generated =
      kv::emu::generate_log({.pages = kv::emu::kFullMemoryPages, .sessions = 3, .seed = 1});
  kv::LogState log;
  kv::emu::load_download(log.current(), generated);
  return log;
}

std::string bench_folder() {
  const auto folder = std::filesystem::temp_directory_path() / "kv-bench-logdata";
  std::filesystem::create_directories(folder);
  return folder.string();
}

void BM_DecodeFullMemory(benchmark::State& state) {
  kv::LogState log = full_memory();
  kv::ScriptedUi ui;
  for (auto _ : state) {
    benchmark::DoNotOptimize(kv::process_data_packets(log, ui));
    ui.clear();
  }
  state.counters["samples"] = static_cast<double>(log.current().sample_count());
}
BENCHMARK(BM_DecodeFullMemory)->Unit(benchmark::kMillisecond);

void BM_SaveLogFile(benchmark::State& state) {
  kv::LogState log = full_memory();
  const std::string folder = bench_folder();
  auto defaults = kv::DialogDefaults::in_folder(folder);
  kv::ScriptedUi ui;
  const std::string path = folder + "/full.kvl";
  for (auto _ : state) {
    ui.queue_file(path);
    ui.queue_answer(kv::kYes);  // overwrite
    benchmark::DoNotOptimize(kv::save_log_data(log, defaults, ui));
    ui.clear();
  }
}
BENCHMARK(BM_SaveLogFile)->Unit(benchmark::kMillisecond);

void BM_LoadLogFileAndDecode(benchmark::State& state) {
  kv::LogState source = full_memory();
  const std::string folder = bench_folder();
  auto defaults = kv::DialogDefaults::in_folder(folder);
  kv::ScriptedUi ui;
  const std::string path = folder + "/load.kvl";
  std::filesystem::remove(path);
  ui.queue_file(path);
  kv::save_log_data(source, defaults, ui);
  kv::LogState log;
  for (auto _ : state) {
    ui.queue_file(path);
    if (!kv::load_log_data(log, defaults, ui)) state.SkipWithError(ui.texts().back().c_str());
    ui.clear();
  }
  state.counters["samples"] = static_cast<double>(log.current().sample_count());
}
BENCHMARK(BM_LoadLogFileAndDecode)->Unit(benchmark::kMillisecond);

void BM_CsvExport(benchmark::State& state) {
  kv::LogState log = full_memory();
  kv::ScriptedUi ui;
  kv::process_data_packets(log, ui);
  const std::string folder = bench_folder();
  auto defaults = kv::DialogDefaults::in_folder(folder);
  const std::string path = folder + "/full.csv";
  for (auto _ : state) {
    ui.queue_file(path);
    ui.queue_answer(kv::kYes);  // overwrite
    benchmark::DoNotOptimize(kv::save_csv_data(log, defaults, ui));
    ui.clear();
  }
}
BENCHMARK(BM_CsvExport)->Unit(benchmark::kMillisecond);

// The export text alone, without the file system.
void BM_CsvExportText(benchmark::State& state) {
  kv::LogState log = full_memory();
  kv::ScriptedUi ui;
  kv::process_data_packets(log, ui);
  for (auto _ : state) benchmark::DoNotOptimize(kv::csv_export_text(log.current()));
}
BENCHMARK(BM_CsvExportText)->Unit(benchmark::kMillisecond);

}  // namespace
