#include "logdata/download_window.h"

#include <QAbstractButton>
#include <QButtonGroup>
#include <QCloseEvent>
#include <QComboBox>
#include <QGroupBox>
#include <QKeyEvent>
#include <QLineEdit>
#include <QProgressBar>
#include <QPushButton>

#include "logdata/csv_export.h"
#include "logdata/download_sequence.h"
#include "logdata/download_view.h"
#include "logdata/log_file.h"
#include "ui/controls_lock.h"
#include "ui/window_placement.h"

namespace kv {

TForm2::TForm2(DownloadWindowState state, Ui& ui, QWidget* parent) : NavigableWindow(parent), state_(state), ui_(ui) {
  setObjectName("TForm2");
  setWindowTitle("Log Analysis");
  build();
  setFixedSize(kWidth, kHeight);
}

void TForm2::showEvent(QShowEvent* event) {
  QWidget::showEvent(event);
  setup_form2();
}

void TForm2::setup_form2() {
  show_port_selection();
  ProgressBar1->setValue(0);
  show_dataset_names();
  centre_on_screen(*this);
}

void TForm2::show_port_selection() { check_port_item(port_item_for(state_.serial.selected_port)); }

void TForm2::check_port_item(int item) {
  // An exclusive group cannot show "nothing selected" without this dance.
  port_buttons_->setExclusive(false);
  for (QAbstractButton* b : port_buttons_->buttons()) b->setChecked(port_buttons_->id(b) == item);
  port_buttons_->setExclusive(true);
}

void TForm2::change_serial_port(int item_index) {
  if (!select_port(state_.serial, item_index, ui_)) check_port_item(-1);
}

std::vector<QWidget*> TForm2::lockable_controls() const {
  std::vector<QWidget*> controls(buttons_.begin(), buttons_.end());
  controls.push_back(ComboBox1);
  controls.push_back(Serial_COM_group);
  return controls;
}

DownloadObserver TForm2::progress_observer() {
  DownloadObserver observer;
  observer.on_memory_status = [this](const MemoryStatus& status) { show_memory_figures(status); };
  observer.on_pages_start = [this](int pages) {
    ProgressBar1->setMaximum(pages);
    ProgressBar1->setValue(0);
    BitBtn15->setEnabled(true);
  };
  observer.on_page_done = [this] { ProgressBar1->setValue(ProgressBar1->value() + 1); };
  observer.on_pages_end = [this] { BitBtn15->setEnabled(false); };
  observer.cancel_requested = [this] { return cancel_requested_; };
  return observer;
}

void TForm2::get_log_data(bool dump) {
  ControlsLock lock(lockable_controls());
  cancel_requested_ = false;
  const std::uint8_t which = data_set_for_item(ComboBox1->currentIndex());
  state_.log.current_data_set = which;
  const auto observer = progress_observer();
  const DownloadResult result =
      dump ? dump_log_data(state_.serial.link, state_.log, state_.dialogs, ui_, which, observer)
           : kv::get_log_data(state_.serial.link, state_.log, state_.dialogs, ui_, which, false, observer);
  if (result.pages_read) ProgressBar1->setValue(0);
  show_dataset_names();
  if (result.kept) emit downloadKept(which);
}

void TForm2::get_log_dataSet() { get_log_data(false); }

void TForm2::set_dump_flag() { get_log_data(true); }

void TForm2::clear_log_pointers() {
  ControlsLock lock(lockable_controls());
  if (state_.serial.link.clear_log(ui_) != LinkOutcome::Done) return;
  ProgressBar1->setValue(0);
  clear_memory_figures();
}

void TForm2::show_memory_figures(const MemoryStatus& status) {
  const auto figures = memory_figures(status);
  ProgressBar2->setValue(figures.usage_bar);
  Edit1->setText(QString::fromStdString(figures.percent_text));
  Edit2->setText(QString::fromStdString(figures.size_text));
}

void TForm2::clear_memory_figures() {
  ProgressBar2->setValue(0);
  Edit1->clear();
  Edit2->clear();
}

void TForm2::show_dataset_names() {
  Edit3->setText(QString::fromStdString(dataset_name_text(state_.log.dataset(kDataSetA))));
  Edit4->setText(QString::fromStdString(dataset_name_text(state_.log.dataset(kDataSetB))));
}

void TForm2::run_file_operation(FileOperation operation) {
  ControlsLock lock(lockable_controls());
  operation(state_.log, state_.dialogs, ui_);
  show_dataset_names();
}

void TForm2::load_log_dataSetA() {
  clear_memory_figures();
  run_file_operation(&kv::load_log_dataSetA);
}

void TForm2::load_log_dataSetB() {
  clear_memory_figures();
  run_file_operation(&kv::load_log_dataSetB);
}

void TForm2::save_log_dataSetA() { run_file_operation(&kv::save_log_dataSetA); }
void TForm2::save_log_dataSetB() { run_file_operation(&kv::save_log_dataSetB); }
void TForm2::save_csv_dataSetA() { run_file_operation(&kv::save_csv_dataSetA); }
void TForm2::save_csv_dataSetB() { run_file_operation(&kv::save_csv_dataSetB); }

void TForm2::open_notes(std::uint8_t which) {
  state_.log.current_data_set = which;
  hide();
  emit notesRequested(which);
}

void TForm2::edit_session_A_notes() { open_notes(kDataSetA); }
void TForm2::edit_session_B_notes() { open_notes(kDataSetB); }

void TForm2::view_plot_data() {
  if (!view_data_allowed(state_.log, ui_)) return;
  emit viewDataRequested();
}

void TForm2::view_help() { go_to_help(); }

void TForm2::open_library() { emit libraryRequested(); }

void TForm2::back_to_main() { go_to_main_menu(); }

void TForm2::cancel_download() {
  if (BitBtn15->isEnabled()) cancel_requested_ = true;
}

void TForm2::keyPressEvent(QKeyEvent* event) {
  if (event->key() == Qt::Key_Escape && BitBtn15->isEnabled()) {
    cancel_download();
    return;
  }
  QWidget::keyPressEvent(event);
}

void TForm2::closeEvent(QCloseEvent* event) {
  // Closing ends the program; in the middle of a transfer, decode or file
  // operation (while the controls are locked) that would lose its work.
  if (!ComboBox1->isEnabled()) {
    event->ignore();
    return;
  }
  event->accept();
  emit programExitRequested();
}

}  // namespace kv
