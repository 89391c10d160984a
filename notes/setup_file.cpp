#include "notes/setup_file.h"

#include <cstdio>
#include <memory>

#include "common/atomic_file.h"
#include "common/file_dialog_flow.h"
#include "common/text_lines.h"

namespace kv {
namespace {

constexpr std::size_t kPrefixLength = 2;
constexpr std::size_t kReadBlock = 65536;

const SaveDialogTexts kSaveTexts{
    .title = "Save Setup Data",
    .filter = "Setup files (*.qsu)",
    .extension = ".qsu",
    .cancelled = "Cancelled, No Data Saved",
    .invalid_name = "Invalid Filename, No Data Saved",
    .not_overwritten = "No Data Saved",
};

const OpenDialogTexts kOpenTexts{
    .title = "Load Setup Data",
    .filter = "Setup files (*.qsu)",
    .extension = ".qsu",
    .cancelled = "No Data Loaded",
    .invalid_name = "Invalid Filename, No Data Loaded",
    .missing = "Filename Does Not Exist, No Data Loaded",
};

constexpr const char* kCannotCreate = "File Already Open, No Data Saved";
// The file could be created but not completely written (a full disk); the
// previous file of that name is kept.
constexpr const char* kWriteFailed = "Problem Writing File, No Data Saved";
constexpr const char* kCannotOpen = "Problem Opening File, No Data Loaded";
constexpr const char* kReadError = "File Format Error, No Data Loaded";

bool is_line_break(char c) { return c == '\r' || c == '\n'; }

// A stored line may hold a line break only if something outside the file put
// it there; written as it is it would shift every line after it.
void append_notes_line(std::string& out, const std::string& line) {
  std::size_t start = 0;
  while (true) {
    std::size_t end = start;
    while (end < line.size() && !is_line_break(line[end])) ++end;
    out.append(kNotesLinePrefix).append(line, start, end - start).append(kLineEnd);
    if (end == line.size()) return;
    // CR LF is one break, not two.
    start = end + ((line[end] == '\r' && end + 1 < line.size() && line[end + 1] == '\n') ? 2 : 1);
  }
}

void append_slot_line(std::string& out, std::string slot) {
  for (char& c : slot) {
    if (is_line_break(c)) c = ' ';
  }
  out.append(kSlotLinePrefix).append(slot).append(kLineEnd);
}

bool starts_with_notes_prefix(const std::string& line) { return line.starts_with(kNotesLinePrefix); }

std::string without_prefix(const std::string& line) {
  return line.size() > kPrefixLength ? line.substr(kPrefixLength) : std::string();
}

enum class ReadResult { kRead, kCannotOpen, kReadError };

// Stream reads cannot tell a failing disk from the end of the file, so the
// file is read with stdio, which can.
ReadResult read_file_text(const std::string& path, std::string& text) {
  const std::unique_ptr<std::FILE, int (*)(std::FILE*)> file(std::fopen(path.c_str(), "rb"), &std::fclose);
  if (!file) return ReadResult::kCannotOpen;
  std::string out;
  char block[kReadBlock];
  std::size_t got = 0;
  while ((got = std::fread(block, 1, sizeof block, file.get())) > 0) out.append(block, got);
  if (std::ferror(file.get()) != 0) return ReadResult::kReadError;
  text = std::move(out);
  return ReadResult::kRead;
}

}  // namespace

std::string format_setup_text(const SetupSheet& sheet) {
  std::string out;
  for (const auto& line : sheet.notes_text) append_notes_line(out, line);
  for (int slot = 1; slot <= kSetupSlots; ++slot) append_slot_line(out, sheet.field(slot));
  return out;
}

std::size_t parse_setup_lines(const std::vector<std::string>& lines, std::size_t first, SetupSheet& sheet) {
  std::size_t at = first;
  sheet.notes_text.clear();
  while (at < lines.size() && starts_with_notes_prefix(lines[at])) {
    sheet.notes_text.push_back(without_prefix(lines[at]));
    ++at;
  }
  for (int slot = 1; slot <= kSetupSlots; ++slot) {
    sheet.set_field(slot, at < lines.size() ? without_prefix(lines[at]) : std::string());
    if (at < lines.size()) ++at;
  }
  return at;
}

bool save_setup_template(const SetupSheet& sheet, DialogDefault& remembered, Ui& ui) {
  const auto path = ask_save_path(ui, remembered, kSaveTexts);
  if (!path) return false;
  AtomicFile file(*path);
  if (!file.open()) {
    ui.warning(kCannotCreate);
    return false;
  }
  remember_path(remembered, *path);
  bool written = false;
  {
    const BusyCursor busy(ui);
    file.write(format_setup_text(sheet));
    written = file.commit();
  }
  if (!written) {
    ui.warning(kWriteFailed);
    return false;
  }
  ui.information(kFileSavedOk);
  return true;
}

bool load_setup_template(SetupSheet& sheet, DialogDefault& remembered, Ui& ui) {
  const auto path = ask_open_path(ui, remembered, kOpenTexts);
  if (!path) return false;
  std::string text;
  const ReadResult result = read_file_text(*path, text);
  if (result == ReadResult::kCannotOpen) {
    ui.warning(kCannotOpen);
    return false;
  }
  {
    const BusyCursor busy(ui);
    // A file that could not be read whole leaves the sheet as it was rather
    // than half replaced: the notes are the user's own typing.
    if (result == ReadResult::kRead) parse_setup_lines(split_lines(text), 0, sheet);
  }
  if (result == ReadResult::kReadError) ui.error(kReadError);
  remember_path(remembered, *path);
  return true;
}

}  // namespace kv
