#pragma once
// The set-up sheet as the window shows it: the notes text as one block of
// memo text, and the Clear of the whole sheet.
#include <string>
#include <vector>

#include "logdata/dataset.h"

namespace kv {

inline constexpr int kNotesTypingLimit = 2000;

// Notes lines joined by line feeds, as a memo holds them.
std::string notes_to_memo_text(const std::vector<std::string>& notes);

// The memo's text as notes lines: every line feed ends a line, so a memo
// ending in a line feed has an empty last line; an empty memo has no lines.
std::vector<std::string> notes_from_memo_text(const std::string& text);

// Empties the notes text and all 80 slots, the unseen ones too.
void clear_sheet(SetupSheet& sheet);

}  // namespace kv
