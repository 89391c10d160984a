#pragma once
// Fills an instrument's memory with a generated multi-session log.
#include "emulator/instrument.h"

namespace kv::emu {

void load_generated_log(Instrument& instrument, int pages, unsigned seed);

}  // namespace kv::emu
