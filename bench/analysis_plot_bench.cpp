// The plot window's worst case: datasets A and B each decoded from a full
// memory (2048 pages, about 61,000 samples), all eleven channels shown, B
// on layer 1 with A or on its own layer 2. Run offscreen from a release build:
//   QT_QPA_PLATFORM=offscreen build-rel/bench/bench_plot_window
#include <benchmark/benchmark.h>

#include <QApplication>
#include <QCheckBox>
#include <QMouseEvent>
#include <array>
#include <cstdio>
#include <fstream>
#include <memory>

#include "analysis/plot_files/cfg_settings.h"
#include "analysis/plot_window.h"
#include "analysis/radio_group.h"
#include "chart/colorpick.h"
#include "chart/plotchart.h"
#include "emulator/log_generator.h"
#include "logdata/decoder.h"
#include "ui/scripted_ui.h"

namespace {

void decode_full_memory(kv::LogState& log, std::uint8_t which, unsigned seed) {
  const kv::emu::GeneratedLog generated =
      kv::emu::generate_log({.pages = kv::emu::kFullMemoryPages, .sessions = 3, .seed = seed});
  log.current_data_set = which;
  log.current().raw_memory = generated.memory.data;
  log.current().memory_valid = 1;
  log.used_bytes = generated.used_bytes;
  log.identity.unit_version = 325;
  log.identity.pulses_per_mile = generated.pulses_per_mile;
  log.identity.set_flags(generated.unit_flags1, generated.unit_flags2);
  kv::ScriptedUi quiet;
  kv::process_data_packets(log, quiet);
  log.current().name_text = which == kv::kDataSetA ? "Memory A" : "Memory B";
}

// The program's state and a plot window showing both full datasets.
struct Bench {
  Bench() : state(".") {
    decode_full_memory(state.log, kv::kDataSetA, 1);
    decode_full_memory(state.log, kv::kDataSetB, 2);
    form = std::make_unique<kv::TForm10>(state, ui);
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

  kv::ScriptedUi ui;
  kv::ProgramState state;
  std::unique_ptr<kv::TForm10> form;
};

Bench& bench() {
  static Bench b;
  return b;
}

long resident_kib() {
  std::ifstream status("/proc/self/status");
  std::string key;
  long value = 0;
  while (status >> key) {
    if (key == "VmRSS:") {
      status >> value;
      return value;
    }
    status.ignore(1 << 12, '\n');
  }
  return 0;
}

void BM_ReloadEngineData(benchmark::State& state) {
  Bench& b = bench();
  b.show();
  b.b_on_layer_2(state.range(0) == 2);
  for (auto _ : state) b.form->reload_engine_data();
  state.counters["items"] = static_cast<double>(b.form->chart().ItemCount());
  state.counters["samples_a"] = static_cast<double>(b.samples(kv::kDataSetA));
  state.counters["samples_b"] = static_cast<double>(b.samples(kv::kDataSetB));
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
    step = (step + 1) % 200;
    const QPointF at = centre + QPointF(step - 100, (step % 7) - 3);
    QMouseEvent move(QEvent::MouseMove, at, chart.mapToGlobal(at), Qt::NoButton, Qt::LeftButton, Qt::NoModifier);
    QApplication::sendEvent(&chart, &move);
    chart.repaint();
  }
  QMouseEvent release(QEvent::MouseButtonRelease, centre, chart.mapToGlobal(centre), Qt::LeftButton, Qt::NoButton,
                      Qt::NoModifier);
  QApplication::sendEvent(&chart, &release);
}
BENCHMARK(BM_PanFrame)->Unit(benchmark::kMillisecond)->Repetitions(5)->ReportAggregatesOnly(true);

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
  if (qgetenv("QT_QPA_PLATFORM").isEmpty()) qputenv("QT_QPA_PLATFORM", "offscreen");
  QApplication app(argc, argv);
  benchmark::Initialize(&argc, argv);
  benchmark::RunSpecifiedBenchmarks();
  benchmark::Shutdown();
  bench().form.reset();
  return 0;
}
