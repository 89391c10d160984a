#include "analysis/measured_cell_delegate.h"

#include <QEvent>
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

MeasuredCellDelegate::MeasuredCellDelegate(QWidget* view) : QStyledItemDelegate(view), view_(view) {
  if (view_ != nullptr) view_->installEventFilter(this);
}

bool MeasuredCellDelegate::eventFilter(QObject* object, QEvent* event) {
  // The base class takes what it filters for an editor: the view's own
  // events must not reach it.
  if (object != view_) return QStyledItemDelegate::eventFilter(object, event);
  switch (event->type()) {
    // A style sheet set or changed keeps the same style object, so the key
    // cannot tell; a new screen can bring another resolution.
    case QEvent::StyleChange:
    case QEvent::FontChange:
    case QEvent::ScreenChangeInternal:
      forget();
      break;
    default:
      break;
  }
  return false;
}

void MeasuredCellDelegate::forget() const {
  fonts_.clear();
  sizes_.clear();
}

size_t qHash(const MeasuredCellDelegate::Key& key, size_t seed) {
  return qHashMulti(seed, key.text, key.font, key.style, key.features, key.offered);
}

std::size_t MeasuredCellDelegate::font_number(const QFont& font) const {
  const auto known = std::find(fonts_.begin(), fonts_.end(), font);
  if (known != fonts_.end()) return static_cast<std::size_t>(known - fonts_.begin());
  if (fonts_.size() >= kMaxFonts) forget();
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
