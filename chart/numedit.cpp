#include "chart/numedit.h"

#include <QApplication>
#include <QFocusEvent>
#include <QLocale>
#include <QValidator>
#include <algorithm>
#include <string>

namespace kv::chart {

// Judges every change before it reaches the text. A refused edit of the
// user's is undone, so it never shows and no change signal is sent for it.
// Text set wholesale (setText, also through a QLineEdit pointer, where the
// field has no edit to undo) is swapped for the last accepted text instead.
class TNumEdit::Validator : public QValidator {
 public:
  explicit Validator(TNumEdit* edit) : QValidator(edit), edit_(edit) {}

  State validate(QString& input, int& pos) const override {
    const std::string raw = input.toStdString();
    // Blanks are single characters in both encodings, so the counts agree.
    const auto blanks = static_cast<int>(raw.size() - skip_leading_blanks(raw).size());
    if (blanks > 0) {
      input.remove(0, blanks);
      pos = std::max(0, pos - blanks);
    }
    if (edit_->accepts(input)) return Acceptable;
    edit_->rejected();
    // setText clears the undo history before the text is judged; an edit
    // always leaves a step to undo.
    if (edit_->isUndoAvailable()) return Invalid;
    input = edit_->accepted_;
    pos = static_cast<int>(input.size());
    return Acceptable;
  }

 private:
  TNumEdit* edit_;
};

TNumEdit::TNumEdit(QWidget* parent) : QLineEdit(parent) {
  const QString point = QLocale::system().decimalPoint();
  if (point.size() == 1 && point.front().unicode() < 0x80) {
    format_.system_separator = static_cast<char>(point.front().unicode());
  }
  setValidator(new Validator(this));
  // Connected first, so that the record is up to date before anyone else
  // hears of the change. Should a text ever get past the validator (a
  // caller replacing it), it is put back here.
  connect(this, &QLineEdit::textChanged, this, [this](const QString& text) {
    if (accepts(text))
      accepted_ = text;
    else
      QLineEdit::setText(accepted_);
  });
}

void TNumEdit::setInputFormat(InputFormat format) { format_.input = format; }
void TNumEdit::setDecPlaceSep(DecPlaceSep separator) { format_.separator = separator; }
void TNumEdit::setFixPointDecPlaces(int places) { format_.fix_point_places = places; }

void TNumEdit::setRange(double low, double high) {
  low_ = low;
  high_ = high;
}

bool TNumEdit::setText(const QString& text) {
  QLineEdit::setText(text);  // judged by the validator like every change
  return accepts(QString::fromStdString(std::string(skip_leading_blanks(text.toStdString()))));
}

double TNumEdit::value() const { return parse_number(text().toStdString(), format_).value_or(0.0); }

bool TNumEdit::accepts(const QString& text) const {
  return number_accepted(text.toStdString(), format_, low_, high_);
}

void TNumEdit::rejected() {
  if (beep_) QApplication::beep();
}

void TNumEdit::focusOutEvent(QFocusEvent* event) {
  QLineEdit::focusOutEvent(event);
  const Qt::FocusReason reason = event->reason();
  if (reason != Qt::ActiveWindowFocusReason && reason != Qt::PopupFocusReason) emit exited();
}

}  // namespace kv::chart
