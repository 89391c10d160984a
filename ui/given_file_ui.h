#pragma once
// Passes everything to the person's Ui, except that the next open dialog can
// be answered with a file chosen elsewhere (named on the command line or
// dropped on a window). The load then runs exactly as from its button, with
// every check and message of its own.
#include <optional>
#include <string>

#include "ui/ui.h"

namespace kv {

class GivenFileUi : public Ui {
 public:
  explicit GivenFileUi(Ui& person) : person_(person) {}

  Button message(MsgKind kind, const std::string& text, ButtonSet buttons) override {
    return person_.message(kind, text, buttons);
  }
  std::optional<std::string> open_file(const FileDialogRequest& request) override;
  std::vector<std::string> open_files(const FileDialogRequest& request) override {
    return person_.open_files(request);
  }
  std::optional<std::string> save_file(const FileDialogRequest& request) override {
    return person_.save_file(request);
  }
  std::optional<std::string> choose_folder(const FileDialogRequest& request) override {
    return person_.choose_folder(request);
  }
  void set_busy(bool busy) override { person_.set_busy(busy); }
  void pump() override { person_.pump(); }
  bool print_page(const DrawPage& draw) override { return person_.print_page(draw); }

  // Runs `load` with its first open dialog answered by `path`; a load that
  // asks for no file leaves the person's later dialogs untouched.
  template <typename Load>
  void load_given(const std::string& path, Load&& load) {
    given_ = path;
    load();
    given_.reset();
  }

 private:
  Ui& person_;
  std::optional<std::string> given_;
};

}  // namespace kv
