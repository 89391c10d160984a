#pragma once
// TNumEdit: a one-line edit that only ever holds a valid number. An edit that
// would leave anything else, or a value outside the range, never lands: the
// last accepted text stays.
#include <QLineEdit>

#include "chart/numedit_format.h"

namespace kv::chart {

class TNumEdit : public QLineEdit {
  Q_OBJECT

 public:
  explicit TNumEdit(QWidget* parent = nullptr);

  void setInputFormat(InputFormat format);
  InputFormat inputFormat() const { return format_.input; }
  void setDecPlaceSep(DecPlaceSep separator);
  DecPlaceSep decPlaceSep() const { return format_.separator; }
  void setFixPointDecPlaces(int places);
  int fixPointDecPlaces() const { return format_.fix_point_places; }
  void setRange(double low, double high);
  double rangeLow() const { return low_; }
  double rangeHigh() const { return high_; }
  void setBeep(bool on) { beep_ = on; }
  bool beep() const { return beep_; }

  // Program-written text passes the same check as typed text, also when
  // it is set through a QLineEdit pointer; a rejected text leaves the field
  // as it was. Returns whether the text was taken.
  bool setText(const QString& text);

  // The value of the text (an empty field reads as 0).
  double value() const;

 signals:
  // The focus moved to another control of the window (not a window switch).
  void exited();

 protected:
  void focusOutEvent(QFocusEvent* event) override;

 private:
  class Validator;
  friend class Validator;

  bool accepts(const QString& text) const;
  void rejected();

  NumberFormat format_;
  QString accepted_;  // what the field holds; a refused text gives way to it
  double low_ = -1.7e308;
  double high_ = 1.7e308;
  bool beep_ = true;
};

}  // namespace kv::chart
