#pragma once
// Lets a window take a log file dropped on it from the file manager: the
// window need not know; the filter accepts the drag and hands the file over.
#include <QObject>
#include <functional>
#include <optional>
#include <string>

class QMimeData;
class QWidget;

namespace kv {

// The local log file (.kvl) among dragged data, the first if several.
std::optional<std::string> dropped_log_file(const QMimeData& data);

class LogFileDrop : public QObject {
 public:
  // Called with the file and whether it was dropped on the window's right
  // half, where data set B's controls are.
  using Handler = std::function<void(const std::string& path, bool right_half)>;

  // Installs itself on `window`, which owns it.
  LogFileDrop(QWidget& window, Handler handler);

  bool eventFilter(QObject* watched, QEvent* event) override;

 private:
  QWidget& window_;
  Handler handler_;
};

}  // namespace kv
