#include "analysis/measured_cell_delegate.h"

#include <gtest/gtest.h>

#include <QTableWidget>
#include <functional>
#include <string>
#include <vector>

namespace kv::analysis {
namespace {

// Two tables given the same cells, one measuring through the remembered
// sizes: after every change each column must be as wide in both.
struct TablePair {
  TablePair() {
    remembered.setItemDelegate(new MeasuredCellDelegate(&remembered));
    for (QTableWidget* t : {&remembered, &measured}) {
      t->setRowCount(3);
      t->setColumnCount(2);
    }
  }
  void both(const std::function<void(QTableWidget&)>& change) {
    for (QTableWidget* t : {&remembered, &measured}) {
      change(*t);
      t->resizeColumnsToContents();
    }
  }
  void set(int row, int column, const QString& text) {
    both([&](QTableWidget& t) { t.setItem(row, column, new QTableWidgetItem(text)); });
  }
  void expect_same_widths(const std::string& where) const {
    for (int c = 0; c < measured.columnCount(); ++c) {
      EXPECT_EQ(remembered.columnWidth(c), measured.columnWidth(c)) << where << " column " << c;
    }
  }

  QTableWidget remembered;
  QTableWidget measured;
};

TEST(MeasuredCellDelegateTest, ColumnsAreAsWideAsMeasuredAfterEveryChangeOfTextFontAndWrapping) {
  TablePair tables;
  tables.set(0, 0, "61.23");
  tables.set(1, 0, "7.5");
  tables.set(2, 1, "Theoretical");
  tables.expect_same_widths("first fill");
  const int narrow = tables.measured.columnWidth(0);

  tables.set(1, 0, "1234567.89 KMH");  // longer: the column grows
  tables.expect_same_widths("longer text");
  EXPECT_GT(tables.measured.columnWidth(0), narrow);
  tables.set(1, 0, "7.5");  // a text seen before, at another offered width
  tables.expect_same_widths("text back");

  tables.both([](QTableWidget& t) {
    QFont bold = t.font();
    bold.setBold(true);
    bold.setPointSize(bold.pointSize() * 3);
    t.item(2, 1)->setFont(bold);  // the same text in another font
  });
  tables.expect_same_widths("large bold");
  tables.both([](QTableWidget& t) { t.setWordWrap(false); });
  tables.expect_same_widths("no wrapping");
  tables.both([](QTableWidget& t) { t.item(0, 0)->setCheckState(Qt::Checked); });
  tables.expect_same_widths("check box");
}

// A style sheet keeps the style object the sizes were measured under.
TEST(MeasuredCellDelegateTest, ColumnsFollowEveryChangeOfTheStyleSheet) {
  TablePair tables;
  tables.set(0, 0, "61.23");
  tables.set(1, 1, "Theoretical");
  const int plain = tables.measured.columnWidth(0);
  for (const char* sheet : {"QTableView::item { padding-left: 5px; }", "QTableView::item { padding-left: 40px; }", ""}) {
    tables.both([sheet](QTableWidget& t) { t.setStyleSheet(sheet); });
    tables.expect_same_widths(sheet);
  }
  EXPECT_EQ(tables.measured.columnWidth(0), plain);
}

}  // namespace
}  // namespace kv::analysis
