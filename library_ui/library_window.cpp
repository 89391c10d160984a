#include "library_ui/library_window.h"

#include <QCheckBox>
#include <QCloseEvent>
#include <QComboBox>
#include <QDateEdit>
#include <QDateTime>
#include <QItemSelectionModel>
#include <QLabel>
#include <QLineEdit>
#include <QShowEvent>
#include <QTableView>
#include <QTimer>
#include <iterator>
#include <set>

#include "desktop/user_folder.h"
#include "library_ui/library_actions.h"
#include "library_ui/scatter_window.h"
#include "logdata/windows1252_qt.h"
#include "ui/window_placement.h"

namespace kv {
namespace {

// How often the window looks whether the folder's check is done; a check
// of ten thousand files takes a few tens of milliseconds.
constexpr int kCheckPollMs = 10;

std::int64_t local_midnight(const QDate& date) { return QDateTime(date, QTime(0, 0)).toSecsSinceEpoch(); }

// Tags and notes are kept in the files' Windows-1252, so what is typed is
// matched and stored in the same bytes.
std::string text_of(const QComboBox* box) { return windows1252_from_qstring(box->currentText().trimmed()); }
std::string text_of(const QLineEdit* edit) { return windows1252_from_qstring(edit->text().trimmed()); }

// Keeps what the person typed while the choices change under it.
void set_choices(QComboBox* box, const std::set<std::string>& values) {
  const QString typed = box->currentText();
  box->blockSignals(true);
  box->clear();
  box->addItem(QString());
  for (const auto& value : values) box->addItem(qstring_from_windows1252(value));
  box->setEditText(typed);
  box->blockSignals(false);
}

}  // namespace

TForm13::TForm13(LibraryWindowState state, GivenFileUi& ui, QWidget* parent)
    : QWidget(parent), state_(state), ui_(ui) {
  setObjectName("TForm13");
  setWindowTitle("Session Library");
  build();
  check_timer_ = new QTimer(this);
  check_timer_->setInterval(kCheckPollMs);
  connect(check_timer_, &QTimer::timeout, this, [this] { catch_up(false); });
}

TForm13::~TForm13() = default;

void TForm13::showEvent(QShowEvent* event) {
  QWidget::showEvent(event);
  // Restored by the desktop: the person's place, choice and window stay.
  if (event->spontaneous()) return;
  centre_on_screen(*this);
  reload();
}

void TForm13::closeEvent(QCloseEvent* event) {
  // The close box goes back like the Back button; the program runs on.
  event->ignore();
  back();
}

void TForm13::back() {
  hide();
  emit backRequested();
}

library::SessionLibrary* TForm13::library() {
  catch_up(true);
  std::string error;
  library::SessionLibrary* lib = state_.access.get(error);
  if (lib == nullptr) ui_.warning(error);
  return lib;
}

void TForm13::reload() {
  show_folder();
  std::string error;
  library::SessionLibrary* lib = state_.access.get_as_indexed(error);
  if (lib == nullptr) {
    ui_.warning(error);
    model_.set_rows({});
    return;
  }
  show_rows(*lib);
  show_chosen_tags();
  if (state_.access.checking()) check_timer_->start();
}

void TForm13::show_rows(library::SessionLibrary& lib) {
  auto rows = lib.rows();
  if (!lib.last_error().empty()) ui_.warning(lib.last_error());
  model_.set_rows(std::move(rows));
  fill_tag_choices();
}

bool TForm13::checking_folder() const { return state_.access.checking(); }

void TForm13::catch_up(bool wait) {
  const std::optional<bool> changed = state_.access.finish_check(wait);
  if (!state_.access.checking()) check_timer_->stop();
  if (changed.value_or(false)) refresh_keeping_place();
}

void TForm13::refresh_keeping_place() {
  std::string error;
  library::SessionLibrary* lib = state_.access.get_as_indexed(error);
  if (lib == nullptr) return;
  const library::SessionRow* chosen = chosen_row();
  const std::string chosen_path = chosen != nullptr ? chosen->path : std::string();
  const library::SessionTags shown = chosen != nullptr ? chosen->tags : library::SessionTags{};
  const library::SessionRow* top = model_.row_at(table_->rowAt(0));
  const std::string top_path = top != nullptr ? top->path : std::string();
  QLineEdit* const edits[] = {track_tag_, car_tag_, driver_tag_, free_tags_};
  const std::string was[] = {shown.track, shown.car, shown.driver, shown.free_tags};
  const QString typed[] = {track_tag_->text(), car_tag_->text(), driver_tag_->text(), free_tags_->text()};
  show_rows(*lib);
  if (chosen_path.empty() || !select_path(chosen_path)) {
    show_chosen_tags();
  } else {
    // A tag being typed into stays as typed while its row stays chosen; one
    // left alone shows what the folder now says (another machine's edit).
    for (std::size_t i = 0; i < std::size(edits); ++i) {
      if (typed[i] != qstring_from_windows1252(was[i])) edits[i]->setText(typed[i]);
    }
  }
  const int top_row = model_.view_row_of(top_path);
  if (top_row >= 0) table_->scrollTo(model_.index(top_row, 0), QAbstractItemView::PositionAtTop);
}

void TForm13::fill_tag_choices() {
  std::set<std::string> tracks, cars, drivers;
  for (const auto& row : model_.rows()) {
    if (!row.tags.track.empty()) tracks.insert(row.tags.track);
    if (!row.tags.car.empty()) cars.insert(row.tags.car);
    if (!row.tags.driver.empty()) drivers.insert(row.tags.driver);
  }
  set_choices(track_filter_, tracks);
  set_choices(car_filter_, cars);
  set_choices(driver_filter_, drivers);
}

void TForm13::apply_filter() {
  library::SessionFilter filter;
  if (from_check_->isChecked()) filter.from_time = local_midnight(from_date_->date());
  if (to_check_->isChecked()) filter.to_time = local_midnight(to_date_->date().addDays(1));
  filter.track = text_of(track_filter_);
  filter.car = text_of(car_filter_);
  filter.driver = text_of(driver_filter_);
  filter.text = text_of(text_filter_);
  model_.set_filter(filter);
  show_chosen_tags();
}

const library::SessionRow* TForm13::chosen_row() const {
  const QModelIndex current = table_->selectionModel()->currentIndex();
  return current.isValid() ? model_.row_at(current.row()) : nullptr;
}

bool TForm13::select_path(const std::string& path) {
  const int row = model_.view_row_of(path);
  if (row < 0) return false;
  table_->selectRow(row);
  table_->selectionModel()->setCurrentIndex(model_.index(row, 0),
                                            QItemSelectionModel::ClearAndSelect | QItemSelectionModel::Rows);
  show_chosen_tags();
  return true;
}

void TForm13::open_into(std::uint8_t which) {
  const library::SessionRow* row = chosen_row();
  if (row == nullptr) return;
  // Copied first: finishing the folder's check may refresh the rows.
  const std::string path = row->path;
  library::SessionLibrary* lib = library();
  if (lib == nullptr) return;
  open_library_session(state_.log, state_.dialogs, ui_, which, *lib, path);
  emit sessionOpened(which);
}

void TForm13::open_into_a() { open_into(kDataSetA); }
void TForm13::open_into_b() { open_into(kDataSetB); }

void TForm13::import_files() {
  const auto files = ui_.open_files(import_files_request(state_.dialogs.log.folder));
  library::SessionLibrary* lib = files.empty() ? nullptr : library();
  if (lib == nullptr) return;
  import_into_library(*lib, ui_, files);
  reload();
}

void TForm13::import_folder() {
  const auto folder = ui_.choose_folder({"Import a Folder of Sessions", "", "", state_.dialogs.log.folder, ""});
  library::SessionLibrary* lib = folder ? library() : nullptr;
  if (lib == nullptr) return;
  import_into_library(*lib, ui_, {*folder});
  reload();
}

void TForm13::remove_session() {
  const library::SessionRow* row = chosen_row();
  if (row == nullptr) return;
  const std::string path = row->path;
  library::SessionLibrary* lib = library();
  if (lib == nullptr) return;
  if (remove_from_library(*lib, ui_, path)) reload();
}

void TForm13::rebuild() {
  library::SessionLibrary* lib = library();
  if (lib == nullptr) return;
  rebuild_library(*lib, ui_);
  reload();
}

void TForm13::save_tags() {
  const library::SessionRow* row = chosen_row();
  if (row == nullptr) return;
  const std::string path = row->path;
  const library::SessionTags tags{text_of(track_tag_), text_of(car_tag_), text_of(driver_tag_), text_of(free_tags_)};
  library::SessionLibrary* lib = library();
  if (lib == nullptr) return;
  if (!save_session_tags(*lib, ui_, path, tags)) return;
  reload();
  select_path(path);
}

void TForm13::show_chosen_tags() {
  const library::SessionRow* row = chosen_row();
  const library::SessionTags tags = row != nullptr ? row->tags : library::SessionTags{};
  track_tag_->setText(qstring_from_windows1252(tags.track));
  car_tag_->setText(qstring_from_windows1252(tags.car));
  driver_tag_->setText(qstring_from_windows1252(tags.driver));
  free_tags_->setText(qstring_from_windows1252(tags.free_tags));
}

void TForm13::choose_library_folder() {
  const auto folder = ui_.choose_folder({"Choose the Library Folder", "", "", state_.library_folder, ""});
  if (!folder) return;
  state_.library_folder = *folder;
  const std::string& memo = state_.library_folder_file;
  if (!memo.empty() && !desktop::remember_library_folder(memo, *folder)) {
    ui_.warning("The library folder could not be remembered for the next start: " + memo);
  }
  reload();
}

void TForm13::show_folder() { folder_label_->setText(QString::fromStdString("Library: " + state_.library_folder)); }

TForm14& TForm13::scatter_window() {
  if (!scatter_) scatter_ = std::make_unique<TForm14>();
  return *scatter_;
}

void TForm13::show_scatter() {
  // The points are the sessions the folder holds, not the index's older view.
  catch_up(true);
  TForm14& scatter = scatter_window();
  scatter.set_sessions(model_.rows(), model_.shown());
  scatter.show();
  scatter.raise();
}

}  // namespace kv
