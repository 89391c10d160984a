#include "logdata/decoder.h"

#include <algorithm>
#include <array>
#include <cmath>
#include <cstdio>

#include "logdata/packet_format.h"

namespace kv {
namespace {

using packet::ImageReader;

constexpr long kSmoothAbove = 25;
constexpr double kSamplePeriod = 0.1;
constexpr double kRpmScale = 100.0;

// Seconds from milliseconds, truncated to 0.01 s after the value has been
// rounded to single precision (so 83450 ms reads 83.44).
float floored_seconds(std::uint32_t ms) {
  const float seconds = static_cast<float>(ms / 1000.0);
  return static_cast<float>(std::floor(static_cast<double>(seconds) * 100.0) / 100.0);
}

int gear_from(std::uint8_t code, int previous) {
  const char c = static_cast<char>(code & 0x7F);
  if (c >= '1' && c <= '6') return c - '0';
  if (c == 'C') return previous;
  return 0;
}

// Pass 1: counts every packet type; false (with the offending header) at the
// first invalid one.
bool count_packets(const ImageReader& image, std::uint32_t used_bytes, Dataset& data, Ui& ui,
                   std::uint8_t& bad_header) {
  std::fill(data.packet_count.begin() + 1, data.packet_count.end(), 0u);
  std::uint32_t pos = 0;
  while (packet::inside(pos, used_bytes, image.size())) {
    ui.pump();
    const std::uint8_t header = image.byte(pos);
    if (!packet::header_valid(header)) {
      bad_header = header;
      return false;
    }
    ++data.packet_count[static_cast<std::size_t>(packet::type_of(header))];
    pos += static_cast<std::uint32_t>(packet::length_of(header));
  }
  return true;
}

void size_channels(Dataset& d, long samples, long laps, bool has_slow) {
  for (TVector* ch : {&d.ch_time, &d.ch_rpm, &d.ch_speed, &d.ch_oil_pressure, &d.ch_gear, &d.ch_brake,
                      &d.ch_lap_odo, &d.ch_odo, &d.ch_lap, &d.ch_session, &d.ch_lap_time}) {
    ch->setNrOfElem(samples);
  }
  if (laps > 0) d.lap_table.resize(static_cast<std::size_t>(laps));
  if (has_slow) {
    for (TVector* ch : {&d.ch_oil_temp, &d.ch_water_temp, &d.ch_battery, &d.ch_fuel}) ch->setNrOfElem(samples);
  }
}

// Pass 2: the decoder's working values and one handler per packet type.
class PacketDecoder {
 public:
  PacketDecoder(const ImageReader& image, Dataset& data, double pulses_per_mile)
      : image_(image), d_(data), pulses_per_mile_(pulses_per_mile) {}

  void run(std::uint32_t used_bytes, Ui& ui) {
    std::uint32_t pos = 0;
    while (packet::inside(pos, used_bytes, image_.size())) {
      ui.pump();
      const std::uint8_t header = image_.byte(pos);
      const std::uint32_t start = pos;
      // Headers are not checked again here, but a zero length must never
      // stop the walk from moving on.
      pos += static_cast<std::uint32_t>(std::max(packet::length_of(header), 1));
      switch (packet::type_of(header)) {
        case packet::kSample: sample(start); break;
        case packet::kLapRecord: pos = lap_record(start, pos, used_bytes); break;
        case packet::kSlowChannels: slow_channels(start); break;
        default: break;
      }
    }
  }

 private:
  double metres(std::uint32_t counter) const {
    return static_cast<double>(counter * packet::kMetresPerMileCounts) / pulses_per_mile_;
  }

  void sample(std::uint32_t at) {
    const std::uint8_t b1 = image_.byte(at + 1);
    const std::uint8_t b4 = image_.byte(at + 4);
    const long h = h_;
    d_.ch_time.set(h, t_);
    d_.ch_rpm.set(h, static_cast<double>(((b1 & 0x7Fu) << 8) | image_.byte(at + 2)) / kRpmScale);
    d_.ch_speed.set(h, static_cast<double>(((b1 & 0x80u) << 1) | image_.byte(at + 3)));
    previous_gear_ = gear_from(b4, previous_gear_);
    d_.ch_gear.set(h, previous_gear_);
    d_.ch_brake.set(h, (b4 & 0x80u) ? 1.0 : 0.0);
    d_.ch_oil_pressure.set(h, image_.byte(at + 5));
    d_.ch_lap_odo.set(h, metres(image_.word(at + 6)));

    const double step = d_.ch_lap_odo.get(h) - d_.ch_lap_odo.get(h - 1);
    if (step > 0) total_distance_ += step;
    d_.ch_odo.set(h, total_distance_);
    if (step < 0) last_drop_time_ = t_;

    d_.ch_oil_temp.set(h, held_[0]);
    d_.ch_water_temp.set(h, held_[1]);
    d_.ch_battery.set(h, held_[2]);
    d_.ch_fuel.set(h, held_[3]);
    ++h_;
    t_ += kSamplePeriod;
  }

  // Returns the position after the record and the split packet that follows
  // it, when there is one.
  std::uint32_t lap_record(std::uint32_t at, std::uint32_t pos, std::uint32_t used_bytes) {
    LapRecord rec;
    rec.end_time = last_drop_time_;
    rec.lap = image_.byte(at + 1);
    rec.lap_time = floored_seconds(image_.dword(at + 2));
    rec.lap_distance = static_cast<float>(metres(image_.word(at + 6)));
    const std::uint32_t split_at = at + packet::kSplitOffset;
    if (packet::inside(pos, used_bytes, image_.size()) &&
        packet::type_of(image_.byte(split_at)) == packet::kSplits) {
      rec.split_signs = image_.byte(split_at + 1);
      for (std::uint32_t k = 0; k < rec.split.size(); ++k) {
        const float split = floored_seconds(image_.word(split_at + 2 + 2 * k));
        rec.split[k] = (rec.split_signs & (1u << k)) ? split : -split;
      }
      pos += static_cast<std::uint32_t>(packet::length_of(image_.byte(split_at)));
    }
    if (record_index_ < d_.lap_table.size()) d_.lap_table[record_index_] = rec;
    ++record_index_;
    return pos;
  }

