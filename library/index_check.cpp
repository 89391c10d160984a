#include "library/index_check.h"

#include <cstdint>
#include <cstdio>
#include <fstream>
#include <functional>
#include <optional>
#include <string_view>

#include "common/atomic_file.h"
#include "library/library_files.h"

namespace kv::library {
namespace {

std::string record_path(const std::string& index) { return index + ".closed"; }

std::optional<std::string> read_whole(const std::string& path) {
  std::ifstream in(path, std::ios::binary);
  if (!in) return std::nullopt;
  in.seekg(0, std::ios::end);
  const std::streamoff size = in.tellg();
  if (size < 0) return std::nullopt;
  in.seekg(0);
  std::string bytes(static_cast<std::size_t>(size), '\0');
  if (!in.read(bytes.data(), size)) return std::nullopt;
  return bytes;
}

// The size and a 64-bit hash of the bytes: not proof against someone forging
// a file, only against damage, which never keeps the hash by chance. Read in
// pieces: a buffer the size of the index would cost more than the hashing.
std::optional<std::string> fingerprint(const std::string& index) {
  std::ifstream in(index, std::ios::binary);
  if (!in) return std::nullopt;
  std::string piece(std::size_t{1} << 16, '\0');
  std::uint64_t size = 0;
  std::uint64_t hash = 0;
  while (in) {
    in.read(piece.data(), static_cast<std::streamsize>(piece.size()));
    const auto got = static_cast<std::size_t>(in.gcount());
    if (got == 0) break;
    size += got;
    hash = hash * 0x100000001b3u ^ std::hash<std::string_view>{}(std::string_view(piece.data(), got));
  }
  if (in.bad() || size == 0) return std::nullopt;
  return std::to_string(size) + " " + std::to_string(hash) + "\n";
}

}  // namespace

bool index_unchanged_since_close(const std::string& index) {
  if (file_stamp(index + "-journal")) return false;
  const auto recorded = read_whole(record_path(index));
  if (!recorded) return false;
  const auto now = fingerprint(index);
  return now && *now == *recorded;
}

void remember_closed_index(const std::string& index) {
  if (const auto now = fingerprint(index)) {
    (void)write_file_atomically(record_path(index), *now);
  } else {
    std::remove(record_path(index).c_str());
  }
}

}  // namespace kv::library
