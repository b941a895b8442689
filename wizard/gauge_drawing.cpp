#include "wizard/gauge_drawing.h"

#include <QFontMetrics>
#include <QPainter>
#include <QString>

int GaugePercent(std::uint32_t minimum, std::uint32_t maximum, std::uint32_t position) {
  const std::int64_t span = static_cast<std::int64_t>(maximum) - static_cast<std::int64_t>(minimum);
  if (span <= 0) return 0;
  const std::int64_t percent = (static_cast<std::int64_t>(position) - static_cast<std::int64_t>(minimum)) * 100 / span;
  return percent > 0 ? static_cast<int>(percent) : 0;
}

std::string GaugeText(int percent) { return std::to_string(percent) + "%"; }

GaugeLayout LayoutGauge(const QRect& client, int percent, const QSize& textSize, GaugeOrientation orientation) {
  GaugeLayout layout;
  if (orientation == GaugeOrientation::Horizontal) {
    const int barRight = client.left() + percent * client.width() / 100;
    layout.filled = QRect(QPoint(client.left(), client.top()), QPoint(barRight - 1, client.bottom()));
    layout.rest = QRect(QPoint(barRight, client.top()), client.bottomRight());
  } else {
    const int barBottom = client.top() + percent * client.height() / 100;
    layout.filled = QRect(QPoint(client.left(), client.top()), QPoint(client.right(), barBottom - 1));
    layout.rest = QRect(QPoint(client.left(), barBottom), client.bottomRight());
  }
  const int centreX = client.left() + client.width() / 2;
  layout.textOrigin = QPoint(centreX - textSize.width() / 2, client.top() + (client.height() - textSize.height()) / 2);
  return layout;
}

void DrawGauge(QPainter& painter, const QRect& client, int percent, const GaugeColors& colors,
               GaugeOrientation orientation) {
  const QString text = QString::fromStdString(GaugeText(percent));
  const QFontMetrics metrics = painter.fontMetrics();
  const QSize textSize(metrics.horizontalAdvance(text), metrics.height());
  const GaugeLayout layout = LayoutGauge(client, percent, textSize, orientation);
  const QRect textRect(layout.textOrigin, textSize);

  painter.save();
  const auto drawPart = [&](const QRect& part, const QColor& fill, const QColor& ink) {
    if (part.isEmpty()) return;
    painter.setClipRect(part);
    painter.fillRect(part, fill);
    painter.setPen(ink);
    painter.drawText(textRect, Qt::AlignLeft | Qt::AlignTop, text);
  };
  drawPart(layout.filled, colors.bar, colors.background);
  drawPart(layout.rest, colors.background, colors.bar);
  painter.restore();
}
