// The log file reader on an arbitrary file; whatever it accepts is decoded,
// written back and exported as the program would.
#include <cstddef>
#include <cstdint>
#include <string>

#include "logdata/csv_export.h"
#include "logdata/decoder.h"
#include "logdata/log_file_format.h"
#include "ui/scripted_ui.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  kv::ScriptedUi ui;
  const std::string text(reinterpret_cast<const char*>(data), size);
  kv::LogFileRead read = kv::read_log_file_text(text, ui);
  if (read.fault != kv::LogFileFault::None) return 0;
  kv::LogState log;
  kv::Dataset& dataset = log.current();
  dataset.raw_memory = std::move(read.contents.raw_memory);
  dataset.sheet = std::move(read.contents.sheet);
  dataset.used_bytes = read.contents.used_bytes;
  dataset.identity = read.contents.identity;
  kv::process_data_packets(log, ui);
  (void)kv::write_log_file_text(dataset.sheet, dataset.identity, dataset.raw_memory, dataset.used_bytes, false, ui);
  (void)kv::csv_export_text(dataset);
  return 0;
}
