// The chart benchmark's worst case drawn by the peer widget: datasets A and
// B, eleven channels of 60,000 samples each (1.32 million points), A solid
// on the bottom and left axes, B dotted on the top and right ones, in
// 653 x 498 with dotted grid lines. Three figures under the chart
// benchmark's names: a re-plot from the arrays (every curve's data set
// anew, then one picture), a full redisplay and a pan frame.
//   QT_QPA_PLATFORM=offscreen build-peer/peer_chart_bench [--save-picture=FILE.png]
#include <benchmark/benchmark.h>

#include <QApplication>
#include <QVector>
#include <cstdlib>
#include <cstring>
#include <memory>
#include <qcustomplot.h>

#include "chart/demo_traces.h"

namespace {

constexpr int kSamples = 60000;

const kv::chart::demo::Session& session(int set) {
  static const auto a = kv::chart::demo::make_session(kSamples, 1);
  static const auto b = kv::chart::demo::make_session(kSamples, 2);
  return set == 1 ? a : b;
}

// The chart benchmark's colours, stored blue-green-red.
QColor channel_colour(int set, std::size_t channel) {
  const unsigned c = (0x1F3F5Fu * static_cast<unsigned>(channel + 1) * static_cast<unsigned>(set)) & 0xFFFFFFu;
  return QColor(static_cast<int>(c & 0xFF), static_cast<int>((c >> 8) & 0xFF), static_cast<int>((c >> 16) & 0xFF));
}

struct PeerChart {
  QCustomPlot plot;

  PeerChart() {
    plot.resize(653, 498);
    plot.xAxis2->setVisible(true);
    plot.yAxis2->setVisible(true);
    for (int set = 1; set <= 2; ++set) {
      QCPAxis* x = set == 1 ? plot.xAxis : plot.xAxis2;
      QCPAxis* y = set == 1 ? plot.yAxis : plot.yAxis2;
      for (std::size_t c = 0; c < session(set).channel.size(); ++c) {
        QCPGraph* g = plot.addGraph(x, y);
        g->setPen(QPen(channel_colour(set, c), 1, set == 1 ? Qt::SolidLine : Qt::DotLine));
      }
    }
    set_all_data();
    plot.rescaleAxes();
    plot.show();
    replot();
  }

  // What a program holding its samples in arrays does on a re-plot.
  void set_all_data() {
    int graph = 0;
    for (int set = 1; set <= 2; ++set) {
      const auto& s = session(set);
      const QVector<double> keys(s.time.begin(), s.time.end());
      for (const std::vector<double>& channel : s.channel) {
        plot.graph(graph++)->setData(keys, QVector<double>(channel.begin(), channel.end()), true);
      }
    }
  }

  // Draws the picture into the widget's buffer; like the chart's
  // Redisplay() it leaves the copy to the screen to the next paint event.
  void replot() { plot.replot(QCustomPlot::rpQueuedRefresh); }
};

// Made at first use and dropped before the application goes.
std::unique_ptr<PeerChart> the_chart;

PeerChart& chart() {
  if (!the_chart) the_chart = std::make_unique<PeerChart>();
  return *the_chart;
}

void BM_Replot(benchmark::State& state) {
  PeerChart& c = chart();
  c.plot.rescaleAxes();
  for (auto _ : state) {
    c.set_all_data();
    c.replot();
  }
  state.counters["items"] = kSamples * 22.0;
}
BENCHMARK(BM_Replot)->Unit(benchmark::kMillisecond);

void BM_FullRedisplay(benchmark::State& state) {
  PeerChart& c = chart();
  c.plot.rescaleAxes();
  for (auto _ : state) c.replot();
}
BENCHMARK(BM_FullRedisplay)->Unit(benchmark::kMillisecond);

// New ranges on both axis pairs, as a pan drag sets them, then a picture.
void BM_PanFrame(benchmark::State& state) {
  PeerChart& c = chart();
  const double span = static_cast<double>(state.range(0));  // seconds shown
  double start = 100;
  for (auto _ : state) {
    start = start > 5000 ? 100 : start + span / 573;
    for (QCPAxis* x : {c.plot.xAxis, c.plot.xAxis2}) x->setRange(start, start + span);
    for (QCPAxis* y : {c.plot.yAxis, c.plot.yAxis2}) y->setRange(0, 200);
    c.replot();
  }
}
BENCHMARK(BM_PanFrame)->Arg(6000)->Arg(600)->Arg(60)->Unit(benchmark::kMillisecond);

}  // namespace

int main(int argc, char** argv) {
  if (std::getenv("QT_QPA_PLATFORM") == nullptr) ::setenv("QT_QPA_PLATFORM", "offscreen", 1);
  QApplication app(argc, argv);
  const char* kSave = "--save-picture=";
  for (int i = 1; i < argc; ++i) {
    if (std::strncmp(argv[i], kSave, std::strlen(kSave)) != 0) continue;
    chart().plot.rescaleAxes();
    chart().replot();
    const bool saved = chart().plot.savePng(QString::fromLocal8Bit(argv[i] + std::strlen(kSave)));
    the_chart.reset();
    return saved ? 0 : 1;
  }
  benchmark::Initialize(&argc, argv);
  benchmark::RunSpecifiedBenchmarks();
  benchmark::Shutdown();
  the_chart.reset();
  return 0;
}
