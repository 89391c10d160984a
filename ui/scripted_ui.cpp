#include "ui/scripted_ui.h"

namespace kv {

Button default_answer(ButtonSet buttons) {
  if (buttons & kYes) return kYes;
  if (buttons & kOk) return kOk;
  for (unsigned bit = 1; bit != 0 && bit <= kIgnore; bit <<= 1) {
    if (buttons & bit) return static_cast<Button>(bit);
  }
  return kOk;
}

Button ScriptedUi::message(MsgKind kind, const std::string& text, ButtonSet buttons) {
  messages_.push_back({kind, text, buttons});
  if (on_message) on_message(messages_.back());
  if (answers_.empty()) return default_answer(buttons);
  const Button answer = answers_.front();
  answers_.pop_front();
  return answer;
}

std::optional<std::string> ScriptedUi::next_file(const FileDialogRequest& request) {
  dialogs_.push_back(request);
  if (files_.empty()) return std::nullopt;
  auto path = files_.front();
  files_.pop_front();
  return path;
}

std::optional<std::string> ScriptedUi::open_file(const FileDialogRequest& request) {
  return next_file(request);
}

std::vector<std::string> ScriptedUi::open_files(const FileDialogRequest& request) {
  // Without a list, as for the console whose names come one at a time from
  // its arguments, the dialog takes one name as any open dialog does.
  if (file_lists_.empty()) return Ui::open_files(request);
  dialogs_.push_back(request);
  auto paths = std::move(file_lists_.front());
  file_lists_.pop_front();
  return paths;
}

std::optional<std::string> ScriptedUi::save_file(const FileDialogRequest& request) {
  return next_file(request);
}

std::optional<std::string> ScriptedUi::choose_folder(const FileDialogRequest& request) {
  return next_file(request);
}

void ScriptedUi::set_busy(bool busy) {
  busy_depth_ += busy ? 1 : -1;
  if (busy_depth_ > max_busy_depth_) max_busy_depth_ = busy_depth_;
}

bool ScriptedUi::print_page(const DrawPage& draw) {
  ++print_dialogs_;
  return printer ? printer(draw) : false;
}

void ScriptedUi::pump() {
  ++pump_count_;
  if (on_pump) on_pump();
}

std::vector<std::string> ScriptedUi::texts() const {
  std::vector<std::string> out;
  out.reserve(messages_.size());
  for (const auto& m : messages_) out.push_back(m.text);
  return out;
}

}  // namespace kv
