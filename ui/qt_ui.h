#pragma once
// The real Ui: Qt message boxes and file dialogs, the override cursor and a
// rate-limited event pump.
#include <QElapsedTimer>

#include "ui/ui.h"

class QWidget;

namespace kv {

class QtUi : public Ui {
 public:
  Button message(MsgKind kind, const std::string& text, ButtonSet buttons) override;
  std::optional<std::string> open_file(const FileDialogRequest& request) override;
  std::optional<std::string> save_file(const FileDialogRequest& request) override;
  std::vector<std::string> open_files(const FileDialogRequest& request) override;
  std::optional<std::string> choose_folder(const FileDialogRequest& request) override;
  void set_busy(bool busy) override;
  void pump() override;
  bool print_page(const DrawPage& draw) override;

 private:
  QElapsedTimer last_pump_;
};

}  // namespace kv
