#pragma once
// The program's only door to the person: message boxes, file dialogs, the busy
// cursor and the message pump. Logic takes a Ui& so tests can script answers.
#include <functional>
#include <optional>
#include <string>
#include <vector>

class QPagedPaintDevice;

namespace kv {

enum class MsgKind { Warning, Error, Information, Confirmation };

// Buttons combine into a set; an answer is the single button that was pressed.
enum Button : unsigned {
  kNoButton = 0,
  kOk = 1u << 0,
  kCancel = 1u << 1,
  kYes = 1u << 2,
  kNo = 1u << 3,
  kAbort = 1u << 4,
  kRetry = 1u << 5,
  kIgnore = 1u << 6,
};
using ButtonSet = unsigned;

struct FileDialogRequest {
  std::string title;
  std::string filter;       // e.g. "Korvanta Log Files (*.kvl)"
  std::string default_ext;  // without the dot, e.g. "kvl"
  std::string folder;       // remembered folder
  std::string file_name;    // remembered name, e.g. "default.kvl"
};

class Ui {
 public:
  virtual ~Ui() = default;

  // Shows a modal box and returns the pressed button (always one of `buttons`).
  virtual Button message(MsgKind kind, const std::string& text, ButtonSet buttons) = 0;

  // Returns the chosen full path, or nothing when the user cancelled. Any
  // typed name comes back, existing or not: the dialog itself neither refuses
  // missing files, appends extensions nor asks about overwriting. The callers
  // own those rules and their messages.
  virtual std::optional<std::string> open_file(const FileDialogRequest& request) = 0;
  virtual std::optional<std::string> save_file(const FileDialogRequest& request) = 0;
  // Any number of existing files from one dialog, in the order the dialog
  // lists them; none when the user cancelled. A Ui without such a dialog
  // asks for one file.
  virtual std::vector<std::string> open_files(const FileDialogRequest& request) {
    auto one = open_file(request);
    if (!one) return {};
    return {std::move(*one)};
  }
  // A folder chosen from `request.folder` on, or nothing when cancelled. A
  // Ui without a folder dialog (the console) always answers nothing.
  virtual std::optional<std::string> choose_folder(const FileDialogRequest& /*request*/) { return std::nullopt; }

  // Nested calls count: the cursor shows busy until every set_busy(true) has
  // been matched by set_busy(false).
  virtual void set_busy(bool busy) = 0;

  // Lets the windows repaint and handle input during a long operation.
  virtual void pump() = 0;

  // The platform's print dialog; unless the user cancels, `draw` paints one
  // page on the chosen printer, which sends it once `draw` returns. False
  // when cancelled.
  using DrawPage = std::function<void(QPagedPaintDevice& page)>;
  virtual bool print_page(const DrawPage& draw) = 0;

  // Short helpers for the common boxes.
  void warning(const std::string& text) { message(MsgKind::Warning, text, kOk); }
  void error(const std::string& text) { message(MsgKind::Error, text, kOk); }
  void information(const std::string& text) { message(MsgKind::Information, text, kOk); }
  bool ask_yes_no(MsgKind kind, const std::string& text) {
    return message(kind, text, kYes | kNo) == kYes;
  }
};

// Shows the busy cursor for the lifetime of the guard.
class BusyCursor {
 public:
  explicit BusyCursor(Ui& ui) : ui_(ui) { ui_.set_busy(true); }
  ~BusyCursor() { ui_.set_busy(false); }
  BusyCursor(const BusyCursor&) = delete;
  BusyCursor& operator=(const BusyCursor&) = delete;

 private:
  Ui& ui_;
};

}  // namespace kv
