#include "ui/qt_ui.h"

#include <QApplication>
#include <QFileDialog>
#include <QMessageBox>
#include <QPrintDialog>
#include <QPrinter>

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

// Both dialogs hand back whatever name the person types, existing or not,
// with no extension added: the callers' checks answer a missing file, a
// foreign extension or an existing one with the file kind's own messages.
// The platform's own dialogs refuse a missing name before the program sees
// it, so Qt's dialog is used everywhere.
std::optional<std::string> run_file_dialog(const FileDialogRequest& request, QFileDialog::AcceptMode mode) {
  QFileDialog dialog(QApplication::activeWindow(), QString::fromStdString(request.title),
                     QString::fromStdString(request.folder), QString::fromStdString(request.filter));
  dialog.setAcceptMode(mode);
  dialog.setFileMode(QFileDialog::AnyFile);
  dialog.setOptions(QFileDialog::DontUseNativeDialog | QFileDialog::DontConfirmOverwrite);
  dialog.selectFile(QString::fromStdString(request.file_name));
  if (dialog.exec() != QDialog::Accepted) return std::nullopt;
  const QStringList files = dialog.selectedFiles();
  if (files.isEmpty()) return std::string();
  return files.first().toStdString();
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
  return run_file_dialog(request, QFileDialog::AcceptOpen);
}

// Several files are picked only among those that exist, so Qt's own
// checking of the names is welcome here; its dialog keeps the look of the
// single ones.
std::vector<std::string> QtUi::open_files(const FileDialogRequest& request) {
  const QStringList files = QFileDialog::getOpenFileNames(
      QApplication::activeWindow(), QString::fromStdString(request.title), QString::fromStdString(request.folder),
      QString::fromStdString(request.filter), nullptr, QFileDialog::DontUseNativeDialog);
  std::vector<std::string> paths;
  paths.reserve(static_cast<std::size_t>(files.size()));
  for (const QString& file : files) paths.push_back(file.toStdString());
  return paths;
}

std::optional<std::string> QtUi::save_file(const FileDialogRequest& request) {
  return run_file_dialog(request, QFileDialog::AcceptSave);
}

std::optional<std::string> QtUi::choose_folder(const FileDialogRequest& request) {
  const QString folder = QFileDialog::getExistingDirectory(QApplication::activeWindow(),
                                                           QString::fromStdString(request.title),
                                                           QString::fromStdString(request.folder));
  if (folder.isEmpty()) return std::nullopt;
  return folder.toStdString();
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

bool QtUi::print_page(const DrawPage& draw) {
  QPrinter printer(QPrinter::HighResolution);
  QPrintDialog dialog(&printer, QApplication::activeWindow());
  if (dialog.exec() != QDialog::Accepted) return false;
  draw(printer);
  return true;
}

}  // namespace kv
