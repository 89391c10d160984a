#pragma once
// The command-line tool's commands. Each group returns nothing when it does
// not know the command, otherwise the process exit code (0 only when nothing
// was refused).
#include <optional>
#include <string>
#include <vector>

#include "ui/console_ui.h"

namespace kv {
struct SerialState;
}

namespace kv::cli {

using Args = std::vector<std::string>;

inline constexpr int kExitOk = 0;
inline constexpr int kExitRefused = 1;
inline constexpr int kExitUsage = 2;

// download, dump, convert
std::optional<int> run_log_command(const std::string& command, const Args& args, ConsoleUi& ui);
// config-read, config-write
std::optional<int> run_config_command(const std::string& command, const Args& args, ConsoleUi& ui);
// library list|import|rebuild|export-csv
std::optional<int> run_library_command(const std::string& command, const Args& args);

// The value after `--name` in args, if present.
std::optional<std::string> option_value(const Args& args, const std::string& name);
// True when the valueless option `--name` is present.
bool has_flag(const Args& args, const std::string& name);
// The arguments that are neither options nor option values.
Args positional(const Args& args);
// Removes and returns the command: the first word that is not an option or
// an option's value (options may stand before or after it).
std::optional<std::string> take_command(Args& args);
// The first option that the tool does not know, if any.
std::optional<std::string> unknown_option(const Args& args);
// The --port number 1-4, or nothing after printing why not.
std::optional<int> port_option(const Args& args, ConsoleUi& ui);

// Opens --port the way the radio group does, with the protocol log of
// --protocol-log; says which device it tried when the port does not open.
bool open_port(SerialState& serial, const Args& args, ConsoleUi& ui);

// Checks an output name before any work is done, so a refused name never
// throws a download away: the kind's `extension` (".kvl"; appended when the
// name has none), an existing folder, and no existing file unless `--force`
// is given. The path to write, or nothing after printing why not.
std::optional<std::string> checked_output(const std::string& name, const std::string& extension, const Args& args);

}  // namespace kv::cli
