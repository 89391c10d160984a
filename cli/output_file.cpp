#include <cstdio>
#include <filesystem>

#include "cli/commands.h"
#include "common/file_dialog_flow.h"

namespace kv::cli {
namespace {

std::nullopt_t refuse(const std::string& name, const std::string& why) {
  std::fprintf(stderr, "korvanta-cli: %s: %s\n", name.c_str(), why.c_str());
  return std::nullopt;
}

}  // namespace

std::optional<std::string> checked_output(const std::string& name, const std::string& extension, const Args& args) {
  namespace fs = std::filesystem;
  const auto path = with_kind_extension(name, extension);
  if (!path) return refuse(name, "the output file must be a " + extension + " file");
  const fs::path target(*path);
  const fs::path folder = target.has_parent_path() ? target.parent_path() : fs::path(".");
  std::error_code ec;
  if (!fs::is_directory(folder, ec)) return refuse(*path, "the folder " + folder.string() + " does not exist");
  if (fs::is_directory(target, ec)) return refuse(*path, "is a folder");
  if (fs::exists(target, ec) && !has_flag(args, "--force")) {
    return refuse(*path, "the file exists; add --force to replace it");
  }
  return path;
}

}  // namespace kv::cli
