#include "emulator/demo_log.h"

#include "emulator/log_generator.h"

namespace kv::emu {

void load_generated_log(Instrument& instrument, int pages, unsigned seed) {
  GeneratorOptions options;
  options.pages = pages;
  options.seed = seed;
  options.sessions = pages >= 64 ? 3 : 2;
  const Instrument loaded = with_log(generate_log(options), instrument);
  instrument = loaded;
  instrument.memory.total_pages = kFullMemoryPages;
}

}  // namespace kv::emu
