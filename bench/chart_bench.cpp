// Chart speed for the plot window's worst case: datasets A and B, eleven
// channels each, 60,000 samples (1.3 million draw-to items), B dotted, in a
// 653 x 498 chart. Run offscreen: QT_QPA_PLATFORM=offscreen chart_bench
#include <benchmark/benchmark.h>

#include <QApplication>
#include <cstdlib>
#include <memory>

#include "chart/demo_traces.h"
#include "chart/plotchart.h"
#include "chart/plotchart_design.h"

using namespace kv::chart;

namespace {

constexpr int kSamples = 60000;

const demo::Session& session(int set) {
  static const demo::Session a = demo::make_session(kSamples, 1);
  static const demo::Session b = demo::make_session(kSamples, 2);
  return set == 1 ? a : b;
}

enum class Adding { OneCallPerItem, FromArrays };

// As the plot window draws a dataset: a move-to, then a draw-to per sample,
// one call each or a call per channel (as the plot window does).
void add_set(TPlotChart& chart, int set, int layer, Adding how = Adding::FromArrays) {
  const demo::Session& s = session(set);
  chart.SetActiveLayer(layer);
  chart.SetPenStyle(set == 1 ? TPenStyle::psSolid : TPenStyle::psDot);
  for (std::size_t c = 0; c < s.channel.size(); ++c) {
    chart.SetDataColor(static_cast<TColor>(0x1F3F5F * (c + 1) * set) & 0xFFFFFF);
    const std::vector<double>& y = s.channel[c];
    chart.AddMoveTo(s.time[0], y[0]);
    if (how == Adding::FromArrays) {
      chart.AddSamples(s.time.data(), y.data(), s.time.size(), 0, 1, false);
      continue;
    }
    for (std::size_t i = 0; i < s.time.size(); ++i) chart.AddDrawTo(s.time[i], y[i]);
  }
}

std::unique_ptr<TPlotChart> worst_case_chart() {
  auto chart = std::make_unique<TPlotChart>();
  apply_plot_window_design(*chart);
  add_set(*chart, 1, 1);
  add_set(*chart, 2, 2);
  for (int layer = 1; layer <= 2; ++layer) {
    chart->AutoRangeLayer(layer, 0);
    chart->ScaleX(layer).SetVisible(true);
    chart->ScaleY(layer).SetVisible(true);
  }
  chart->SetGridColor(clSilver);
  chart->SetGridStyle(TGridStyle::gsDotLines);
  chart->Redisplay();
  return chart;
}

void BM_AddItems(benchmark::State& state, Adding how) {
  TPlotChart chart;
  apply_plot_window_design(chart);
  for (auto _ : state) {
    chart.ClearItems();
    add_set(chart, 1, 1, how);
    add_set(chart, 2, 2, how);
    benchmark::DoNotOptimize(chart.ItemCount());
  }
  state.counters["items"] = static_cast<double>(chart.ItemCount());
}
BENCHMARK_CAPTURE(BM_AddItems, one_call_per_item, Adding::OneCallPerItem)->Unit(benchmark::kMillisecond);
BENCHMARK_CAPTURE(BM_AddItems, from_arrays, Adding::FromArrays)->Unit(benchmark::kMillisecond);

// A re-plot from the arrays: clear, add every curve, draw the picture. The
// peer benchmark (bench/peer) times the same under the same name.
void BM_Replot(benchmark::State& state) {
  auto chart = worst_case_chart();
  for (auto _ : state) {
    chart->ClearItems();
    add_set(*chart, 1, 1);
    add_set(*chart, 2, 2);
    chart->Redisplay();
  }
}
BENCHMARK(BM_Replot)->Unit(benchmark::kMillisecond);

// The first fill of a new chart, fresh memory included.
void BM_AddItemsFirstTime(benchmark::State& state) {
  for (auto _ : state) {
    state.PauseTiming();
    auto chart = std::make_unique<TPlotChart>();
    apply_plot_window_design(*chart);
    state.ResumeTiming();
    add_set(*chart, 1, 1);
    add_set(*chart, 2, 2);
    benchmark::DoNotOptimize(chart->ItemCount());
    state.PauseTiming();
    chart.reset();
    state.ResumeTiming();
  }
}
BENCHMARK(BM_AddItemsFirstTime)->Unit(benchmark::kMillisecond);

void BM_FullRedisplay(benchmark::State& state) {
  auto chart = worst_case_chart();
  for (auto _ : state) chart->Redisplay();
}
BENCHMARK(BM_FullRedisplay)->Unit(benchmark::kMillisecond);

// The first Redisplay after the items were added cuts them into runs.
void BM_FirstRedisplayAfterAdding(benchmark::State& state) {
  auto chart = worst_case_chart();
  for (auto _ : state) {
    state.PauseTiming();
    chart->ClearItems();
    add_set(*chart, 1, 1);
    add_set(*chart, 2, 2);
    state.ResumeTiming();
    chart->Redisplay();
  }
}
BENCHMARK(BM_FirstRedisplayAfterAdding)->Unit(benchmark::kMillisecond);

// A pan frame as the mouse does it: new ranges on both layers, then Redisplay.
void BM_PanFrame(benchmark::State& state) {
  auto chart = worst_case_chart();
  const double span = static_cast<double>(state.range(0));  // seconds shown
  double start = 100;
  for (auto _ : state) {
    start = start > 5000 ? 100 : start + span / 573;
    chart->SetLayerRange(1, start, 0, start + span, 200);
    chart->SetLayerRange(2, start, 0, start + span, 200);
    chart->Redisplay();
  }
}
BENCHMARK(BM_PanFrame)->Arg(6000)->Arg(600)->Arg(60)->Unit(benchmark::kMillisecond);

void BM_ZoomFrame(benchmark::State& state) {
  auto chart = worst_case_chart();
  double f = 1.0;
  for (auto _ : state) {
    f = f < 0.01 ? 1.0 : f * 0.97;
    const double half = 3000 * f;
    chart->SetLayerRange(1, 3000 - half, 0, 3000 + half, 200);
    chart->SetLayerRange(2, 3000 - half, 0, 3000 + half, 200);
    chart->Redisplay();
  }
}
BENCHMARK(BM_ZoomFrame)->Unit(benchmark::kMillisecond);

void BM_CrosshairMove(benchmark::State& state) {
  auto chart = worst_case_chart();
  chart->SetCrossHairStyle(1, clRed, TCrossHMode::chBoth, TPenStyle::psSolid, 1);
  double x = 0;
  for (auto _ : state) {
    x = x > 5900 ? 0 : x + 10;
    chart->SetCrossHairPos(1, x, 50);
  }
}
BENCHMARK(BM_CrosshairMove)->Unit(benchmark::kMicrosecond);

// For comparison: every item drawn one by one.
void BM_PlainItemRender(benchmark::State& state) {
  auto chart = worst_case_chart();
  const PixelRect a = chart->geometry_px().area();
  QImage area(a.width(), a.height(), QImage::Format_RGB32);
  for (auto _ : state) {
    area.fill(Qt::white);
    chart->render_items_plain(area, false);
  }
}
BENCHMARK(BM_PlainItemRender)->Unit(benchmark::kMillisecond);

}  // namespace

int main(int argc, char** argv) {
  if (std::getenv("QT_QPA_PLATFORM") == nullptr) ::setenv("QT_QPA_PLATFORM", "offscreen", 1);
  QApplication app(argc, argv);
  benchmark::Initialize(&argc, argv);
  benchmark::RunSpecifiedBenchmarks();
  benchmark::Shutdown();
  return 0;
}
