#include "library_ui/session_table_model.h"

#include <algorithm>

#include "logdata/windows1252_qt.h"

namespace kv {

using library::Column;
using library::ColumnKey;

SessionTableModel::SessionTableModel(QObject* parent) : QAbstractTableModel(parent), columns_(default_columns()) {}

std::vector<ColumnKey> SessionTableModel::default_columns() {
  // State stays empty for a readable file and says why another could not be
  // read, so a broken file is seen without hovering over it.
  return {{Column::Time},       {Column::Track}, {Column::Car},
          {Column::Driver},     {Column::Laps},  {Column::FastestLap},
          {Column::TheoreticalBest}, {Column::Setup, library::kTrackTempSlot}, {Column::State}, {Column::Notes}};
}

void SessionTableModel::select() {
  beginResetModel();
  shown_ = library::select_rows(rows_, filter_, order_);
  endResetModel();
}

void SessionTableModel::set_rows(std::vector<library::SessionRow> rows) {
  rows_ = std::move(rows);
  select();
}

void SessionTableModel::set_filter(const library::SessionFilter& filter) {
  filter_ = filter;
  select();
}

void SessionTableModel::set_columns(std::vector<ColumnKey> columns) {
  beginResetModel();
  columns_ = std::move(columns);
  endResetModel();
}

void SessionTableModel::set_column_shown(const ColumnKey& key, bool shown) {
  auto columns = columns_;
  const auto at = std::find(columns.begin(), columns.end(), key);
  if (shown && at == columns.end()) columns.push_back(key);
  if (!shown && at != columns.end()) columns.erase(at);
  set_columns(std::move(columns));
}

const library::SessionRow* SessionTableModel::row_at(int view_row) const {
  if (view_row < 0 || static_cast<std::size_t>(view_row) >= shown_.size()) return nullptr;
  return &rows_[shown_[static_cast<std::size_t>(view_row)]];
}

int SessionTableModel::view_row_of(const std::string& path) const {
  for (std::size_t i = 0; i < shown_.size(); ++i) {
    if (rows_[shown_[i]].path == path) return static_cast<int>(i);
  }
  return -1;
}

int SessionTableModel::rowCount(const QModelIndex& parent) const {
  return parent.isValid() ? 0 : static_cast<int>(shown_.size());
}

int SessionTableModel::columnCount(const QModelIndex& parent) const {
  return parent.isValid() ? 0 : static_cast<int>(columns_.size());
}

QVariant SessionTableModel::data(const QModelIndex& index, int role) const {
  const library::SessionRow* row = row_at(index.row());
  if (row == nullptr || index.column() < 0 || index.column() >= columnCount()) return {};
  if (role == Qt::DisplayRole) {
    // Notes, tags and set-up fields are the file's Windows-1252 bytes.
    return qstring_from_windows1252(library::cell_text(*row, columns_[static_cast<std::size_t>(index.column())]));
  }
  if (role == Qt::ToolTipRole && !row->readable) return QString::fromStdString(row->unreadable_message);
  return {};
}

QVariant SessionTableModel::headerData(int section, Qt::Orientation orientation, int role) const {
  if (role != Qt::DisplayRole || orientation != Qt::Horizontal) return QAbstractTableModel::headerData(section, orientation, role);
  if (section < 0 || section >= columnCount()) return {};
  return QString::fromStdString(library::column_caption(columns_[static_cast<std::size_t>(section)]));
}

void SessionTableModel::sort(int column, Qt::SortOrder order) {
  if (column < 0 || column >= columnCount()) return;
  order_ = {columns_[static_cast<std::size_t>(column)], order == Qt::DescendingOrder};
  select();
}

}  // namespace kv
