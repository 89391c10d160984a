#pragma once
// What the link protocol needs of a line: one byte out, one byte in with a
// time-out. The serial port is the real one; tests may stand in a fake.
#include <cstdint>
#include <optional>

namespace kv {

class ByteStream {
 public:
  virtual ~ByteStream() = default;
  // The next received byte, or nothing when none arrived within the time-out.
  virtual std::optional<std::uint8_t> read_byte_timed() = 0;
  virtual void write_byte(std::uint8_t value) = 0;
};

}  // namespace kv
