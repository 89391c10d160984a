#pragma once
// Log files of generated sessions, written as the download window saves them,
// for tests that load logs through the plot window's own buttons.
#include <string>

#include "emulator/log_generator.h"

namespace kv::analysis::test {

// Writes `options`' generated log to `path` as a log file; returns the truth.
emu::GeneratedLog write_generated_log(const std::string& path, const emu::GeneratorOptions& options);

}  // namespace kv::analysis::test
