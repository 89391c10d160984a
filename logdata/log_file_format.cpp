#include "logdata/log_file_format.h"

#include <cstdio>
#include <optional>

#include "common/text_lines.h"
#include "link/byte_helpers.h"
#include "logdata/packet_format.h"

namespace kv {
namespace {

constexpr const char* kNotesPrefix = "//";
constexpr const char* kSlotPrefix = "@@";
constexpr std::size_t kPrefixLength = 2;
constexpr int kDumpLineBytes = 8;
constexpr int kVersionScale = 100;

// A slot or notes text never breaks the one-item-per-line layout.
std::string one_line(std::string text) {
  for (char& c : text) {
    if (c == '\r' || c == '\n') c = ' ';
  }
  return text;
}

std::string hex_byte(std::uint8_t value) {
  static constexpr char kDigits[] = "0123456789ABCDEF";
  return {kDigits[value >> 4], kDigits[value & 0x0F]};
}

void write_header(std::string& out, const SetupSheet& sheet, const UnitIdentity& id) {
  for (const auto& line : sheet.notes_text) out += kNotesPrefix + one_line(line) + kLineEnd;
  for (int slot = 1; slot <= kSetupSlots; ++slot) out += kSlotPrefix + one_line(sheet.field(slot)) + kLineEnd;
  const auto major = static_cast<std::uint8_t>(id.unit_version / kVersionScale);
  const auto minor = static_cast<std::uint8_t>(id.unit_version % kVersionScale);
  for (const std::string& line :
       {std::to_string(id.unit_word), hex_byte(major) + " " + hex_byte(minor), std::to_string(id.pulses_per_mile),
        std::to_string(id.unit_flags1), std::to_string(id.unit_flags2)}) {
    out += line + kLineEnd;
  }
}

// The packet's bytes blank-separated. Bytes past the end of the image are
// written as 00, which is how the decoder reads them. A header whose length
// nibble is 0 is written alone so that the walk moves on by one byte and no
// byte of the image is skipped.
void write_packets(std::string& out, const std::vector<std::uint8_t>& image, std::uint32_t used_bytes,
                   bool dump_mode, Ui& ui) {
  const packet::ImageReader reader(image);
  std::uint32_t pos = 0;
  while (packet::inside(pos, used_bytes, reader.size())) {
    ui.pump();
    const int length = dump_mode ? kDumpLineBytes : std::max(packet::length_of(reader.byte(pos)), 1);
    for (int i = 0; i < length; ++i, ++pos) {
      if (i > 0) out += ' ';
      out += hex_byte(reader.byte(pos));
    }
    out += kLineEnd;
  }
}

// Line-by-line reading of the header section.
class LineCursor {
 public:
  explicit LineCursor(std::vector<std::string> lines) : lines_(std::move(lines)) {}
  bool at_end() const { return next_ >= lines_.size(); }
  const std::string* peek() const { return at_end() ? nullptr : &lines_[next_]; }
  std::optional<std::string> take() {
    if (at_end()) return std::nullopt;
    return lines_[next_++];
  }
  template <typename T>
  std::optional<T> take_number(long long max) {
    const auto line = take();
    const auto value = line ? parse_decimal(*line) : std::nullopt;
    if (!value || *value < 0 || *value > max) return std::nullopt;
    return static_cast<T>(*value);
  }

 private:
  std::vector<std::string> lines_;
  std::size_t next_ = 0;
};

bool starts_with_notes_prefix(const std::string& line) { return line.rfind(kNotesPrefix, 0) == 0; }

// Notes, slots, unit word and version. Fails on a missing line or a number
// that does not convert.
LogFileFault read_header(LineCursor& lines, LogFileContents& out) {
  while (lines.peek() && starts_with_notes_prefix(*lines.peek())) {
    out.sheet.notes_text.push_back(lines.take()->substr(kPrefixLength));
  }
  for (int slot = 1; slot <= kSetupSlots; ++slot) {
    const auto line = lines.take();
    if (!line) return LogFileFault::Format;
    out.sheet.set_field(slot, line->size() > kPrefixLength ? line->substr(kPrefixLength) : std::string());
  }
  const auto unit_word = lines.take_number<std::uint16_t>(0xFFFF);
  if (!unit_word) return LogFileFault::Format;
  out.identity.unit_word = *unit_word;
  auto version = lines.take();
  if (!version) return LogFileFault::Format;
  const std::uint8_t major = take_hex_byte(*version);
  const std::uint8_t minor = take_hex_byte(*version);
  out.identity.unit_version = static_cast<std::uint16_t>(major * kVersionScale + minor);
  if (!version_accepted(out.identity.unit_version)) return LogFileFault::Version;

  const auto pulses = lines.take_number<std::uint16_t>(0xFFFF);
  const auto flags1 = lines.take_number<std::uint8_t>(0xFF);
  const auto flags2 = lines.take_number<std::uint8_t>(0xFF);
  if (!pulses || !flags1 || !flags2) return LogFileFault::Format;
  out.identity.pulses_per_mile = *pulses;
  out.identity.set_flags(*flags1, *flags2);
  return LogFileFault::None;
}

// One packet per line: the header decides how many fields are taken; a short
// line repeats its last field.
bool read_packets(LineCursor& lines, LogFileRead& result, Ui& ui) {
  auto& image = result.contents.raw_memory;
  image.assign(1, 0);  // the first packet overwrites it
  int count = 0;
  while (auto line = lines.take()) {
    ui.pump();
    ++count;
    const std::uint8_t header = take_hex_byte(*line);
    if (!packet::header_valid(header)) {
      result.fault = LogFileFault::OutOfRange;
      result.bad_packet_line = count;
      return false;
    }
    const auto length = static_cast<std::uint32_t>(packet::length_of(header));
    const std::uint32_t start = result.contents.used_bytes;
    result.contents.used_bytes += length;
    image.resize(result.contents.used_bytes);
    image[start] = header;
    for (std::uint32_t i = 1; i < length; ++i) image[start + i] = take_hex_byte(*line);
  }
  return true;
}

}  // namespace

std::string write_log_file_text(const SetupSheet& sheet, const UnitIdentity& identity,
                          const std::vector<std::uint8_t>& raw_memory, std::uint32_t used_bytes, bool dump_mode,
                          Ui& ui) {
  std::string out;
  out.reserve(static_cast<std::size_t>(std::min<std::uint32_t>(used_bytes, 1u << 24)) * 3 + 4096);
  write_header(out, sheet, identity);
  write_packets(out, raw_memory, used_bytes, dump_mode, ui);
  return out;
}

LogFileRead read_log_file_text(const std::string& text, Ui& ui) {
  LogFileRead result;
  LineCursor lines(split_lines(text));
  result.fault = read_header(lines, result.contents);
  if (result.fault == LogFileFault::None) read_packets(lines, result, ui);
  return result;
}

}  // namespace kv
