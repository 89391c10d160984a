// The plot window's worst case: datasets A and B each decoded from a full
// memory (2048 pages, about 61,000 samples), all eleven channels shown, B
// on layer 1 with A or on its own layer 2. Run offscreen from a release build:
//   QT_QPA_PLATFORM=offscreen build-rel/bench/bench_plot_window
#include <benchmark/benchmark.h>

#include <QApplication>
#include <QCheckBox>
#include <QMouseEvent>
#include <array>
#include <atomic>
#include <cstdio>
#include <cstdlib>
#include <fstream>
#include <memory>
#include <new>

#include "analysis/lap_table.h"
#include "analysis/plot_stats.h"
#include "analysis/plot_window.h"
#include "analysis/radio_group.h"
#include "bench/plot_window_bench_support.h"
#include "analysis/plot_files/cfg_settings.h"
#include "chart/colorpick.h"
#include "chart/plotchart.h"
#include "ui/scripted_ui.h"

// Every allocation through operator new is counted, so that a benchmark can
// tell how many a re-plot makes.
namespace {
std::atomic<long> g_allocations{0};
}  // namespace

void* operator new(std::size_t bytes) {
  g_allocations.fetch_add(1, std::memory_order_relaxed);
  if (void* p = std::malloc(bytes == 0 ? 1 : bytes)) return p;
  throw std::bad_alloc();
}
void operator delete(void* p) noexcept { std::free(p); }
void operator delete(void* p, std::size_t) noexcept { std::free(p); }

