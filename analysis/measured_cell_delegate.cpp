#include "analysis/measured_cell_delegate.h"

#include <QStyle>
#include <QWidget>
#include <algorithm>

namespace kv::analysis {
namespace {

// Plenty for the lap tables; past it the sizes start afresh.
constexpr qsizetype kMaxRemembered = 4096;
constexpr std::size_t kMaxFonts = 16;

// A text alone in its cell: its size depends on its font, the style, the
// features and (wrapped) the width it is offered.
bool plain_text(const QStyleOptionViewItem& opt) {
  constexpr auto kOthers = QStyleOptionViewItem::HasCheckIndicator | QStyleOptionViewItem::HasDecoration;
  return (opt.features & kOthers) == 0;
}

}  // namespace

size_t qHash(const MeasuredCellDelegate::Key& key, size_t seed) {
  return qHashMulti(seed, key.text, key.font, key.style, key.features, key.offered);
}

std::size_t MeasuredCellDelegate::font_number(const QFont& font) const {
  const auto known = std::find(fonts_.begin(), fonts_.end(), font);
  if (known != fonts_.end()) return static_cast<std::size_t>(known - fonts_.begin());
  if (fonts_.size() >= kMaxFonts) {
    fonts_.clear();
    sizes_.clear();
  }
  fonts_.push_back(font);
  return fonts_.size() - 1;
}

QSize MeasuredCellDelegate::sizeHint(const QStyleOptionViewItem& option, const QModelIndex& index) const {
  if (index.data(Qt::SizeHintRole).isValid()) return QStyledItemDelegate::sizeHint(option, index);
  QStyleOptionViewItem opt = option;
  initStyleOption(&opt, index);
  if (!plain_text(opt)) return QStyledItemDelegate::sizeHint(option, index);
  Key key{opt.text, font_number(opt.font),
          reinterpret_cast<quintptr>(opt.widget != nullptr ? opt.widget->style() : nullptr),
          static_cast<int>(opt.features), opt.rect.isValid() ? opt.rect.width() : -1};
  if (const auto known = sizes_.constFind(key); known != sizes_.constEnd()) return *known;
  const QSize size = QStyledItemDelegate::sizeHint(option, index);
  if (sizes_.size() >= kMaxRemembered) sizes_.clear();
  sizes_.insert(std::move(key), size);
  return size;
}

}  // namespace kv::analysis
