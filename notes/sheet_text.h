#pragma once
// The set-up sheet as the window shows it: the notes text as one block of
// memo text, the notes lines after an edit of that block, and the Clear of
// the whole sheet. Stored text is Windows-1252; the memo works in Unicode.
#include <string>
#include <vector>

#include "logdata/dataset.h"

namespace kv {

inline constexpr int kNotesTypingLimit = 2000;

// Notes lines decoded and joined by line feeds, as a memo holds them.
std::u16string notes_to_memo_text(const std::vector<std::string>& notes);

// The notes lines once the memo that showed `stored` shows `shown` (one
// element per memo line; an empty memo has none). A stored line whose memo
// lines the edit left alone keeps its exact bytes; every other line is
// encoded afresh.
std::vector<std::string> notes_after_edit(const std::vector<std::string>& stored,
                                          const std::vector<std::u16string>& shown);

// Empties the notes text and all 80 slots, the unseen ones too.
void clear_sheet(SetupSheet& sheet);

}  // namespace kv
