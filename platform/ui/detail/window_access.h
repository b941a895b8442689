#pragma once
// The framework's own way into Window: its hooks and state, for the widgets and
// the application object. Not for program code.

#include <cstdint>
#include <memory>
#include <vector>

#include "platform/ui/detail/window_link.h"
#include "platform/ui/window.h"

class QPainter;

namespace platform::ui {

class WindowAccess {
 public:
  static std::shared_ptr<detail::WindowLife> Life(Window& window);
  static std::intptr_t Message(Window& window, unsigned message, std::uintptr_t wParam, std::intptr_t lParam);
  // Paints window's own area: the border of a bordered child, then OnPaint.
  static void Paint(Window& window, QPainter& painter);
  static void Close(Window& window);
  static void ActivateApp(Window& window, bool active);
  // A widget that Qt deleted behind the framework's back: the window forgets it.
  static void WidgetGone(Window& window);
  // Every window that has a widget, in creation order.
  static std::vector<Window*> LiveWindows();
  // At the end of the application: destroys every window that still has one, and
  // deletes the windows the framework keeps.
  static void ShutDown();
  // Deletes window now if the framework keeps it and its window is gone.
  static void DeleteIfIdle(detail::WindowLife& life);
  // Creation details the derived window classes hand to the base.
  static void SetStyle(Window& window, std::uint32_t style);
  static std::uint32_t Style(const Window& window);
  static void SetBorder(Window& window, int border);
};

}  // namespace platform::ui
