// Chart speed for the plot window's worst case: datasets A and B, eleven
// channels each, 60,000 samples (1.3 million draw-to items), B dotted, in a
// 653 x 498 chart. Run offscreen: QT_QPA_PLATFORM=offscreen chart_bench
#include <benchmark/benchmark.h>

#include <QApplication>
#include <atomic>
#include <cerrno>
#include <cstdint>
#include <cstdlib>
#include <memory>
#include <new>

#include "chart/demo_traces.h"
#include "chart/item_render.h"
#include "chart/plotchart.h"
#include "chart/plotchart_design.h"

using namespace kv::chart;

// Every allocation of this program is counted, the toolkit's included, so
// that a benchmark can tell how many a re-plot makes. The sanitizers bring
// their own allocator; under them nothing is counted.
namespace {
std::atomic<std::uint64_t> g_allocations{0};
}  // namespace

#if defined(__has_feature)
#if __has_feature(address_sanitizer) || __has_feature(thread_sanitizer) || __has_feature(memory_sanitizer)
#define KV_BENCH_SANITIZED 1
#endif
#endif
#if defined(__SANITIZE_ADDRESS__) || defined(__SANITIZE_THREAD__)
#define KV_BENCH_SANITIZED 1
#endif

#if !defined(KV_BENCH_SANITIZED) && defined(__GLIBC__)
extern "C" {
void* __libc_malloc(std::size_t);
void* __libc_calloc(std::size_t, std::size_t);
void* __libc_realloc(void*, std::size_t);
void* __libc_memalign(std::size_t, std::size_t);
void __libc_free(void*);

void* malloc(std::size_t n) {
  g_allocations.fetch_add(1, std::memory_order_relaxed);
  return __libc_malloc(n);
}
void* calloc(std::size_t count, std::size_t n) {
  g_allocations.fetch_add(1, std::memory_order_relaxed);
  return __libc_calloc(count, n);
}
void* realloc(void* p, std::size_t n) {
  g_allocations.fetch_add(1, std::memory_order_relaxed);
  return __libc_realloc(p, n);
}
void* memalign(std::size_t alignment, std::size_t n) {
  g_allocations.fetch_add(1, std::memory_order_relaxed);
  return __libc_memalign(alignment, n);
}
void* aligned_alloc(std::size_t alignment, std::size_t n) { return memalign(alignment, n); }
int posix_memalign(void** out, std::size_t alignment, std::size_t n) {
  void* p = memalign(alignment, n);
  if (p == nullptr) return ENOMEM;
  *out = p;
  return 0;
}
void free(void* p) { __libc_free(p); }
}

// operator new goes through malloc() above; replacing it as well keeps the
// count right should the standard library ever stop doing so.
void* operator new(std::size_t n) {
  if (void* p = std::malloc(n == 0 ? 1 : n)) return p;
  throw std::bad_alloc();
}
void* operator new[](std::size_t n) { return operator new(n); }
void operator delete(void* p) noexcept { std::free(p); }
void operator delete[](void* p) noexcept { std::free(p); }
void operator delete(void* p, std::size_t) noexcept { std::free(p); }
void operator delete[](void* p, std::size_t) noexcept { std::free(p); }
constexpr bool kCountsAllocations = true;
#else
constexpr bool kCountsAllocations = false;
#endif

