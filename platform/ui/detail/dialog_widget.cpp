#include "platform/ui/detail/dialog_widget.h"

#include <QCloseEvent>
#include <QKeyEvent>

#include "platform/ui/detail/dialog_access.h"
#include "platform/ui/detail/window_widget.h"
#include "platform/ui/dialog.h"

namespace platform::ui::detail {

DialogWidget::DialogWidget(QWidget* owner) : QDialog(owner) {}

bool DialogWidget::event(QEvent* event) {
  if (DeliverPostedMessage(*this, event)) return true;
  return QDialog::event(event);
}

void DialogWidget::keyPressEvent(QKeyEvent* event) {
  const int key = event->key();
  const bool plain = (event->modifiers() & ~Qt::KeypadModifier) == Qt::NoModifier;
  if (plain && (key == Qt::Key_Return || key == Qt::Key_Enter || key == Qt::Key_Escape)) {
    if (auto* dialog = static_cast<Dialog*>(LinkedWindow())) DialogAccess::Key(*dialog, key);
    event->accept();
    return;
  }
  QWidget::keyPressEvent(event);
}

void DialogWidget::closeEvent(QCloseEvent* event) {
  event->ignore();
  // The title bar's close box is the Cancel of the dialog.
  if (auto* dialog = static_cast<Dialog*>(LinkedWindow())) DialogAccess::Command(*dialog, 2, 0);
}

}  // namespace platform::ui::detail
