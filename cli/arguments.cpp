#include <array>
#include <cstdio>
#include <string_view>

#include "cli/commands.h"
#include "common/text_lines.h"
#include "link/serial_state.h"

namespace kv::cli {
namespace {

constexpr std::array<std::string_view, 13> kValueOptions{
    "--port", "--set", "--odometer-password", "--protocol-log", "--library", "--track", "--car",
    "--driver", "--text", "--from", "--to", "--sort", "--columns"};
constexpr std::array<std::string_view, 5> kFlags{"--force", "--keep-partial", "--help", "-h", "--descending"};

bool is_option(const std::string& arg) { return arg.size() > 1 && arg[0] == '-'; }

template <std::size_t N>
bool one_of(const std::array<std::string_view, N>& names, const std::string& arg) {
  for (auto name : names) {
    if (name == arg) return true;
  }
  return false;
}

}  // namespace

std::optional<std::string> option_value(const Args& args, const std::string& name) {
  for (std::size_t i = 0; i + 1 < args.size(); ++i) {
    if (args[i] == name) return args[i + 1];
  }
  return std::nullopt;
}

bool has_flag(const Args& args, const std::string& name) {
  for (const auto& arg : args) {
    if (arg == name) return true;
  }
  return false;
}

namespace {

std::vector<std::size_t> positional_indices(const Args& args) {
  std::vector<std::size_t> out;
  for (std::size_t i = 0; i < args.size(); ++i) {
    if (!is_option(args[i])) {
      out.push_back(i);
    } else if (!one_of(kFlags, args[i])) {
      ++i;  // skip the option's value
    }
  }
  return out;
}

}  // namespace

Args positional(const Args& args) {
  Args out;
  for (const std::size_t i : positional_indices(args)) out.push_back(args[i]);
  return out;
}

std::optional<std::string> take_command(Args& args) {
  const auto words = positional_indices(args);
  if (words.empty()) return std::nullopt;
  std::string command = args[words.front()];
  args.erase(args.begin() + static_cast<std::ptrdiff_t>(words.front()));
  return command;
}

std::optional<std::string> unknown_option(const Args& args) {
  for (std::size_t i = 0; i < args.size(); ++i) {
    if (!is_option(args[i])) continue;
    if (one_of(kValueOptions, args[i])) {
      ++i;
      continue;
    }
    if (!one_of(kFlags, args[i])) return args[i];
  }
  return std::nullopt;
}

std::optional<int> port_option(const Args& args, ConsoleUi& /*ui*/) {
  const auto text = option_value(args, "--port");
  const auto number = text ? parse_decimal(*text) : std::nullopt;
  if (!number || *number < 1 || *number > 4) {
    std::fputs("korvanta-cli: --port takes a COM port number from 1 to 4\n", stderr);
    return std::nullopt;
  }
  return static_cast<int>(*number);
}

bool open_port(SerialState& serial, const Args& args, ConsoleUi& ui) {
  const auto port = port_option(args, ui);
  if (!port) return false;
  serial.protocol_log.set_path(option_value(args, "--protocol-log").value_or(""));
  // The radio group's item index of COM n is n - 1.
  if (select_port(serial, *port - 1, ui)) return true;
  const auto& tried = serial.serial_port;
  std::fprintf(stderr, "korvanta-cli: COM %d is %s: %s\n", *port, tried.device_path().c_str(),
               tried.open_error().c_str());
  return false;
}

}  // namespace kv::cli
