#include "config/password_window.h"

#include <QCloseEvent>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QVBoxLayout>

#include "config/odometer_password.h"
#include "ui/window_placement.h"

namespace kv {

TForm12::TForm12(config::ConfigForm& form, Ui& ui, QWidget* parent)
    : QWidget(parent, Qt::Dialog), form_(form), ui_(ui) {
  setObjectName("TForm12");
  setWindowTitle("Odometer Password");
  auto* layout = new QVBoxLayout(this);
  layout->addWidget(new QLabel("Enter the Password to change the", this));
  layout->addWidget(new QLabel("Odometer value on the Korvanta", this));
  password_ = new QLineEdit(this);
  password_->setObjectName("MaskEdit1");
  password_->setMaxLength(config::kPasswordMaxLength);
  password_->setEchoMode(QLineEdit::Password);
  layout->addWidget(password_);
  auto* enter = new QPushButton("Enter", this);
  enter->setObjectName("BitBtn1");
  enter->setDefault(true);
  layout->addWidget(enter);
  connect(enter, &QPushButton::clicked, this, &TForm12::check_password);
  connect(password_, &QLineEdit::returnPressed, this, &TForm12::check_password);
  setFixedSize(sizeHint().expandedTo(QSize(260, 0)));
}

void TForm12::showEvent(QShowEvent* event) {
  QWidget::showEvent(event);
  centre_on_screen(*this);
  password_->clear();
  password_->setFocus();
  config::open_password(form_);
}

void TForm12::check_password() {
  if (!isVisible()) return;
  hide();
  config::enter_password(form_, password_->text().toStdString(), ui_);
  password_->clear();
  close_password();
}

void TForm12::closeEvent(QCloseEvent* event) {
  event->accept();
  if (isVisible()) close_password();
}

void TForm12::close_password() {
  config::close_password(form_);
  emit passwordClosed();
}

}  // namespace kv
