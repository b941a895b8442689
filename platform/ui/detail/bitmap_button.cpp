#include "platform/ui/detail/bitmap_button.h"

#include <QPainter>
#include <qdrawutil.h>

namespace platform::ui::detail {

BitmapButton::BitmapButton(QWidget* parent) : QAbstractButton(parent) {}

void BitmapButton::Bind(ButtonFaces faces) {
  faces_ = std::move(faces);
  for (QPixmap* face : {&faces_.down, &faces_.focused, &faces_.disabled}) {
    if (face->isNull()) *face = faces_.up;
  }
  bound_ = true;
  update();
}

QPixmap BitmapButton::CurrentFace() const {
  if (!bound_) return {};
  // A disabled picture is shown as it is (its own face), never greyed out.
  if (!isEnabled()) return faces_.disabled;
  if (isDown()) return faces_.down;
  if (hasFocus()) return faces_.focused;
  return faces_.up;
}

QSize BitmapButton::sizeHint() const { return bound_ ? faces_.up.size() : QSize(75, 23); }

void BitmapButton::paintEvent(QPaintEvent*) {
  QPainter painter(this);
  if (bound_) {
    painter.fillRect(rect(), palette().color(QPalette::Button));
    const QPixmap face = CurrentFace();
    const QPoint at((width() - face.width()) / 2, (height() - face.height()) / 2);
    painter.drawPixmap(at, face);
    return;
  }
  qDrawWinButton(&painter, rect(), palette(), isDown(), &palette().brush(QPalette::Button));
  painter.setPen(isEnabled() ? palette().color(QPalette::ButtonText) : QColor(0x80, 0x80, 0x80));
  const QPoint shift = isDown() ? QPoint(1, 1) : QPoint(0, 0);
  painter.drawText(rect().translated(shift), Qt::AlignCenter | Qt::TextShowMnemonic, text());
}

}  // namespace platform::ui::detail
