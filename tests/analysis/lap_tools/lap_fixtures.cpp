#include "lap_fixtures.h"

#include <cmath>

#include "logdata/decoder.h"
#include "ui/scripted_ui.h"

namespace kv::lap_tools::test {

void fill(TVector& channel, const std::vector<double>& values) {
  channel.setNrOfElem(static_cast<long>(values.size()));
  for (std::size_t i = 0; i < values.size(); ++i) channel.set(static_cast<long>(i) + 1, values[i]);
}

Dataset dataset_with_lap_odo(const std::vector<double>& lap_odo) {
  Dataset data;
  const auto n = static_cast<long>(lap_odo.size());
  std::vector<double> times;
  for (long i = 1; i <= n; ++i) times.push_back(0.1 * static_cast<double>(i));
  fill(data.ch_time, times);
  fill(data.ch_lap_odo, lap_odo);
  for (TVector* channel : {&data.ch_rpm, &data.ch_speed, &data.ch_gear, &data.ch_brake, &data.ch_oil_pressure,
                           &data.ch_oil_temp, &data.ch_water_temp}) {
    channel->setNrOfElem(n);
  }
  data.packet_count[1] = static_cast<std::uint32_t>(n);
  data.decoded_valid = n > 0 ? 1 : 0;
  return data;
}

LapRef lap_over(const Dataset& data, long first, long last, double lap_time) {
  return {&data, {first, last}, lap_time};
}

Dataset dataset_of_laps(const std::vector<std::array<double, 3>>& sector_speeds, double circuit_metres) {
  constexpr double kDt = 0.1;
  constexpr int kWaiting = 3;
  std::vector<double> odo(kWaiting, 0.0);
  std::vector<LapRecord> records;
  double t = kDt * kWaiting, d = 0.0, lap_start = t;
  for (std::size_t lap = 0; lap <= sector_speeds.size(); ++lap) {
    // The lap after the last one only shows where the last one ended.
    const auto& speeds = sector_speeds[std::min(lap, sector_speeds.size() - 1)];
    while (true) {
      const auto sector = std::min<std::size_t>(static_cast<std::size_t>(d / (circuit_metres / 3)), 2);
      const double next = d + speeds[sector] * kDt;
      t += kDt;
      if (next < circuit_metres) {
        d = next;
        odo.push_back(d);
        if (lap == sector_speeds.size()) break;
        continue;
      }
      const double crossing = t - kDt + kDt * (circuit_metres - d) / (next - d);
      d = next - circuit_metres;
      odo.push_back(d);
      LapRecord r;
      r.end_time = kDt * static_cast<double>(odo.size());
      r.lap = static_cast<std::uint8_t>(lap + 1);
      r.session = 1;
      r.lap_time = static_cast<float>(std::floor((crossing - lap_start) * 100) / 100);
      r.lap_distance = static_cast<float>(circuit_metres);
      records.push_back(r);
      lap_start = crossing;
      break;
    }
  }
  Dataset data = dataset_with_lap_odo(odo);
  data.lap_table = records;
  data.packet_count[2] = static_cast<std::uint32_t>(records.size());
  return data;
}

DecodedLog::DecodedLog(const emu::GeneratorOptions& options, std::uint8_t set) : truth(emu::generate_log(options)) {
  log.current_data_set = set;
  Dataset& data = log.current();
  data.raw_memory = truth.memory.data;
  data.memory_valid = 1;
  log.current().used_bytes = truth.used_bytes;
  log.current().identity.pulses_per_mile = truth.pulses_per_mile;
  log.current().identity.set_flags(truth.unit_flags1, truth.unit_flags2);
  ScriptedUi ui;
  ok = process_data_packets(log, ui);
}

const DecodedLog& two_session_log() {
  static const DecodedLog decoded({.pages = 200, .sessions = 2, .seed = 11});
  return decoded;
}

}  // namespace kv::lap_tools::test
