#pragma once
// A generated log as the download window leaves it, for benchmarks, tools
// and tests that need a realistic dataset without an instrument.
#include <cstdint>

#include "emulator/log_generator.h"
#include "logdata/dataset.h"
#include "logdata/log_state.h"

namespace kv::emu {

// The memory image and the unit's identity in `data`, not yet decoded.
void load_download(Dataset& data, const GeneratedLog& log, std::uint16_t unit_version = 325);

// `log` downloaded into the current dataset of `state` and decoded.
void decode_download(LogState& state, const GeneratedLog& log, std::uint16_t unit_version = 325);

}  // namespace kv::emu
