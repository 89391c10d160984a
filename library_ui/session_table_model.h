#pragma once
// The library window's table: the library's rows as the filter keeps them,
// in the chosen order, with the columns the person chose. All choosing and
// ordering is done on the rows in memory, so the view never waits on the
// index.
#include <QAbstractTableModel>
#include <cstddef>
#include <vector>

#include "library/session_query.h"
#include "library/session_row.h"

namespace kv {

class SessionTableModel : public QAbstractTableModel {
  Q_OBJECT
 public:
  explicit SessionTableModel(QObject* parent = nullptr);

  // The columns shown until the person chooses others.
  static std::vector<library::ColumnKey> default_columns();

  void set_rows(std::vector<library::SessionRow> rows);
  void set_filter(const library::SessionFilter& filter);
  void set_columns(std::vector<library::ColumnKey> columns);
  void set_column_shown(const library::ColumnKey& key, bool shown);

  const std::vector<library::SessionRow>& rows() const { return rows_; }
  const std::vector<library::ColumnKey>& columns() const { return columns_; }
  const library::SessionFilter& filter() const { return filter_; }
  const library::SortOrder& order() const { return order_; }
  // Indexes into rows() of the rows shown, top to bottom.
  const std::vector<std::size_t>& shown() const { return shown_; }
  // The row shown at `view_row`, or null outside the table.
  const library::SessionRow* row_at(int view_row) const;
  // The table row showing the file `path`, or -1.
  int view_row_of(const std::string& path) const;

  int rowCount(const QModelIndex& parent = {}) const override;
  int columnCount(const QModelIndex& parent = {}) const override;
  QVariant data(const QModelIndex& index, int role = Qt::DisplayRole) const override;
  QVariant headerData(int section, Qt::Orientation orientation, int role = Qt::DisplayRole) const override;
  void sort(int column, Qt::SortOrder order = Qt::AscendingOrder) override;

 private:
  void select();

  std::vector<library::SessionRow> rows_;
  std::vector<library::ColumnKey> columns_;
  library::SessionFilter filter_;
  library::SortOrder order_;
  std::vector<std::size_t> shown_;
};

}  // namespace kv
