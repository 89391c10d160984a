// A 128-page download through the download window at the line's 115200 baud:
// the window's event pumping and progress updates must keep the elapsed time
// close to the time the bytes need on the line.
#include <benchmark/benchmark.h>

#include <QApplication>
#include <chrono>

#include "emulator/log_generator.h"
#include "logdata/download_window.h"
#include "tests/support/emulator_fixture.h"
#include "ui/qt_ui.h"
#include "ui/scripted_ui.h"

namespace {

constexpr double kBitsPerByte = 10.0;

// Real event pumping and cursor, scripted message boxes (nobody is there to
// press OK).
class PumpingUi : public kv::ScriptedUi {
 public:
  void pump() override { real_.pump(); }
  void set_busy(bool busy) override { real_.set_busy(busy); }

 private:
  kv::QtUi real_;
};

void BM_WindowDownloadPaced115200(benchmark::State& state) {
  auto unit = kv::emu::with_log(kv::emu::generate_log({.pages = 128, .seed = 3}));
  unit.memory.used_pages = 127;
  unit.pacing_baud = kv::kLineBaud;
  kv::test::EmulatorFixture instrument(unit);
  PumpingUi ui;
  kv::LogState log;
  kv::SerialState serial;
  kv::DialogDefaults dialogs = kv::DialogDefaults::in_folder(".");
  kv::TForm2 form({log, serial, dialogs}, ui);
  form.show();
  form.change_serial_port(0);
  long bytes = 0;
  double elapsed = 0;
  for (auto _ : state) {
    instrument.emulator().reset_traffic();
    const auto start = std::chrono::steady_clock::now();
    form.get_log_dataSet();
    elapsed += std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();
    const auto traffic = instrument.emulator().traffic();
    if (traffic.pages_served != 128) state.SkipWithError("the download did not read every page");
    bytes += traffic.bytes_in + traffic.bytes_out;
  }
  const double line_time = static_cast<double>(bytes) * kBitsPerByte / kv::kLineBaud;
  state.counters["elapsed_over_line_time"] = elapsed / line_time;
}

BENCHMARK(BM_WindowDownloadPaced115200)->Unit(benchmark::kMillisecond)->UseRealTime()->Iterations(3);

}  // namespace

int main(int argc, char** argv) {
  qputenv("QT_QPA_PLATFORM", qgetenv("QT_QPA_PLATFORM").isEmpty() ? "offscreen" : qgetenv("QT_QPA_PLATFORM"));
  QApplication app(argc, argv);
  benchmark::Initialize(&argc, argv);
  benchmark::RunSpecifiedBenchmarks();
  benchmark::Shutdown();
  return 0;
}
