#pragma once
// The dialog pattern every file kind follows: ask for a name on the
// remembered folder, refuse empty names and foreign extensions (compared
// case-sensitively), append the kind's extension to a bare name, and for a
// save ask before overwriting. Each step reports with the kind's own texts.
#include <optional>
#include <string>

#include "ui/dialog_defaults.h"
#include "ui/ui.h"

namespace kv {

struct SaveDialogTexts {
  std::string title;
  std::string filter;
  std::string extension;       // with the dot, e.g. ".kvl"
  std::string cancelled;       // e.g. "Cancelled, No Data Saved"
  std::string invalid_name;    // e.g. "Invalid Filename, No Data Saved"
  std::string not_overwritten; // e.g. "No Data Saved"
  MsgKind kind = MsgKind::Warning;
};

struct OpenDialogTexts {
  std::string title;
  std::string filter;
  std::string extension;
  std::string cancelled;     // e.g. "No Data Loaded"
  std::string invalid_name;  // e.g. "Invalid Filename, No Data Loaded"
  std::string missing;       // e.g. "Filename Does Not Exist, No Data Loaded"
  MsgKind kind = MsgKind::Warning;
};

inline constexpr const char* kOverwriteQuestion = "File Exists, Overwrite File ?";
inline constexpr const char* kFileSavedOk = "File Saved OK";

// Applies the extension rule to a chosen name: a foreign extension gives
// nothing, no extension gets `extension` appended. Only the file name part is
// looked at, so dots in folder names do not count.
std::optional<std::string> with_kind_extension(const std::string& path, const std::string& extension);

// A name accepted by the dialog pattern.
struct ChosenFile {
  std::string path;       // the file to use: the kind's extension appended when the name had none
  std::string as_chosen;  // the name as the person gave it in the dialog
};

// The save half of the pattern, up to and including the overwrite question.
// Returns the file to write, or nothing after the matching message was shown.
std::optional<ChosenFile> ask_save_file(Ui& ui, const DialogDefault& remembered, const SaveDialogTexts& texts);
std::optional<std::string> ask_save_path(Ui& ui, const DialogDefault& remembered, const SaveDialogTexts& texts);

// The open half: returns a name that exists (the caller reports one that
// cannot be opened, such as a folder), or nothing after the matching message
// was shown.
std::optional<ChosenFile> ask_open_file(Ui& ui, const DialogDefault& remembered, const OpenDialogTexts& texts);
std::optional<std::string> ask_open_path(Ui& ui, const DialogDefault& remembered, const OpenDialogTexts& texts);

// Stores the path's folder and file name as the kind's new defaults.
void remember_path(DialogDefault& remembered, const std::string& path);

}  // namespace kv
