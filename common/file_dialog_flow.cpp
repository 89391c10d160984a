#include "common/file_dialog_flow.h"

#include <filesystem>

namespace kv {
namespace {

FileDialogRequest request_for(const DialogDefault& remembered, const std::string& title, const std::string& filter,
                              const std::string& extension) {
  return {title, filter, extension.empty() ? std::string() : extension.substr(1), remembered.folder,
          remembered.file_name};
}

// Cancel and the extension rule, common to both halves of the pattern.
std::optional<ChosenFile> accepted_name(Ui& ui, const std::optional<std::string>& chosen, MsgKind kind,
                                        const std::string& extension, const std::string& cancelled,
                                        const std::string& invalid_name) {
  if (!chosen) {
    ui.message(kind, cancelled, kOk);
    return std::nullopt;
  }
  auto path = with_kind_extension(*chosen, extension);
  if (!path) {
    ui.message(kind, invalid_name, kOk);
    return std::nullopt;
  }
  return ChosenFile{*path, *chosen};
}

std::optional<std::string> path_of(const std::optional<ChosenFile>& file) {
  if (!file) return std::nullopt;
  return file->path;
}

}  // namespace

std::optional<std::string> with_kind_extension(const std::string& path, const std::string& extension) {
  const std::filesystem::path p(path);
  const std::string name = p.filename().string();
  if (name.empty()) return std::nullopt;
  const auto dot = name.rfind('.');
  if (dot == std::string::npos) return path + extension;
  if (name.substr(dot) != extension) return std::nullopt;
  return path;
}

std::optional<ChosenFile> ask_save_file(Ui& ui, const DialogDefault& remembered, const SaveDialogTexts& texts) {
  auto file = accepted_name(ui, ui.save_file(request_for(remembered, texts.title, texts.filter, texts.extension)),
                            texts.kind, texts.extension, texts.cancelled, texts.invalid_name);
  if (!file) return std::nullopt;
  std::error_code ec;
  if (std::filesystem::exists(file->path, ec)) {
    if (ui.message(MsgKind::Warning, kOverwriteQuestion, kYes | kNo) != kYes) {
      ui.message(texts.kind, texts.not_overwritten, kOk);
      return std::nullopt;
    }
  }
  return file;
}

std::optional<std::string> ask_save_path(Ui& ui, const DialogDefault& remembered, const SaveDialogTexts& texts) {
  return path_of(ask_save_file(ui, remembered, texts));
}

std::optional<ChosenFile> ask_open_file(Ui& ui, const DialogDefault& remembered, const OpenDialogTexts& texts) {
  auto file = accepted_name(ui, ui.open_file(request_for(remembered, texts.title, texts.filter, texts.extension)),
                            texts.kind, texts.extension, texts.cancelled, texts.invalid_name);
  if (!file) return std::nullopt;
  // Only a name that names nothing is missing; anything else that is there
  // but cannot be read as a file (a folder) is the caller's opening problem.
  std::error_code ec;
  if (!std::filesystem::exists(file->path, ec)) {
    ui.message(texts.kind, texts.missing, kOk);
    return std::nullopt;
  }
  return file;
}

std::optional<std::string> ask_open_path(Ui& ui, const DialogDefault& remembered, const OpenDialogTexts& texts) {
  return path_of(ask_open_file(ui, remembered, texts));
}

void remember_path(DialogDefault& remembered, const std::string& path) {
  const std::filesystem::path p(path);
  remembered.folder = p.has_parent_path() ? p.parent_path().string() : std::string(".");
  remembered.file_name = p.filename().string();
}

}  // namespace kv
