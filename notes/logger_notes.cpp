#include "notes/logger_notes.h"

#include <QCloseEvent>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QPushButton>
#include <QStyle>
#include <QVBoxLayout>

#include "logdata/log_file.h"
#include "logdata/windows1252_qt.h"
#include "notes/setup_file.h"
#include "notes/sheet_text.h"
#include "notes/typing_limit.h"
#include "ui/window_placement.h"

namespace kv {
namespace {

constexpr int kWidth = 696;
constexpr int kHeight = 610;
constexpr int kMemoWidth = 329;
constexpr int kMemoHeight = 89;
// The preferred text size, and the smallest the window steps down to when
// the desktop's font is too wide for the fixed window.
constexpr double kFontPoints = 9.0;
constexpr double kSmallestFontPoints = 7.0;
constexpr double kFontStep = 0.5;
constexpr int kBoxChars = 4;         // a column is as wide as a four-digit box
constexpr int kBoxPadding = 8;       // frame and inner margins of a box
constexpr int kGap = 3;
constexpr int kMargin = 5;

constexpr const char* kNoValidData = "No Valid Data Loaded to Save Setup With";

struct ButtonSpec {
  const char* name;
  const char* caption;
  const char* hint;
  QStyle::StandardPixmap icon;
  void (TForm11::*handler)();
  int row, column;
};

constexpr ButtonSpec kButtons[] = {
    {"BitBtn4", "Save as Template", "Save your setup to disc.", QStyle::SP_DialogSaveButton,
     &TForm11::save_setup_data, 0, 0},
    {"BitBtn3", "Load a Template", "Load a setup from disc.", QStyle::SP_DialogOpenButton, &TForm11::load_setup_data,
     1, 0},
    {"BitBtn2", "Clear", "Clear the entire setup sheet.", QStyle::SP_DialogResetButton, &TForm11::clear_form_data, 2,
     0},
    {"Button1", "Save Changes", "", QStyle::SP_DialogApplyButton, &TForm11::save_changes, 0, 1},
    {"Button2", "Cancel", "", QStyle::SP_DialogCancelButton, &TForm11::cancel_loggernotes, 1, 1},
    {"BitBtn1", "Back", "Back to the data logger analysis.", QStyle::SP_ArrowBack, &TForm11::back_to_logger, 2, 1},
};

QString caption_for(std::uint8_t data_set) {
  return data_set == kDataSetB ? QStringLiteral("Data B Notes") : QStringLiteral("Data A Notes");
}

std::size_t memo_index(std::uint8_t data_set) { return data_set == kDataSetB ? 1 : 0; }

QLabel* make_label(std::string_view text, QWidget* parent) {
  return new QLabel(QString::fromUtf8(text.data(), static_cast<qsizetype>(text.size())), parent);
}

// Grid rows of a block: its column heads take a row of their own.
int grid_row(const BlockHeads& heads, int row) { return row + (row >= heads.head_row ? 1 : 0); }

}  // namespace

TForm11::TForm11(NotesWindowState state, Ui& ui, QWidget* parent)
    : QWidget(parent, Qt::Window), state_(state), ui_(ui) {
  setObjectName(QStringLiteral("TForm11"));
  setWindowTitle(QStringLiteral("Setup Notes"));
  setFixedSize(kWidth, kHeight);

  auto* layout = new QVBoxLayout(this);
  layout->setContentsMargins(kMargin, kMargin, kMargin, kMargin);
  layout->setSpacing(kMargin);
  layout->addWidget(build_setup_group());
  auto* bottom = new QHBoxLayout;
  bottom->setSpacing(kMargin);
  bottom->addWidget(build_notes_group());
  bottom->addWidget(build_control_group(), 1);
  layout->addLayout(bottom);
  fit_font();
  set_Edit_Objects();
}

void TForm11::fit_font() {
  QFont text = font();
  for (double points = kFontPoints; points >= kSmallestFontPoints; points -= kFontStep) {
    text.setPointSizeF(points);
    setFont(text);
    size_boxes();
    layout()->invalidate();
    const QSize needed = layout()->minimumSize();
    if (needed.width() <= kWidth && needed.height() <= kHeight) return;
  }
}

int TForm11::box_width(int chars) const {
  return fontMetrics().horizontalAdvance(QString(chars, QLatin1Char('0'))) + kBoxPadding;
}

void TForm11::size_boxes() {
  for (const auto& place : field_places()) field_edit(place.slot)->setFixedWidth(box_width(place.limit));
  for (const auto& [grid, columns] : block_grids_) {
    for (int column = 1; column <= columns; ++column) grid->setColumnMinimumWidth(column, box_width(kBoxChars));
  }
}

QWidget* TForm11::build_setup_group() {
  setup_group_ = new QGroupBox(caption_for(kDataSetA), this);
  setup_group_->setObjectName(QStringLiteral("GroupBox1"));
  setup_group_->setToolTip(QStringLiteral("Enter all your vehicle setup details."));
  auto* grid = new QGridLayout(setup_group_);
  grid->setContentsMargins(kMargin, kGap, kMargin, kGap);
  grid->setSpacing(kMargin);
  for (const auto& heads : block_heads()) {
    QWidget* block = build_block(heads);
    const SheetCell cell = sheet_cell(heads.block);
    grid->addWidget(block, cell.row, cell.column, cell.row_span, 1);
  }
  return setup_group_;
}

QWidget* TForm11::build_block(const BlockHeads& heads) {
  auto* box = new QGroupBox(QString::fromUtf8(heads.title.data(), static_cast<qsizetype>(heads.title.size())),
                            setup_group_);
  box->setObjectName(QStringLiteral("GroupBox_%1").arg(static_cast<int>(heads.block) + 4));
  auto* grid = new QGridLayout(box);
  grid->setContentsMargins(kMargin, kGap, kMargin, kGap);
  grid->setHorizontalSpacing(kGap);
  grid->setVerticalSpacing(1);
  int columns = 0;
  for (int column = 0; column < kWheelColumns; ++column) {
    const auto head = heads.column_heads[static_cast<std::size_t>(column)];
    if (head.empty()) continue;
    ++columns;
    auto* label = make_label(head, box);
    // A letter stands centred over its box; a word starts where its box does.
    label->setAlignment(head.size() == 1 ? Qt::AlignCenter : (Qt::AlignLeft | Qt::AlignBottom));
    grid->addWidget(label, heads.head_row, column + 1);
  }
  for (const auto& row : sheet_rows()) {
    if (row.block == heads.block) grid->addWidget(make_label(row.caption, box), grid_row(heads, row.row), 0);
  }
  for (const auto& place : field_places()) {
    if (place.block != heads.block) continue;
    auto* edit = new LimitedEdit(place.limit, box);
    edit->setObjectName(QStringLiteral("Edit%1").arg(place.slot));
    // A field wider than one column reaches into the next.
    const int span = place.limit > kBoxChars ? 2 : 1;
    grid->addWidget(edit, grid_row(heads, place.row), place.column + 1, 1, span, Qt::AlignLeft);
    edits_[static_cast<std::size_t>(place.slot)] = edit;
  }
  grid->setRowStretch(grid->rowCount(), 1);
  block_grids_.emplace_back(grid, columns);
  return box;
}

QWidget* TForm11::build_notes_group() {
  auto* box = new QGroupBox(QStringLiteral("General Notes"), this);
  box->setObjectName(QStringLiteral("GroupBox2"));
  box->setToolTip(QStringLiteral("General notes on the logging session."));
  auto* grid = new QGridLayout(box);
  grid->setContentsMargins(kMargin, kGap, kMargin, kMargin);
  for (const std::uint8_t data_set : {kDataSetA, kDataSetB}) {
    auto* memo = new LimitedMemo(kNotesTypingLimit, box);
    memo->setObjectName(data_set == kDataSetA ? QStringLiteral("Memo1") : QStringLiteral("Memo2"));
    memo->setToolTip(QStringLiteral("Add notes into your data files."));
    memo->setFixedSize(kMemoWidth, kMemoHeight);
    memo->setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOn);
    memo->setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    // Both memos share one place; only the current dataset's is shown.
    grid->addWidget(memo, 0, 0);
    connect(memo, &LimitedMemo::typed, this, [this, data_set] { store_notes(data_set); });
    memos_[memo_index(data_set)] = memo;
  }
  return box;
}

