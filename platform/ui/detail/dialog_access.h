#pragma once
// The framework's way into Dialog for its widgets.

namespace platform::ui {

class Dialog;

class DialogAccess {
 public:
  // Enter or Escape pressed in the dialog.
  static void Key(Dialog& dialog, int qtKey);
  // A command from control id with notifyCode, handled under the guard (control 1
  // clicked: OnOK; control 2 clicked: OnCancel; anything else: OnCommand).
  static void Command(Dialog& dialog, int id, int notifyCode);
};

}  // namespace platform::ui
