#include "platform/ui/detail/window_widget.h"

#include <QCloseEvent>
#include <QPainter>

#include "platform/ui/detail/window_access.h"

namespace platform::ui::detail {

QEvent::Type PostedMessageEvent::EventType() {
  static const auto type = static_cast<QEvent::Type>(QEvent::registerEventType());
  return type;
}

bool DeliverPostedMessage(FrameworkWidget& receiver, QEvent* event) {
  if (event->type() != PostedMessageEvent::EventType()) return false;
  const auto* posted = static_cast<PostedMessageEvent*>(event);
  // A window that has let go of this widget no longer receives its messages.
  if (Window* window = receiver.LinkedWindow()) {
    Dispatch(window, [&] { WindowAccess::Message(*window, posted->message, posted->wParam, posted->lParam); });
  }
  return true;
}

WindowWidget::WindowWidget(QWidget* parent) : QWidget(parent) {
  // The window paints all of itself in OnPaint; Qt must not clear it first.
  setAttribute(Qt::WA_OpaquePaintEvent);
  setAttribute(Qt::WA_NoSystemBackground);
  setAutoFillBackground(false);
}

bool WindowWidget::event(QEvent* event) {
  if (DeliverPostedMessage(*this, event)) return true;
  return QWidget::event(event);
}

void WindowWidget::paintEvent(QPaintEvent*) {
  QPainter painter(this);
  if (Window* window = LinkedWindow()) {
    DispatchPaint(window, [&] { WindowAccess::Paint(*window, painter); });
  }
}

void WindowWidget::closeEvent(QCloseEvent* event) {
  // Closing is the window's decision (OnClose); Qt only asks.
  event->ignore();
  if (Window* window = LinkedWindow()) {
    Dispatch(window, [&] { WindowAccess::Close(*window); });
  }
}

}  // namespace platform::ui::detail
