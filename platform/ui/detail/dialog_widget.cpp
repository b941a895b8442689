#include "platform/ui/detail/dialog_widget.h"

#include <QCloseEvent>
#include <QKeyEvent>
#include <QPainter>

#include "platform/ui/detail/dialog_access.h"
#include "platform/ui/detail/window_access.h"
#include "platform/ui/detail/window_widget.h"
#include "platform/ui/dialog.h"

namespace platform::ui::detail {

namespace {

// With Alt held some platforms give no text: the letter or digit of the key.
QChar KeyLetter(int key) {
  if ((key >= Qt::Key_A && key <= Qt::Key_Z) || (key >= Qt::Key_0 && key <= Qt::Key_9)) {
    return QChar(static_cast<char16_t>(key));
  }
  return QChar();
}

}  // namespace

DialogWidget::DialogWidget(QWidget* owner) : QDialog(owner) {}

bool DialogWidget::event(QEvent* event) {
  if (DeliverPostedMessage(*this, event)) return true;
  return QDialog::event(event);
}

void DialogWidget::paintEvent(QPaintEvent* event) {
  QDialog::paintEvent(event);
  QPainter painter(this);
  if (Window* window = LinkedWindow()) {
    DispatchPaint(window, [&] { WindowAccess::Paint(*window, painter); });
  }
}

bool DialogWidget::eventFilter(QObject* watched, QEvent* event) {
  if (event->type() == QEvent::KeyPress && TryMnemonic(static_cast<QKeyEvent*>(event), false)) return true;
  return QDialog::eventFilter(watched, event);
}

bool DialogWidget::TryMnemonic(QKeyEvent* event, bool plainToo) {
  const Qt::KeyboardModifiers modifiers = event->modifiers() & ~(Qt::KeypadModifier | Qt::ShiftModifier);
  const bool alt = modifiers == Qt::AltModifier;
  if (!alt && !(plainToo && modifiers == Qt::NoModifier)) return false;
  const QString text = event->text();
  const QChar letter = text.size() == 1 ? text.front() : KeyLetter(event->key());
  if (!letter.isLetterOrNumber()) return false;
  auto* dialog = static_cast<Dialog*>(LinkedWindow());
  if (dialog == nullptr) return false;
  bool handled = false;
  Dispatch(dialog, [&] { handled = DialogAccess::Mnemonic(*dialog, letter, alt); });
  return handled;
}

void DialogWidget::keyPressEvent(QKeyEvent* event) {
  const int key = event->key();
  const bool plain = (event->modifiers() & ~Qt::KeypadModifier) == Qt::NoModifier;
  if (plain && (key == Qt::Key_Return || key == Qt::Key_Enter || key == Qt::Key_Escape)) {
    if (auto* dialog = static_cast<Dialog*>(LinkedWindow())) DialogAccess::Key(*dialog, key);
    event->accept();
    return;
  }
  // A key that the focused control left: perhaps a mnemonic of the dialog.
  if (TryMnemonic(event, true)) {
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
