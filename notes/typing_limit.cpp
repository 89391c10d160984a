#include "notes/typing_limit.h"

#include <QScopedValueRollback>
#include <QTextBlock>
#include <QTextCursor>
#include <QValidator>
#include <algorithm>

#include "logdata/windows1252_qt.h"

namespace kv {

// Qt runs the validator after the edit already holds the new text and before
// it announces the change, so the length before the keystroke is kept apart.
class LimitedEdit::TypingLimit : public QValidator {
 public:
  explicit TypingLimit(LimitedEdit& edit) : QValidator(&edit), edit_(edit) {}

  State validate(QString& input, int& /*pos*/) const override {
    if (edit_.programmatic_) return Acceptable;
    const bool grows_past_limit = input.size() > edit_.limit_ && input.size() > edit_.shown_length_;
    return grows_past_limit || !windows1252_holds_all(input) ? Invalid : Acceptable;
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
  set_text_ = this->text();
}

LimitedMemo::LimitedMemo(int limit, QWidget* parent) : QPlainTextEdit(parent), limit_(limit), allowed_(limit) {
  connect(document(), &QTextDocument::contentsChange, this, &LimitedMemo::note_change);
  connect(this, &QPlainTextEdit::textChanged, this, &LimitedMemo::after_typing);
}

std::vector<std::u16string> LimitedMemo::lines() const {
  std::vector<std::u16string> out;
  if (document()->isEmpty()) return out;
  for (QTextBlock block = document()->begin(); block.isValid(); block = block.next()) {
    // A line break typed with Shift stays inside its block.
    for (const QString& line : block.text().split(QChar::LineSeparator)) {
      const std::u16string_view text = utf16_of(line);
      out.emplace_back(text.begin(), text.end());
    }
  }
  return out;
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
  last_insert_start_ = position;
  last_insert_end_ = position + added;
  allowed_ = std::max(limit_, std::min(before, length));
}

// The document must not be changed from inside its own change signal, so the
// corrections wait for textChanged, which comes once the edit is complete.
void LimitedMemo::after_typing() {
  if (programmatic_) return;
  drop_foreign_characters();
  trim_to_limit();
  emit typed();
}

void LimitedMemo::drop_foreign_characters() {
  const QScopedValueRollback guard(programmatic_, true);
  QTextCursor cursor(document());
  const int start = std::max(last_insert_start_, 0);
  for (int at = std::min(last_insert_end_, document()->characterCount() - 1) - 1; at >= start; --at) {
    const QChar ch = document()->characterAt(at);
    const bool line_break = ch == QChar::ParagraphSeparator || ch == QChar::LineSeparator;
    if (line_break || windows1252_holds(ch.unicode())) continue;
    // A character beyond the first 65,536 takes two places; both go.
    const int from = ch.isLowSurrogate() && at > start && document()->characterAt(at - 1).isHighSurrogate() ? at - 1 : at;
    cursor.setPosition(from);
    cursor.setPosition(at + 1, QTextCursor::KeepAnchor);
    cursor.removeSelectedText();
    last_insert_end_ -= at + 1 - from;
    at = from;
  }
}

void LimitedMemo::trim_to_limit() {
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
}

}  // namespace kv
