#include "emulator/demo_log.h"

namespace kv::emu {

void load_generated_log(Instrument& instrument, int pages, unsigned /*seed*/) {
  instrument.memory.total_pages = 2048;
  instrument.memory.used_pages = static_cast<std::uint16_t>(pages);
  instrument.memory.tail_count = 0;
  instrument.memory.data.assign(static_cast<std::size_t>(pages) * kPageBytes, 0);
}

}  // namespace kv::emu
