// A Lap Overlay of eight laps (the two selections and six added laps) from
// two full memories, six channels shown against the lap distance, each lap's
// time slip drawn: the re-plots and a pointer move with every lap's
// read-out. Run offscreen from a release build:
//   QT_QPA_PLATFORM=offscreen build-rel/bench/bench_overlay_laps
#include <benchmark/benchmark.h>

#include <QApplication>
#include <QCheckBox>
#include <QComboBox>
#include <QMouseEvent>

#include "analysis/plot_window.h"
#include "analysis/radio_group.h"
#include "bench/plot_window_bench_support.h"
#include "chart/plotchart.h"

namespace {

using kv::analysis::Channel;

constexpr std::array<Channel, 6> kShown = {Channel::Rpm,         Channel::Speed,     Channel::Gear,
                                           Channel::OilPressure, Channel::WaterTemp, Channel::Brake};
constexpr int kDistanceAxis = 1;

struct Bench : kv::bench::PlotWindowBench {
  Bench() {
    for (const auto& info : kv::analysis::channel_catalogue()) {
      const bool shown = std::find(kShown.begin(), kShown.end(), info.id) != kShown.end();
      form->findChild<QCheckBox*>(info.check_box)->setChecked(shown);
    }
    form->show();
    QApplication::processEvents();
    form->findChild<QComboBox*>("ComboBox3")->setCurrentIndex(kDistanceAxis);
    // Laps from the middle of each memory's table: A's in the selections.
    const int a_laps = static_cast<int>(state.log.dataset(kv::kDataSetA).lap_count());
    pick("ComboBox7", a_laps / 2);
    pick("ComboBox5", a_laps / 2 + 1);
    for (int k = 0; k < 3; ++k) {
      form->add_lap(a_laps / 2 + 2 + k);
      form->add_lap(a_laps + 2 + k);
    }
    form->findChild<QCheckBox*>("TimeSlip")->setChecked(true);
    form->findChild<kv::analysis::RadioGroup*>("RadioGroup10")->setItemIndex(1);  // markers on
    QApplication::processEvents();
  }
  void pick(const char* list, int index) {
    auto* combo = form->findChild<QComboBox*>(list);
    combo->setCurrentIndex(index);
    emit combo->activated(index);
  }
};

Bench& bench() {
  static Bench b;
  return b;
}

void count_laps(benchmark::State& state, Bench& b) {
  state.counters["added_laps"] = static_cast<double>(b.form->plot_state().extra_laps.size());
  state.counters["items"] = static_cast<double>(b.form->chart().ItemCount());
}

// The full re-plot (autorange, every lap's slip, the lap tables) and the
// re-plot over the current window (a zoom, a pan, a unit or colour change).
void BM_ReplotEightLaps(benchmark::State& state) {
  Bench& b = bench();
  for (auto _ : state) {
    if (state.range(0) == 0) {
      b.form->reload_engine_data();
    } else {
      b.form->refresh_engine_data();
    }
  }
  count_laps(state, b);
}
BENCHMARK(BM_ReplotEightLaps)->Arg(0)->Arg(1)->ArgName("window_only")->Unit(benchmark::kMillisecond)
    ->Repetitions(5)->ReportAggregatesOnly(true);

// One pointer move over the chart: the read-out box with every lap's values
// and slip at the pointer's lap distance.
void BM_PointerMoveEightLaps(benchmark::State& state) {
  Bench& b = bench();
  kv::chart::TPlotChart& chart = b.form->chart();
  const QPointF centre(chart.width() / 2.0, chart.height() / 2.0);
  int step = 0;
  for (auto _ : state) {
    const int k = ++step % 200;
    const QPointF at = centre + QPointF(k - 100, (k % 7) - 3);
    QMouseEvent move(QEvent::MouseMove, at, chart.mapToGlobal(at), Qt::NoButton, Qt::NoButton, Qt::NoModifier);
    QApplication::sendEvent(&chart, &move);
  }
  state.counters["readout_chars"] = static_cast<double>(b.form->cursor_readout().size());
  count_laps(state, b);
}
BENCHMARK(BM_PointerMoveEightLaps)->Unit(benchmark::kMicrosecond)->Repetitions(5)->ReportAggregatesOnly(true);

// Both markers' per-lap values (a marker drag ends in this).
void BM_MarkerValuesEightLaps(benchmark::State& state) {
  Bench& b = bench();
  kv::chart::TPlotChart& chart = b.form->chart();
  int step = 0;
  for (auto _ : state) {
    chart.SetCrossHairPos(1, 100 + (++step % 500), 0);
    chart.SetCrossHairPos(2, 1500, 0);
    b.form->update_markers();
  }
  count_laps(state, b);
}
BENCHMARK(BM_MarkerValuesEightLaps)->Unit(benchmark::kMicrosecond)->Repetitions(5)->ReportAggregatesOnly(true);

}  // namespace

int main(int argc, char** argv) {
  return kv::bench::run_window_benchmarks(argc, argv, [] { bench().form.reset(); });
}
