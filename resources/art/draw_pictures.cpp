// Draws the setup's pictures (picture panel, splash, setup-type buttons, billboards) and writes
// them as 8-bit indexed BMP files. Usage: qm_draw_pictures <output directory>
//
// Everything is drawn from code so that the artwork can be changed and redrawn; nothing is random
// and only the Liberation fonts are used, so the output does not depend on the machine.

#include <QDir>
#include <QFont>
#include <QFontDatabase>
#include <QFontInfo>
#include <QFontMetricsF>
#include <QGuiApplication>
#include <QImage>
#include <QLinearGradient>
#include <QPainter>
#include <QPainterPath>
#include <QRadialGradient>

#include <algorithm>
#include <array>
#include <cmath>
#include <cstdio>
#include <functional>
#include <stdexcept>
#include <string>
#include <vector>

namespace {

// ---------------------------------------------------------------------------------------------
// Palette shared by all pictures, in keeping with the blue setup screen.

const QColor kNavy(0x0a, 0x1a, 0x4f);
const QColor kBlue(0x15, 0x3e, 0x8f);
const QColor kTeal(0x0d, 0x7f, 0x8a);
const QColor kGold(0xf4, 0xb9, 0x42);
const QColor kGoldDark(0xb9, 0x7a, 0x10);
const QColor kCoral(0xe8, 0x60, 0x3c);
const QColor kPaper(0xfd, 0xfb, 0xf4);
const QColor kInk(0x1c, 0x2a, 0x55);
const QColor kBar(0xa9, 0xb3, 0xc4);
const QColor kBodyText(0xdc, 0xee, 0xf6);
const std::array<QColor, 5> kLabelTints = {QColor(0xff, 0xd8, 0x66), QColor(0x8f, 0xd3, 0xf4),
                                           QColor(0xf7, 0xa1, 0xa1), QColor(0xb5, 0xe4, 0x8c),
                                           QColor(0xc9, 0xb6, 0xf2)};

// ---------------------------------------------------------------------------------------------
// Fonts

QFont makeFont(const QString& family, qreal pixelSize, bool bold = false, bool italic = false)
{
    QFont font(family);
    font.setPixelSize(static_cast<int>(std::lround(pixelSize)));
    font.setBold(bold);
    font.setItalic(italic);
    font.setStyleStrategy(QFont::PreferAntialias);
    font.setHintingPreference(QFont::PreferNoHinting);
    return font;
}

QFont sans(qreal px, bool bold = false, bool italic = false)
{
    return makeFont(QStringLiteral("Liberation Sans"), px, bold, italic);
}

QFont serif(qreal px, bool bold = false, bool italic = false)
{
    return makeFont(QStringLiteral("Liberation Serif"), px, bold, italic);
}

// Refuses to draw with a substitute: a silently different font would change every picture.
void requireFonts()
{
    for (const QFont& font : {sans(12), serif(12)}) {
        const QFontInfo info(font);
        if (info.family() != font.family())
            throw std::runtime_error("font \"" + font.family().toStdString()
                                     + "\" is not installed (got \"" + info.family().toStdString()
                                     + "\"); install fonts-liberation");
    }
}

// Draws one line of text in the rectangle, shrinking the font until it fits the width.
void drawFittedLine(QPainter& p, const QRectF& box, QFont font, const QString& text,
                    Qt::Alignment align, const QColor& color, const QColor& shadow = QColor())
{
    while (QFontMetricsF(font).horizontalAdvance(text) > box.width() && font.pixelSize() > 6)
        font.setPixelSize(font.pixelSize() - 1);
    p.setFont(font);
    if (shadow.isValid()) {
        p.setPen(shadow);
        p.drawText(box.translated(1, 1), align | Qt::AlignVCenter, text);
    }
    p.setPen(color);
    p.drawText(box, align | Qt::AlignVCenter, text);
}

// Draws word-wrapped text at the top of the rectangle, shrinking the font until all of it fits.
// Returns the height used.
qreal drawWrapped(QPainter& p, const QRectF& box, QFont font, const QString& text,
                  const QColor& color, const QColor& shadow = QColor())
{
    const int flags = Qt::AlignLeft | Qt::AlignTop | Qt::TextWordWrap;
    QRectF needed;
    for (;;) {
        needed = QFontMetricsF(font).boundingRect(box, flags, text);
        if ((needed.height() <= box.height() && needed.width() <= box.width())
            || font.pixelSize() <= 7)
            break;
        font.setPixelSize(font.pixelSize() - 1);
    }
    p.setFont(font);
    if (shadow.isValid()) {
        p.setPen(shadow);
        p.drawText(box.translated(1, 1), flags, text);
    }
    p.setPen(color);
    p.drawText(box, flags, text);
    return needed.height();
}

// ---------------------------------------------------------------------------------------------
// Building blocks

// A soft shadow: a few growing, faint copies of the outline.
void softShadow(QPainter& p, const QPainterPath& shape, QPointF offset, int strength = 60)
{
    p.save();
    p.setPen(Qt::NoPen);
    for (int i = 3; i >= 0; --i) {
        QPainterPathStroker stroker;
        stroker.setWidth(i * 2.0 + 0.5);
        stroker.setJoinStyle(Qt::RoundJoin);
        const QPainterPath grown = shape.united(stroker.createStroke(shape));
        p.setBrush(QColor(0, 0, 0, strength / (i + 2)));
        p.drawPath(grown.translated(offset));
    }
    p.restore();
}

QPainterPath roundedRect(const QRectF& r, qreal radius)
{
    QPainterPath path;
    path.addRoundedRect(r, radius, radius);
    return path;
}

// Background of the large pictures: deep blue to teal with a soft light.
void paintBackdrop(QPainter& p, const QRectF& r, QPointF glowCentre, bool vertical)
{
    QLinearGradient ramp(r.topLeft(), vertical ? r.bottomLeft() : r.bottomRight());
    ramp.setColorAt(0.0, kNavy);
    ramp.setColorAt(0.55, kBlue);
    ramp.setColorAt(1.0, kTeal);
    p.fillRect(r, ramp);

    QRadialGradient glow(glowCentre, std::max(r.width(), r.height()) * 0.55);
    glow.setColorAt(0.0, QColor(255, 255, 255, 46));
    glow.setColorAt(1.0, QColor(255, 255, 255, 0));
    p.fillRect(r, glow);

    // A faint dotted grid, like a label sheet seen from afar.
    p.save();
    p.setPen(Qt::NoPen);
    p.setBrush(QColor(255, 255, 255, 14));
    for (qreal y = r.top() + 6; y < r.bottom(); y += 12)
        for (qreal x = r.left() + 6; x < r.right(); x += 12)
            p.drawEllipse(QPointF(x, y), 0.9, 0.9);
    p.restore();
}

// Grey bars standing for lines of an address; lengths vary by the seed, never at random.
void addressBars(QPainter& p, const QRectF& r, int lines, int seed, const QColor& color = kBar)
{
    static const std::array<qreal, 7> kLengths = {0.82, 0.64, 0.74, 0.5, 0.9, 0.58, 0.7};
    const qreal pitch = r.height() / lines;
    const qreal thickness = std::max<qreal>(0.8, pitch * 0.42);
    p.save();
    p.setPen(Qt::NoPen);
    p.setBrush(color);
    for (int i = 0; i < lines; ++i) {
        const qreal length = r.width() * kLengths[static_cast<size_t>(seed + i * 3) % kLengths.size()];
        const QRectF bar(r.left(), r.top() + i * pitch + (pitch - thickness) / 2, length, thickness);
        p.drawRoundedRect(bar, thickness / 2, thickness / 2);
    }
    p.restore();
}

// One label: white with a coloured edge and an address.
void drawLabel(QPainter& p, const QRectF& r, const QColor& tint, int lines, int seed,
               bool shadow = true)
{
    const qreal radius = std::min(r.width(), r.height()) * 0.12;
    const QPainterPath shape = roundedRect(r, radius);
    if (shadow)
        softShadow(p, shape, QPointF(1.2, 1.6), 70);
    p.save();
    QLinearGradient face(r.topLeft(), r.bottomLeft());
    face.setColorAt(0, Qt::white);
    face.setColorAt(1, kPaper.darker(104));
    p.setPen(QPen(QColor(0x8a, 0x96, 0xa8), 0.6));
    p.setBrush(face);
    p.drawPath(shape);
    p.setClipPath(shape);
    const qreal stripe = std::max<qreal>(2.0, r.width() * 0.09);
    p.fillRect(QRectF(r.left(), r.top(), stripe, r.height()), tint);
    p.restore();
    const qreal margin = std::max<qreal>(2.0, r.height() * 0.16);
    if (lines > 0)
        addressBars(p, QRectF(r.left() + stripe + margin, r.top() + margin,
                              r.width() - stripe - 2 * margin, r.height() - 2 * margin),
                    lines, seed);
}

// A sheet of labels in a grid; each label carries an address when addresses is set.
void drawSheet(QPainter& p, const QRectF& r, int columns, int rows, bool addresses, int tintFrom = -1)
{
    const QPainterPath paper = roundedRect(r, 1.5);
    softShadow(p, paper, QPointF(2, 3), 90);
    p.save();
    p.setPen(QPen(QColor(0xb8, 0xc0, 0xcc), 0.7));
    QLinearGradient shade(r.topLeft(), r.bottomRight());
    shade.setColorAt(0, Qt::white);
    shade.setColorAt(1, QColor(0xee, 0xf1, 0xf5));
    p.setBrush(shade);
    p.drawPath(paper);

    const qreal margin = r.width() * 0.07;
    const qreal gap = r.width() * 0.035;
    const QRectF area = r.adjusted(margin, margin * 1.2, -margin, -margin * 1.2);
    const qreal w = (area.width() - gap * (columns - 1)) / columns;
    const qreal h = (area.height() - gap * (rows - 1)) / rows;
    for (int row = 0; row < rows; ++row) {
        for (int col = 0; col < columns; ++col) {
            const QRectF label(area.left() + col * (w + gap), area.top() + row * (h + gap), w, h);
            const qreal radius = std::min(w, h) * 0.18;
            const int index = row * columns + col;
            QColor fill(0xf6, 0xf8, 0xfb);
            if (tintFrom >= 0 && index % 3 == 0)
                fill = kLabelTints[static_cast<size_t>(tintFrom + index) % kLabelTints.size()].lighter(112);
            p.setPen(QPen(QColor(0x9e, 0xa9, 0xba), 0.6));
            p.setBrush(fill);
            p.drawRoundedRect(label, radius, radius);
            if (addresses && h > 5) {
                const qreal inset = std::max<qreal>(1.5, h * 0.18);
                addressBars(p, label.adjusted(inset, inset, -inset, -inset), h > 14 ? 3 : 2, index);
            }
        }
    }
    p.restore();
}

// A quill pen. The nib is at tip; the feather points along angle (degrees, clockwise from +x).
void drawQuill(QPainter& p, QPointF tip, qreal length, qreal angle)
{
    const qreal L = length;
    p.save();
    p.translate(tip);
    p.rotate(angle);

    // Shadow of the whole pen on the paper.
    QPainterPath outline;
    outline.moveTo(0, 0);
    outline.lineTo(0.2 * L, -0.03 * L);
    outline.cubicTo(0.45 * L, -0.2 * L, 0.8 * L, -0.17 * L, 1.02 * L, -0.03 * L);
    outline.cubicTo(0.8 * L, 0.09 * L, 0.5 * L, 0.07 * L, 0.2 * L, 0.03 * L);
    outline.closeSubpath();
    {
        p.save();
        p.setPen(Qt::NoPen);
        p.setBrush(QColor(0, 0, 0, 45));
        p.drawPath(outline.translated(0.02 * L, 0.06 * L));
        p.restore();
    }

    // Vane: cream in the middle, gold at the edges.
    QPainterPath vane;
    vane.moveTo(0.2 * L, 0);
    vane.cubicTo(0.42 * L, -0.19 * L, 0.78 * L, -0.18 * L, 1.02 * L, -0.02 * L);
    vane.cubicTo(0.82 * L, 0.085 * L, 0.5 * L, 0.075 * L, 0.24 * L, 0.018 * L);
    vane.closeSubpath();
    QLinearGradient vaneFill(0, -0.16 * L, 0, 0.08 * L);
    vaneFill.setColorAt(0.0, kGold);
    vaneFill.setColorAt(0.45, QColor(0xff, 0xf6, 0xdc));
    vaneFill.setColorAt(0.62, QColor(0xff, 0xf0, 0xc8));
    vaneFill.setColorAt(1.0, kGold.darker(108));
    p.setPen(QPen(kGoldDark, std::max<qreal>(0.5, L * 0.008)));
    p.setBrush(vaneFill);
    p.drawPath(vane);

    // Barbs.
    p.save();
    p.setClipPath(vane);
    p.setPen(QPen(QColor(0xb9, 0x7a, 0x10, 110), std::max<qreal>(0.4, L * 0.005)));
    for (qreal x = 0.26 * L; x < 1.0 * L; x += 0.045 * L) {
        p.drawLine(QPointF(x, 0), QPointF(x + 0.1 * L, -0.2 * L));
        p.drawLine(QPointF(x, 0), QPointF(x + 0.08 * L, 0.12 * L));
    }
    p.restore();

    // Shaft.
    p.setPen(QPen(QColor(0xfa, 0xf3, 0xe0), std::max<qreal>(0.8, L * 0.018), Qt::SolidLine, Qt::RoundCap));
    p.drawLine(QPointF(0.1 * L, 0), QPointF(1.06 * L, -0.005 * L));
    p.setPen(QPen(kGoldDark, std::max<qreal>(0.4, L * 0.006), Qt::SolidLine, Qt::RoundCap));
    p.drawLine(QPointF(0.12 * L, 0.004 * L), QPointF(1.04 * L, 0));

    // Nib: dark metal with a slit.
    QPainterPath nib;
    nib.moveTo(0, 0);
    nib.lineTo(0.13 * L, -0.035 * L);
    nib.quadTo(0.15 * L, 0, 0.13 * L, 0.035 * L);
    nib.closeSubpath();
    QLinearGradient metal(0, -0.035 * L, 0, 0.035 * L);
    metal.setColorAt(0, QColor(0x6b, 0x74, 0x86));
    metal.setColorAt(0.5, QColor(0xd8, 0xde, 0xe8));
    metal.setColorAt(1, QColor(0x38, 0x40, 0x52));
    p.setPen(QPen(QColor(0x22, 0x28, 0x36), std::max<qreal>(0.4, L * 0.005)));
    p.setBrush(metal);
    p.drawPath(nib);
    p.drawLine(QPointF(0.01 * L, 0), QPointF(0.08 * L, 0));
    p.restore();
}

// A line of handwriting, as the quill leaves it.
void drawFlourish(QPainter& p, QPointF start, qreal width, qreal height, qreal penWidth)
{
    QPainterPath ink;
    ink.moveTo(start);
    const int loops = 5;
    for (int i = 0; i < loops; ++i) {
        const qreal x0 = start.x() + width * i / loops;
        const qreal step = width / loops;
        ink.cubicTo(QPointF(x0 + step * 0.2, start.y() - height), QPointF(x0 + step * 0.7, start.y() - height),
                    QPointF(x0 + step * 0.45, start.y()));
        ink.cubicTo(QPointF(x0 + step * 0.35, start.y() + height * 0.35),
                    QPointF(x0 + step * 0.8, start.y() + height * 0.3), QPointF(x0 + step, start.y()));
    }
    p.save();
    p.setBrush(Qt::NoBrush);
    p.setPen(QPen(kInk, penWidth, Qt::SolidLine, Qt::RoundCap, Qt::RoundJoin));
    p.drawPath(ink);
    p.restore();
}

void drawEnvelope(QPainter& p, const QRectF& r)
{
    const QPainterPath body = roundedRect(r, 2);
    softShadow(p, body, QPointF(2, 3), 90);
    p.save();
    QLinearGradient paper(r.topLeft(), r.bottomLeft());
    paper.setColorAt(0, QColor(0xff, 0xfc, 0xf2));
    paper.setColorAt(1, QColor(0xf1, 0xe9, 0xd6));
    p.setPen(QPen(QColor(0xa8, 0x9c, 0x84), 0.8));
    p.setBrush(paper);
    p.drawPath(body);
    // Flap folds.
    p.setPen(QPen(QColor(0xc9, 0xbc, 0xa0), 0.9));
    p.drawLine(r.topLeft(), QPointF(r.center().x(), r.top() + r.height() * 0.52));
    p.drawLine(r.topRight(), QPointF(r.center().x(), r.top() + r.height() * 0.52));
    // Stamp with perforations.
    const QRectF stamp(r.right() - r.width() * 0.2, r.top() + r.height() * 0.1, r.width() * 0.13,
                       r.height() * 0.24);
    p.setPen(Qt::NoPen);
    p.setBrush(Qt::white);
    p.drawRect(stamp.adjusted(-1.5, -1.5, 1.5, 1.5));
    p.setBrush(kCoral);
    p.drawRect(stamp);
    p.setBrush(QColor(255, 255, 255, 200));
    p.drawEllipse(stamp.center(), stamp.width() * 0.22, stamp.width() * 0.22);
    p.restore();
    // Address label.
    drawLabel(p, QRectF(r.left() + r.width() * 0.3, r.top() + r.height() * 0.5, r.width() * 0.5,
                        r.height() * 0.34),
              kLabelTints[1], 3, 1, false);
}

void drawPrinter(QPainter& p, const QRectF& r)
{
    // Paper waiting in the tray at the back.
    const QRectF tray(r.left() + r.width() * 0.2, r.top(), r.width() * 0.6, r.height() * 0.4);
    drawSheet(p, tray, 2, 3, false);

    // Body.
    const QRectF body(r.left(), r.top() + r.height() * 0.28, r.width(), r.height() * 0.5);
    const QPainterPath bodyShape = roundedRect(body, r.width() * 0.06);
    softShadow(p, bodyShape, QPointF(2, 3), 100);
    p.save();
    QLinearGradient casing(body.topLeft(), body.bottomLeft());
    casing.setColorAt(0, QColor(0xf2, 0xf4, 0xf7));
    casing.setColorAt(0.5, QColor(0xd4, 0xd9, 0xe1));
    casing.setColorAt(1, QColor(0x9a, 0xa3, 0xb1));
    p.setPen(QPen(QColor(0x4a, 0x53, 0x63), 1));
    p.setBrush(casing);
    p.drawPath(bodyShape);
    // Output slot.
    const QRectF slot(body.left() + body.width() * 0.12, body.top() + body.height() * 0.62,
                      body.width() * 0.76, body.height() * 0.1);
    p.setPen(Qt::NoPen);
    p.setBrush(QColor(0x2a, 0x31, 0x3f));
    p.drawRoundedRect(slot, 2, 2);
    // Panel: a light and two buttons.
    p.setBrush(QColor(0x52, 0xd6, 0x6a));
    p.drawEllipse(QPointF(body.right() - body.width() * 0.12, body.top() + body.height() * 0.28),
                  body.height() * 0.06, body.height() * 0.06);
    p.setBrush(QColor(0x7d, 0x87, 0x97));
    for (int i = 0; i < 2; ++i)
        p.drawRoundedRect(QRectF(body.right() - body.width() * (0.36 - i * 0.1),
                                 body.top() + body.height() * 0.22, body.width() * 0.07,
                                 body.height() * 0.11),
                          1, 1);
    p.restore();

    // A sheet of printed labels coming out of the slot.
    const QRectF out(slot.left() + slot.width() * 0.1, slot.center().y(), slot.width() * 0.8,
                     r.bottom() - slot.center().y());
    drawSheet(p, out, 2, 3, true, 0);
}

// Little pictures of the clip-art library, each drawn in a unit box.
void drawClipArt(QPainter& p, const QRectF& r, int which)
{
    p.save();
    p.setRenderHint(QPainter::Antialiasing);
    const QPointF c = r.center();
    const qreal s = std::min(r.width(), r.height());
    switch (which % 8) {
    case 0: { // star
        QPolygonF star;
        for (int i = 0; i < 10; ++i) {
            const qreal a = -M_PI / 2 + i * M_PI / 5;
            const qreal radius = (i % 2 == 0) ? s * 0.46 : s * 0.19;
            star << QPointF(c.x() + radius * std::cos(a), c.y() + radius * std::sin(a));
        }
        QRadialGradient g(c, s * 0.5);
        g.setColorAt(0, QColor(0xff, 0xe8, 0x8a));
        g.setColorAt(1, kGold);
        p.setPen(QPen(kGoldDark, s * 0.03, Qt::SolidLine, Qt::RoundCap, Qt::RoundJoin));
        p.setBrush(g);
        p.drawPolygon(star);
        break;
    }
    case 1: { // heart
        QPainterPath heart;
        heart.moveTo(c.x(), c.y() + s * 0.4);
        heart.cubicTo(c.x() - s * 0.6, c.y() - s * 0.05, c.x() - s * 0.3, c.y() - s * 0.5, c.x(), c.y() - s * 0.18);
        heart.cubicTo(c.x() + s * 0.3, c.y() - s * 0.5, c.x() + s * 0.6, c.y() - s * 0.05, c.x(), c.y() + s * 0.4);
        QRadialGradient g(c - QPointF(s * 0.12, s * 0.12), s * 0.55);
        g.setColorAt(0, QColor(0xff, 0x9a, 0x8a));
        g.setColorAt(1, QColor(0xd6, 0x2d, 0x3c));
        p.setPen(QPen(QColor(0x8e, 0x16, 0x22), s * 0.03));
        p.setBrush(g);
        p.drawPath(heart);
        break;
    }
    case 2: { // sun
        p.setPen(QPen(QColor(0xf0, 0x8c, 0x1a), s * 0.06, Qt::SolidLine, Qt::RoundCap));
        for (int i = 0; i < 8; ++i) {
            const qreal a = i * M_PI / 4;
            p.drawLine(QPointF(c.x() + s * 0.3 * std::cos(a), c.y() + s * 0.3 * std::sin(a)),
                       QPointF(c.x() + s * 0.46 * std::cos(a), c.y() + s * 0.46 * std::sin(a)));
        }
        QRadialGradient g(c, s * 0.24);
        g.setColorAt(0, QColor(0xff, 0xf0, 0x90));
        g.setColorAt(1, QColor(0xf7, 0xa8, 0x1c));
        p.setPen(Qt::NoPen);
        p.setBrush(g);
        p.drawEllipse(c, s * 0.24, s * 0.24);
        break;
    }
    case 3: { // fir tree
        p.setPen(Qt::NoPen);
        p.setBrush(QColor(0x7a, 0x4a, 0x22));
        p.drawRect(QRectF(c.x() - s * 0.06, c.y() + s * 0.25, s * 0.12, s * 0.2));
        QLinearGradient g(c.x() - s * 0.4, 0, c.x() + s * 0.4, 0);
        g.setColorAt(0, QColor(0x5c, 0xb8, 0x4a));
        g.setColorAt(1, QColor(0x1f, 0x6e, 0x2e));
        p.setBrush(g);
        for (int i = 0; i < 3; ++i) {
            const qreal top = c.y() - s * 0.45 + i * s * 0.18;
            const qreal half = s * (0.2 + i * 0.1);
            p.drawPolygon(QPolygonF({QPointF(c.x(), top), QPointF(c.x() + half, top + s * 0.32),
                                     QPointF(c.x() - half, top + s * 0.32)}));
        }
        break;
    }
    case 4: { // house
        p.setPen(QPen(QColor(0x5a, 0x2a, 0x1a), s * 0.025));
        p.setBrush(QColor(0xf5, 0xe6, 0xc8));
        p.drawRect(QRectF(c.x() - s * 0.3, c.y() - s * 0.05, s * 0.6, s * 0.45));
        p.setBrush(QColor(0xc8, 0x3c, 0x2c));
        p.drawPolygon(QPolygonF({QPointF(c.x() - s * 0.42, c.y() - s * 0.02), QPointF(c.x(), c.y() - s * 0.42),
                                 QPointF(c.x() + s * 0.42, c.y() - s * 0.02)}));
        p.setBrush(QColor(0x3b, 0x6e, 0xb4));
        p.drawRect(QRectF(c.x() - s * 0.08, c.y() + s * 0.14, s * 0.16, s * 0.26));
        break;
    }
    case 5: { // flower
        p.setPen(Qt::NoPen);
        p.setBrush(QColor(0xe8, 0x7a, 0xc0));
        for (int i = 0; i < 6; ++i) {
            const qreal a = i * M_PI / 3;
            p.drawEllipse(QPointF(c.x() + s * 0.22 * std::cos(a), c.y() + s * 0.22 * std::sin(a)), s * 0.16, s * 0.16);
        }
        p.setBrush(QColor(0xff, 0xd2, 0x3a));
        p.drawEllipse(c, s * 0.14, s * 0.14);
        break;
    }
    case 6: { // music note
        p.setPen(Qt::NoPen);
        p.setBrush(QColor(0x4b, 0x3c, 0xb0));
        p.drawEllipse(QPointF(c.x() - s * 0.14, c.y() + s * 0.28), s * 0.15, s * 0.11);
        p.drawEllipse(QPointF(c.x() + s * 0.26, c.y() + s * 0.18), s * 0.15, s * 0.11);
        p.setPen(QPen(QColor(0x4b, 0x3c, 0xb0), s * 0.06));
        p.drawLine(QPointF(c.x() - s * 0.01, c.y() + s * 0.28), QPointF(c.x() - s * 0.01, c.y() - s * 0.38));
        p.drawLine(QPointF(c.x() + s * 0.39, c.y() + s * 0.18), QPointF(c.x() + s * 0.39, c.y() - s * 0.46));
        p.setPen(QPen(QColor(0x4b, 0x3c, 0xb0), s * 0.1));
        p.drawLine(QPointF(c.x() - s * 0.01, c.y() - s * 0.34), QPointF(c.x() + s * 0.39, c.y() - s * 0.42));
        break;
    }
    default: { // balloon
        QRadialGradient g(c - QPointF(s * 0.1, s * 0.18), s * 0.45);
        g.setColorAt(0, QColor(0x9a, 0xe0, 0xff));
        g.setColorAt(1, QColor(0x1f, 0x7a, 0xd0));
        p.setPen(QPen(QColor(0x55, 0x5f, 0x70), s * 0.02));
        p.drawLine(QPointF(c.x(), c.y() + s * 0.2), QPointF(c.x() + s * 0.05, c.y() + s * 0.48));
        p.setPen(Qt::NoPen);
        p.setBrush(g);
        p.drawEllipse(QPointF(c.x(), c.y() - s * 0.1), s * 0.27, s * 0.32);
        break;
    }
    }
    p.restore();
}

// A card of clip-art tiles.
void drawClipArtCard(QPainter& p, const QRectF& r, int columns, int rows, int first)
{
    const QPainterPath card = roundedRect(r, 4);
    softShadow(p, card, QPointF(2, 3), 90);
    p.save();
    p.setPen(QPen(QColor(0xa0, 0xab, 0xbc), 0.8));
    p.setBrush(QColor(0xfb, 0xfc, 0xfe));
    p.drawPath(card);
    const qreal pad = 6;
    const qreal w = (r.width() - 2 * pad) / columns;
    const qreal h = (r.height() - 2 * pad) / rows;
    for (int row = 0; row < rows; ++row)
        for (int col = 0; col < columns; ++col) {
            const QRectF cell(r.left() + pad + col * w, r.top() + pad + row * h, w, h);
            p.setPen(QPen(QColor(0xdd, 0xe3, 0xec), 0.8));
            p.setBrush(QColor(0xf0, 0xf4, 0xf9));
            p.drawRoundedRect(cell.adjusted(2, 2, -2, -2), 3, 3);
            drawClipArt(p, cell.adjusted(7, 7, -7, -7), first + row * columns + col);
        }
    p.restore();
}

// ---------------------------------------------------------------------------------------------
// Button faces: raised for the normal face, sunken with the content moved for the pressed face.

void drawBevel(QPainter& p, const QRect& r, bool sunken)
{
    const QColor light(0xff, 0xff, 0xff), soft(0xe2, 0xe8, 0xf0), shade(0x7c, 0x88, 0x99),
        dark(0x1b, 0x23, 0x33);
    p.save();
    p.setRenderHint(QPainter::Antialiasing, false);
    auto edge = [&](int inset, const QColor& topLeft, const QColor& bottomRight) {
        const QRect e = r.adjusted(inset, inset, -inset - 1, -inset - 1);
        p.setPen(topLeft);
        p.drawLine(e.topLeft(), e.topRight());
        p.drawLine(e.topLeft(), e.bottomLeft());
        p.setPen(bottomRight);
        p.drawLine(e.bottomLeft(), e.bottomRight());
        p.drawLine(e.topRight(), e.bottomRight());
    };
    if (sunken) {
        edge(0, dark, light);
        edge(1, shade, soft);
    } else {
        edge(0, light, dark);
        edge(1, soft, shade);
    }
    p.restore();
}

QImage drawButton(const std::function<void(QPainter&, const QRectF&)>& content, bool pressed)
{
    QImage image(84, 84, QImage::Format_RGB32);
    QPainter p(&image);
    p.setRenderHint(QPainter::Antialiasing);
    p.setRenderHint(QPainter::TextAntialiasing);
    QLinearGradient face(0, 0, 0, 84);
    face.setColorAt(0, pressed ? QColor(0xd0, 0xd9, 0xe5) : QColor(0xf1, 0xf5, 0xfa));
    face.setColorAt(1, pressed ? QColor(0xc4, 0xce, 0xdc) : QColor(0xc8, 0xd3, 0xe1));
    p.fillRect(image.rect(), face);
    {
        p.save();
        if (pressed)
            p.translate(1, 1);
        content(p, QRectF(10, 10, 64, 64));
        p.restore();
    }
    drawBevel(p, image.rect(), pressed);
    return image;
}

void minimumContent(QPainter& p, const QRectF& r)
{
    // A single label, tilted a little, with a tie hole like a parcel tag.
    p.save();
    p.translate(r.center());
    p.rotate(-8);
    const QRectF label(-27, -17, 54, 34);
    drawLabel(p, label, kLabelTints[0], 3, 2);
    p.restore();
}

void typicalContent(QPainter& p, const QRectF& r)
{
    p.save();
    p.translate(r.center() + QPointF(-5, 0));
    p.rotate(-6);
    drawSheet(p, QRectF(-21, -29, 42, 58), 2, 5, true, 1);
    p.restore();
    drawQuill(p, QPointF(r.left() + 30, r.top() + 44), 42, -52);
}

void customContent(QPainter& p, const QRectF& r)
{
    // A box of label sheets, with clip art and a font beside it.
    const qreal bx = r.left(), by = r.top() + 32, bw = 31, bh = 26, depth = 7;
    // Sheets sticking out of the box.
    p.save();
    p.translate(bx + bw / 2 + 3, by - 4);
    p.rotate(-10);
    drawSheet(p, QRectF(-13, -18, 26, 30), 2, 4, false, 0);
    p.restore();
    p.save();
    p.translate(bx + bw / 2 - 4, by - 2);
    p.rotate(6);
    drawSheet(p, QRectF(-12, -15, 24, 26), 2, 3, true);
    p.restore();
    // The box: front, side and top rim.
    p.save();
    QPolygonF side({QPointF(bx + bw, by), QPointF(bx + bw + depth, by - depth * 0.6),
                    QPointF(bx + bw + depth, by + bh - depth * 0.6), QPointF(bx + bw, by + bh)});
    p.setPen(QPen(QColor(0x5a, 0x3a, 0x12), 0.8));
    p.setBrush(QColor(0xb7, 0x7c, 0x2e));
    p.drawPolygon(side);
    QLinearGradient front(bx, by, bx, by + bh);
    front.setColorAt(0, QColor(0xf0, 0xb8, 0x5c));
    front.setColorAt(1, QColor(0xd0, 0x8e, 0x38));
    p.setBrush(front);
    p.drawRect(QRectF(bx, by, bw, bh));
    p.setPen(Qt::NoPen);
    p.setBrush(kBlue);
    p.drawRect(QRectF(bx, by + bh * 0.35, bw, bh * 0.28));
    p.restore();
    drawClipArt(p, QRectF(bx + 6, by + bh * 0.33, bw * 0.34, bh * 0.34), 0);
    // Clip art and font.
    drawClipArt(p, QRectF(r.right() - 23, r.top() + 4, 20, 20), 1);
    const QRectF font(bx + bw + depth + 1, r.top() + 34, r.right() + 2 - (bx + bw + depth + 1), 26);
    p.save();
    p.setFont(serif(21, true));
    p.setPen(QColor(0, 0, 0, 60));
    p.drawText(font.translated(1, 1), Qt::AlignCenter, "Aa");
    p.setPen(kInk);
    p.drawText(font, Qt::AlignCenter, "Aa");
    p.restore();
}

// ---------------------------------------------------------------------------------------------
// Picture panel

QImage drawWizardPanel()
{
    QImage image(120, 240, QImage::Format_RGB32);
    QPainter p(&image);
    p.setRenderHint(QPainter::Antialiasing);
    p.setRenderHint(QPainter::TextAntialiasing);
    const QRectF all = image.rect();
    paintBackdrop(p, all, QPointF(60, 80), true);

    // A stack of label sheets, the top one being written on.
    const QPointF centre(58, 102);
    const std::array<qreal, 3> tilt = {-11, -4, 3};
    for (size_t i = 0; i < tilt.size(); ++i) {
        p.save();
        p.translate(centre + QPointF(-4.0 + 3.0 * static_cast<qreal>(i), -2.0 * static_cast<qreal>(i)));
        p.rotate(tilt[i]);
        drawSheet(p, QRectF(-36, -48, 72, 96), 2, 5, i == tilt.size() - 1, i == tilt.size() - 1 ? 0 : -1);
        if (i == tilt.size() - 1) {
            // The label being written: a coloured one near the bottom.
            drawLabel(p, QRectF(-30, 20, 60, 22), kLabelTints[2], 0, 0, true);
            drawFlourish(p, QPointF(-20, 33), 30, 5, 1.1);
        }
        p.restore();
    }
    drawQuill(p, QPointF(centre.x() + 13, centre.y() + 35), 76, -60);

    // Product name at the bottom.
    p.setPen(QPen(QColor(kGold.red(), kGold.green(), kGold.blue(), 200), 1));
    p.drawLine(QPointF(22, 196), QPointF(98, 196));
    drawFittedLine(p, QRectF(4, 164, 112, 30), serif(23, true), QStringLiteral("Quillmark"),
                   Qt::AlignHCenter, Qt::white, QColor(0, 0, 0, 120));
    drawFittedLine(p, QRectF(4, 198, 112, 30), serif(24, true, true), QStringLiteral("2.0"),
                   Qt::AlignHCenter, kGold, QColor(0, 0, 0, 120));
    return image;
}

// ---------------------------------------------------------------------------------------------
// Splash

QImage drawSplash()
{
    QImage image(420, 270, QImage::Format_RGB32);
    QPainter p(&image);
    p.setRenderHint(QPainter::Antialiasing);
    p.setRenderHint(QPainter::TextAntialiasing);
    const QRectF all = image.rect();
    paintBackdrop(p, all, QPointF(120, 110), false);

    // Composition at the left: a sheet of address labels, loose labels and the quill.
    p.save();
    p.translate(104, 132);
    p.rotate(-9);
    drawSheet(p, QRectF(-62, -82, 124, 164), 2, 6, true, 2);
    p.restore();

    // A name badge.
    p.save();
    p.translate(164, 62);
    p.rotate(8);
    {
        const QRectF badge(-40, -24, 80, 48);
        const QPainterPath shape = roundedRect(badge, 6);
        softShadow(p, shape, QPointF(2, 3), 100);
        p.setPen(QPen(QColor(0x8a, 0x96, 0xa8), 0.7));
        p.setBrush(Qt::white);
        p.drawPath(shape);
        p.save();
        p.setClipPath(shape);
        p.fillRect(QRectF(badge.left(), badge.top(), badge.width(), 17), kCoral);
        p.restore();
        drawFittedLine(p, QRectF(badge.left(), badge.top() + 1, badge.width(), 15), sans(12, true),
                       QStringLiteral("HELLO"), Qt::AlignHCenter, Qt::white);
        drawFlourish(p, QPointF(badge.left() + 12, badge.top() + 34), 54, 6, 1.3);
    }
    p.restore();

    // A disk label.
    p.save();
    p.translate(56, 218);
    p.rotate(-4);
    {
        const QRectF disk(-30, -30, 60, 62);
        const QPainterPath shape = roundedRect(disk, 3);
        softShadow(p, shape, QPointF(2, 3), 100);
        p.setPen(QPen(QColor(0x10, 0x14, 0x20), 0.8));
        p.setBrush(QColor(0x2b, 0x33, 0x45));
        p.drawPath(shape);
        p.setPen(Qt::NoPen);
        p.setBrush(QColor(0xb8, 0xc0, 0xcc));
        p.drawRect(QRectF(-14, -30, 28, 18));
        p.setBrush(QColor(0x2b, 0x33, 0x45));
        p.drawRect(QRectF(4, -27, 6, 12));
        drawLabel(p, QRectF(-25, -6, 50, 33), kLabelTints[3], 3, 4, false);
    }
    p.restore();

    drawQuill(p, QPointF(146, 174), 104, -50);

    // Product name, version and tag line at the right.
    const qreal left = 222;
    const QRectF nameBox(left, 50, 420 - left - 12, 56);
    drawFittedLine(p, nameBox, serif(50, true), QStringLiteral("Quillmark"), Qt::AlignLeft, Qt::white,
                   QColor(0, 0, 0, 130));
    drawFittedLine(p, QRectF(left, 104, 190, 52), serif(46, true, true), QStringLiteral("2.0"),
                   Qt::AlignLeft, kGold, QColor(0, 0, 0, 130));
    p.setPen(QPen(kGold, 1.5));
    p.drawLine(QPointF(left + 2, 164), QPointF(404, 164));
    drawFittedLine(p, QRectF(left, 170, 186, 28), serif(20, false, true), QStringLiteral("Labels made easy"),
                   Qt::AlignLeft, kBodyText, QColor(0, 0, 0, 110));
    drawFittedLine(p, QRectF(left, 226, 186, 16), sans(10.5), QStringLiteral("Mailing labels \u00b7 Name badges"),
                   Qt::AlignLeft, QColor(0xb8, 0xd6, 0xe4));
    drawFittedLine(p, QRectF(left, 242, 186, 16), sans(10.5), QStringLiteral("Disk labels \u00b7 Clip art \u00b7 Fonts"),
                   Qt::AlignLeft, QColor(0xb8, 0xd6, 0xe4));
    return image;
}

// The pressed face: the picture moved one pixel right and down under a dark top and left edge.
QImage pressedSplash(const QImage& normal)
{
    QImage image(normal.size(), QImage::Format_RGB32);
    QPainter p(&image);
    p.drawImage(QPoint(1, 1), normal);
    p.setPen(QColor(0x05, 0x0b, 0x22));
    p.drawLine(0, 0, image.width() - 1, 0);
    p.drawLine(0, 0, 0, image.height() - 1);
    return image;
}

// ---------------------------------------------------------------------------------------------
// Billboards: a headline and a few lines at the left, a picture at the right.

QImage drawBillboard(const QString& headline, const QString& body,
                     const std::function<void(QPainter&, const QRectF&)>& illustration)
{
    QImage image(400, 220, QImage::Format_RGB32);
    QPainter p(&image);
    p.setRenderHint(QPainter::Antialiasing);
    p.setRenderHint(QPainter::TextAntialiasing);
    const QRectF all = image.rect();
    paintBackdrop(p, all, QPointF(300, 90), false);

    illustration(p, QRectF(222, 16, 164, 188));

    const qreal left = 18, width = 198;
    const qreal used = drawWrapped(p, QRectF(left, 18, width, 96), serif(25, true), headline, Qt::white,
                                   QColor(0, 0, 0, 130));
    const qreal ruleY = 20 + used + 8;
    p.setPen(QPen(kGold, 1.5));
    p.drawLine(QPointF(left + 1, ruleY), QPointF(left + 56, ruleY));
    drawWrapped(p, QRectF(left, ruleY + 10, width, 182 - ruleY - 10), sans(13), body, kBodyText);

    // Signature line, the same on every billboard.
    drawFittedLine(p, QRectF(left, 188, 150, 18), serif(14, true, true), QStringLiteral("Quillmark 2.0"),
                   Qt::AlignLeft, kGold, QColor(0, 0, 0, 110));
    return image;
}

void templatesPicture(QPainter& p, const QRectF& r)
{
    // Thumbnails of a few sheet layouts behind a large sheet of labels.
    const std::array<std::pair<int, int>, 3> layouts = {{{1, 4}, {3, 8}, {2, 2}}};
    for (size_t i = 0; i < layouts.size(); ++i) {
        const QRectF thumb(r.left() + 6 + static_cast<qreal>(i) * 52, r.top() + 4, 44, 58);
        drawSheet(p, thumb, layouts[i].first, layouts[i].second, false, static_cast<int>(i));
    }
    p.save();
    p.translate(r.left() + 80, r.top() + 122);
    p.rotate(-6);
    drawSheet(p, QRectF(-50, -50, 100, 110), 2, 4, true, 0);
    p.restore();
    drawQuill(p, QPointF(r.left() + 104, r.top() + 146), 78, -45);
}

void clipArtPicture(QPainter& p, const QRectF& r)
{
    p.save();
    p.translate(r.left() + 84, r.top() + 86);
    p.rotate(4);
    drawClipArtCard(p, QRectF(-74, -72, 148, 148), 3, 3, 0);
    p.restore();
    // A label dressed with one of the pictures, laid over the card.
    p.save();
    p.translate(r.left() + 46, r.top() + 166);
    p.rotate(-7);
    const QRectF label(-42, -16, 84, 32);
    drawLabel(p, label, kLabelTints[2], 0, 0);
    drawClipArt(p, QRectF(label.left() + 10, label.top() + 4, 24, 24), 1);
    addressBars(p, QRectF(label.left() + 38, label.top() + 8, 38, 16), 3, 2);
    p.restore();
}

void mailMergePicture(QPainter& p, const QRectF& r)
{
    // An address list card, a printer printing the labels, and an envelope carrying one.
    const QRectF list(r.left() + 2, r.top() + 2, 70, 78);
    const QPainterPath card = roundedRect(list, 3);
    softShadow(p, card, QPointF(2, 3), 90);
    p.save();
    p.setPen(QPen(QColor(0xa0, 0xab, 0xbc), 0.8));
    p.setBrush(Qt::white);
    p.drawPath(card);
    p.setPen(Qt::NoPen);
    p.setBrush(kBlue);
    p.drawRect(QRectF(list.left(), list.top(), list.width(), 12));
    for (int i = 0; i < 5; ++i) {
        const qreal y = list.top() + 16 + i * 12;
        p.setBrush(kLabelTints[static_cast<size_t>(i) % kLabelTints.size()]);
        p.drawEllipse(QPointF(list.left() + 8, y + 4), 2.5, 2.5);
        addressBars(p, QRectF(list.left() + 14, y, 50, 8), 2, i);
    }
    p.restore();

    drawPrinter(p, QRectF(r.left() + 64, r.top() + 12, 96, 112));
    p.save();
    p.translate(r.left() + 56, r.top() + 152);
    p.rotate(-5);
    drawEnvelope(p, QRectF(-52, -28, 104, 58));
    p.restore();
}

void thanksPicture(QPainter& p, const QRectF& r)
{
    // A gift label, signed, with the quill laid down beside it.
    p.save();
    p.translate(r.left() + 80, r.top() + 86);
    p.rotate(-8);
    const QRectF tag(-68, -42, 136, 84);
    const QPainterPath shape = roundedRect(tag, 8);
    softShadow(p, shape, QPointF(2, 4), 110);
    QLinearGradient face(tag.topLeft(), tag.bottomLeft());
    face.setColorAt(0, Qt::white);
    face.setColorAt(1, kPaper.darker(104));
    p.setPen(QPen(QColor(0x8a, 0x96, 0xa8), 0.8));
    p.setBrush(face);
    p.drawPath(shape);
    p.save();
    p.setClipPath(shape);
    p.fillRect(QRectF(tag.left(), tag.top(), tag.width(), 20), kGold);
    p.restore();
    drawFittedLine(p, QRectF(tag.left(), tag.top() + 2, tag.width(), 17), sans(12, true),
                   QStringLiteral("WITH THANKS"), Qt::AlignHCenter, kInk);
    drawFittedLine(p, QRectF(tag.left() + 10, tag.top() + 26, tag.width() - 20, 32), serif(24, false, true),
                   QStringLiteral("Thank you!"), Qt::AlignHCenter, kInk);
    drawFlourish(p, QPointF(tag.left() + 30, tag.top() + 68), 76, 6, 1.4);
    p.restore();

    drawClipArt(p, QRectF(r.left() + 142, r.top() + 2, 18, 18), 0);
    drawClipArt(p, QRectF(r.left() + 2, r.top() + 20, 13, 13), 0);
    drawClipArt(p, QRectF(r.left() + 136, r.top() + 136, 16, 16), 1);
    drawQuill(p, QPointF(r.left() + 14, r.top() + 170), 118, -16);
}

// ---------------------------------------------------------------------------------------------
// Reduction to 256 colours: median cut, refined by k-means, then Floyd-Steinberg dithering.

struct Box {
    std::vector<QRgb> pixels;
    int longestAxis = 0;
    int range = 0;
};

int channel(QRgb c, int axis)
{
    return axis == 0 ? qRed(c) : axis == 1 ? qGreen(c) : qBlue(c);
}

void measure(Box& box)
{
    std::array<int, 3> lo = {255, 255, 255}, hi = {0, 0, 0};
    for (QRgb c : box.pixels)
        for (int a = 0; a < 3; ++a) {
            lo[static_cast<size_t>(a)] = std::min(lo[static_cast<size_t>(a)], channel(c, a));
            hi[static_cast<size_t>(a)] = std::max(hi[static_cast<size_t>(a)], channel(c, a));
        }
    box.range = -1;
    for (int a = 0; a < 3; ++a) {
        // Green counts most and blue least for the eye.
        static const std::array<int, 3> kWeight = {3, 4, 2};
        const int weighted = (hi[static_cast<size_t>(a)] - lo[static_cast<size_t>(a)]) * kWeight[static_cast<size_t>(a)];
        if (weighted > box.range) {
            box.range = weighted;
            box.longestAxis = a;
        }
    }
}

std::vector<QRgb> buildPalette(const QImage& image)
{
    Box all;
    for (int y = 0; y < image.height(); ++y) {
        const auto* line = reinterpret_cast<const QRgb*>(image.constScanLine(y));
        all.pixels.insert(all.pixels.end(), line, line + image.width());
    }
    std::vector<QRgb> distinct = all.pixels;
    std::sort(distinct.begin(), distinct.end());
    distinct.erase(std::unique(distinct.begin(), distinct.end()), distinct.end());
    if (distinct.size() <= 256)
        return distinct;

    measure(all);
    std::vector<Box> boxes;
    boxes.push_back(std::move(all));
    while (boxes.size() < 256) {
        // Split the box whose spread, weighted by its population, is largest.
        size_t pick = 0;
        double best = -1;
        for (size_t i = 0; i < boxes.size(); ++i) {
            const double score = boxes[i].range * std::sqrt(static_cast<double>(boxes[i].pixels.size()));
            if (boxes[i].range > 0 && score > best) {
                best = score;
                pick = i;
            }
        }
        if (best < 0)
            break;
        Box& box = boxes[pick];
        const int axis = box.longestAxis;
        std::sort(box.pixels.begin(), box.pixels.end(),
                  [axis](QRgb a, QRgb b) { return channel(a, axis) != channel(b, axis) ? channel(a, axis) < channel(b, axis) : a < b; });
        size_t half = box.pixels.size() / 2;
        // Keep equal values together so that both halves shrink.
        while (half > 0 && half < box.pixels.size() && channel(box.pixels[half], axis) == channel(box.pixels[half - 1], axis))
            ++half;
        if (half == box.pixels.size())
            half = box.pixels.size() / 2;
        Box upper;
        upper.pixels.assign(box.pixels.begin() + static_cast<long>(half), box.pixels.end());
        box.pixels.resize(half);
        measure(box);
        measure(upper);
        boxes.push_back(std::move(upper));
    }

    std::vector<std::array<double, 3>> centres;
    for (const Box& box : boxes) {
        std::array<double, 3> sum = {0, 0, 0};
        for (QRgb c : box.pixels)
            for (int a = 0; a < 3; ++a)
                sum[static_cast<size_t>(a)] += channel(c, a);
        for (double& s : sum)
            s /= static_cast<double>(box.pixels.size());
        centres.push_back(sum);
    }

    // A few k-means passes over the distinct colours, weighted by how often each occurs.
    std::vector<QRgb> pixelsSorted;
    for (const Box& box : boxes)
        pixelsSorted.insert(pixelsSorted.end(), box.pixels.begin(), box.pixels.end());
    std::sort(pixelsSorted.begin(), pixelsSorted.end());
    std::vector<std::pair<QRgb, int>> weighted;
    for (QRgb c : pixelsSorted) {
        if (!weighted.empty() && weighted.back().first == c)
            ++weighted.back().second;
        else
            weighted.emplace_back(c, 1);
    }
    for (int pass = 0; pass < 6; ++pass) {
        std::vector<std::array<double, 4>> sums(centres.size(), {0, 0, 0, 0});
        for (const auto& [c, count] : weighted) {
            size_t nearest = 0;
            double bestDistance = 1e18;
            for (size_t k = 0; k < centres.size(); ++k) {
                const double dr = qRed(c) - centres[k][0], dg = qGreen(c) - centres[k][1], db = qBlue(c) - centres[k][2];
                const double d = 3 * dr * dr + 4 * dg * dg + 2 * db * db;
                if (d < bestDistance) {
                    bestDistance = d;
                    nearest = k;
                }
            }
            sums[nearest][0] += qRed(c) * count;
            sums[nearest][1] += qGreen(c) * count;
            sums[nearest][2] += qBlue(c) * count;
            sums[nearest][3] += count;
        }
        for (size_t k = 0; k < centres.size(); ++k)
            if (sums[k][3] > 0)
                for (size_t a = 0; a < 3; ++a)
                    centres[k][a] = sums[k][a] / sums[k][3];
    }

    std::vector<QRgb> palette;
    for (const auto& c : centres)
        palette.push_back(qRgb(static_cast<int>(std::lround(c[0])), static_cast<int>(std::lround(c[1])),
                               static_cast<int>(std::lround(c[2]))));
    return palette;
}

QImage toIndexed(const QImage& source)
{
    const QImage image = source.convertToFormat(QImage::Format_RGB32);
    const std::vector<QRgb> palette = buildPalette(image);
    QImage out(image.size(), QImage::Format_Indexed8);
    out.setColorTable(QList<QRgb>(palette.begin(), palette.end()));

    const int w = image.width();
    std::vector<std::array<double, 3>> errorHere(static_cast<size_t>(w) + 2, {0, 0, 0});
    std::vector<std::array<double, 3>> errorNext(static_cast<size_t>(w) + 2, {0, 0, 0});
    for (int y = 0; y < image.height(); ++y) {
        const auto* line = reinterpret_cast<const QRgb*>(image.constScanLine(y));
        uchar* target = out.scanLine(y);
        // Serpentine order keeps the dither free of diagonal streaks.
        const bool forward = y % 2 == 0;
        for (int i = 0; i < w; ++i) {
            const int x = forward ? i : w - 1 - i;
            const auto xi = static_cast<size_t>(x + 1);
            std::array<double, 3> want = {qRed(line[x]) + errorHere[xi][0], qGreen(line[x]) + errorHere[xi][1],
                                          qBlue(line[x]) + errorHere[xi][2]};
            for (double& v : want)
                v = std::clamp(v, 0.0, 255.0);
            size_t nearest = 0;
            double bestDistance = 1e18;
            for (size_t k = 0; k < palette.size(); ++k) {
                const double dr = want[0] - qRed(palette[k]), dg = want[1] - qGreen(palette[k]),
                             db = want[2] - qBlue(palette[k]);
                const double d = 3 * dr * dr + 4 * dg * dg + 2 * db * db;
                if (d < bestDistance) {
                    bestDistance = d;
                    nearest = k;
                }
            }
            target[x] = static_cast<uchar>(nearest);
            const std::array<double, 3> err = {want[0] - qRed(palette[nearest]), want[1] - qGreen(palette[nearest]),
                                               want[2] - qBlue(palette[nearest])};
            const size_t ahead = forward ? xi + 1 : xi - 1, behind = forward ? xi - 1 : xi + 1;
            for (size_t a = 0; a < 3; ++a) {
                errorHere[ahead][a] += err[a] * 7 / 16;
                errorNext[behind][a] += err[a] * 3 / 16;
                errorNext[xi][a] += err[a] * 5 / 16;
                errorNext[ahead][a] += err[a] * 1 / 16;
            }
        }
        std::swap(errorHere, errorNext);
        std::fill(errorNext.begin(), errorNext.end(), std::array<double, 3>{0, 0, 0});
    }
    return out;
}

void save(const QImage& picture, const QString& directory, const QString& name, QSize expected)
{
    if (picture.size() != expected)
        throw std::runtime_error(name.toStdString() + " has the wrong size");
    const QString path = QDir(directory).filePath(name);
    if (!toIndexed(picture).save(path, "BMP"))
        throw std::runtime_error("cannot write " + path.toStdString());
    std::printf("%s\n", qPrintable(path));
}

} // namespace

