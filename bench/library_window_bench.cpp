// The session library seen from the program: what keeping a download costs
// (the archive write after a download, budget 30 ms) and the library window
// over 10,000 sessions (opening, any filter or sort: budget 50 ms each).
#include <benchmark/benchmark.h>

#include <QApplication>
#include <QLineEdit>
#include <filesystem>
#include <memory>
#include <string>

#include "bench/library_bench_support.h"
#include "emulator/generated_download.h"
#include "library_ui/library_window.h"
#include "library_ui/session_archiver.h"
#include "tests/support/temp_dir.h"
#include "ui/scripted_ui.h"

namespace {

constexpr int kRows = kv::bench::kBigLibraryRows;
constexpr std::int64_t kSeasonStart = 1767225600;  // 2026-01-01

// A download as the window leaves it: the image decoded, the sheet empty.
kv::LogState downloaded(int pages) {
  kv::LogState log;
  kv::emu::decode_download(log, kv::emu::generate_log({.pages = pages, .sessions = 3, .seed = 5}));
  return log;
}

// The archive write alone, on a library already holding `state.range(1)`
// earlier sessions of the same day.
void BM_ArchiveDownload(benchmark::State& state) {
  kv::test::TempDir dir;
  const std::string folder = (dir.path() / "library").string();
  kv::ScriptedUi ui;
  kv::LibraryAccess access(folder, ui);
  kv::LogState log = downloaded(static_cast<int>(state.range(0)));
  std::time_t when = 1780000000;
  for (int i = 0; i < state.range(1); ++i) kv::archive_download(access, log.current(), when++);
  for (auto _ : state) {
    if (!kv::archive_download(access, log.current(), when++)) state.SkipWithError("not archived");
  }
  if (!ui.texts().empty()) state.SkipWithError(ui.texts().front().c_str());
}
BENCHMARK(BM_ArchiveDownload)->Args({128, 0})->Args({128, 300})->Args({2048, 0})->Unit(benchmark::kMillisecond)
    ->UseRealTime();

std::vector<kv::library::SessionRow> season_rows() {
  static const char* kTracks[] = {"Oulton", "Brands", "Snetterton", "Cadwell", "Donington"};
  static const char* kDrivers[] = {"Ann", "Bob", "Cai"};
  std::vector<kv::library::SessionRow> rows(kRows);
  for (int i = 0; i < kRows; ++i) {
    auto& row = rows[static_cast<std::size_t>(i)];
    row.path = "2026/session" + std::to_string(i) + ".kvl";
    row.session_time = kSeasonStart + static_cast<std::int64_t>(i) * 2731;
    row.tags.track = kTracks[i % 5];
    row.tags.driver = kDrivers[i % 3];
    row.laps = 5 + i % 17;
    row.fastest = kv::library::FastestLap{80.0 + (i * 7919 % 2000) / 100.0, 1, 2, std::nullopt};
    row.notes_first_line = i % 11 == 0 ? "wet, new tyres" : "dry";
    row.notes_text = row.notes_first_line;
    for (int slot = 1; slot <= kv::library::kSetupFieldsInRow; ++slot) {
      row.setup.set(slot, std::to_string((i * slot) % 97));
    }
  }
  return rows;
}

// The program state the window works on, made afresh.
struct WindowBench {
  explicit WindowBench(std::string library_folder = {})
      : folder(library_folder.empty() ? (dir.path() / "library").string() : std::move(library_folder)),
        defaults(kv::DialogDefaults::in_folder(".")) {}
  kv::test::TempDir dir;
  std::string folder;
  kv::ScriptedUi person;
  kv::GivenFileUi ui{person};
  kv::LogState log;
  kv::DialogDefaults defaults;
  kv::LibraryAccess access{folder, ui};
  const std::string no_memo;
  kv::TForm13 window{{log, defaults, folder, access, no_memo}, ui};
};

// Showing the window with its rows and painting the first table.
void BM_LibraryWindowOpen10000(benchmark::State& state) {
  const auto rows = season_rows();
  WindowBench bench;
  for (auto _ : state) {
    bench.window.show();
    bench.window.model().set_rows(rows);
    QApplication::processEvents();
    state.PauseTiming();
    bench.window.hide();
    QApplication::processEvents();
    state.ResumeTiming();
  }
}
BENCHMARK(BM_LibraryWindowOpen10000)->Unit(benchmark::kMillisecond)->UseRealTime();

// The click's work alone, named for profiling with callgrind's
// --toggle-collect='*show_from_click*'.
[[gnu::noinline]] void show_from_click(kv::TForm13& window) {
  window.show();
  QApplication::processEvents();
}

// What the person waits for on the first opening of the window in a run:
// the program state made afresh each round over the generated library (its
// index built by an earlier run, its files unchanged), from the click until
// the table holds its rows and is painted. The folder's check that follows
// on a worker thread is waited for outside the timing; Arg 1 times it too,
// until the window is in step with the folder.
void BM_LibraryWindowFirstOpen10000(benchmark::State& state) {
  const std::string root = kv::bench::big_library().string();
  const bool until_in_step = state.range(0) == 1;
  {
    // A running program has painted its other windows already: fonts and
    // styles are loaded before the library's first opening.
    WindowBench warm;
    warm.window.show();
    QApplication::processEvents();
  }
  for (auto _ : state) {
    state.PauseTiming();
    auto bench = std::make_unique<WindowBench>(root);
    state.ResumeTiming();
    show_from_click(bench->window);
    if (!until_in_step) state.PauseTiming();
    while (bench->window.checking_folder()) {
      QApplication::processEvents(QEventLoop::WaitForMoreEvents, 5);
    }
    if (until_in_step) state.PauseTiming();
    if (bench->window.model().rows().size() != kRows || !bench->person.texts().empty()) {
      state.SkipWithError("rows missing or a message shown");
    }
    bench.reset();
    state.ResumeTiming();
  }
}
BENCHMARK(BM_LibraryWindowFirstOpen10000)->Arg(0)->Arg(1)->Unit(benchmark::kMillisecond)->UseRealTime();
// The same with the worker's time counted in the CPU column.
BENCHMARK(BM_LibraryWindowFirstOpen10000)->Arg(1)->Unit(benchmark::kMillisecond)->UseRealTime()
    ->MeasureProcessCPUTime()->Name("BM_LibraryWindowFirstOpen10000_ProcessCpu");

void BM_LibraryFilterText10000(benchmark::State& state) {
  WindowBench bench;
  bench.window.show();
  bench.window.model().set_rows(season_rows());
  auto* text = bench.window.findChild<QLineEdit*>("TextFilter");
  bool wet = false;
  for (auto _ : state) {
    text->setText((wet = !wet) ? "wet" : "");
    QApplication::processEvents();
  }
}
BENCHMARK(BM_LibraryFilterText10000)->Unit(benchmark::kMillisecond)->UseRealTime();

void BM_LibrarySort10000(benchmark::State& state) {
  WindowBench bench;
  bench.window.show();
  auto& model = bench.window.model();
  model.set_rows(season_rows());
  model.set_column_shown({kv::library::Column::Setup, 12}, true);
  const int column = state.range(0) == 0 ? 5 : model.columnCount() - 1;  // fastest lap, or a set-up field
  bool descending = false;
  for (auto _ : state) {
    model.sort(column, (descending = !descending) ? Qt::DescendingOrder : Qt::AscendingOrder);
    QApplication::processEvents();
  }
}
BENCHMARK(BM_LibrarySort10000)->Arg(0)->Arg(1)->Unit(benchmark::kMillisecond)->UseRealTime();

}  // namespace

int main(int argc, char** argv) {
  QApplication app(argc, argv);
  benchmark::Initialize(&argc, argv);
  benchmark::RunSpecifiedBenchmarks();
  benchmark::Shutdown();
  return 0;
}
