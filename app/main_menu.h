#pragma once
// The main menu "Korvanta Tools": the first window and the application's main
// window; closing it ends the program.
#include <QWidget>

#include "app/program_state.h"

namespace kv {

class TForm1 : public QWidget {
  Q_OBJECT
 public:
  static constexpr int kWidth = 386;
  static constexpr int kHeight = 323;

  explicit TForm1(ProgramState& state, QWidget* parent = nullptr);

  void open_download();
  void open_configure();
  void open_calculator();
  void open_about();
  void open_library();
  void exit_form1();

 signals:
  void downloadRequested();
  void configureRequested();
  void calculatorRequested();
  void aboutRequested();
  void libraryRequested();
  // The menu has closed and the serial port is closed: the program ends.
  void programEnded();

 protected:
  void showEvent(QShowEvent* event) override;    // open_form1
  void closeEvent(QCloseEvent* event) override;  // close_form1

 private:
  void open_window(void (TForm1::*request)());
  ProgramState& state_;
};

}  // namespace kv
