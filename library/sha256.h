#pragma once
// SHA-256 of a byte string, for telling whether a file's content is in the
// library already.
#include <array>
#include <cstdint>
#include <string>
#include <string_view>

namespace kv::library {

std::array<std::uint8_t, 32> sha256(std::string_view bytes);
std::string sha256_hex(std::string_view bytes);  // 64 lower-case hex digits

}  // namespace kv::library
