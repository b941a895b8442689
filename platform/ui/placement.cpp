#include "platform/ui/placement.h"

#include "platform/core/window_placement.h"
#include "platform/ui/application.h"
#include "platform/ui/window.h"

namespace platform::ui {

void PlaceWindow(Window& window, const QRect& reference, int a, int b, int c, int d) {
  const QRect rect = window.Rect();
  const WindowOrigin origin =
      PlaceAtFraction(reference.width(), reference.height(), rect.width(), rect.height(), a, b, c, d);
  window.Move(QRect(reference.x() + origin.x, reference.y() + origin.y, rect.width(), rect.height()));
}

void CenterWindow(Window& window, const Window* owner) {
  QRect reference;
  if (owner != nullptr && owner->IsCreated()) {
    reference = owner->Rect();
  } else if (Application* app = Application::Current()) {
    reference = app->ScreenRect();
  }
  PlaceWindow(window, reference, 1, 2, 1, 2);
}

}  // namespace platform::ui
