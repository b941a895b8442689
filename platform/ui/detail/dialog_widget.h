#pragma once
// The widget of a framework dialog: a QDialog whose keys, close requests and
// posted messages go to the Dialog object instead of QDialog's own handling.

#include <QDialog>

#include "platform/ui/detail/window_link.h"

namespace platform::ui::detail {

class DialogWidget : public QDialog, public FrameworkWidget {
 public:
  explicit DialogWidget(QWidget* owner);

  // QDialog's own ways of ending are not used: the Dialog object decides.
  void done(int) override {}
  void accept() override {}
  void reject() override {}

 protected:
  bool event(QEvent* event) override;
  // Alt with a letter is the dialog's before any control's: an edit would
  // otherwise take Alt+F as an "f". The dialog watches its controls for it.
  bool eventFilter(QObject* watched, QEvent* event) override;
  void keyPressEvent(QKeyEvent* event) override;
  void closeEvent(QCloseEvent* event) override;
  // The dialog's background as usual, then whatever the Dialog paints over it.
  void paintEvent(QPaintEvent* event) override;

 private:
  // A letter with Alt (or alone, when plainToo) handed to the dialog's
  // mnemonics under the guard; true when a control answered.
  bool TryMnemonic(QKeyEvent* event, bool plainToo);
};

}  // namespace platform::ui::detail
