// A 128-page download from the emulated instrument over a pseudo-terminal:
// unpaced (how fast the program's side goes) and paced at the line's 115200
// baud (how close the program stays to the line's physical limit), each also
// with the protocol log writing every byte to a file.
#include <benchmark/benchmark.h>

#include <QCoreApplication>
#include <chrono>

#include "link/log_download.h"
#include "link/serial_state.h"
#include "tests/support/emulator_fixture.h"
#include "tests/support/temp_dir.h"
#include "ui/scripted_ui.h"

namespace {

constexpr std::uint16_t kPages = 128;
constexpr double kBitsPerByte = 10.0;

kv::emu::Instrument instrument_with_pages(int baud) {
  kv::emu::Instrument unit;
  unit.memory.total_pages = 2048;
  unit.memory.used_pages = kPages - 1;  // pages 0 … 127
  unit.memory.tail_count = 255;
  unit.memory.data.assign(static_cast<std::size_t>(kPages) * 256, 0x5A);
  unit.pacing_baud = baud;
  return unit;
}

void run_download(benchmark::State& state, int baud, bool logged) {
  kv::test::EmulatorFixture instrument(instrument_with_pages(baud));
  kv::SerialState serial;
  kv::ScriptedUi ui;
  kv::test::TempDir log_folder;
  if (logged) serial.protocol_log.set_path(log_folder.file("line.log"));
  if (!instrument.open(serial, ui)) {
    state.SkipWithError("cannot open the emulated port");
    return;
  }
  kv::LogDownload fetched;
  long bytes = 0;
  double elapsed = 0;
  for (auto _ : state) {
    instrument.emulator().reset_traffic();
    const auto start = std::chrono::steady_clock::now();
    const auto outcome = serial.link.download_log(fetched, false, ui);
    elapsed += std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();
    if (outcome != kv::LinkOutcome::Done) {
      const auto texts = ui.texts();
      state.SkipWithError(("download failed: " + (texts.empty() ? std::string() : texts.back())).c_str());
      break;
    }
    const auto traffic = instrument.emulator().traffic();
    bytes += traffic.bytes_in + traffic.bytes_out;
  }
  state.counters["line_bytes"] = static_cast<double>(bytes) / static_cast<double>(state.iterations());
  state.counters["bytes_per_second"] = static_cast<double>(bytes) / elapsed;
  if (baud > 0) {
    const double line_time = static_cast<double>(bytes) * kBitsPerByte / baud;
    state.counters["elapsed_over_line_time"] = elapsed / line_time;
  }
}

void BM_DownloadUnpaced(benchmark::State& state) { run_download(state, 0, false); }
void BM_DownloadUnpacedLogged(benchmark::State& state) { run_download(state, 0, true); }
void BM_DownloadPaced115200(benchmark::State& state) { run_download(state, kv::kLineBaud, false); }
void BM_DownloadPaced115200Logged(benchmark::State& state) { run_download(state, kv::kLineBaud, true); }

BENCHMARK(BM_DownloadUnpaced)->Unit(benchmark::kMillisecond)->UseRealTime();
BENCHMARK(BM_DownloadUnpacedLogged)->Unit(benchmark::kMillisecond)->UseRealTime();
BENCHMARK(BM_DownloadPaced115200)->Unit(benchmark::kMillisecond)->UseRealTime()->Iterations(3);
BENCHMARK(BM_DownloadPaced115200Logged)->Unit(benchmark::kMillisecond)->UseRealTime()->Iterations(3);

}  // namespace

int main(int argc, char** argv) {
  QCoreApplication app(argc, argv);
  benchmark::Initialize(&argc, argv);
  benchmark::RunSpecifiedBenchmarks();
  benchmark::Shutdown();
  return 0;
}
