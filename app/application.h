#pragma once
// Creates every window once, in a fixed order, and wires the navigation
// between them. Windows are only shown and hidden, never destroyed, so each
// keeps its contents while hidden.
#include <memory>

class QWidget;

#include "app/program_state.h"
#include "app/start_files.h"
#include "library_ui/library_access.h"
#include "ui/given_file_ui.h"

namespace kv {

class TForm1;
class TForm2;
class TForm3;
class TForm4;
class TForm6;
class TForm7;
class TForm8;
class TForm9;
class TForm10;
class TForm11;
class TForm13;

class Application {
 public:
  Application(ProgramState& state, Ui& ui);
  ~Application();
  Application(const Application&) = delete;
  Application& operator=(const Application&) = delete;

  // Shows the main menu.
  void start();
  // Instead of the main menu: the plot window with the logs loaded into A
  // and B, or the configure window with the configuration loaded, or the
  // notes window with the set-up file; each load runs as from its button.
  void start_with(const StartFiles& files);
  // The title of every window shown, one a line ("window: View Data"), then
  // each data set's name ("A: day1.kvl").
  std::string shown_windows() const;
  // True once the main menu has closed.
  bool ended() const { return ended_; }

  TForm1& main_menu() { return *form1_; }
  TForm2& download() { return *form2_; }
  TForm3& configure() { return *form3_; }
  TForm4& calculator() { return *form4_; }
  TForm6& about() { return *form6_; }
  TForm7& download_help() { return *form7_; }
  TForm8& configure_help() { return *form8_; }
  TForm9& calculator_help() { return *form9_; }
  TForm11& notes() { return *form11_; }
  TForm10& plot() { return *form10_; }
  TForm13& library() { return *form13_; }

 private:
  void wire_main_menu();
  void wire_log_windows();
  void wire_configure_and_calculator();
  void wire_plot_window();
  void wire_file_drops();
  void wire_library();
  void show_library(QWidget* opener);
  void end_program();

  ProgramState& state_;
  GivenFileUi ui_;
  LibraryAccess library_access_;
  QWidget* library_opener_ = nullptr;  // where the library window's Back returns
  bool ended_ = false;
  std::unique_ptr<TForm1> form1_;
  std::unique_ptr<TForm2> form2_;
  std::unique_ptr<TForm3> form3_;
  std::unique_ptr<TForm4> form4_;
  std::unique_ptr<TForm6> form6_;
  std::unique_ptr<TForm7> form7_;
  std::unique_ptr<TForm8> form8_;
  std::unique_ptr<TForm9> form9_;
  std::unique_ptr<TForm11> form11_;
  std::unique_ptr<TForm10> form10_;
  std::unique_ptr<TForm13> form13_;
};

}  // namespace kv
