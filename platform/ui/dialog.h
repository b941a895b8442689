#pragma once
// Dialogs built from templates, with their controls reached by numeric id, as a
// Windows dialog manager gives them. A dialog is modeless (Create) or modal
// (DoModal). Control 1 and the Enter key reach OnOK, control 2 and the Escape key
// reach OnCancel; every other button, and the notifications of edits, list boxes
// and combo boxes, reach OnCommand with the control's id.
//
// Template geometry is in dialog units; they become pixels from the dialog
// font's average character width and height, as on Windows (horizontal: units x
// average width / 4; vertical: units x height / 8).
//
// Control accessors raise platform::ResourceException for an id the dialog
// does not hold, so a wrong id fails loudly instead of doing nothing.

#include <cstdint>
#include <memory>
#include <string>
#include <string_view>

#include <QColor>
#include <QRect>

#include "platform/resources/resource_module.h"
#include "platform/ui/window.h"

class QFont;

namespace platform::ui {

class ListBoxDrawer;

enum class SystemIcon { Information, Warning, Question, Error };

class Dialog : public Window {
 public:
  // The template comes from the application's resources when the dialog is made.
  Dialog(int templateId, Window* owner);
  // A template given directly (message boxes, tests); it must outlive the dialog.
  Dialog(const DialogTemplate& dialogTemplate, Window* owner);
  ~Dialog() override;

  int TemplateId() const;
  Window* Owner() const;

  // Builds the window from the template, owned by the owner window (it floats
  // above it), runs OnInitDialog and shows it when the template says WS_VISIBLE
  // (OnInitDialog may show it itself). False when the template is missing.
  bool Create();
  // Builds the window, runs OnInitDialog and shows it modal to the application
  // until EndDialog; returns the value given to EndDialog, or -1 when the
  // template is missing. While unattended (modal_policy.h) the dialog is never
  // shown: its default button is pressed at once and the answer is written to
  // stderr. The modal observer of the tests sees it once it is on screen.
  int DoModal();
  bool IsModal() const;
  // Modal: ends the loop of DoModal with result. Modeless: destroys the window.
  void EndDialog(int result);

  // --- controls --------------------------------------------------------------
  bool HasItem(int id) const;
  QWidget* Item(int id) const;
  std::string ItemText(int id) const;
  void SetItemText(int id, std::string_view text);
  // The text read as a signed decimal number; ok is false when it is not one.
  int ItemInt(int id, bool* ok = nullptr) const;
  void SetItemInt(int id, int value);
  void EnableItem(int id, bool enable);
  bool IsItemEnabled(int id) const;
  void ShowItem(int id, bool show);
  bool IsItemVisible(int id) const;
  void FocusItem(int id);
  int FocusedItem() const;  // 0 when no control has the focus
  // Makes the push button id the default (the one Enter presses).
  void SetDefaultButton(int id);
  int DefaultButton() const;  // 0 when there is none
  // Check boxes and radio buttons.
  void CheckItem(int id, bool checked);
  bool IsItemChecked(int id) const;
  // Presses a button as a user would: its handler runs under the guard.
  void Click(int id);
  // The control's rectangle in the dialog's client coordinates, in pixels.
  QRect ItemRect(int id) const;
  void DestroyItem(int id);
  void SetItemFont(int id, const QFont& font);
  // Fills the control's background (edits, statics) with color.
  void SetItemBackground(int id, const QColor& color);
  // The system icon into an SS_ICON static.
  void SetItemIcon(int id, SystemIcon icon);
  // The bitmap resource named name into an SS_BITMAP static.
  void SetItemBitmap(int id, std::string_view name);

  // Binds button id to the bitmap resources baseName + "U" (normal), "D"
  // (pressed), "F" (focused) and "X" (disabled); a missing face other than "U"
  // falls back to "U". Raises platform::ResourceException when "U" is missing.
  void BindBitmapButton(int id, std::string_view baseName);

  // --- list boxes and combo boxes ------------------------------------------
  // Adds text (sorted when the control has LBS_SORT or CBS_SORT) and returns its
  // index.
  int AddListString(int id, std::string_view text);
  void ResetList(int id);
  int ListCount(int id) const;
  int ListSelection(int id) const;  // -1 when nothing is selected
  void SetListSelection(int id, int index);  // -1 clears it
  std::string ListText(int id, int index) const;
  int FindListString(int id, std::string_view text) const;  // exact, ignoring case; -1 when absent
  void SetListItemData(int id, int index, std::uintptr_t data);
  std::uintptr_t ListItemData(int id, int index) const;
  // Owner-drawn list boxes (LBS_OWNERDRAWFIXED / LBS_OWNERDRAWVARIABLE): drawer
  // measures and paints every item and sees button presses.
  void SetListDrawer(int id, std::unique_ptr<ListBoxDrawer> drawer);
  void RedrawListItem(int id, int index);
  // The item's rectangle in the list box's own coordinates.
  QRect ListItemRect(int id, int index) const;

  // Dialog units to pixels for this dialog's font.
  QRect MapDialogRect(const QRect& dialogUnits) const;

 protected:
  // After the controls exist and before the dialog is shown. Returning true lets
  // the framework give the focus to the first tab stop. Default: true.
  virtual bool OnInitDialog();
  // Control 1 or Enter. Default: EndDialog(kIdOk).
  virtual void OnOK();
  // Control 2 or Escape. Default: EndDialog(kIdCancel).
  virtual void OnCancel();
  // Any other command: a button press or a notification (messages.h). Returns
  // true when handled. Default: false.
  virtual bool OnCommand(int id, int notifyCode);

 private:
  friend class DialogAccess;
  struct State;
  std::unique_ptr<State> state_;
};

// Painting and hit-testing of an owner-drawn list box.
struct ListItemPaint {
  int index = -1;
  QRect rect;               // in the list box's coordinates
  bool selected = false;
  bool focused = false;
  std::string text;
  std::uintptr_t data = 0;
};

class ListBoxDrawer {
 public:
  virtual ~ListBoxDrawer() = default;
  // The height of item index in pixels (variable-height lists ask per item).
  virtual int MeasureItem(int index, const std::string& text) = 0;
  virtual void DrawItem(QPainter& painter, const ListItemPaint& item) = 0;
  // A left button press at point (list box coordinates) on item index, after
  // the list box has handled it as usual (selection). Default: nothing.
  virtual void OnLeftButtonDown(const QPoint& point, const ListItemPaint& item);
  // The space bar, pressed while the list box has the focus, on the current
  // item (-1 when there is none). True when the drawer gave it a meaning (a
  // check list ticks the item); otherwise the list box handles it as usual.
  // Default: false.
  virtual bool OnSpaceKey(int index);
};

}  // namespace platform::ui
