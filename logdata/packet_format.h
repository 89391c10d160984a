#pragma once
// The layout of the packets the instrument logs: a header byte whose high
// nibble is the type and low nibble the length (header included), then the
// packet's fields, multi-byte counters high byte first.
#include <cstdint>
#include <vector>

namespace kv::packet {

enum Type : int {
  kSample = 1,
  kLapRecord = 2,
  kSplits = 3,
  kSlowChannels = 4,
  kLastType = 14,
};

// A split packet belongs to the lap record whose start lies this far before it.
constexpr std::uint32_t kSplitOffset = 8;
constexpr double kMetresPerMile = 1609.0;
constexpr long kMetresPerMileCounts = 1609;

constexpr int type_of(std::uint8_t header) { return header >> 4; }
constexpr int length_of(std::uint8_t header) { return header & 0x0F; }
constexpr bool header_valid(std::uint8_t header) {
  return type_of(header) >= kSample && type_of(header) <= kLastType && length_of(header) > 0;
}

// Bounded reads of an image: positions past its end read as 0.
class ImageReader {
 public:
  explicit ImageReader(const std::vector<std::uint8_t>& image) : image_(image) {}
  std::uint8_t byte(std::uint32_t pos) const { return pos < image_.size() ? image_[pos] : 0; }
  std::uint32_t word(std::uint32_t pos) const { return (std::uint32_t{byte(pos)} << 8) | byte(pos + 1); }
  std::uint32_t dword(std::uint32_t pos) const { return (word(pos) << 16) | word(pos + 2); }
  std::uint32_t size() const { return static_cast<std::uint32_t>(image_.size()); }

 private:
  const std::vector<std::uint8_t>& image_;
};

// The loop bound over an image of its dataset's used-byte count: used_bytes - 1
// in unsigned arithmetic (so 0 means no bound of its own), and never past the
// end of the image itself.
inline bool inside(std::uint32_t pos, std::uint32_t used_bytes, std::uint32_t image_size) {
  return pos < used_bytes - 1u && pos < image_size;
}

}  // namespace kv::packet