namespace {

// How many allocations `work` makes.
template <class Work>
double allocations_of(const Work& work) {
  const long before = g_allocations.load(std::memory_order_relaxed);
  work();
  return static_cast<double>(g_allocations.load(std::memory_order_relaxed) - before);
}

// The program's state and a plot window showing both full datasets.
struct Bench : kv::bench::PlotWindowBench {
  Bench() {
    for (const auto& info : kv::analysis::channel_catalogue()) {
      form->findChild<QCheckBox*>(info.check_box)->setChecked(true);
    }
  }
  void b_on_layer_2(bool on) { form->findChild<QCheckBox*>("CheckBox12")->setChecked(on); }
  void show() {
    form->show();
    QApplication::processEvents();
  }
  long samples(std::uint8_t which) const { return state.log.dataset(which).sample_count(); }
};

Bench& bench() {
  static Bench b;
  return b;
}

// A figure of /proc/self/status in KiB: "VmRSS:" now, "VmHWM:" at its peak.
long status_kib(const std::string& wanted) {
  std::ifstream status("/proc/self/status");
  std::string key;
  long value = 0;
  while (status >> key) {
    if (key == wanted) {
      status >> value;
      return value;
    }
    status.ignore(1 << 12, '\n');
  }
  return 0;
}

long resident_kib() { return status_kib("VmRSS:"); }

// One pointer move over the chart, zig-zagging around `centre` with `step`.
void move_pointer(QWidget& chart, QPointF centre, int step, Qt::MouseButtons held) {
  const int k = step % 200;
  const QPointF at = centre + QPointF(k - 100, (k % 7) - 3);
  QMouseEvent move(QEvent::MouseMove, at, chart.mapToGlobal(at), Qt::NoButton, held, Qt::NoModifier);
  QApplication::sendEvent(&chart, &move);
}

void BM_ReloadEngineData(benchmark::State& state) {
  Bench& b = bench();
  b.show();
  b.b_on_layer_2(state.range(0) == 2);
  for (auto _ : state) b.form->reload_engine_data();
  // The item count does not grow from one re-plot to the next.
  state.counters["allocations"] = allocations_of([&b] { b.form->reload_engine_data(); });
  // The re-plot's picture once more, as nothing changed: what the picture
  // itself allocates.
  state.counters["picture_allocations"] = allocations_of([&b] { b.form->chart().Redisplay(); });
  state.counters["items"] = static_cast<double>(b.form->chart().ItemCount());
  state.counters["samples_a"] = static_cast<double>(b.samples(kv::kDataSetA));
  state.counters["samples_b"] = static_cast<double>(b.samples(kv::kDataSetB));
  state.counters["peak_rss_kib"] = static_cast<double>(status_kib("VmHWM:"));
}
BENCHMARK(BM_ReloadEngineData)->Arg(1)->Arg(2)->ArgName("b_layer")->Unit(benchmark::kMillisecond)
    ->Repetitions(5)->ReportAggregatesOnly(true);

// A colour picked in a selector: the curves are rebuilt over the current
// window. Twenty in a row must leave the item count and memory where they were.
void BM_ColourChange(benchmark::State& state) {
  Bench& b = bench();
  b.show();
  b.b_on_layer_2(state.range(0) == 2);
  auto* pick = b.form->findChild<kv::chart::TColorPick*>("ColorPick2");
  const std::size_t items = b.form->chart().ItemCount();
  const long rss_before = resident_kib();
  int i = 0;
  for (auto _ : state) {
    pick->setSelColor(static_cast<kv::chart::TColor>(0x102030 * ++i) & 0xFFFFFF);
    emit pick->OnChange();
  }
  state.counters["item_growth"] = static_cast<double>(b.form->chart().ItemCount()) - static_cast<double>(items);
  state.counters["rss_growth_kib"] = static_cast<double>(resident_kib() - rss_before);
}
BENCHMARK(BM_ColourChange)->Arg(1)->Arg(2)->ArgName("b_layer")->Unit(benchmark::kMillisecond)->Iterations(20);

// A single colour change, for its median.
void BM_RefreshEngineData(benchmark::State& state) {
  Bench& b = bench();
  b.show();
  b.b_on_layer_2(state.range(0) == 2);
  for (auto _ : state) b.form->refresh_engine_data();
  state.counters["allocations"] = allocations_of([&b] { b.form->refresh_engine_data(); });
}
BENCHMARK(BM_RefreshEngineData)->Arg(1)->Arg(2)->ArgName("b_layer")->Unit(benchmark::kMillisecond)
    ->Repetitions(5)->ReportAggregatesOnly(true);

// View Data: from the show to the first picture on screen.
void BM_ShowUntilFirstPicture(benchmark::State& state) {
  Bench& b = bench();
  b.b_on_layer_2(true);
  for (auto _ : state) {
    state.PauseTiming();
    b.form->close();  // as Back to Logger leaves it
    QApplication::processEvents();
    state.ResumeTiming();
    b.form->show();
    QApplication::processEvents();
  }
}
BENCHMARK(BM_ShowUntilFirstPicture)->Unit(benchmark::kMillisecond)->Repetitions(5)->ReportAggregatesOnly(true);

// Dragging with the pan mode over the chart: every move is one frame.
void BM_PanFrame(benchmark::State& state) {
  Bench& b = bench();
  b.show();
  b.b_on_layer_2(true);
  kv::chart::TPlotChart& chart = b.form->chart();
  chart.SetMouseAction(kv::chart::TMouseActMode::maPan);
  chart.SetLayerMouseEnabled(2, true);
  // A window of a few minutes, as a user pans it.
  for (int layer = 1; layer <= 2; ++layer) chart.SetLayerRange(layer, 1000, 0, 1300, 200);
  chart.Redisplay();
  const QPointF centre(chart.width() / 2.0, chart.height() / 2.0);
  QMouseEvent press(QEvent::MouseButtonPress, centre, chart.mapToGlobal(centre), Qt::LeftButton, Qt::LeftButton,
                    Qt::NoModifier);
  QApplication::sendEvent(&chart, &press);
  int step = 0;
  for (auto _ : state) {
    move_pointer(chart, centre, ++step, Qt::LeftButton);
    chart.repaint();
  }
  QMouseEvent release(QEvent::MouseButtonRelease, centre, chart.mapToGlobal(centre), Qt::LeftButton, Qt::NoButton,
                      Qt::NoModifier);
  QApplication::sendEvent(&chart, &release);
}
BENCHMARK(BM_PanFrame)->Unit(benchmark::kMillisecond)->Repetitions(5)->ReportAggregatesOnly(true);

// The pointer moving over the chart with the read-out box, both markers and
// their crosshairs on: the work of one move event (Arg 0), and with the
// repaint it schedules (Arg 1).
void BM_CursorMove(benchmark::State& state) {
  Bench& b = bench();
  b.show();
  b.b_on_layer_2(false);
  b.form->findChild<kv::analysis::RadioGroup*>("RadioGroup10")->setItemIndex(1);
  kv::chart::TPlotChart& chart = b.form->chart();
  chart.SetCrossHairPos(1, 600, 50);
  chart.SetCrossHairPos(2, 1800, 80);
  QApplication::processEvents();
  const QPointF centre(chart.width() / 2.0, chart.height() / 2.0);
  int step = 0;
  for (auto _ : state) {
    move_pointer(chart, centre, ++step, Qt::NoButton);
    if (state.range(0) == 1) QApplication::processEvents();
  }
  state.counters["readout_chars"] = static_cast<double>(b.form->cursor_readout().size());
}
BENCHMARK(BM_CursorMove)->Arg(0)->Arg(1)->ArgName("repaint")->Unit(benchmark::kMicrosecond)->Repetitions(5)
    ->ReportAggregatesOnly(true);

// One statistics figure over all of a full dataset.
void BM_Statistics(benchmark::State& state) {
  Bench& b = bench();
  kv::analysis::PlotState plot;
  plot.settings.stats_channel = 1;
  plot.settings.stats_kind = static_cast<int>(kv::analysis::StatsKind::Avg);
  for (auto _ : state) {
    benchmark::DoNotOptimize(kv::analysis::update_stats(b.state.log, plot, kv::kDataSetA, 1, 0, 1));
  }
  state.counters["samples"] = static_cast<double>(b.samples(kv::kDataSetA));
}
BENCHMARK(BM_Statistics)->Unit(benchmark::kMicrosecond)->Repetitions(5)->ReportAggregatesOnly(true);

// Both lap tables of two full memories into their grids, fastest laps and
// captions.
void BM_LapTables(benchmark::State& state) {
  Bench& b = bench();
  b.show();
  for (auto _ : state) {
    b.form->process_A_laptimes();
    b.form->process_B_laptimes();
  }
  state.counters["laps_a"] = static_cast<double>(b.state.log.dataset(kv::kDataSetA).lap_table.size());
  state.counters["laps_b"] = static_cast<double>(b.state.log.dataset(kv::kDataSetB).lap_table.size());
}
BENCHMARK(BM_LapTables)->Unit(benchmark::kMillisecond)->Repetitions(5)->ReportAggregatesOnly(true);

// A speed unit switch on the shown window: both sets converted and re-plotted.
void BM_UnitSwitchAndReplot(benchmark::State& state) {
  Bench& b = bench();
  b.b_on_layer_2(true);
  b.show();
  auto* speed = b.form->findChild<kv::analysis::RadioGroup*>("RadioGroup4");
  for (auto _ : state) {
    speed->setItemIndex(1 - speed->itemIndex());
    QApplication::processEvents();
  }
}
BENCHMARK(BM_UnitSwitchAndReplot)->Unit(benchmark::kMillisecond)->Repetitions(5)->ReportAggregatesOnly(true);

// "Load Config" of a file that changes every line (colours, boxes, line
// types, grid and units), alternating between two such files.
void BM_LoadConfigChangingEveryLine(benchmark::State& state) {
  Bench& b = bench();
  b.show();
  std::array<std::string, 2> files = {"bench_look_1.cfg", "bench_look_2.cfg"};
  kv::analysis::PlotSettings first = b.form->settings();
  kv::analysis::PlotSettings second = first;
  for (auto& look : second.trace) {
    for (auto& colour : look.colour) colour ^= 0x404040;
    look.line_type = kv::analysis::LineType::Points;
  }
  for (bool& shown : second.channel_shown) shown = !shown;
  second.speed_unit = 1 - first.speed_unit;
  second.temp_unit = 1 - first.temp_unit;
  second.pressure_unit = 1 - first.pressure_unit;
  second.distance_unit = 1 - first.distance_unit;
  second.grid_lines = kv::analysis::GridLines::HorizontalOnly;
  second.grid_enable = kv::analysis::GridEnable::Axis2;
  const std::array<kv::analysis::PlotSettings, 2> looks = {second, first};
  for (std::size_t k = 0; k < files.size(); ++k) {
    std::ofstream(files[k], std::ios::binary) << kv::plot_files::cfg_text(kv::plot_files::cfg_lines_of(looks[k]));
  }
  std::size_t next = 0;
  for (auto _ : state) {
    b.ui.queue_file(files[next]);
    next = 1 - next;
    b.form->load_cfg_data();
    QApplication::processEvents();
  }
  b.ui.clear();
  for (const auto& file : files) std::remove(file.c_str());
}
BENCHMARK(BM_LoadConfigChangingEveryLine)->Unit(benchmark::kMillisecond)->Repetitions(5)->ReportAggregatesOnly(true);

}  // namespace

int main(int argc, char** argv) {
  return kv::bench::run_window_benchmarks(argc, argv, [] { bench().form.reset(); });
}
