#pragma once
// Sizing a column lays out the text of each of its cells. The lap tables get
// the same few figures again at every re-plot and unit switch, so each text's
// size is measured once and remembered.
#include <QFont>
#include <QHash>
#include <QSize>
#include <QString>
#include <QStyledItemDelegate>
#include <vector>

namespace kv::analysis {

class MeasuredCellDelegate : public QStyledItemDelegate {
 public:
  // `view` is the table whose cells it sizes: its style, font or screen
  // changing makes every remembered size stale.
  explicit MeasuredCellDelegate(QWidget* view);

  QSize sizeHint(const QStyleOptionViewItem& option, const QModelIndex& index) const override;
  bool eventFilter(QObject* object, QEvent* event) override;

  // What a text's size depends on besides itself.
  struct Key {
    QString text;
    std::size_t font = 0;  // in fonts_
    quintptr style = 0;
    int features = 0;
    int offered = 0;  // the width a wrapped text may take, -1 for none
    friend bool operator==(const Key&, const Key&) = default;
  };

 private:
  std::size_t font_number(const QFont& font) const;
  void forget() const;

  QWidget* view_;

  mutable std::vector<QFont> fonts_;
  mutable QHash<Key, QSize> sizes_;
};

size_t qHash(const MeasuredCellDelegate::Key& key, size_t seed = 0);

}  // namespace kv::analysis
