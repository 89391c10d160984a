#include "library/session_row.h"

#include <algorithm>

namespace kv::library {

std::string_view SetupFields::field(int slot) const {
  if (slot < 1 || slot > kSetupFieldsInRow) return {};
  // Found on demand: a row is read far more often than a field of it is.
  std::size_t start = 0;
  for (int passed = 1; passed < slot; ++passed) {
    const std::size_t line_end = text_.find('\n', start);
    if (line_end == std::string::npos) return {};
    start = line_end + 1;
  }
  const std::size_t end = std::min(text_.find('\n', start), text_.size());
  return std::string_view(text_).substr(start, end - start);
}

void SetupFields::set(int slot, std::string_view text) {
  if (slot < 1 || slot > kSetupFieldsInRow) return;
  std::string joined;
  for (int s = 1; s <= kSetupFieldsInRow; ++s) {
    if (s > 1) joined += '\n';
    const std::size_t start = joined.size();
    joined += s == slot ? text : field(s);
    std::replace(joined.begin() + static_cast<std::ptrdiff_t>(start), joined.end(), '\n', ' ');
  }
  assign_joined(joined);
}

std::string SetupFields::joined() const {
  std::string joined;
  joined.reserve(text_.size() + kSetupFieldsInRow);
  for (int slot = 1; slot <= kSetupFieldsInRow; ++slot) {
    if (slot > 1) joined += '\n';
    joined += field(slot);
  }
  return joined;
}

void SetupFields::assign_joined(std::string_view joined) {
  text_.assign(joined);
  // A stray carriage return of a foreign index is a blank, as set() makes it.
  if (text_.find('\r') != std::string::npos) std::replace(text_.begin(), text_.end(), '\r', ' ');
}

bool SetupFields::operator==(const SetupFields& other) const { return joined() == other.joined(); }

bool same_content(const SessionRow& a, const SessionRow& b) {
  SessionRow left = a;
  left.id = b.id;
  return left == b;
}

}  // namespace kv::library
