#include "cli/commands.h"

namespace kv::cli {

std::optional<int> run_log_command(const std::string&, const Args&, ConsoleUi&) { return std::nullopt; }

}  // namespace kv::cli
