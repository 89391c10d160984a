#include "analysis/cursor_readout.h"

#include "analysis/plot_text.h"
#include "logdata/sample_time.h"

namespace kv::analysis {
namespace {

constexpr int kAxisDecimals = 1;
constexpr int kTimeDecimals = 2;

std::string slot_line(const OverlaySlot& slot, int number) {
  const LapSelection& lap = slot.lap;
  return "Sel " + std::to_string(number) + " = Log:" + padded_int(lap.session) + " Lap:" + padded_int(lap.lap) +
         " Data:" + lap.set_letter + " Time: " + fixed_text(lap.lap_time, kTimeDecimals);
}

bool has_laps(const Dataset& data) { return data.lap_count() > 0 && !data.lap_table.empty(); }

std::string dataset_line(const Dataset& data, const char* name, long k) {
  return std::string(name) + ": Log:" + fixed_text(data.ch_session.get(k), 0) +
         " Lap:" + fixed_text(data.ch_lap.get(k), 0) + " Time: " + fixed_text(data.ch_lap_time.get(k), kTimeDecimals);
}

}  // namespace

std::string cursor_readout(const LogState& log, const PlotState& plot, double x, double y) {
  std::string text = "Axis: " + fixed_text(y, kAxisDecimals) + " at " + fixed_text(x, kAxisDecimals);
  if (plot.settings.x_channel != XChannel::Time) return text;
  std::string line_a;
  std::string line_b;
  if (plot.settings.plot_mode == PlotMode::LapOverlay) {
    if (plot.overlay[0].chosen) line_a = slot_line(plot.overlay[0], 1);
    if (plot.overlay[1].chosen) line_b = slot_line(plot.overlay[1], 2);
  } else {
    const long k = sample_at(x);
    if (has_laps(log.dataset(kDataSetA))) line_a = dataset_line(log.dataset(kDataSetA), "DataA", k);
    if (has_laps(log.dataset(kDataSetB))) line_b = dataset_line(log.dataset(kDataSetB), "DataB", k);
  }
  for (const std::string* line : {&line_a, &line_b}) {
    if (!line->empty()) text += '\n' + *line;
  }
  if (!line_a.empty() || !line_b.empty()) text += ' ';
  return text;
}

std::string with_readout_line(std::string readout, const std::string& line) {
  if (line.empty()) return readout;
  if (!readout.empty() && readout.back() == ' ') readout.pop_back();
  return readout + '\n' + line + ' ';
}

}  // namespace kv::analysis
