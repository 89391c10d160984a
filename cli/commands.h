#pragma once
// The command-line tool's commands. Each group returns nothing when it does
// not know the command, otherwise the process exit code (0 only when nothing
// was refused).
#include <optional>
#include <string>
#include <vector>

#include "ui/console_ui.h"

namespace kv::cli {

using Args = std::vector<std::string>;

// download, dump, convert
std::optional<int> run_log_command(const std::string& command, const Args& args, ConsoleUi& ui);
// config-read, config-write
std::optional<int> run_config_command(const std::string& command, const Args& args, ConsoleUi& ui);

// The value after `--name` in args, if present.
std::optional<std::string> option_value(const Args& args, const std::string& name);
// The arguments that are neither options nor option values.
Args positional(const Args& args);
// The --port number 1-4, or nothing after printing why not.
std::optional<int> port_option(const Args& args, ConsoleUi& ui);

}  // namespace kv::cli