  void slow_channels(std::uint32_t at) {
    const long h = h_ - 1;  // the sample before this packet (0 before the first: no effect)
    d_.ch_oil_temp.set(h, ((image_.byte(at + 1) & 1u) << 8) | image_.byte(at + 2));
    d_.ch_water_temp.set(h, ((image_.byte(at + 3) & 1u) << 8) | image_.byte(at + 4));
    d_.ch_battery.set(h, image_.byte(at + 5) + image_.byte(at + 6) / 10.0);
    d_.ch_fuel.set(h, image_.byte(at + 7));
    held_ = {d_.ch_oil_temp.get(h), d_.ch_water_temp.get(h), d_.ch_battery.get(h), d_.ch_fuel.get(h)};
  }

  const ImageReader& image_;
  Dataset& d_;
  double pulses_per_mile_;
  long h_ = 1;
  double t_ = kSamplePeriod;
  double total_distance_ = 0;
  double last_drop_time_ = 0;
  std::size_t record_index_ = 0;
  int previous_gear_ = 0;
  std::array<double, 4> held_{};
};

void number_sessions(std::vector<LapRecord>& laps, std::size_t count) {
  std::uint8_t session = 1;
  for (std::size_t r = 0; r < count; ++r) {
    // Compared as whole numbers: a lap count wrapping from 255 to 0 also
    // starts a new session.
    if (r > 0 && laps[r].lap != laps[r - 1].lap + 1) ++session;
    laps[r].session = session;
  }
}

// A sample belongs to the lap that ends after it; the sample at which a lap
// ended already belongs to the next one.
void assign_laps(Dataset& d, long samples, std::size_t count) {
  double lap = 0, session = 0, lap_time = 0;
  auto take = [&](const LapRecord& r, int lap_offset) {
    lap = r.lap + lap_offset;
    session = r.session;
    lap_time = r.lap_time;
  };
  if (count > 0) take(d.lap_table[0], 0);
  std::size_t k = 0;
  for (long i = 1; i <= samples; ++i) {
    if (k < count && d.ch_time.get(i) == d.lap_table[k].end_time) {
      ++k;
      if (k < count) take(d.lap_table[k], 0);
      else take(d.lap_table[count - 1], 1);
    }
    d.ch_lap.set(i, lap);
    d.ch_session.set(i, session);
    d.ch_lap_time.set(i, lap_time);
  }
}

// A decode that fails leaves nothing of an earlier log behind: its samples
// and laps would otherwise be exported or plotted as if they were this one's.
void forget_decode(Dataset& d) {
  d.decoded_valid = 0;
  d.packet_count.fill(0);
  d.lap_table.clear();
  for (TVector* ch : {&d.ch_time, &d.ch_rpm, &d.ch_speed, &d.ch_gear, &d.ch_brake, &d.ch_oil_pressure,
                      &d.ch_oil_temp, &d.ch_water_temp, &d.ch_battery, &d.ch_fuel, &d.ch_odo, &d.ch_lap_odo,
                      &d.ch_lap, &d.ch_session, &d.ch_lap_time}) {
    ch->clear();
  }
}

}  // namespace

std::string packet_error_text(int type, int length) {
  char text[80];
  std::snprintf(text, sizeof text, "Problem Processing Korvanta Data Error: t%d.b%d", type, length);
  return text;
}

std::string processed_text(std::uint32_t used_bytes) {
  char text[64];
  std::snprintf(text, sizeof text, "Processed %d bytes of Data", static_cast<int>(used_bytes));
  return text;
}

bool process_data_packets(LogState& log, Ui& ui, bool smooth) {
  Dataset& data = log.current();
  if (data.identity.pulses_per_mile == 0) {
    forget_decode(data);
    ui.error(decode_text::kZeroPulses);
    return false;
  }
  // The walk works on its own copy: the message pump may let the person
  // replace this dataset's image while the decode runs.
  const std::vector<std::uint8_t> bytes = data.raw_memory;
  const ImageReader image(bytes);
  const std::uint32_t used_bytes = data.used_bytes;
  std::uint8_t bad_header = 0;
  bool counted = false;
  long samples = 0;
  {
    BusyCursor busy(ui);
    data.decoded_valid = 1;
    counted = count_packets(image, used_bytes, data, ui, bad_header);
    samples = data.sample_count();
    if (counted && samples > 0) {
      const std::size_t laps = data.packet_count[packet::kLapRecord];
      size_channels(data, samples, static_cast<long>(laps), data.packet_count[packet::kSlowChannels] > 0);
      PacketDecoder(image, data, data.identity.pulses_per_mile).run(used_bytes, ui);
      data.held_units = recorded_units(data.identity);
      if (smooth && samples > kSmoothAbove) smooth_data_packets(data, samples);
      const std::size_t records = std::min(laps, data.lap_table.size());
      number_sessions(data.lap_table, records);
      assign_laps(data, samples, records);
    }
  }
  if (!counted) {
    forget_decode(data);
    ui.error(packet_error_text(packet::type_of(bad_header), packet::length_of(bad_header)));
  } else if (samples == 0) {
    forget_decode(data);
    ui.information(decode_text::kNoValidData);
  } else if (data.decoded_valid) {
    ui.information(processed_text(used_bytes));
  }
  return data.decoded_valid == 1;
}

}  // namespace kv
