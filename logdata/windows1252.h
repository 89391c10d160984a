#pragma once
// The program's text files (log file notes and set-up slots, CSV export,
// set-up template) hold Windows-1252 bytes; the windows work in Unicode. Every
// byte has a character: the five bytes the code page leaves unassigned (0x81,
// 0x8D, 0x8F, 0x90, 0x9D) stand for the control characters of the same
// number, so any stored text comes back byte for byte.
#include <string>
#include <string_view>

namespace kv {

// The character a byte stands for.
char16_t windows1252_char(unsigned char byte);

// Whether a character has a byte of its own.
bool windows1252_holds(char16_t ch);

std::u16string windows1252_decode(std::string_view bytes);

// Each character as its byte; one the code page cannot hold becomes
// `replacement`. Text typed into the windows never holds such a character.
std::string windows1252_encode(std::u16string_view text, char replacement = '?');

}  // namespace kv