int main(int argc, char** argv)
{
    // Drawing needs no display.
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    QGuiApplication app(argc, argv);
    if (argc != 2) {
        std::fprintf(stderr, "usage: %s <output directory>\n", argv[0]);
        return 2;
    }
    try {
        requireFonts();
        const QString out = QString::fromLocal8Bit(argv[1]);
        if (!QDir().mkpath(out))
            throw std::runtime_error("cannot create " + out.toStdString());

        save(drawWizardPanel(), out, "wizbitu.bmp", {120, 240});
        const QImage splash = drawSplash();
        save(splash, out, "splashbitu.bmp", {420, 270});
        save(pressedSplash(splash), out, "splashbitd.bmp", {420, 270});

        const std::array<std::pair<const char*, void (*)(QPainter&, const QRectF&)>, 3> buttons = {
            {{"minimum", minimumContent}, {"typical", typicalContent}, {"custom", customContent}}};
        for (const auto& [name, content] : buttons) {
            save(drawButton(content, false), out, QString("%1u.bmp").arg(name), {84, 84});
            save(drawButton(content, true), out, QString("%1d.bmp").arg(name), {84, 84});
        }

        save(drawBillboard(QStringLiteral("Design labels in minutes"),
                           QStringLiteral("Ready-made templates for every popular label sheet: "
                                          "addresses, badges, disks and folders."),
                           templatesPicture),
             out, "billboard145.bmp", {400, 220});
        save(drawBillboard(QStringLiteral("Hundreds of pieces of clip art"),
                           QStringLiteral("Brighten every label with pictures for holidays, "
                                          "business and home."),
                           clipArtPicture),
             out, "billboard146.bmp", {400, 220});
        save(drawBillboard(QStringLiteral("Print addresses from your lists"),
                           QStringLiteral("Merge names and addresses into labels and envelopes, "
                                          "then print them all at once."),
                           mailMergePicture),
             out, "billboard147.bmp", {400, 220});
        save(drawBillboard(QStringLiteral("Thank you for choosing Quillmark 2.0"),
                           QStringLiteral("Setup will finish in a moment. Enjoy designing your labels!"),
                           thanksPicture),
             out, "billboard153.bmp", {400, 220});
    } catch (const std::exception& error) {
        std::fprintf(stderr, "qm_draw_pictures: %s\n", error.what());
        return 1;
    }
    return 0;
}
