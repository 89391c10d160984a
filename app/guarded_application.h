#pragma once
// The application object, with the general error handler: an error that
// escapes an event handler is shown in an error box and the program goes on.
#include <QApplication>
#include <exception>
#include <string>

#include "ui/ui.h"

namespace kv {

// The text shown for an escaped error.
std::string escaped_error_text(std::exception_ptr error);

class GuardedApplication : public QApplication {
 public:
  GuardedApplication(int& argc, char** argv) : QApplication(argc, argv) {}
  void set_ui(Ui* ui) { ui_ = ui; }
  bool notify(QObject* receiver, QEvent* event) override;

 private:
  Ui* ui_ = nullptr;
};

}  // namespace kv
