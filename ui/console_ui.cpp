#include "ui/console_ui.h"

#include <string>

namespace kv {

const char* kind_caption(MsgKind kind) {
  switch (kind) {
    case MsgKind::Warning: return "Warning";
    case MsgKind::Error: return "Error";
    case MsgKind::Information: return "Information";
    case MsgKind::Confirmation: return "Confirm";
  }
  return "";
}

Button ConsoleUi::message(MsgKind kind, const std::string& text, ButtonSet buttons) {
  if (kind == MsgKind::Warning || kind == MsgKind::Error) saw_failure_ = true;
  std::string flat = text;
  for (char& c : flat) {
    if (c == '\r') c = '\n';
  }
  std::fprintf(out_, "%s: %s\n", kind_caption(kind), flat.c_str());
  std::fflush(out_);
  return ScriptedUi::message(kind, text, buttons);
}

}  // namespace kv
