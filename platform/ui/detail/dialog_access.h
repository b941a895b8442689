#pragma once
// The framework's way into Dialog for its widgets.

#include <QChar>

namespace platform::ui {

class Dialog;

class DialogAccess {
 public:
  // Enter or Escape pressed in the dialog.
  static void Key(Dialog& dialog, int qtKey);
  // A letter or digit typed in the dialog that no control took, with or without
  // Alt: the control whose caption marks it with '&' acts, as on Windows. A
  // button is pressed (a check box or radio button also takes the focus); a
  // static text or group box gives the focus to the next control that Tab
  // reaches. Without Alt only while the focused control takes no characters.
  // True when a control answered.
  static bool Mnemonic(Dialog& dialog, QChar letter, bool withAlt);
  // A command from control id with notifyCode, handled under the guard (control 1
  // clicked: OnOK; control 2 clicked: OnCancel; anything else: OnCommand).
  static void Command(Dialog& dialog, int id, int notifyCode);
};

}  // namespace platform::ui
