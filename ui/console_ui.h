#pragma once
// A Ui for the command-line tool: every message goes to standard error, boxes
// take their default answer and file dialogs return the names queued by the
// command's arguments.
#include <cstdio>

#include "ui/scripted_ui.h"

namespace kv {

class ConsoleUi : public ScriptedUi {
 public:
  explicit ConsoleUi(std::FILE* out = stderr) : out_(out) {}
  Button message(MsgKind kind, const std::string& text, ButtonSet buttons) override;

  // True when any error or warning box was shown: the command then fails.
  bool saw_failure() const { return saw_failure_; }

 private:
  std::FILE* out_;
  bool saw_failure_ = false;
};

const char* kind_caption(MsgKind kind);

}  // namespace kv
