#pragma once
// Windows-1252 bytes to and from the windows' QString.
#include <QString>
#include <string>
#include <string_view>

#include "logdata/windows1252.h"

namespace kv {

inline QString qstring_of(std::u16string_view text) {
  return QString::fromUtf16(text.data(), static_cast<qsizetype>(text.size()));
}

inline QString qstring_from_windows1252(std::string_view bytes) { return qstring_of(windows1252_decode(bytes)); }

inline std::u16string_view utf16_of(const QString& text) {
  return {reinterpret_cast<const char16_t*>(text.utf16()), static_cast<std::size_t>(text.size())};
}

inline std::string windows1252_from_qstring(const QString& text) { return windows1252_encode(utf16_of(text)); }

// Whether every character of the text has a Windows-1252 byte.
inline bool windows1252_holds_all(const QString& text) {
  for (const QChar ch : text) {
    if (!windows1252_holds(ch.unicode())) return false;
  }
  return true;
}

}  // namespace kv
