// The library window's controls: the folder, the filters, the table, the
// chosen session's tags and the buttons.
#include <QCheckBox>
#include <QComboBox>
#include <QDate>
#include <QDateEdit>
#include <QGridLayout>
#include <QGroupBox>
#include <QHeaderView>
#include <QHBoxLayout>
#include <QItemSelectionModel>
#include <QLabel>
#include <QLineEdit>
#include <QMenu>
#include <QPushButton>
#include <QTableView>
#include <QVBoxLayout>

#include "library_ui/library_window.h"

namespace kv {
namespace {

QLineEdit* line_edit(QWidget* parent, const char* name) {
  auto* edit = new QLineEdit(parent);
  edit->setObjectName(name);
  return edit;
}

QComboBox* tag_filter(QWidget* parent, const char* name) {
  auto* box = new QComboBox(parent);
  box->setObjectName(name);
  box->setEditable(true);
  box->setMinimumContentsLength(10);
  return box;
}

struct ButtonSpec {
  const char* name;
  const char* caption;
  const char* hint;
  void (TForm13::*handler)();
};

constexpr ButtonSpec kButtons[] = {
    {"OpenA", "Open in A", "Load the chosen session into Data Set A.", &TForm13::open_into_a},
    {"OpenB", "Open in B", "Load the chosen session into Data Set B.", &TForm13::open_into_b},
    {"ImportFiles", "Import Files", "Copy log files into the library.", &TForm13::import_files},
    {"ImportFolder", "Import Folder", "Copy every log file of a folder into the library.", &TForm13::import_folder},
    {"RemoveSession", "Remove", "Move the chosen session to the library's trash folder.", &TForm13::remove_session},
    {"Rebuild", "Rebuild", "Read every file of the library folder again.", &TForm13::rebuild},
    {"Scatter", "Set-up vs Lap Time", "Plot lap time against a set-up field for the sessions shown.",
     &TForm13::show_scatter},
    {"LibraryFolder", "Library Folder", "Choose the folder the library keeps its files in.",
     &TForm13::choose_library_folder},
    {"Back", "Back", "Close the library.", &TForm13::back},
};

}  // namespace

void TForm13::build() {
  auto* layout = new QVBoxLayout(this);
  folder_label_ = new QLabel(this);
  folder_label_->setObjectName("FolderLabel");
  layout->addWidget(folder_label_);
  layout->addWidget(build_filters());
  table_ = new QTableView(this);
  table_->setObjectName("Sessions");
  table_->setModel(&model_);
  table_->setSortingEnabled(true);
  table_->sortByColumn(0, Qt::AscendingOrder);
  table_->setSelectionBehavior(QAbstractItemView::SelectRows);
  table_->setSelectionMode(QAbstractItemView::SingleSelection);
  table_->setEditTriggers(QAbstractItemView::NoEditTriggers);
  table_->verticalHeader()->setVisible(false);
  table_->setWordWrap(false);
  table_->horizontalHeader()->setStretchLastSection(true);
  table_->horizontalHeader()->setContextMenuPolicy(Qt::CustomContextMenu);
  // A reset of the table gives every column the default width again.
  connect(&model_, &QAbstractItemModel::modelReset, this, [this] { fit_date_column(); });
  connect(table_->selectionModel(), &QItemSelectionModel::currentRowChanged, this, [this] { show_chosen_tags(); });
  connect(table_, &QTableView::doubleClicked, this, [this] { open_into_a(); });
  layout->addWidget(table_, 1);
  layout->addWidget(build_tags());
  layout->addWidget(build_buttons());
  build_column_menu();
  resize(1100, 600);  // room for the default columns without scrolling
}

QWidget* TForm13::build_filters() {
  auto* group = new QGroupBox("Show", this);
  auto* row = new QHBoxLayout(group);
  const auto date_box = [&](QCheckBox*& check, QDateEdit*& date, const char* caption, const char* name) {
    check = new QCheckBox(caption, group);
    check->setObjectName(QString(name) + "Check");
    date = new QDateEdit(QDate::currentDate(), group);
    date->setObjectName(QString(name) + "Date");
    date->setCalendarPopup(true);
    date->setDisplayFormat("yyyy-MM-dd");
    connect(check, &QCheckBox::toggled, this, &TForm13::apply_filter);
    connect(date, &QDateEdit::dateChanged, this, &TForm13::apply_filter);
    row->addWidget(check);
    row->addWidget(date);
  };
  date_box(from_check_, from_date_, "From", "From");
  date_box(to_check_, to_date_, "To", "To");
  const auto combo = [&](QComboBox*& box, const char* caption, const char* name) {
    row->addWidget(new QLabel(caption, group));
    box = tag_filter(group, name);
    connect(box, &QComboBox::currentTextChanged, this, &TForm13::apply_filter);
    row->addWidget(box);
  };
  combo(track_filter_, "Track", "TrackFilter");
  combo(car_filter_, "Car", "CarFilter");
  combo(driver_filter_, "Driver", "DriverFilter");
  row->addWidget(new QLabel("Notes", group));
  text_filter_ = line_edit(group, "TextFilter");
  text_filter_->setPlaceholderText("search");
  connect(text_filter_, &QLineEdit::textChanged, this, &TForm13::apply_filter);
  row->addWidget(text_filter_, 1);
  return group;
}

QWidget* TForm13::build_tags() {
  auto* group = new QGroupBox("Tags of the Chosen Session", this);
  auto* row = new QHBoxLayout(group);
  const auto tag = [&](QLineEdit*& edit, const char* caption, const char* name) {
    row->addWidget(new QLabel(caption, group));
    edit = line_edit(group, name);
    row->addWidget(edit, 1);
  };
  tag(track_tag_, "Track", "TrackTag");
  tag(car_tag_, "Car", "CarTag");
  tag(driver_tag_, "Driver", "DriverTag");
  tag(free_tags_, "Tags", "FreeTags");
  auto* save = new QPushButton("Save Tags", group);
  save->setObjectName("SaveTags");
  save->setToolTip("Write these tags into the chosen session's file.");
  connect(save, &QPushButton::clicked, this, &TForm13::save_tags);
  row->addWidget(save);
  return group;
}

QWidget* TForm13::build_buttons() {
  auto* box = new QWidget(this);
  auto* row = new QGridLayout(box);
  row->setContentsMargins(0, 0, 0, 0);
  int column = 0;
  for (const auto& button : kButtons) {
    auto* b = new QPushButton(button.caption, box);
    b->setObjectName(button.name);
    b->setToolTip(button.hint);
    connect(b, &QPushButton::clicked, this, [this, handler = button.handler] { (this->*handler)(); });
    row->addWidget(b, 0, column++);
  }
  auto* columns = new QPushButton("Columns", box);
  columns->setObjectName("Columns");
  columns->setToolTip("Choose the columns of the table, any set-up field included.");
  connect(columns, &QPushButton::clicked, this, [this, columns] { column_menu_->popup(columns->mapToGlobal(QPoint())); });
  row->addWidget(columns, 0, column);
  return box;
}

// A session's date and time are read whole, never cut to "2026-05-01 ...".
void TForm13::fit_date_column() {
  const auto& columns = model_.columns();
  const auto at = std::find(columns.begin(), columns.end(), library::ColumnKey{library::Column::Time});
  if (at == columns.end()) return;
  const int text = table_->fontMetrics().horizontalAdvance(QStringLiteral("0000-00-00 00:00:00"));
  table_->setColumnWidth(static_cast<int>(at - columns.begin()), text + 3 * table_->fontMetrics().averageCharWidth());
}

void TForm13::build_column_menu() {
  column_menu_ = new QMenu(this);
  column_menu_->setObjectName("ColumnMenu");
  const auto shown = model_.columns();
  for (const auto& key : library::all_columns()) {
    QAction* action = column_menu_->addAction(QString::fromStdString(library::column_caption(key)));
    action->setCheckable(true);
    action->setChecked(std::find(shown.begin(), shown.end(), key) != shown.end());
    connect(action, &QAction::toggled, this, [this, key](bool on) { model_.set_column_shown(key, on); });
  }
  connect(table_->horizontalHeader(), &QHeaderView::customContextMenuRequested, this,
          [this](const QPoint& at) { column_menu_->popup(table_->horizontalHeader()->mapToGlobal(at)); });
}

}  // namespace kv
