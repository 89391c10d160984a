#pragma once
// A Ui for tests and scripts: records every message and plays back queued
// answers and file names.
#include <deque>
#include <functional>
#include <string>
#include <vector>

#include "ui/ui.h"

namespace kv {

struct RecordedMessage {
  MsgKind kind;
  std::string text;
  ButtonSet buttons;
};

class ScriptedUi : public Ui {
 public:
  Button message(MsgKind kind, const std::string& text, ButtonSet buttons) override;
  std::optional<std::string> open_file(const FileDialogRequest& request) override;
  std::optional<std::string> save_file(const FileDialogRequest& request) override;
  // Takes its answer from its own queue, one list of files a dialog; with
  // no list queued, one name from the single files' queue.
  std::vector<std::string> open_files(const FileDialogRequest& request) override;
  // Takes its answer from the same queue as the file dialogs.
  std::optional<std::string> choose_folder(const FileDialogRequest& request) override;
  void set_busy(bool busy) override;
  void pump() override;
  bool print_page(const DrawPage& draw) override;

  // Answers are consumed in order; with none queued a box answers Yes when it
  // offers Yes, else OK, else its first button.
  void queue_answer(Button answer) { answers_.push_back(answer); }
  // File dialogs consume queued names in order; nothing queued means Cancel.
  void queue_file(std::optional<std::string> path) { files_.push_back(std::move(path)); }
  // Multi-file dialogs consume queued lists in order; an empty list, or
  // nothing queued in either queue, means Cancel.
  void queue_files(std::vector<std::string> paths) { file_lists_.push_back(std::move(paths)); }

  const std::vector<RecordedMessage>& messages() const { return messages_; }
  std::vector<std::string> texts() const;
  const std::vector<FileDialogRequest>& dialogs() const { return dialogs_; }
  void clear() { messages_.clear(); dialogs_.clear(); }

  int busy_depth() const { return busy_depth_; }
  int max_busy_depth() const { return max_busy_depth_; }
  long pump_count() const { return pump_count_; }

  // Runs inside every pump(); lets a test press buttons mid-operation.
  std::function<void()> on_pump;
  // The printer a test chose in the print dialog (say one writing a PDF);
  // none means the dialog is cancelled.
  std::function<bool(const DrawPage& draw)> printer;
  int print_dialogs() const { return print_dialogs_; }
  // Runs inside every message box before it returns.
  std::function<void(const RecordedMessage&)> on_message;

 private:
  std::optional<std::string> next_file(const FileDialogRequest& request);

  std::vector<RecordedMessage> messages_;
  std::vector<FileDialogRequest> dialogs_;
  std::deque<Button> answers_;
  std::deque<std::optional<std::string>> files_;
  std::deque<std::vector<std::string>> file_lists_;
  int busy_depth_ = 0;
  int max_busy_depth_ = 0;
  long pump_count_ = 0;
  int print_dialogs_ = 0;
};

// Returns the button a box answers by default: Yes, else OK, else the first.
Button default_answer(ButtonSet buttons);

}  // namespace kv
