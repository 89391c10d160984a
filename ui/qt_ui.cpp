#include "ui/qt_ui.h"

#include <QApplication>
#include <QDir>
#include <QFileDialog>
#include <QMessageBox>

#include "ui/console_ui.h"

namespace kv {
namespace {

// The pump is called once per byte in the hot loops; processing events more
// often than this only costs time without making the windows any smoother.
constexpr qint64 kPumpIntervalMs = 5;

QMessageBox::Icon icon_for(MsgKind kind) {
  switch (kind) {
    case MsgKind::Warning: return QMessageBox::Warning;
    case MsgKind::Error: return QMessageBox::Critical;
    case MsgKind::Information: return QMessageBox::Information;
    case MsgKind::Confirmation: return QMessageBox::Question;
  }
  return QMessageBox::NoIcon;
}

struct ButtonMap {
  Button ours;
  QMessageBox::StandardButton theirs;
};
constexpr ButtonMap kButtons[] = {
    {kYes, QMessageBox::Yes},     {kNo, QMessageBox::No},         {kOk, QMessageBox::Ok},
    {kCancel, QMessageBox::Cancel}, {kAbort, QMessageBox::Abort}, {kRetry, QMessageBox::Retry},
    {kIgnore, QMessageBox::Ignore},
};

QString start_path(const FileDialogRequest& request) {
  return QDir(QString::fromStdString(request.folder)).filePath(QString::fromStdString(request.file_name));
}

std::optional<std::string> chosen(const QString& path) {
  if (path.isEmpty()) return std::nullopt;
  return path.toStdString();
}

}  // namespace

Button QtUi::message(MsgKind kind, const std::string& text, ButtonSet buttons) {
  QString body = QString::fromStdString(text);
  body.replace(QStringLiteral("\r\n"), QStringLiteral("\n")).replace(QLatin1Char('\r'), QLatin1Char('\n'));
  QMessageBox box(icon_for(kind), QString::fromLatin1(kind_caption(kind)), body, QMessageBox::NoButton,
                  QApplication::activeWindow());
  QMessageBox::StandardButtons standard;
  for (const auto& b : kButtons) {
    if (buttons & b.ours) standard |= b.theirs;
  }
  box.setStandardButtons(standard);
  // A busy cursor must not hide the arrow while the user reads the box.
  QApplication::setOverrideCursor(Qt::ArrowCursor);
  const int pressed = box.exec();
  QApplication::restoreOverrideCursor();
  for (const auto& b : kButtons) {
    if (pressed == b.theirs) return b.ours;
  }
  // Escape or the close box: the set's "no" answer.
  if (buttons & kCancel) return kCancel;
  if (buttons & kNo) return kNo;
  if (buttons & kAbort) return kAbort;
  return default_answer(buttons);
}

std::optional<std::string> QtUi::open_file(const FileDialogRequest& request) {
  return chosen(QFileDialog::getOpenFileName(QApplication::activeWindow(), QString::fromStdString(request.title),
                                             start_path(request), QString::fromStdString(request.filter)));
}

std::optional<std::string> QtUi::save_file(const FileDialogRequest& request) {
  return chosen(QFileDialog::getSaveFileName(QApplication::activeWindow(), QString::fromStdString(request.title),
                                             start_path(request), QString::fromStdString(request.filter), nullptr,
                                             QFileDialog::DontConfirmOverwrite));
}

void QtUi::set_busy(bool busy) {
  if (busy) {
    QApplication::setOverrideCursor(Qt::WaitCursor);
  } else {
    QApplication::restoreOverrideCursor();
  }
}

void QtUi::pump() {
  if (last_pump_.isValid() && last_pump_.elapsed() < kPumpIntervalMs) return;
  last_pump_.start();
  QCoreApplication::processEvents();
}

}  // namespace kv
