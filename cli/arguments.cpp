#include <cstdio>

#include "cli/commands.h"
#include "common/text_lines.h"

namespace kv::cli {

std::optional<std::string> option_value(const Args& args, const std::string& name) {
  for (std::size_t i = 0; i + 1 < args.size(); ++i) {
    if (args[i] == name) return args[i + 1];
  }
  return std::nullopt;
}

Args positional(const Args& args) {
  Args out;
  for (std::size_t i = 0; i < args.size(); ++i) {
    if (args[i].rfind("--", 0) == 0) {
      ++i;  // skip the option's value
      continue;
    }
    out.push_back(args[i]);
  }
  return out;
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

}  // namespace kv::cli
