// config-read and config-write: the configure window's Read Config + Save
// Config and Load Config + Write Config, for scripts. The same checks,
// exchanges and messages run; any refusal ends the command with exit code 1.
#include <cstdio>

#include "cli/commands.h"
#include "config/config_exchange.h"
#include "config/config_file.h"
#include "config/odometer_password.h"
#include "link/serial_state.h"

namespace kv::cli {
namespace {

constexpr int kOk = kExitOk;
constexpr int kRefused = kExitRefused;
constexpr int kUsage = kExitUsage;

// The window's state for one command: the configuration as a fresh program
// holds it, the serial port and the file dialog defaults.
struct ConfigSession {
  ConfigState config;
  config::ConfigForm form{config};
  SerialState serial;
  DialogDefault file{".", "default.kvc"};

  ConfigSession() { form.setup(); }
};

std::optional<std::string> single_file(const Args& args, const char* usage) {
  const Args files = positional(args);
  if (files.size() != 1) {
    std::fprintf(stderr, "korvanta-cli: %s\n", usage);
    return std::nullopt;
  }
  return files.front();
}

int config_read(const Args& args, ConsoleUi& ui) {
  const auto port = port_option(args, ui);
  const auto name = single_file(args, "config-read needs one OUT.kvc file");
  if (!port || !name) return kUsage;
  const auto out = checked_output(*name, config::file_text::kExtension, args);
  if (!out) return kRefused;
  ConfigSession session;
  if (!open_port(session.serial, args, ui)) return kRefused;
  if (config::get_config_data(session.form, session.serial.link, ui) == config::ReadResult::failed) {
    return kRefused;
  }
  ui.queue_file(*out);
  return config::save_config_data(session.form, session.file, ui) ? kOk : kRefused;
}

int config_write(const Args& args, ConsoleUi& ui) {
  const auto port = port_option(args, ui);
  const auto in = single_file(args, "config-write needs one IN.kvc file");
  if (!port || !in) return kUsage;
  ConfigSession session;
  ui.queue_file(*in);
  if (!config::load_config_data(session.form, session.file, ui)) return kRefused;
  if (const auto password = option_value(args, "--odometer-password")) {
    // The "Factory Set" box and its password dialog.
    session.form.set_factory_set(true);
    config::open_password(session.form);
    const bool accepted = config::enter_password(session.form, *password, ui);
    config::close_password(session.form);
    if (!accepted) return kRefused;
  }
  if (!open_port(session.serial, args, ui)) return kRefused;
  return config::set_config_data(session.form, session.serial.link, ui) ? kOk : kRefused;
}

}  // namespace

std::optional<int> run_config_command(const std::string& command, const Args& args, ConsoleUi& ui) {
  if (command == "config-read") return config_read(args, ui);
  if (command == "config-write") return config_write(args, ui);
  return std::nullopt;
}

}  // namespace kv::cli
