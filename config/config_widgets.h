#pragma once
// Small widget pieces of the configure window: a captioned radio group with
// an item index, the whole-number key filter and the field colours.
#include <QGroupBox>
#include <QObject>
#include <QStringList>

#include "config/config_fields.h"

class QButtonGroup;
class QLineEdit;
class QWidget;

namespace kv::config {

// A group of radio buttons under a caption, addressed by item index (-1 = none).
class RadioGroup : public QGroupBox {
  Q_OBJECT
 public:
  RadioGroup(const QString& caption, const QStringList& items, int columns, QWidget* parent = nullptr);
  int itemIndex() const;
  void setItemIndex(int index);

 signals:
  // Only the person's clicks raise it, never setItemIndex.
  void itemClicked(int index);

 private:
  QButtonGroup* buttons_;
};

// Lets only Backspace and digits reach a whole-number field; in a field
// whose typing limit is 1 a digit replaces the content.
class IntKeyFilter : public QObject {
  Q_OBJECT
 public:
  using QObject::QObject;

 protected:
  bool eventFilter(QObject* watched, QEvent* event) override;
};

// Paints a line edit or a frame in the field colour.
void paint_field(QWidget* widget, FieldColour colour);

// A field's length limit binds what the person types, never what the
// program shows: a value read or loaded out of range is shown whole.
void set_typing_limit(QLineEdit* edit, int limit);
int typing_limit(const QLineEdit* edit);
// Sets the text only when it differs, so the cursor stays put while typing.
// The edit takes a longer text whole and then lets typing shorten it but not
// lengthen it.
void set_text_kept(QLineEdit* edit, const std::string& text);

}  // namespace kv::config
