#include "platform/ui/detail/list_controls.h"

#include <QKeyEvent>
#include <QMouseEvent>
#include <QPainter>

#include "platform/ui/dialog.h"

namespace platform::ui::detail {

void ListBoxControl::mousePressEvent(QMouseEvent* event) {
  QListWidget::mousePressEvent(event);
  if (event->button() == Qt::LeftButton && onLeftButton_) onLeftButton_(event->position().toPoint());
}

void ListBoxControl::keyPressEvent(QKeyEvent* event) {
  // Only the space bar is offered: it is the one key a list of check boxes
  // gives a meaning of its own; the others move the selection as usual.
  const bool plain = (event->modifiers() & ~Qt::KeypadModifier) == Qt::NoModifier;
  if (plain && event->key() == Qt::Key_Space && onSpaceKey_ && onSpaceKey_()) {
    event->accept();
    return;
  }
  QListWidget::keyPressEvent(event);
}

OwnerDrawDelegate::OwnerDrawDelegate(std::shared_ptr<WindowLink> link, std::shared_ptr<ListBoxDrawer> drawer,
                                     bool fixedHeight, QObject* parent)
    : QStyledItemDelegate(parent), link_(std::move(link)), drawer_(std::move(drawer)), fixedHeight_(fixedHeight) {}

void OwnerDrawDelegate::paint(QPainter* painter, const QStyleOptionViewItem& option,
                              const QModelIndex& index) const {
  Window* window = link_->window;
  if (window == nullptr) return;
  ListItemPaint item;
  item.index = index.row();
  item.rect = option.rect;
  item.selected = (option.state & QStyle::State_Selected) != 0;
  item.focused = (option.state & QStyle::State_HasFocus) != 0;
  item.text = index.data(Qt::DisplayRole).toString().toStdString();
  item.data = static_cast<std::uintptr_t>(index.data(kItemDataRole).toULongLong());
  painter->save();
  DispatchPaint(window, [&] { drawer_->DrawItem(*painter, item); });
  painter->restore();
}

QSize OwnerDrawDelegate::sizeHint(const QStyleOptionViewItem& option, const QModelIndex& index) const {
  QSize size = QStyledItemDelegate::sizeHint(option, index);
  Window* window = link_->window;
  if (window == nullptr) return size;
  if (fixedHeight_ && fixedItemHeight_ >= 0) {
    size.setHeight(fixedItemHeight_);
    return size;
  }
  int height = size.height();
  const std::string text = index.data(Qt::DisplayRole).toString().toStdString();
  // Measuring happens while Qt lays the list out; a failure is reported later.
  DispatchPaint(window, [&] { height = drawer_->MeasureItem(fixedHeight_ ? 0 : index.row(), text); });
  if (fixedHeight_) fixedItemHeight_ = height;
  size.setHeight(height);
  return size;
}

int SortedInsertIndex(const QStringList& items, const QString& text) {
  int index = 0;
  while (index < items.size() && QString::compare(items[index], text, Qt::CaseInsensitive) <= 0) ++index;
  return index;
}

}  // namespace platform::ui::detail
