#pragma once
// TForm12 "Odometer Password": asks for the factory password before the
// odometer may be overwritten.
#include <QWidget>

#include "config/config_form.h"
#include "ui/ui.h"

class QLineEdit;

namespace kv {

class TForm12 : public QWidget {
  Q_OBJECT
 public:
  TForm12(config::ConfigForm& form, Ui& ui, QWidget* parent = nullptr);

  // The "Enter" button.
  void check_password();

 signals:
  // The dialog has closed, by "Enter" or by its close box.
  void passwordClosed();

 protected:
  void showEvent(QShowEvent* event) override;
  void closeEvent(QCloseEvent* event) override;

 private:
  void close_password();

  config::ConfigForm& form_;
  Ui& ui_;
  QLineEdit* password_ = nullptr;
};

}  // namespace kv