QWidget* TForm11::build_control_group() {
  auto* box = new QGroupBox(QStringLiteral("Control"), this);
  box->setObjectName(QStringLiteral("GroupBox3"));
  auto* grid = new QGridLayout(box);
  grid->setContentsMargins(kMargin, kGap, kMargin, kMargin);
  grid->setSpacing(kGap);
  for (const auto& desc : kButtons) {
    auto* button = new QPushButton(style()->standardIcon(desc.icon), QString::fromLatin1(desc.caption), box);
    button->setObjectName(QString::fromLatin1(desc.name));
    button->setToolTip(QString::fromLatin1(desc.hint));
    connect(button, &QPushButton::clicked, this, desc.handler);
    grid->addWidget(button, desc.row, desc.column);
  }
  return box;
}

LimitedEdit* TForm11::field_edit(int slot) const {
  if (slot < 1 || slot > kSheetFields) return nullptr;
  return edits_[static_cast<std::size_t>(slot)];
}

LimitedMemo* TForm11::memo(std::uint8_t data_set) const { return memos_[memo_index(data_set)]; }

SetupSheet& TForm11::sheet() { return state_.log.dataset(data_set_).sheet; }

void TForm11::store_notes(std::uint8_t data_set) {
  std::vector<std::string>& notes = memo_notes_[memo_index(data_set)];
  notes = notes_after_edit(notes, memo(data_set)->lines());
  state_.log.dataset(data_set).sheet.notes_text = notes;
}

