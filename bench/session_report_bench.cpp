// The session report with datasets A and B each decoded from a full memory
// (2048 pages, three sessions): the report of one full memory (what its page
// says, where it goes, and the PDF with the chart), of both, and the whole
// "Save Report" button with its file. Run offscreen from a release build:
//   QT_QPA_PLATFORM=offscreen build-rel/bench/bench_session_report
#include <benchmark/benchmark.h>

#include <QApplication>
#include <QPushButton>
#include <filesystem>

#include "analysis/lap_tools/lap_tools.h"
#include "analysis/session_report/session_report.h"
#include "bench/plot_window_bench_support.h"
#include "chart/plotchart.h"

namespace {

namespace sr = kv::session_report;

struct Bench : kv::bench::PlotWindowBench {
  Bench() {
    form->show();
    QApplication::processEvents();
  }
  std::vector<double> boundaries() const {
    return kv::lap_tools::sector_boundaries({}, state.config.config_image);
  }
  QImage chart() const { return form->chart().Picture(false); }
};

Bench& bench() {
  static Bench b;
  return b;
}

// Arg 1: A alone (B's decode switched off for the run); 2: both sets.
void BM_ReportDocument(benchmark::State& state) {
  Bench& b = bench();
  kv::Dataset& set_b = b.state.log.dataset(kv::kDataSetB);
  const std::uint8_t decoded_b = set_b.decoded_valid;
  if (state.range(0) == 1) set_b.decoded_valid = 0;
  const QImage chart = b.chart();
  std::size_t bytes = 0, laps = 0, pages = 0;
  for (auto _ : state) {
    const auto contents = sr::report_contents(b.state.log, b.boundaries(), {});
    const std::string pdf = sr::report_document(contents, chart);
    bytes = pdf.size();
    pages = contents.size();
    laps = contents.front().laps.rows.size();
    benchmark::DoNotOptimize(pdf.data());
  }
  set_b.decoded_valid = decoded_b;
  state.counters["pages"] = static_cast<double>(pages);
  state.counters["lap_rows_A"] = static_cast<double>(laps);
  state.counters["pdf_kB"] = static_cast<double>(bytes) / 1024.0;
}
BENCHMARK(BM_ReportDocument)->Arg(1)->Arg(2)->ArgName("sets")->Unit(benchmark::kMillisecond);

// The button: contents, PDF and its atomic write, both sets.
void BM_SaveReportButton(benchmark::State& state) {
  Bench& b = bench();
  const std::string path = (std::filesystem::temp_directory_path() / "kv_bench_report.pdf").string();
  auto* button = b.form->findChild<QPushButton*>("SaveReport");
  for (auto _ : state) {
    b.ui.queue_file(path);
    button->click();
    b.ui.clear();
  }
  std::filesystem::remove(path);
}
BENCHMARK(BM_SaveReportButton)->Unit(benchmark::kMillisecond);

}  // namespace

int main(int argc, char** argv) {
  return kv::bench::run_window_benchmarks(argc, argv, [] { bench().form.reset(); });
}
