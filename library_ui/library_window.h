#pragma once
// The "Session Library" window: every kept session in a table the person
// filters and sorts, with the buttons that open a session into A or B,
// import, tag, remove and rebuild, and the "Set-up vs Lap Time" scatter.
// The work is done by library_actions and the table model.
#include <QWidget>
#include <cstdint>
#include <memory>
#include <string>

#include "library_ui/library_access.h"
#include "library_ui/session_table_model.h"
#include "logdata/log_state.h"
#include "ui/dialog_defaults.h"
#include "ui/given_file_ui.h"

class QCheckBox;
class QComboBox;
class QDateEdit;
class QLabel;
class QLineEdit;
class QMenu;
class QTableView;
class QTimer;

namespace kv {

class TForm14;

// The pieces of the program state the window works on.
struct LibraryWindowState {
  LogState& log;
  DialogDefaults& dialogs;
  std::string& library_folder;
  LibraryAccess& access;
  // Where the chosen folder is remembered for the next run.
  const std::string& library_folder_file;
};

class TForm13 : public QWidget {
  Q_OBJECT
 public:
  TForm13(LibraryWindowState state, GivenFileUi& ui, QWidget* parent = nullptr);
  ~TForm13() override;

  // Handlers, public so the shell and tests drive them.
  void reload();
  void apply_filter();
  void open_into_a();
  void open_into_b();
  void import_files();
  void import_folder();
  void remove_session();
  void rebuild();
  void save_tags();
  void choose_library_folder();
  void show_scatter();
  void back();

  SessionTableModel& model() { return model_; }
  // Chooses the table row showing `path`; false when it is not shown.
  bool select_path(const std::string& path);
  // The folder's check begun at the first opening is still running; the
  // table shows the index's rows meanwhile and is refreshed, keeping the
  // choice, order, filter and place, when the check changed anything.
  bool checking_folder() const;
  // Applies the check if it is done (or waits for it when `wait`).
  void catch_up(bool wait);
  TForm14& scatter_window();

 signals:
  void sessionOpened(std::uint8_t data_set);
  void backRequested();

 protected:
  void showEvent(QShowEvent* event) override;
  void closeEvent(QCloseEvent* event) override;

 private:
  // library_window_layout.cpp builds the controls.
  void build();
  QWidget* build_filters();
  QWidget* build_tags();
  QWidget* build_buttons();
  void build_column_menu();

  // The library in step with the folder: any check still running is
  // finished first, so every action works on what the folder holds.
  library::SessionLibrary* library();
  void show_rows(library::SessionLibrary& lib);
  void refresh_keeping_place();
  const library::SessionRow* chosen_row() const;
  void open_into(std::uint8_t which);
  void show_chosen_tags();
  void fill_tag_choices();
  void fit_date_column();
  void show_folder();

  LibraryWindowState state_;
  GivenFileUi& ui_;
  SessionTableModel model_;
  std::unique_ptr<TForm14> scatter_;

  QLabel* folder_label_ = nullptr;
  QCheckBox* from_check_ = nullptr;
  QCheckBox* to_check_ = nullptr;
  QDateEdit* from_date_ = nullptr;
  QDateEdit* to_date_ = nullptr;
  QComboBox* track_filter_ = nullptr;
  QComboBox* car_filter_ = nullptr;
  QComboBox* driver_filter_ = nullptr;
  QLineEdit* text_filter_ = nullptr;
  QTableView* table_ = nullptr;
  QLineEdit* track_tag_ = nullptr;
  QLineEdit* car_tag_ = nullptr;
  QLineEdit* driver_tag_ = nullptr;
  QLineEdit* free_tags_ = nullptr;
  QMenu* column_menu_ = nullptr;
  QTimer* check_timer_ = nullptr;
};

}  // namespace kv
