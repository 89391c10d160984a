#include "analysis/radio_group.h"

#include <QAbstractButton>
#include <QButtonGroup>
#include <QGridLayout>
#include <QRadioButton>

namespace kv::analysis {
namespace {
constexpr int kMargin = 4;
constexpr int kSpacing = 1;
}  // namespace

RadioGroup::RadioGroup(const char* name, const QString& caption, const QStringList& items, int columns, int initial,
                       QWidget* parent)
    : QGroupBox(caption, parent), buttons_(new QButtonGroup(this)) {
  setObjectName(name);
  auto* layout = new QGridLayout(this);
  layout->setContentsMargins(kMargin, kMargin, kMargin, kMargin);
  layout->setSpacing(kSpacing);
  const int rows = (static_cast<int>(items.size()) + columns - 1) / columns;
  for (int i = 0; i < items.size(); ++i) {
    auto* radio = new QRadioButton(items[i], this);
    radio->setObjectName(QString("%1_%2").arg(name).arg(i));
    buttons_->addButton(radio, i);
    layout->addWidget(radio, i % rows, i / rows);
  }
  setItemIndex(initial);
  connect(buttons_, &QButtonGroup::idToggled, this, [this](int id, bool on) {
    if (on) emit changed(id);
  });
}

int RadioGroup::itemIndex() const { return buttons_->checkedId(); }

int RadioGroup::itemCount() const { return static_cast<int>(buttons_->buttons().size()); }

void RadioGroup::setItemIndex(int index) {
  if (QAbstractButton* b = buttons_->button(index)) b->setChecked(true);
}

}  // namespace kv::analysis
