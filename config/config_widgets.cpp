#include "config/config_widgets.h"

#include <QAbstractButton>
#include <QApplication>
#include <QButtonGroup>
#include <QGridLayout>
#include <QKeyEvent>
#include <QLineEdit>
#include <QRadioButton>
#include <QVariant>
#include <algorithm>

namespace kv::config {
namespace {

// The classic active-border grey that marks a field not in use.
const QColor kActiveBorder(180, 180, 180);
constexpr const char* kTypingLimit = "typingLimit";

}  // namespace

RadioGroup::RadioGroup(const QString& caption, const QStringList& items, int columns, QWidget* parent)
    : QGroupBox(caption, parent), buttons_(new QButtonGroup(this)) {
  auto* grid = new QGridLayout(this);
  const int rows = (static_cast<int>(items.size()) + columns - 1) / columns;
  for (int i = 0; i < items.size(); ++i) {
    auto* button = new QRadioButton(items[i], this);
    buttons_->addButton(button, i);
    grid->addWidget(button, i % rows, i / rows);
  }
  connect(buttons_, &QButtonGroup::idClicked, this, &RadioGroup::itemClicked);
}

int RadioGroup::itemIndex() const { return buttons_->checkedId(); }

void RadioGroup::setItemIndex(int index) {
  if (QAbstractButton* button = buttons_->button(index)) {
    button->setChecked(true);
    return;
  }
  // Clearing needs the group's exclusivity lifted for a moment.
  buttons_->setExclusive(false);
  for (QAbstractButton* button : buttons_->buttons()) button->setChecked(false);
  buttons_->setExclusive(true);
}

bool IntKeyFilter::eventFilter(QObject* watched, QEvent* event) {
  auto* edit = qobject_cast<QLineEdit*>(watched);
  if (edit == nullptr || event->type() != QEvent::KeyPress) return false;
  const auto* key = static_cast<QKeyEvent*>(event);
  // Navigation, Delete and shortcuts (paste included) are not typed keys.
  if (key->text().size() != 1 || (key->modifiers() & (Qt::ControlModifier | Qt::AltModifier))) return false;
  const QChar typed = key->text().at(0);
  if (!typed.isPrint() && typed != QChar(kBackspace)) return false;
  const char ascii = typed.unicode() < 128 ? static_cast<char>(typed.unicode()) : '\0';
  switch (TEdit_int_key_press(ascii, typing_limit(edit))) {
    case KeyAction::accept: return false;
    case KeyAction::swallow: return true;
    case KeyAction::replace_all:
      if (edit->isReadOnly()) return true;
      edit->setText(QString(typed));
      emit edit->textEdited(edit->text());
      return true;
  }
  return false;
}

void paint_field(QWidget* widget, FieldColour colour) {
  QPalette palette = widget->palette();
  const QPalette standard = QApplication::palette(widget);
  const QPalette::ColorRole role = qobject_cast<QLineEdit*>(widget) ? QPalette::Base : QPalette::Window;
  QColor shade;
  switch (colour) {
    case FieldColour::window: shade = standard.color(QPalette::Base); break;
    case FieldColour::red: shade = Qt::red; break;
    case FieldColour::active_border: shade = kActiveBorder; break;
    case FieldColour::button_face: shade = standard.color(QPalette::Button); break;
  }
  if (palette.color(role) == shade) return;
  palette.setColor(role, shade);
  widget->setPalette(palette);
}

void set_typing_limit(QLineEdit* edit, int limit) {
  edit->setProperty(kTypingLimit, limit);
  edit->setMaxLength(limit);
}

int typing_limit(const QLineEdit* edit) {
  const QVariant limit = edit->property(kTypingLimit);
  return limit.isValid() ? limit.toInt() : edit->maxLength();
}

void set_text_kept(QLineEdit* edit, const std::string& text) {
  const QString wanted = QString::fromStdString(text);
  // QLineEdit cuts any text to its maximum length, so the limit is widened
  // before a long value goes in and narrowed again once a short one is back.
  const int needed = std::max(typing_limit(edit), static_cast<int>(wanted.size()));
  if (edit->maxLength() < needed) edit->setMaxLength(needed);
  if (edit->text() != wanted) edit->setText(wanted);
  if (edit->maxLength() > needed) edit->setMaxLength(needed);
}

}  // namespace kv::config