void TForm11::open_for(std::uint8_t data_set) {
  state_.log.current_data_set = data_set == kDataSetB ? kDataSetB : kDataSetA;
  if (isVisible()) {
    setup_form11();
  } else {
    show();  // showEvent runs setup_form11
  }
  raise();
  activateWindow();
}

void TForm11::showEvent(QShowEvent* event) {
  QWidget::showEvent(event);
  if (!event->spontaneous()) setup_form11();
}

void TForm11::setup_form11() {
  kv::centre_on_screen(*this);
  data_set_ = state_.log.current_data_set == kDataSetB ? kDataSetB : kDataSetA;
  set_Edit_Objects();
}

void TForm11::set_Edit_Objects() {
  for (const std::uint8_t data_set : {kDataSetA, kDataSetB}) {
    LimitedMemo* m = memo(data_set);
    m->hide();
    // A log file load or a template replaces the notes behind the memo.
    const std::vector<std::string>& stored = state_.log.dataset(data_set).sheet.notes_text;
    std::vector<std::string>& shown = memo_notes_[memo_index(data_set)];
    if (shown != stored) {
      m->set_text(qstring_of(notes_to_memo_text(stored)));
      shown = stored;
    }
  }
  memo(data_set_)->show();
  setup_group_->setTitle(caption_for(data_set_));
  for (int slot = 1; slot <= kSheetFields; ++slot) field_edit(slot)->set_text(qstring_from_windows1252(sheet().field(slot)));
}

void TForm11::set_session_array() {
  SetupSheet& target = sheet();
  for (int slot = 1; slot <= kSheetFields; ++slot) {
    // An untouched field keeps its bytes exactly as the file had them.
    const LimitedEdit* edit = field_edit(slot);
    if (edit->changed()) target.set_field(slot, windows1252_from_qstring(edit->text()));
  }
}

void TForm11::return_to_logger() {
  hide();
  emit backRequested();
}

void TForm11::back_to_logger() {
  set_session_array();
  return_to_logger();
}

void TForm11::cancel_loggernotes() { return_to_logger(); }

void TForm11::close_logger_notes() { return_to_logger(); }

void TForm11::closeEvent(QCloseEvent* event) {
  // The close box only hides this window, and must not count as the
  // program's last window closing while the download window is hidden.
  event->ignore();
  close_logger_notes();
}

void TForm11::save_changes() {
  if (state_.log.dataset(data_set_).decoded_valid != 1) {
    ui_.information(kNoValidData);
    return;
  }
  set_session_array();
  state_.log.current_data_set = data_set_;
  save_log_data(state_.log, state_.dialogs, ui_);
}

void TForm11::clear_form_data() {
  clear_sheet(sheet());
  set_Edit_Objects();
}

void TForm11::save_setup_data() {
  set_session_array();
  save_setup_template(sheet(), state_.dialogs.setup, ui_);
}

void TForm11::load_setup_data() {
  if (load_setup_template(sheet(), state_.dialogs.setup, ui_)) set_Edit_Objects();
}

}  // namespace kv
