#pragma once
// The "Setup Notes" window: the set-up sheet and notes of one dataset, with
// the template file and a save of the whole log.
#include <QWidget>
#include <array>
#include <cstdint>
#include <string>
#include <utility>
#include <vector>

#include "logdata/log_state.h"
#include "notes/setup_layout.h"
#include "ui/dialog_defaults.h"
#include "ui/ui.h"

class QGridLayout;
class QGroupBox;
class QPushButton;

namespace kv {

class LimitedEdit;
class LimitedMemo;

// The pieces of the program state the window works on.
struct NotesWindowState {
  LogState& log;
  DialogDefaults& dialogs;
};

class TForm11 : public QWidget {
  Q_OBJECT
 public:
  TForm11(NotesWindowState state, Ui& ui, QWidget* parent = nullptr);

  // Opens the window on dataset 1 (A) or 2 (B).
  void open_for(std::uint8_t data_set);

  // Handlers, one per user event.
  void setup_form11();
  void set_Edit_Objects();
  void set_session_array();
  void back_to_logger();
  void cancel_loggernotes();
  void close_logger_notes();
  void save_changes();
  void clear_form_data();
  void save_setup_data();
  void load_setup_data();

  LimitedEdit* field_edit(int slot) const;
  LimitedMemo* memo(std::uint8_t data_set) const;

 signals:
  // The window has hidden itself; the download window should come back.
  void backRequested();

 protected:
  void showEvent(QShowEvent* event) override;
  void closeEvent(QCloseEvent* event) override;

 private:
  QWidget* build_setup_group();
  QWidget* build_block(const BlockHeads& heads);
  QWidget* build_notes_group();
  QWidget* build_control_group();
  void fit_font();
  void size_boxes();
  int box_width(int chars) const;
  void return_to_logger();
  SetupSheet& sheet();
  void store_notes(std::uint8_t data_set);

  NotesWindowState state_;
  Ui& ui_;
  std::uint8_t data_set_ = kDataSetA;  // the dataset of the last activation
  QGroupBox* setup_group_ = nullptr;
  std::array<LimitedEdit*, kSheetFields + 1> edits_{};  // by slot; element 0 unused
  std::array<LimitedMemo*, 2> memos_{};
  // Each memo's notes as stored when it last showed or stored them: what an
  // edit is measured against, so untouched lines keep their bytes.
  std::array<std::vector<std::string>, 2> memo_notes_{};
  std::vector<std::pair<QGridLayout*, int>> block_grids_;  // each block's grid and its box columns
};

}  // namespace kv
