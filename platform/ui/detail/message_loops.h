#pragma once
// The stack of message loops running in the application: the main loop of Run,
// modal dialogs' loops and PumpMessages. A quit is handled by the innermost one.

#include <QEventLoop>

namespace platform::ui::detail {

enum class LoopKind { Main, Modal, Pump };

struct LoopFrame {
  LoopKind kind = LoopKind::Main;
  QEventLoop* loop = nullptr;  // null for a pump
  bool quitSeen = false;       // the quit reached this loop and was posted again
};

// Pushes frame for the lifetime of the object.
class LoopScope {
 public:
  explicit LoopScope(LoopFrame& frame);
  ~LoopScope();
  LoopScope(const LoopScope&) = delete;
  LoopScope& operator=(const LoopScope&) = delete;

 private:
  LoopFrame& frame_;
};

// Clears the bitmap cache before the Qt application goes (resources_access.cpp).
void ClearBitmapCache();

}  // namespace platform::ui::detail
