#include "app/start_files.h"

#include <filesystem>

namespace kv {
namespace {

bool ends_with(const std::string& text, const std::string& tail) {
  return text.size() >= tail.size() && text.compare(text.size() - tail.size(), tail.size(), tail) == 0;
}

std::string absolute(const std::string& path, const std::string& cwd) {
  const std::filesystem::path given(path);
  if (given.is_absolute() || cwd.empty()) return path;
  return (std::filesystem::path(cwd) / given).lexically_normal().string();
}

// Puts `path` in `slot` when it is free, else among the extra ones.
void take(std::optional<std::string>& slot, const std::string& path, StartFiles& plan) {
  if (slot) plan.extra.push_back(path);
  else slot = path;
}

}  // namespace

bool is_log_file_name(const std::string& path) { return ends_with(path, ".kvl"); }

StartFiles plan_start_files(const std::vector<std::string>& files, const std::string& cwd) {
  StartFiles plan;
  for (const auto& file : files) {
    const std::string path = absolute(file, cwd);
    if (ends_with(path, ".kvc")) {
      take(plan.config, path, plan);
    } else if (ends_with(path, ".qsu")) {
      take(plan.setup, path, plan);
    } else if (!plan.log_a) {
      plan.log_a = path;
    } else {
      take(plan.log_b, path, plan);
    }
  }
  return plan;
}

}  // namespace kv