namespace {

constexpr int kSamples = 60000;

const demo::Session& session(int set) {
  static const demo::Session a = demo::make_session(kSamples, 1);
  static const demo::Session b = demo::make_session(kSamples, 2);
  return set == 1 ? a : b;
}

// The timed Redisplay of the benchmarks below, kept out of line so that an
// instruction count can be limited to it:
//   valgrind --tool=callgrind --toggle-collect='*timed_redisplay*' chart_bench --benchmark_filter=...
__attribute__((noinline)) void timed_redisplay(TPlotChart& chart) { chart.Redisplay(); }

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
// Also counts the allocations of an iteration, and those of its picture:
// with as many items as the last time, a re-plot should make none.
void BM_Replot(benchmark::State& state) {
  auto chart = worst_case_chart();
  std::uint64_t allocations = 0;
  std::uint64_t in_picture = 0;
  for (auto _ : state) {
    const std::uint64_t before = g_allocations.load(std::memory_order_relaxed);
    chart->ClearItems();
    add_set(*chart, 1, 1);
    add_set(*chart, 2, 2);
    const std::uint64_t added = g_allocations.load(std::memory_order_relaxed);
    timed_redisplay(*chart);
    const std::uint64_t after = g_allocations.load(std::memory_order_relaxed);
    allocations += after - before;
    in_picture += after - added;
  }
  if (!kCountsAllocations) return;
  const auto n = static_cast<double>(state.iterations());
  state.counters["allocs/iter"] = static_cast<double>(allocations) / n;
  state.counters["in picture"] = static_cast<double>(in_picture) / n;
}
BENCHMARK(BM_Replot)->Unit(benchmark::kMillisecond);

// What the chart keeps per item, the points and the summaries, with the
// display list and the renderer on their own, filled as the chart fills them.
void BM_BytesPerItem(benchmark::State& state) {
  ItemStore store;
  FastItemRenderer renderer;
  const ChartGeometry geo;
  const PixelRect a = geo.area();
  std::vector<std::uint32_t> px(static_cast<std::size_t>(a.width() * a.height()));
  const PixelCanvas canvas{px.data(), a.width(), a.left, a.top, a};
  for (auto _ : state) {
    store.clear();
    for (int set = 1; set <= 2; ++set) {
      const demo::Session& s = session(set);
      for (std::size_t c = 0; c < s.channel.size(); ++c) {
        const ItemStyle style{static_cast<TColor>(0x1F3F5F * (c + 1) * set) & 0xFFFFFF,
                              set == 1 ? TPenStyle::psSolid : TPenStyle::psDot, 1, 0};
        const ChartItem head{s.time[0], s.channel[c][0], store.style_id(style), ItemKind::MoveTo,
                             static_cast<std::uint8_t>(set), 0};
        store.add(head);
        ChartItem draw = head;
        draw.kind = ItemKind::DrawTo;
        store.add_samples(draw, s.time.data(), s.channel[c].data(), s.time.size(), 0, 1);
      }
    }
    std::array<LayerMap, kLayerCount> maps;
    for (std::size_t k = 0; k < maps.size(); ++k) {
      const DataBox b = auto_range_box(store.items(), static_cast<int>(k + 1), 0);
      maps[k] = make_layer_map(geo, b.x_low, b.x_high, b.y_low, b.y_high);
    }
    renderer.render(store, canvas, maps, {});
  }
  const auto items = static_cast<double>(store.size());
  state.counters["items"] = items;
  state.counters["point bytes/item"] = static_cast<double>(store.capacity() * sizeof(ItemPoint)) / items;
  // The curves' summaries live in the store, the other runs' in the renderer.
  state.counters["summary bytes/item"] = static_cast<double>(renderer.memory_bytes() + store.summary_bytes()) / items;
}
BENCHMARK(BM_BytesPerItem)->Unit(benchmark::kMillisecond);

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
  for (auto _ : state) timed_redisplay(*chart);
}
BENCHMARK(BM_FullRedisplay)->Unit(benchmark::kMillisecond);

// The first Redisplay after the items were added cuts them into runs.
// Curves added from arrays bring their summaries; added item by item, the
// picture builds them.
void first_redisplay_after_adding(benchmark::State& state, Adding how) {
  auto chart = worst_case_chart();
  for (auto _ : state) {
    state.PauseTiming();
    chart->ClearItems();
    add_set(*chart, 1, 1, how);
    add_set(*chart, 2, 2, how);
    state.ResumeTiming();
    timed_redisplay(*chart);
  }
}
void BM_FirstRedisplayAfterAdding(benchmark::State& state) { first_redisplay_after_adding(state, Adding::FromArrays); }
BENCHMARK(BM_FirstRedisplayAfterAdding)->Unit(benchmark::kMillisecond);
void BM_FirstRedisplayAfterAddingByItems(benchmark::State& state) {
  first_redisplay_after_adding(state, Adding::OneCallPerItem);
}
BENCHMARK(BM_FirstRedisplayAfterAddingByItems)->Unit(benchmark::kMillisecond);

// A pan frame as the mouse does it: new ranges on both layers, then Redisplay.
void BM_PanFrame(benchmark::State& state) {
  auto chart = worst_case_chart();
  const double span = static_cast<double>(state.range(0));  // seconds shown
  double start = 100;
  for (auto _ : state) {
    start = start > 5000 ? 100 : start + span / 573;
    chart->SetLayerRange(1, start, 0, start + span, 200);
    chart->SetLayerRange(2, start, 0, start + span, 200);
    timed_redisplay(*chart);
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
    timed_redisplay(*chart);
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
