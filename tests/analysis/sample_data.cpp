#include "tests/analysis/sample_data.h"

namespace kv::analysis::test {

void fill_dataset(Dataset& data, long samples, long laps, double rpm_offset) {
  for (TVector* v : {&data.ch_time, &data.ch_rpm, &data.ch_speed, &data.ch_gear, &data.ch_brake,
                     &data.ch_oil_pressure, &data.ch_oil_temp, &data.ch_water_temp, &data.ch_battery, &data.ch_fuel,
                     &data.ch_odo, &data.ch_lap_odo, &data.ch_lap, &data.ch_session, &data.ch_lap_time}) {
    v->setNrOfElem(samples);
  }
  for (long i = 1; i <= samples; ++i) {
    data.ch_time.set(i, 0.1 * static_cast<double>(i));
    data.ch_rpm.set(i, 20 + rpm_offset + static_cast<double>(i));
    data.ch_speed.set(i, 50 + static_cast<double>(i));
    data.ch_gear.set(i, 3);
    data.ch_brake.set(i, 1);
    data.ch_oil_pressure.set(i, 40);
    data.ch_oil_temp.set(i, 90);
    data.ch_water_temp.set(i, 85);
    data.ch_battery.set(i, 13.8);
    data.ch_fuel.set(i, 60);
    data.ch_odo.set(i, 10.0 * static_cast<double>(i));
    data.ch_lap_odo.set(i, 10.0 * static_cast<double>(i % 100));
    data.ch_lap.set(i, 1 + static_cast<double>(i / 100));
    data.ch_session.set(i, 1);
    data.ch_lap_time.set(i, 60);
  }
  data.packet_count[1] = static_cast<std::uint32_t>(samples);
  data.packet_count[2] = static_cast<std::uint32_t>(laps);
  data.lap_table.assign(static_cast<std::size_t>(laps), LapRecord{});
  data.decoded_valid = 1;
  data.memory_valid = 1;
}

}  // namespace kv::analysis::test
