// The plot window's "Lap Times" page: the two lap grids with their fastest
// laps, the two overlay lists and the captions of the chosen laps.
#include <QComboBox>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QLabel>
#include <QLineEdit>
#include <QTableWidget>
#include <QVBoxLayout>

#include "analysis/display_mode.h"
#include "analysis/lap_table.h"
#include "analysis/plot_window.h"
#include "analysis/radio_group.h"

namespace kv {

using namespace analysis;

namespace {

struct LapColumnNames {
  const char* group;
  const char* grid;
  const char* fastest_group;
  std::array<const char*, 4> fastest_boxes;  // lap, session, time, average
  const char* unit_label;
};
constexpr LapColumnNames kLapColumnNames[] = {
    {"GroupBox10", "StringGrid1", "Data A Fastest Lap", {"Edit137", "Edit138", "Edit139", "Edit140"}, "Label141"},
    {"GroupBox2", "StringGrid2", "Data B Fastest Lap", {"Edit1", "Edit2", "Edit3", "Edit4"}, "Label5"}};
constexpr std::array<const char*, 4> kFastestCaptions = {"Lap", "Session", "Time", "Avg"};

constexpr int kMargin = 4;

std::size_t column_of(std::uint8_t data_set) { return data_set == kDataSetA ? 0 : 1; }

QComboBox* overlay_list(const char* name, QWidget* parent) {
  auto* list = new QComboBox(parent);
  list->setObjectName(name);
  list->setPlaceholderText(kSelectLapForOverlay);
  list->setCurrentIndex(-1);
  return list;
}

void show_rows(QTableWidget& grid, const std::vector<LapRow>& rows) {
  grid.setUpdatesEnabled(false);
  grid.clearContents();
  grid.setRowCount(static_cast<int>(rows.size()));
  for (std::size_t r = 0; r < rows.size(); ++r) {
    for (std::size_t c = 0; c < rows[r].size(); ++c) {
      grid.setItem(static_cast<int>(r), static_cast<int>(c), new QTableWidgetItem(QString::fromStdString(rows[r][c])));
    }
  }
  grid.setUpdatesEnabled(true);
}

}  // namespace

QGroupBox* TForm10::build_lap_area() {
  QGroupBox* area = panel("LapArea", "Lap Times");
  auto* layout = new QVBoxLayout(area);
  layout->setContentsMargins(kMargin, kMargin, kMargin, kMargin);
  auto* columns = new QHBoxLayout;
  columns->addWidget(build_lap_column(kDataSetA), 1);
  columns->addWidget(build_lap_column(kDataSetB), 1);
  layout->addLayout(columns, 1);
  layout->addWidget(build_overlay_lists());
  return area;
}

QWidget* TForm10::build_lap_column(std::uint8_t data_set) {
  const std::size_t k = column_of(data_set);
  const LapColumnNames& names = kLapColumnNames[k];
  auto* column = new QWidget(this);
  auto* layout = new QVBoxLayout(column);
  layout->setContentsMargins(0, 0, 0, 0);
  lap_groups_[k] = panel(names.group, lap_group_caption(data_set, "").c_str());
  auto* group_layout = new QVBoxLayout(lap_groups_[k]);
  lap_grids_[k] = new QTableWidget(2, kLapColumns, lap_groups_[k]);
  lap_grids_[k]->setObjectName(names.grid);
  lap_grids_[k]->setEditTriggers(QAbstractItemView::NoEditTriggers);
  lap_grids_[k]->horizontalHeader()->hide();  // row 0 carries the headings
  lap_grids_[k]->verticalHeader()->hide();
  group_layout->addWidget(lap_grids_[k]);
  layout->addWidget(lap_groups_[k], 1);

  auto* fastest = new QGroupBox(names.fastest_group, column);
  auto* grid = new QGridLayout(fastest);
  for (std::size_t b = 0; b < kFastestCaptions.size(); ++b) {
    auto* box = new QLineEdit(fastest);
    box->setObjectName(names.fastest_boxes[b]);
    box->setReadOnly(true);
    fastest_boxes_[k][b] = box;
    grid->addWidget(new QLabel(kFastestCaptions[b], fastest), 0, static_cast<int>(b));
    grid->addWidget(box, 1, static_cast<int>(b));
  }
  fastest_units_[k] = new QLabel("MPH", fastest);
  fastest_units_[k]->setObjectName(names.unit_label);
  grid->addWidget(fastest_units_[k], 1, static_cast<int>(kFastestCaptions.size()));
  if (data_set == kDataSetB) fastest->setEnabled(false);
  layout->addWidget(fastest);
  return column;
}

QGroupBox* TForm10::build_overlay_lists() {
  auto* group = new QGroupBox("Select Laps to Overlay", this);
  auto* column_layout = new QVBoxLayout(group);
  auto* row = new QHBoxLayout;
  column_layout->addLayout(row);
  ComboBox7 = overlay_list("ComboBox7", group);
  ComboBox5 = overlay_list("ComboBox5", group);
  row->addWidget(new QLabel("Selection 1:", group));
  row->addWidget(ComboBox7, 1);
  row->addWidget(new QLabel("Selection 2:", group));
  row->addWidget(ComboBox5, 1);
  // A user's pick, not a refill, re-plots.
  connect(ComboBox7, &QComboBox::activated, this, &TForm10::lapPlotUpdate);
  connect(ComboBox5, &QComboBox::activated, this, &TForm10::lapPlotUpdate);
  column_layout->addWidget(build_more_laps(group));
  return group;
}

void TForm10::rebuild_lap_table(std::uint8_t data_set) {
  const Dataset& data = state_.log.dataset(data_set);
  // A set without lap records keeps what the page showed before.
  if (data.decoded_valid == 1 && data.lap_count() > 0 && !data.lap_table.empty()) process_laptimes(data_set);
}

void TForm10::process_A_laptimes() { process_laptimes(kDataSetA); }
void TForm10::process_B_laptimes() { process_laptimes(kDataSetB); }

void TForm10::process_laptimes(std::uint8_t data_set) {
  state_.log.current_data_set = data_set;
  const std::size_t k = column_of(data_set);
  const LapTableView view = build_lap_table(state_.log.dataset(data_set), state_.log.shown_units.speed_in_mph, ui_);
  show_rows(*lap_grids_[k], view.rows);
  if (view.fastest) {
    const auto texts = fastest_lap_texts(*view.fastest);
    for (std::size_t b = 0; b < texts.size(); ++b) fastest_boxes_[k][b]->setText(QString::fromStdString(texts[b]));
  }
  fastest_units_[k]->setText(view.unit);
  lap_groups_[k]->setTitle(QString::fromStdString(lap_group_caption(data_set, source_names_[k]->text().toStdString())));
}

void TForm10::update_lap_combo() {
  overlay_items_ = overlay_items(state_.log);
  QStringList texts;
  for (const OverlayItem& item : overlay_items_) texts << QString::fromStdString(item.text);
  for (QComboBox* list : {ComboBox7, ComboBox5}) {
    const QSignalBlocker quiet(list);
    list->clear();
    list->addItems(texts);
    list->setCurrentIndex(-1);
  }
  // The slots keep their laps but are no longer chosen.
  for (OverlaySlot& slot : plot_.overlay) slot.chosen = false;
  fill_add_lap_list();
}

void TForm10::lapPlotUpdate() {
  // The slots are filled before any mode change, so the overlay is drawn
  // once and from the laps just picked.
  fill_overlay_slots(plot_, state_.log, overlay_items_, {ComboBox7->currentIndex(), ComboBox5->currentIndex()});
  forget_reference_not_overlaid(plot_);
  if (RadioGroup2->itemIndex() == static_cast<int>(PlotMode::AllPlotData)) {
    RadioGroup2->setItemIndex(static_cast<int>(PlotMode::LapOverlay));  // runs the Lap Overlay re-plot
    return;
  }
  update_lap_info();
  reload_engine_data();
}

void TForm10::update_lap_info() {
  if (RadioGroup2->itemIndex() != static_cast<int>(PlotMode::LapOverlay)) return;
  const std::array<std::array<QLabel*, 2>, 2> headings = {{{Label7, Label121}, {Label12, Label122}}};
  for (int slot = 1; slot <= 2; ++slot) {
    const auto k = static_cast<std::size_t>(slot - 1);
    const SlotCaptions captions = slot_captions(plot_, slot);
    line_types_[k]->setTitle(QString::fromStdString(captions.group));
    for (QLabel* label : headings[k]) label->setText(QString::fromStdString(captions.heading));
  }
}

}  // namespace kv
