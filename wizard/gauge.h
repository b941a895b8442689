#pragma once
// The progress gauge of the copying page: a plain child window that paints its
// whole area with a bar and its percentage on every paint.

#include <cstdint>

#include "platform/ui/window.h"

namespace platform::ui {
class Dialog;
}

class CGauge : public platform::ui::ChildWindow {
 public:
  // Takes the place of the dialog's control controlId: same rectangle, same id,
  // the dialog's font; the control itself is destroyed. False when the gauge
  // window cannot be created.
  bool CreateOver(platform::ui::Dialog& dialog, int controlId, std::uint32_t style);

  void SetRange(std::uint32_t minimum, std::uint32_t maximum);
  // The position is limited to at most the maximum, then to at least the
  // minimum. The window is repainted later, or at once with updateNow.
  void SetPos(std::uint32_t value, bool updateNow);
  // The same with position + delta; a sum outside 0..2^32-1 is limited like any
  // other value instead of wrapping around.
  void OffsetPos(std::int64_t delta, bool updateNow);

  std::uint32_t Minimum() const { return minimum_; }
  std::uint32_t Maximum() const { return maximum_; }
  std::uint32_t Position() const { return position_; }

 protected:
  void OnPaint(QPainter& painter) override;

 private:
  void MoveTo(std::int64_t value, bool updateNow);

  std::uint32_t minimum_ = 0;
  std::uint32_t maximum_ = 0;
  std::uint32_t position_ = 0;
};
