#include "tests/analysis/generated_logs.h"

#include "logdata/log_file_format.h"
#include "tests/support/temp_dir.h"
#include "ui/scripted_ui.h"

namespace kv::analysis::test {

emu::GeneratedLog write_generated_log(const std::string& path, const emu::GeneratorOptions& options) {
  emu::GeneratedLog truth = emu::generate_log(options);
  UnitIdentity identity;
  identity.unit_version = kMinUnitVersion;
  identity.pulses_per_mile = truth.pulses_per_mile;
  identity.set_flags(truth.unit_flags1, truth.unit_flags2);
  ScriptedUi ui;
  kv::test::write_file(path, write_log_file_text(SetupSheet{}, identity, truth.memory.data, truth.used_bytes, false, ui));
  return truth;
}

}  // namespace kv::analysis::test
