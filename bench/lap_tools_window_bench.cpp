// The plot window's lap tools with datasets A and B each decoded from a full
// memory (2048 pages): the refresh after a full re-plot (slip, sector and
// statistics tables, with and without the histogram tab showing), a re-plot
// over the window with the time slip drawn, and one cursor read-out of the
// slip. Run offscreen from a release build:
//   QT_QPA_PLATFORM=offscreen build-rel/bench/bench_lap_tools_window
#include <benchmark/benchmark.h>

#include <QApplication>
#include <QCheckBox>
#include <QComboBox>
#include <QTabBar>
#include <memory>

#include "analysis/lap_tools/lap_tools.h"
#include "analysis/plot_window.h"
#include "bench/plot_window_bench_support.h"
#include "analysis/radio_group.h"
#include "ui/scripted_ui.h"

namespace {

constexpr int kPlotDataTab = 0;
constexpr int kHistogramTab = 4;
constexpr int kDistanceAxis = 1;
constexpr int kLapOverlay = 1;

void choose(kv::TForm10& form, std::size_t slot, const kv::Dataset& data, std::size_t record, const char* set) {
  const kv::lap_tools::LapRef ref = kv::lap_tools::lap_ref(data, record);
  kv::analysis::OverlaySlot& s = form.plot_state().overlay[slot];
  s.lap.first_sample = static_cast<std::int32_t>(ref.samples.first);
  s.lap.last_sample = static_cast<std::int32_t>(ref.samples.last);
  s.lap.set_letter = set;
  s.lap.lap_time = ref.lap_time;
  s.chosen = true;
}

struct Bench : kv::bench::PlotWindowBench {
  Bench() {
    form->show();
    QApplication::processEvents();
  }
  void tab(int index) { form->findChild<QTabBar*>("TabControl2")->setCurrentIndex(index); }
  void overlay_with_slip() {
    choose(*form, 0, state.log.dataset(kv::kDataSetA), 1, "A");
    choose(*form, 1, state.log.dataset(kv::kDataSetB), 1, "B");
    form->findChild<QComboBox*>("ComboBox3")->setCurrentIndex(kDistanceAxis);
    form->findChild<kv::analysis::RadioGroup*>("RadioGroup2")->setItemIndex(kLapOverlay);
    form->findChild<QCheckBox*>("TimeSlip")->setChecked(true);
  }
};

Bench& bench() {
  static Bench b;
  return b;
}

void BM_RefreshLapTools(benchmark::State& state) {
  Bench& b = bench();
  b.tab(state.range(0) == 1 ? kHistogramTab : kPlotDataTab);
  for (auto _ : state) b.form->refresh_lap_tools();
  b.tab(kPlotDataTab);
}
BENCHMARK(BM_RefreshLapTools)->Arg(0)->Arg(1)->ArgName("histogram_tab")->Unit(benchmark::kMillisecond);

void BM_RefreshEngineDataWithSlip(benchmark::State& state) {
  Bench& b = bench();
  b.overlay_with_slip();
  for (auto _ : state) b.form->refresh_engine_data();
  state.counters["slip_shown"] = b.form->slip_readout_line(1.0).empty() ? 0 : 1;
}
BENCHMARK(BM_RefreshEngineDataWithSlip)->Unit(benchmark::kMillisecond);

void BM_SlipReadout(benchmark::State& state) {
  Bench& b = bench();
  b.overlay_with_slip();
  double x = 0;
  for (auto _ : state) {
    benchmark::DoNotOptimize(b.form->slip_readout_line(x));
    x = x > 3000 ? 0 : x + 7.5;
  }
}
BENCHMARK(BM_SlipReadout)->Unit(benchmark::kMicrosecond);

}  // namespace

int main(int argc, char** argv) {
  return kv::bench::run_window_benchmarks(argc, argv, [] { bench().form.reset(); });
}
