#pragma once
// A captioned group of radio buttons addressed by item index. Its change
// signal fires whenever the index actually changes, by a click or by the
// program, so a setting applied in code runs the same handler as a click.
#include <QGroupBox>
#include <QStringList>

class QButtonGroup;

namespace kv::analysis {

class RadioGroup : public QGroupBox {
  Q_OBJECT
 public:
  // Items fill `columns` columns top to bottom; `initial` is selected.
  RadioGroup(const char* name, const QString& caption, const QStringList& items, int columns, int initial,
             QWidget* parent);
  int itemIndex() const;
  // An index outside the items is ignored; the same index does nothing.
  void setItemIndex(int index);
  int itemCount() const;

 signals:
  void changed(int index);

 private:
  QButtonGroup* buttons_;
};

}  // namespace kv::analysis
