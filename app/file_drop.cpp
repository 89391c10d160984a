#include "app/file_drop.h"

#include <QDragEnterEvent>
#include <QDropEvent>
#include <QMimeData>
#include <QTimer>
#include <QUrl>
#include <QWidget>

#include "app/start_files.h"

namespace kv {

std::optional<std::string> dropped_log_file(const QMimeData& data) {
  for (const QUrl& url : data.urls()) {
    if (!url.isLocalFile()) continue;
    const std::string path = url.toLocalFile().toStdString();
    if (is_log_file_name(path)) return path;
  }
  return std::nullopt;
}

LogFileDrop::LogFileDrop(QWidget& window, Handler handler)
    : QObject(&window), window_(window), handler_(std::move(handler)) {
  window_.setAcceptDrops(true);
  window_.installEventFilter(this);
}

bool LogFileDrop::eventFilter(QObject* watched, QEvent* event) {
  if (watched != &window_) return false;
  if (event->type() == QEvent::DragEnter || event->type() == QEvent::DragMove) {
    auto* drag = static_cast<QDragMoveEvent*>(event);
    if (drag->mimeData() != nullptr && dropped_log_file(*drag->mimeData())) drag->acceptProposedAction();
    else drag->ignore();
    return true;
  }
  if (event->type() != QEvent::Drop) return false;
  auto* drop = static_cast<QDropEvent*>(event);
  const auto path = drop->mimeData() != nullptr ? dropped_log_file(*drop->mimeData()) : std::nullopt;
  if (!path) return false;
  drop->acceptProposedAction();
  const bool right_half = drop->position().x() >= window_.width() / 2.0;
  // The load shows boxes of its own: run it once the drag has finished, so
  // the file manager is not held waiting on them.
  QTimer::singleShot(0, this, [this, file = *path, right_half] { handler_(file, right_half); });
  return true;
}

}  // namespace kv
