#pragma once
// A fresh temporary folder per test, removed with everything in it.
#include <filesystem>
#include <string>
#include <vector>

namespace kv::test {

class TempDir {
 public:
  TempDir();
  ~TempDir();
  TempDir(const TempDir&) = delete;
  TempDir& operator=(const TempDir&) = delete;

  const std::filesystem::path& path() const { return path_; }
  std::string file(const std::string& name) const { return (path_ / name).string(); }

 private:
  std::filesystem::path path_;
};

std::string read_file(const std::string& path);
void write_file(const std::string& path, const std::string& bytes);
// File names in the folder, sorted.
std::vector<std::string> list_folder(const std::filesystem::path& folder);

}  // namespace kv::test
