#include "emulator/generated_download.h"

#include "logdata/decoder.h"
#include "ui/scripted_ui.h"

namespace kv::emu {

void load_download(Dataset& data, const GeneratedLog& log, std::uint16_t unit_version) {
  data.raw_memory = log.memory.data;
  data.used_bytes = log.used_bytes;
  data.memory_valid = 1;
  data.identity.unit_version = unit_version;
  data.identity.pulses_per_mile = log.pulses_per_mile;
  data.identity.set_flags(log.unit_flags1, log.unit_flags2);
}

void decode_download(LogState& state, const GeneratedLog& log, std::uint16_t unit_version) {
  load_download(state.current(), log, unit_version);
  ScriptedUi quiet;
  process_data_packets(state, quiet);
}

}  // namespace kv::emu
