#pragma once
// TColorPick: a drop-down list of colour rows (a colour bar and the colour's
// name) from which the user picks a trace colour.
#include <QColor>
#include <QComboBox>

#include "chart/colorpick_palette.h"
#include "chart/scheme_colors.h"

namespace kv::chart {

class TColorPick : public QComboBox {
  Q_OBJECT

 public:
  static constexpr int ColorBarWidth = 30;
  static constexpr int DropDownCount = 16;

  explicit TColorPick(QWidget* parent = nullptr);

  // The colour of the selected row.
  TColor SelColor() const;
  // Selects the first row holding exactly this colour; when none
  // does, the selected row takes the colour and its name, so the value reads
  // back unchanged. Never emits OnChange.
  void setSelColor(TColor color);

 signals:
  // The user picked a row.
  void OnChange();

 private:
  void set_row_color(int row, TColor color);
};

}  // namespace kv::chart
