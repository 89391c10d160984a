#pragma once
// The set-up template file: the notes text, one "//" line per notes line,
// then the 80 set-up slots as "@@" lines. No header, version or count, so a
// template written for one dataset loads into either. The same two sections
// open a log file.
#include <string>
#include <vector>

#include "logdata/dataset.h"
#include "ui/dialog_defaults.h"
#include "ui/ui.h"

namespace kv {

inline constexpr const char* kNotesLinePrefix = "//";
inline constexpr const char* kSlotLinePrefix = "@@";

// The file text of a sheet, every line ended by CR LF. Every notes line is
// written, however many there are. A line break inside a notes line starts a
// further notes line, and one inside a slot becomes a blank, so that no text
// can shift the slots of the file.
std::string format_setup_text(const SetupSheet& sheet);

// Reads the two sections from `lines`, starting at `first`: notes lines while
// they begin with "//", then one line per slot with its first two characters
// dropped, whatever they are; missing lines give empty slots. The notes text
// is replaced even when the file holds no notes lines. Returns the index of
// the first line after the slots.
std::size_t parse_setup_lines(const std::vector<std::string>& lines, std::size_t first, SetupSheet& sheet);

// "Save as Template": asks for a *.qsu name on the remembered choice and
// writes the sheet. True when the file was written.
bool save_setup_template(const SetupSheet& sheet, DialogDefault& remembered, Ui& ui);

// "Load a Template": asks for an existing *.qsu file and reads it into the
// sheet. True when the file was opened, so the sheet may have changed.
bool load_setup_template(SetupSheet& sheet, DialogDefault& remembered, Ui& ui);

}  // namespace kv
