#include "wizard/pages/check_list_box.h"

#include <algorithm>
#include <memory>

#include <QFontMetrics>
#include <QPainter>
#include <QWidget>

#include "install/tables/group_table.h"
#include "platform/ui/resources_access.h"

namespace {

int FrameInset() { return platform::ui::SystemMetric(platform::ui::Metric::CxDlgFrame); }

}  // namespace

CheckListBox& CheckListBox::Attach(platform::ui::Dialog& page, int listId) {
  // Private constructor: make_unique cannot reach it.
  std::unique_ptr<CheckListBox> list(new CheckListBox(page, listId));
  CheckListBox& reference = *list;
  page.SetListDrawer(listId, std::move(list));
  return reference;
}

int CheckListBox::AddGroup(CGroup& group) {
  const int index = page_.AddListString(listId_, group.title);
  page_.SetListItemData(listId_, index, reinterpret_cast<std::uintptr_t>(&group));
  return index;
}

int CheckListBox::Count() const { return page_.ListCount(listId_); }

CGroup* CheckListBox::GroupAt(int index) const {
  if (index < 0 || index >= Count()) return nullptr;
  return reinterpret_cast<CGroup*>(page_.ListItemData(listId_, index));
}

CGroup* CheckListBox::SelectedGroup() const { return GroupAt(page_.ListSelection(listId_)); }

bool CheckListBox::IsTicked(int index) const {
  const CGroup* group = GroupAt(index);
  return group != nullptr && group->ticked != 0;
}

void CheckListBox::Toggle(int index) {
  CGroup* group = GroupAt(index);
  if (group == nullptr) return;
  group->ticked = group->ticked != 0 ? 0 : 1;
  page_.RedrawListItem(listId_, index);
  page_.PostMessage(WM_CHECK_CHANGED);
}

std::intptr_t CheckListBox::SendMessage(unsigned message, std::uintptr_t, std::intptr_t) {
  if (message == WM_CHECK_CHANGED) Toggle(page_.ListSelection(listId_));
  return 0;
}

QRect CheckListBox::CheckBoxRect(const QRect& itemRect) {
  const int inset = FrameInset();
  const int side = std::max(0, itemRect.height() - 2 * inset);
  return QRect(itemRect.left() + inset, itemRect.top() + inset, side, side);
}

int CheckListBox::MeasureItem(int, const std::string&) {
  // The box as high as a line of text, with the inset above and below it.
  return page_.Item(listId_)->fontMetrics().height() + 2 * FrameInset();
}

void CheckListBox::DrawItem(QPainter& painter, const platform::ui::ListItemPaint& item) {
  using platform::ui::SysColor;
  using platform::ui::SystemColor;
  const QColor background = SystemColor(item.selected ? SysColor::Highlight : SysColor::Window);
  const QColor text = SystemColor(item.selected ? SysColor::HighlightText : SysColor::WindowText);
  painter.fillRect(item.rect, background);

  const QRect box = CheckBoxRect(item.rect);
  painter.setPen(text);
  painter.setBrush(Qt::NoBrush);
  // Windows rectangles leave out their right and bottom edges; Qt's pen covers
  // them, so the outline is drawn one pixel in.
  painter.drawRect(box.adjusted(0, 0, -1, -1));
  const auto* group = reinterpret_cast<const CGroup*>(item.data);
  if (group != nullptr && group->ticked != 0) {
    painter.drawLine(box.topLeft(), box.bottomRight());
    painter.drawLine(box.bottomLeft(), box.topRight());
  }

  painter.setFont(page_.Item(listId_)->font());
  const QFontMetrics metrics(painter.font());
  const int x = item.rect.left() + box.width() + 2 * FrameInset();
  const int y = item.rect.top() + std::max(0, (item.rect.height() - metrics.height()) / 2);
  painter.drawText(QPoint(x, y + metrics.ascent()), QString::fromStdString(item.text));
}

void CheckListBox::OnLeftButtonDown(const QPoint& point, const platform::ui::ListItemPaint& item) {
  if (CheckBoxRect(item.rect).contains(point)) Toggle(item.index);
}

bool CheckListBox::OnSpaceKey(int index) {
  // The keyboard's way to tick, as the space bar ticks a check box.
  if (index < 0 || index >= Count()) return false;
  Toggle(index);
  return true;
}
