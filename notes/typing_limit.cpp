#include "notes/typing_limit.h"

#include <QScopedValueRollback>
#include <QTextCursor>
#include <QValidator>
#include <algorithm>

namespace kv {

// Qt runs the validator after the edit already holds the new text and before
// it announces the change, so the length before the keystroke is kept apart.
class LimitedEdit::TypingLimit : public QValidator {
 public:
  explicit TypingLimit(LimitedEdit& edit) : QValidator(&edit), edit_(edit) {}

  State validate(QString& input, int& /*pos*/) const override {
    if (edit_.programmatic_) return Acceptable;
    const bool grows_past_limit = input.size() > edit_.limit_ && input.size() > edit_.shown_length_;
    return grows_past_limit ? Invalid : Acceptable;
  }

 private:
  LimitedEdit& edit_;
};

LimitedEdit::LimitedEdit(int limit, QWidget* parent) : QLineEdit(parent), limit_(limit) {
  setValidator(new TypingLimit(*this));
  connect(this, &QLineEdit::textChanged, this, [this](const QString& text) { shown_length_ = static_cast<int>(text.size()); });
}

void LimitedEdit::set_text(const QString& text) {
  const QScopedValueRollback guard(programmatic_, true);
  setText(text);
}

LimitedMemo::LimitedMemo(int limit, QWidget* parent) : QPlainTextEdit(parent), limit_(limit), allowed_(limit) {
  connect(document(), &QTextDocument::contentsChange, this, &LimitedMemo::note_change);
  connect(this, &QPlainTextEdit::textChanged, this, &LimitedMemo::trim_to_limit);
}

void LimitedMemo::set_text(const QString& text) {
  const QScopedValueRollback guard(programmatic_, true);
  setPlainText(text);
  allowed_ = std::max(limit_, static_cast<int>(document()->characterCount() - 1));
}

void LimitedMemo::note_change(int position, int removed, int added) {
  if (programmatic_) return;
  const int length = document()->characterCount() - 1;  // the document's closing paragraph mark
  const int before = length - added + removed;
  last_insert_end_ = position + added;
  allowed_ = std::max(limit_, std::min(before, length));
}

// The document must not be changed from inside its own change signal, so the
// cut waits for textChanged, which comes once the edit is complete.
void LimitedMemo::trim_to_limit() {
  if (programmatic_) return;
  const int length = document()->characterCount() - 1;
  const int excess = length - allowed_;
  if (excess > 0) {
    const QScopedValueRollback guard(programmatic_, true);
    QTextCursor cut(document());
    const int end = std::clamp(last_insert_end_, excess, length);
    cut.setPosition(end - excess);
    cut.setPosition(end, QTextCursor::KeepAnchor);
    cut.removeSelectedText();
    allowed_ = length - excess;
  }
  emit typed();
}

}  // namespace kv
