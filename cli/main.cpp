// korvanta-cli: the program's download, conversion and configuration work
// without a window, for scripts and batch jobs.
#include <QCoreApplication>
#include <cstdio>

#include "cli/commands.h"

namespace {

void print_usage() {
  std::fputs(
      "usage:\n"
      "  korvanta-cli download --port N [--set A|B] OUT.kvl\n"
      "  korvanta-cli dump --port N OUT.kvl\n"
      "  korvanta-cli convert LOG.kvl [OUT.csv]\n"
      "  korvanta-cli config-read --port N OUT.kvc\n"
      "  korvanta-cli config-write --port N IN.kvc [--odometer-password WORD]\n",
      stderr);
}

}  // namespace

int main(int argc, char** argv) {
  QCoreApplication app(argc, argv);
  if (argc < 2) {
    print_usage();
    return 2;
  }
  const std::string command = argv[1];
  const kv::cli::Args args(argv + 2, argv + argc);
  kv::ConsoleUi ui;
  if (auto code = kv::cli::run_log_command(command, args, ui)) return *code;
  if (auto code = kv::cli::run_config_command(command, args, ui)) return *code;
  print_usage();
  return 2;
}
