#pragma once
// The "Log Analysis" window: the hub of the log side. It picks the port,
// downloads into dataset A or B, dumps and clears the instrument's memory,
// loads, saves and exports both datasets and opens the notes and plot windows.
#include <cstdint>
#include <vector>

#include "link/protocol.h"
#include "link/serial_state.h"
#include "logdata/log_state.h"
#include "ui/dialog_defaults.h"
#include "ui/navigable_window.h"
#include "ui/ui.h"

class QButtonGroup;
class QComboBox;
class QGroupBox;
class QLineEdit;
class QProgressBar;
class QPushButton;

namespace kv {

// The pieces of the program state the window works on.
struct DownloadWindowState {
  LogState& log;
  SerialState& serial;
  DialogDefaults& dialogs;
};

class TForm2 : public NavigableWindow {
  Q_OBJECT
 public:
  static constexpr int kWidth = 467;
  static constexpr int kHeight = 487;

  TForm2(DownloadWindowState state, Ui& ui, QWidget* parent = nullptr);

  // Handlers, one per user event, public so the shell and tests drive them.
  void setup_form2();
  void get_log_dataSet();
  void set_dump_flag();
  void clear_log_pointers();
  void change_serial_port(int item_index);
  void load_log_dataSetA();
  void load_log_dataSetB();
  void save_log_dataSetA();
  void save_log_dataSetB();
  void save_csv_dataSetA();
  void save_csv_dataSetB();
  void edit_session_A_notes();
  void edit_session_B_notes();
  void view_plot_data();
  void view_help();
  void back_to_main();
  void open_library();
  // Cancel (and Esc) while a download or dump reads pages: stop after the
  // page in progress, keeping the ones before it.
  void cancel_download();

  // Shows each dataset's name in its field.
  void show_dataset_names();

  // The port item shown as chosen, -1 for none.
  int checked_port_item() const;

 signals:
  void notesRequested(std::uint8_t data_set);
  void viewDataRequested();
  void libraryRequested();
  // A download put its pages into dataset `data_set` (whole, cancelled or
  // kept after a failure); a dump never does.
  void downloadKept(std::uint8_t data_set);

 protected:
  // Unlike the rest of its family, the window sets up again when the desktop
  // restores it, and its close box ends the program even while it is hidden
  // but not while a transfer runs.
  void showEvent(QShowEvent* event) override;
  void closeEvent(QCloseEvent* event) override;  // close_form2
  void keyPressEvent(QKeyEvent* event) override;

 private:
  // download_window_layout.cpp builds the controls.
  void build();
  QGroupBox* build_download_group();
  QGroupBox* build_port_group();
  QGroupBox* build_memory_group();
  QGroupBox* build_data_set_group(std::uint8_t which);
  QGroupBox* build_analysis_group();
  QWidget* build_bar(QProgressBar*& bar, const char* name, const char* caption, const char* hint);
  QPushButton* button(const char* name, const char* caption, const char* hint, void (TForm2::*handler)());

  void get_log_data(bool dump);
  // A load, save or export of one dataset, with the controls locked.
  using FileOperation = bool (*)(LogState&, DialogDefaults&, Ui&);
  void run_file_operation(FileOperation operation);
  DownloadObserver progress_observer();
  void show_memory_figures(const MemoryStatus& status);
  void clear_memory_figures();
  void show_port_selection();
  void check_port_item(int item);  // -1: none
  void open_notes(std::uint8_t which);
  std::vector<QWidget*> lockable_controls() const;

  DownloadWindowState state_;
  Ui& ui_;

  QComboBox* ComboBox1 = nullptr;
  QGroupBox* Serial_COM_group = nullptr;
  QButtonGroup* port_buttons_ = nullptr;
  QProgressBar* ProgressBar1 = nullptr;
  QProgressBar* ProgressBar2 = nullptr;
  QLineEdit* Edit1 = nullptr;
  QLineEdit* Edit2 = nullptr;
  QLineEdit* Edit3 = nullptr;
  QLineEdit* Edit4 = nullptr;
  std::vector<QPushButton*> buttons_;
  QPushButton* BitBtn15 = nullptr;  // Cancel: outside the lock, enabled only while pages are read
  bool cancel_requested_ = false;
};

}  // namespace kv
