#pragma once
// Edits whose limit holds for typing only: text put in by the program, such
// as a field read from a file, is shown whole however long it is. Both refuse
// typed characters that the program's files (Windows-1252) cannot hold.
#include <QLineEdit>
#include <QPlainTextEdit>
#include <string>
#include <vector>

namespace kv {

// A one-line field with a typing limit: typing that would make the text
// longer than the limit is refused. A text that is already longer (it came
// from a file) may still be shortened.
class LimitedEdit : public QLineEdit {
 public:
  LimitedEdit(int limit, QWidget* parent);
  // Shows the text whole, however long it is.
  void set_text(const QString& text);
  // Whether the text differs from what set_text() last showed.
  bool changed() const { return text() != set_text_; }

 private:
  class TypingLimit;

  int limit_;
  int shown_length_ = 0;  // the text's length before the change being checked
  bool programmatic_ = false;
  QString set_text_;
};

// A memo with a typing limit. Typed or pasted text beyond the limit is cut
// off at once; set_text() takes its text whole.
class LimitedMemo : public QPlainTextEdit {
  Q_OBJECT
 public:
  LimitedMemo(int limit, QWidget* parent);
  void set_text(const QString& text);
  QString text() const { return toPlainText(); }
  // The text line by line, each character as typed (a plain-text copy turns
  // non-breaking spaces into blanks); an empty memo has no lines.
  std::vector<std::u16string> lines() const;

 signals:
  // The user changed the text (the program's own set_text does not count).
  void typed();

 private:
  void note_change(int position, int removed, int added);
  void after_typing();
  void drop_foreign_characters();
  void trim_to_limit();

  int limit_;
  bool programmatic_ = false;
  int last_insert_start_ = 0;  // where the last typed insertion began
  int last_insert_end_ = 0;    // and where it ended
  int allowed_;                // the length the last change may grow the text to
};

}  // namespace kv
