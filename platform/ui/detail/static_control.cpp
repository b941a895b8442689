#include "platform/ui/detail/static_control.h"

#include <QMouseEvent>
#include <QPainter>
#include <qdrawutil.h>

#include "platform/resources/window_styles.h"

namespace platform::ui::detail {

namespace {
const QColor kShadow(0x80, 0x80, 0x80);
}

StaticControl::StaticControl(std::uint32_t style, std::uint32_t exStyle, QWidget* parent)
    : QWidget(parent), style_(style), exStyle_(exStyle) {
  setFocusPolicy(Qt::NoFocus);
}

std::uint32_t StaticControl::Kind() const { return style_ & kStaticTypeMask; }

bool StaticControl::IsTextKind() const {
  const std::uint32_t kind = Kind();
  return kind == SS_LEFT || kind == SS_CENTER || kind == SS_RIGHT || kind == SS_SIMPLE ||
         kind == SS_LEFTNOWORDWRAP;
}

void StaticControl::SetText(const QString& text) {
  text_ = text;
  update();
}

void StaticControl::SetPicture(const QPixmap& picture) {
  picture_ = picture;
  update();
}

void StaticControl::SetBackground(const QColor& color) {
  background_ = color;
  update();
}

void StaticControl::mousePressEvent(QMouseEvent* event) {
  if ((style_ & SS_NOTIFY) != 0 && event->button() == Qt::LeftButton && onClick_) {
    onClick_();
    return;
  }
  QWidget::mousePressEvent(event);
}

void StaticControl::paintEvent(QPaintEvent*) {
  QPainter painter(this);
  QRect area = rect();
  if (background_) painter.fillRect(area, *background_);
  if ((exStyle_ & WS_EX_CLIENTEDGE) != 0 || (style_ & SS_SUNKEN) != 0) {
    qDrawWinPanel(&painter, area, palette(), true);
    area.adjust(2, 2, -2, -2);
  } else if ((style_ & WS_BORDER) != 0) {
    painter.setPen(Qt::black);
    painter.drawRect(area.adjusted(0, 0, -1, -1));
    area.adjust(1, 1, -1, -1);
  }

  const QRect inner = area.adjusted(0, 0, -1, -1);
  switch (Kind()) {
    case SS_ICON:
    case SS_BITMAP:
      if (!picture_.isNull()) {
        QPoint at = area.topLeft();
        if ((style_ & SS_CENTERIMAGE) != 0) {
          at = area.center() - QPoint(picture_.width() / 2, picture_.height() / 2);
        }
        painter.drawPixmap(at, picture_);
      }
      return;
    case SS_BLACKRECT:
      painter.fillRect(area, Qt::black);
      return;
    case SS_GRAYRECT:
      painter.fillRect(area, kShadow);
      return;
    case SS_WHITERECT:
      painter.fillRect(area, Qt::white);
      return;
    case SS_BLACKFRAME:
    case SS_GRAYFRAME:
    case SS_WHITEFRAME: {
      const QColor colour = Kind() == SS_BLACKFRAME ? QColor(Qt::black)
                            : Kind() == SS_GRAYFRAME ? kShadow
                                                     : QColor(Qt::white);
      painter.setPen(colour);
      painter.drawRect(inner);
      return;
    }
    case SS_ETCHEDHORZ:
      painter.setPen(kShadow);
      painter.drawLine(area.left(), area.top(), area.right(), area.top());
      painter.setPen(Qt::white);
      painter.drawLine(area.left(), area.top() + 1, area.right(), area.top() + 1);
      return;
    case SS_ETCHEDVERT:
      painter.setPen(kShadow);
      painter.drawLine(area.left(), area.top(), area.left(), area.bottom());
      painter.setPen(Qt::white);
      painter.drawLine(area.left() + 1, area.top(), area.left() + 1, area.bottom());
      return;
    case SS_ETCHEDFRAME:
      qDrawShadeRect(&painter, area, palette(), true, 1);
      return;
    case SS_OWNERDRAW:
      return;
    default:
      PaintText(painter, area);
      return;
  }
}

void StaticControl::PaintText(QPainter& painter, const QRect& area) {
  int flags = Qt::AlignTop | Qt::TextExpandTabs;
  switch (Kind()) {
    case SS_CENTER:
      flags |= Qt::AlignHCenter | Qt::TextWordWrap;
      break;
    case SS_RIGHT:
      flags |= Qt::AlignRight | Qt::TextWordWrap;
      break;
    case SS_SIMPLE:
    case SS_LEFTNOWORDWRAP:
      flags |= Qt::AlignLeft | Qt::TextSingleLine;
      break;
    default:
      flags |= Qt::AlignLeft | Qt::TextWordWrap;
      break;
  }
  if ((style_ & SS_CENTERIMAGE) != 0) flags = (flags & ~Qt::AlignTop) | Qt::AlignVCenter;
  if ((style_ & SS_NOPREFIX) == 0) flags |= Qt::TextShowMnemonic;
  painter.setFont(font());
  painter.setPen(isEnabled() ? palette().color(QPalette::WindowText) : kShadow);
  painter.setClipRect(area);
  painter.drawText(area, flags, text_);
}

}  // namespace platform::ui::detail
