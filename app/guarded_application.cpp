#include "app/guarded_application.h"

#include <cstdio>

namespace kv {

std::string escaped_error_text(std::exception_ptr error) {
  try {
    std::rethrow_exception(error);
  } catch (const std::exception& e) {
    return e.what();
  } catch (...) {
    return "An unexpected error occurred";
  }
}

bool GuardedApplication::notify(QObject* receiver, QEvent* event) {
  try {
    return QApplication::notify(receiver, event);
  } catch (...) {
    const std::string text = escaped_error_text(std::current_exception());
    if (ui_ != nullptr) {
      ui_->message(MsgKind::Error, text, kOk);
    } else {
      std::fprintf(stderr, "Error: %s\n", text.c_str());
    }
    return false;
  }
}

}  // namespace kv
