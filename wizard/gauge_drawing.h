#pragma once
// What a progress gauge shows, apart from any window: the percentage of its
// range and where the bar and the text go. The gauge window paints from this.

#include <cstdint>
#include <string>

#include <QColor>
#include <QPoint>
#include <QRect>
#include <QSize>

class QPainter;

// (position - minimum) x 100 / (maximum - minimum) in 64-bit arithmetic, so that
// no 32-bit range overflows; 0 when it is not positive (an empty or reversed
// range included).
int GaugePercent(std::uint32_t minimum, std::uint32_t maximum, std::uint32_t position);

// "%d%%" of percent.
std::string GaugeText(int percent);

enum class GaugeOrientation { Horizontal, Vertical };

struct GaugeLayout {
  QRect filled;      // the bar: from the left (horizontal) or top (vertical) edge
  QRect rest;        // the remainder of the client rectangle
  QPoint textOrigin; // top-left corner of the text
};

// Horizontal: the bar runs from the left edge to left + percent x width / 100
// over the full height. Vertical: from the top edge down to top + percent x
// height / 100 over the full width. The text is centred horizontally and starts
// (height - text height) / 2 below the top.
GaugeLayout LayoutGauge(const QRect& client, int percent, const QSize& textSize, GaugeOrientation orientation);

struct GaugeColors {
  QColor bar;         // the filled part, and the text over the rest
  QColor background;  // the rest, and the text over the bar
};

// Paints the whole gauge with painter's font: the bar opaque with the text in the
// background colour clipped to it, then the rest with the text in the bar colour
// clipped to it, so the characters change colour where the bar passes under them.
void DrawGauge(QPainter& painter, const QRect& client, int percent, const GaugeColors& colors,
               GaugeOrientation orientation);
