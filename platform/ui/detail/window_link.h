#pragma once
// The tie between a framework window object and the Qt widgets that serve it.
//
// A widget can outlive its window object for a moment (widgets are deleted from
// the event loop, never from inside one of their own signals), and a window object
// can outlive its widget (after Destroy). Everything that reaches a window from Qt
// therefore goes through a shared WindowLink, which the window clears when it lets
// go of its widget: a cleared link drops the event instead of calling a dead object.

#include <cstdint>
#include <exception>
#include <memory>

#include <QEvent>

namespace platform::ui {
class Window;
}

namespace platform::ui::detail {

struct WindowLink {
  Window* window = nullptr;
};

// Lives as long as the window object (and a little longer in the hands of running
// handlers): counts the window's running handlers.
struct WindowLife {
  Window* window = nullptr;   // cleared when the object is deleted
  int runningHandlers = 0;
  bool deleteWhenIdle = false;  // kept by the framework and its window is gone
};

// Mixed into every widget class that carries a framework window, so that the
// framework can find the windows among a widget's descendants.
class FrameworkWidget {
 public:
  virtual ~FrameworkWidget() = default;
  const std::shared_ptr<WindowLink>& Link() const { return link_; }
  void SetLink(std::shared_ptr<WindowLink> link) { link_ = std::move(link); }
  Window* LinkedWindow() const { return link_ ? link_->window : nullptr; }

 private:
  std::shared_ptr<WindowLink> link_;
};

// A private message posted to a window, delivered through the Qt event queue so
// that it keeps its place among the other pending events.
class PostedMessageEvent : public QEvent {
 public:
  PostedMessageEvent(unsigned message, std::uintptr_t wParam, std::intptr_t lParam)
      : QEvent(EventType()), message(message), wParam(wParam), lParam(lParam) {}
  static QEvent::Type EventType();

  const unsigned message;
  const std::uintptr_t wParam;
  const std::intptr_t lParam;
};

// Counts the handlers of window that are running, so that a window the framework
// keeps is never deleted under one of them. Null windows are allowed.
class HandlerScope {
 public:
  explicit HandlerScope(Window* window);
  ~HandlerScope();
  HandlerScope(const HandlerScope&) = delete;
  HandlerScope& operator=(const HandlerScope&) = delete;

 private:
  std::shared_ptr<WindowLife> life_;
};

// Hands an exception that left a handler to the application's hook at once.
void ReportHandlerException(std::exception_ptr error) noexcept;
// The same, from the next turn of the event loop: used where Qt is painting and a
// modal report must not start a loop inside the paint.
void ReportHandlerExceptionLater(std::exception_ptr error) noexcept;

// Runs handler for window under the message-exception guard.
template <typename Handler>
bool Dispatch(Window* window, Handler&& handler) noexcept {
  try {
    HandlerScope scope(window);
    handler();
    return true;
  } catch (...) {
    ReportHandlerException(std::current_exception());
    return false;
  }
}

// Dispatch for painting entries: the report waits for the next turn of the loop.
template <typename Handler>
bool DispatchPaint(Window* window, Handler&& handler) noexcept {
  try {
    HandlerScope scope(window);
    handler();
    return true;
  } catch (...) {
    ReportHandlerExceptionLater(std::current_exception());
    return false;
  }
}

}  // namespace platform::ui::detail
