// The decoder on an arbitrary image: the first bytes choose the shared
// used-byte count (which may disagree with the image) and the distance scale.
#include <cstddef>
#include <cstdint>

#include "logdata/csv_export.h"
#include "logdata/decoder.h"
#include "ui/scripted_ui.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  constexpr std::size_t kPrefix = 4;
  if (size < kPrefix) return 0;
  kv::LogState log;
  kv::ScriptedUi ui;
  const std::uint32_t image_size = static_cast<std::uint32_t>(size - kPrefix);
  // Used bytes: the image's own length, or one a little off either way.
  const int skew = static_cast<std::int8_t>(data[0]);
  kv::Dataset& dataset = log.current();
  dataset.used_bytes =
      data[1] & 1 ? image_size : static_cast<std::uint32_t>(static_cast<std::int64_t>(image_size) + skew);
  dataset.identity.pulses_per_mile = static_cast<std::uint16_t>(data[2] << 8 | data[3]);
  dataset.raw_memory.assign(data + kPrefix, data + size);
  dataset.memory_valid = 1;
  // Slow channels left over from an earlier, shorter decode.
  dataset.ch_oil_temp.setNrOfElem(data[1] >> 1);
  kv::process_data_packets(log, ui);
  (void)kv::csv_export_text(dataset);
  return 0;
}
