#include "app/text_windows.h"

#include <QCloseEvent>
#include <QGroupBox>
#include <QLabel>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QVBoxLayout>

#include "ui/window_placement.h"

namespace kv {
namespace {

constexpr QSize kHelpSize{520, 560};
constexpr QSize kAboutSize{420, 620};

QString joined(const TextLines& lines) {
  QStringList out;
  for (const auto& line : lines) out << QString::fromStdString(line);
  return out.join('\n');
}

}  // namespace

TTextWindow::TTextWindow(const char* name, const char* caption, const TextLines& text, QSize size, QWidget* parent)
    : QWidget(parent) {
  setObjectName(name);
  setWindowTitle(caption);
  auto* layout = new QVBoxLayout(this);
  memo_ = new QPlainTextEdit(this);
  memo_->setObjectName("Memo1");
  memo_->setReadOnly(true);
  memo_->setPlainText(joined(text));
  layout->addWidget(memo_, 1);
  auto* back = new QPushButton("Back", this);
  back->setObjectName("BitBtn1");
  connect(back, &QPushButton::clicked, this, &TTextWindow::go_back);
  layout->addWidget(back, 0, Qt::AlignRight);
  setFixedSize(size);
}

void TTextWindow::go_back() {
  hide();
  emit backRequested();
}

void TTextWindow::showEvent(QShowEvent* event) {
  QWidget::showEvent(event);
  centre_on_screen(*this);
}

void TTextWindow::closeEvent(QCloseEvent* event) {
  event->accept();
  emit backRequested();
}

TForm7::TForm7(QWidget* parent) : TTextWindow("TForm7", "Log Download Help", download_help_text(), kHelpSize, parent) {}
TForm8::TForm8(QWidget* parent) : TTextWindow("TForm8", "Setup Help", configure_help_text(), kHelpSize, parent) {}
TForm9::TForm9(QWidget* parent) : TTextWindow("TForm9", "Calcultor Help", calculator_help_text(), kHelpSize, parent) {}

TForm6::TForm6(QWidget* parent) : TTextWindow("TForm6", "About Korvanta Tools", about_text(), kAboutSize, parent) {
  auto* layout = static_cast<QVBoxLayout*>(this->layout());
  auto* notice = new QLabel(
      "This release works with Korvanta firmware 3.19 to 3.29. Later firmware may change the log "
      "format: check for a newer Korvanta Tools before using it.",
      this);
  notice->setObjectName("Notice");
  notice->setWordWrap(true);
  layout->insertWidget(1, notice);
  auto* group = new QGroupBox("Version", this);
  auto* group_layout = new QVBoxLayout(group);
  version_label_ = new QLabel(group);
  version_label_->setObjectName("Label1");
  group_layout->addWidget(version_label_);
  layout->insertWidget(2, group);
}

void TForm6::setup_form6() { version_label_->setText(QString::fromStdString(version_text())); }

QString TForm6::version_caption() const { return version_label_->text(); }

void TForm6::showEvent(QShowEvent* event) {
  TTextWindow::showEvent(event);
  setup_form6();
}

}  // namespace kv
