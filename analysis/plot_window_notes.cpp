// The plot window's two read-only notes pages: each dataset's set-up sheet
// and notes as the set-up window shows them, for reading next to the traces.
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QVBoxLayout>

#include "analysis/plot_window.h"
#include "logdata/windows1252_qt.h"
#include "notes/setup_layout.h"

namespace kv {

namespace {

constexpr int kMemoWidth = 329;
constexpr int kMemoHeight = 73;
constexpr int kColumnChars = 4;  // a column is as wide as a four-digit box
constexpr int kBoxPadding = 8;   // frame and inner margins of a box
constexpr const char* kMemoHint = "Add notes into your data files.";

// The general block's rows by their colour: track and air temperature, the
// wings, then the fuel rows and the differential. Other rows keep the
// normal text colour.
constexpr int kAirTempRow = 1;
constexpr int kRearWingRow = 3;
constexpr int kFirstFuelRow = 9;

QColor field_colour(const FieldPlace& place, const QColor& normal) {
  switch (place.block) {
    case SheetBlock::kUpperLeft:
    case SheetBlock::kLowerLeft: return QColor(0xFF, 0, 0);
    case SheetBlock::kUpperRight:
    case SheetBlock::kLowerRight: return QColor(0, 0x80, 0);
    case SheetBlock::kGeneral: break;
  }
  if (place.row <= kAirTempRow) return QColor(0, 0, 0xFF);
  if (place.row <= kRearWingRow) return QColor(0xFF, 0, 0xFF);
  if (place.row >= kFirstFuelRow) return QColor(0x80, 0, 0x80);
  return normal;
}

QString text_of(std::string_view text) {
  return QString::fromUtf8(text.data(), static_cast<qsizetype>(text.size()));
}

// Grid rows of a block: its column heads take a row of their own.
int grid_row(const BlockHeads& heads, int row) { return row + (row >= heads.head_row ? 1 : 0); }

QString box_name(std::uint8_t data_set, int slot) {
  // Field n sits in box n + 6; the A page's boxes carry an "A" at the end.
  return QStringLiteral("Edit%1%2").arg(slot + 6).arg(data_set == kDataSetA ? "A" : "");
}

QGroupBox* notes_block(const BlockHeads& heads, std::uint8_t data_set, QWidget* parent) {
  auto* box = new QGroupBox(text_of(heads.title), parent);
  auto* grid = new QGridLayout(box);
  grid->setVerticalSpacing(1);
  for (int column = 0; column < kWheelColumns; ++column) {
    const auto head = heads.column_heads[static_cast<std::size_t>(column)];
    if (!head.empty()) grid->addWidget(new QLabel(text_of(head), box), heads.head_row, column + 1);
  }
  for (const auto& row : sheet_rows()) {
    if (row.block == heads.block) grid->addWidget(new QLabel(text_of(row.caption), box), grid_row(heads, row.row), 0);
  }
  QFont bold = box->font();
  bold.setBold(true);
  for (const auto& place : field_places()) {
    if (place.block != heads.block) continue;
    auto* edit = new QLineEdit(box);
    edit->setObjectName(box_name(data_set, place.slot));
    // Read-only, so without the set-up window's typing limit: a longer field
    // loaded from a file is shown whole.
    edit->setReadOnly(true);
    edit->setFont(bold);
    QPalette p = edit->palette();
    p.setColor(QPalette::Text, field_colour(place, p.color(QPalette::Text)));
    edit->setPalette(p);
    // A field longer than a column's boxes reaches into the next column.
    const int span = place.limit > kColumnChars ? 2 : 1;
    edit->setMinimumWidth(edit->fontMetrics().horizontalAdvance(QString(place.limit, QLatin1Char('0'))) + kBoxPadding);
    grid->addWidget(edit, grid_row(heads, place.row), place.column + 1, 1, span, Qt::AlignLeft);
  }
  grid->setRowStretch(grid->rowCount(), 1);
  return box;
}

}  // namespace

void TForm10::build_notes_panels() {
  for (std::uint8_t data_set : {kDataSetA, kDataSetB}) {
    QGroupBox* page = right_panels_[data_set == kDataSetA ? 2 : 3];
    auto* layout = new QVBoxLayout(page);
    auto* sheet = new QGridLayout;
    for (const auto& heads : block_heads()) {
      QGroupBox* block = notes_block(heads, data_set, page);
      const SheetCell cell = sheet_cell(heads.block);
      sheet->addWidget(block, cell.row, cell.column, cell.row_span, 1);
    }
    layout->addLayout(sheet);
    auto* memo = new QPlainTextEdit(page);
    memo->setObjectName(data_set == kDataSetA ? "Memo2" : "Memo1");
    memo->setReadOnly(true);
    memo->setFixedSize(kMemoWidth, kMemoHeight);
    memo->setToolTip(kMemoHint);
    layout->addWidget(memo);
    layout->addStretch(1);
  }
}

void TForm10::copy_A_Notes() { copy_notes(kDataSetA); }
void TForm10::copy_B_Notes() { copy_notes(kDataSetB); }

void TForm10::copy_decoded_notes() {
  // A first, so the notes and download windows afterwards work on the set
  // copied last.
  for (std::uint8_t data_set : {kDataSetA, kDataSetB}) {
    if (state_.log.dataset(data_set).decoded_valid == 1) copy_notes(data_set);
  }
}

void TForm10::copy_notes(std::uint8_t data_set) {
  state_.log.current_data_set = data_set;
  const Dataset& data = state_.log.dataset(data_set);
  QGroupBox* page = right_panels_[data_set == kDataSetA ? 2 : 3];
  auto* memo = page->findChild<QPlainTextEdit*>(data_set == kDataSetA ? "Memo2" : "Memo1");
  memo->clear();
  for (const std::string& line : data.sheet.notes_text) memo->appendPlainText(qstring_from_windows1252(line));
  for (int slot = 1; slot <= kSheetFields; ++slot) {
    if (auto* box = page->findChild<QLineEdit*>(box_name(data_set, slot))) {
      box->setText(qstring_from_windows1252(data.sheet.setup_fields[static_cast<std::size_t>(slot)]));
    }
  }
}

}  // namespace kv
