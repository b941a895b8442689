#pragma once
// CheckListBox: an owner-drawn list box of groups, each item with a check box
// before its title. An item's check mark is its group's ticked field. A left
// press inside an item's box toggles it; WM_CHECK_CHANGED sent to the list
// toggles the selected item (the page sends it on a double-click), and so does
// the space bar while the list has the focus. Every
// toggle posts WM_CHECK_CHANGED to the page.
//
// The list box owns its CheckListBox (Dialog::SetListDrawer); the page keeps
// a reference for as long as its window lives.

#include <cstdint>

#include <QRect>

#include "platform/ui/dialog.h"

struct CGroup;

inline constexpr unsigned WM_CHECK_CHANGED = 0x58F;

class CheckListBox : public platform::ui::ListBoxDrawer {
 public:
  // Makes list listId of page (owner-drawn, with strings) a check list.
  static CheckListBox& Attach(platform::ui::Dialog& page, int listId);

  // Adds the group's title (in sorted place) with the group as item data;
  // returns the item's index.
  int AddGroup(CGroup& group);
  int Count() const;
  CGroup* GroupAt(int index) const;
  // The selected item's group; null when nothing is selected.
  CGroup* SelectedGroup() const;
  bool IsTicked(int index) const;

  // Inverts the item's check mark, redraws it and tells the page.
  void Toggle(int index);

  // A message sent to the list: WM_CHECK_CHANGED toggles the selected item.
  std::intptr_t SendMessage(unsigned message, std::uintptr_t wParam = 0, std::intptr_t lParam = 0);

  // The check box of an item: inset by the dialog-frame width at its top,
  // bottom and left, as wide as it is high.
  static QRect CheckBoxRect(const QRect& itemRect);

  // platform::ui::ListBoxDrawer
  int MeasureItem(int index, const std::string& text) override;
  void DrawItem(QPainter& painter, const platform::ui::ListItemPaint& item) override;
  void OnLeftButtonDown(const QPoint& point, const platform::ui::ListItemPaint& item) override;
  bool OnSpaceKey(int index) override;

 private:
  CheckListBox(platform::ui::Dialog& page, int listId) : page_(page), listId_(listId) {}

  platform::ui::Dialog& page_;
  int listId_;
};
