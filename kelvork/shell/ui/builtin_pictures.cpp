#include "builtin_pictures.h"

#include "texts.h"

#include <QFont>
#include <QLinearGradient>
#include <QPainter>
#include <QPainterPath>
#include <QRadialGradient>

#include <cmath>

namespace kelvork::ui {
namespace {

constexpr int kButtonW = 80;
constexpr int kButtonH = 79;
const QColor kInk(0x1f, 0x3a, 0x5f);

QPixmap transparentPixmap(int w, int h)
{
    QPixmap pm(w, h);
    pm.fill(Qt::transparent);
    return pm;
}

void antialias(QPainter& p)
{
    p.setRenderHint(QPainter::Antialiasing);
    p.setRenderHint(QPainter::TextAntialiasing);
    p.setRenderHint(QPainter::SmoothPixmapTransform);
}

// A fingerprint of concentric, broken arcs centred at `c` with outer radius `r`.
void drawFingerprint(QPainter& p, QPointF c, qreal r, const QColor& color, qreal width)
{
    p.save();
    QPen pen(color, width, Qt::SolidLine, Qt::RoundCap);
    p.setPen(pen);
    p.setBrush(Qt::NoBrush);
    const int rings = 6;
    for (int i = 0; i < rings; ++i) {
        const qreal rr = r * (0.22 + 0.78 * i / (rings - 1));
        const QRectF box(c.x() - rr * 0.82, c.y() - rr, rr * 1.64, rr * 2.0);
        // Each ring leaves a gap at a different place, as ridges do.
        const int gapAt = (i * 97) % 360;
        const int gap = 28 + (i % 3) * 10;
        const int start = 200 + gapAt % 40;
        p.drawArc(box, (start + gap) * 16, (300 - gap) * 16);
        if (i % 2 == 1)
            p.drawArc(box, (start - 50) * 16, 28 * 16);
    }
    p.drawLine(QPointF(c.x(), c.y() - r * 0.1), QPointF(c.x(), c.y() + r * 0.25));
    p.restore();
}

// --- the ten glyphs, drawn white into a 44 x 44 box at the origin ---------------------------

void glyphUser(QPainter& p)
{
    p.setBrush(Qt::white);
    p.setPen(Qt::NoPen);
    p.drawEllipse(QRectF(14, 4, 16, 16));
    QPainterPath body;
    body.moveTo(4, 42);
    body.cubicTo(4, 26, 40, 26, 40, 42);
    body.closeSubpath();
    p.drawPath(body);
}

void glyphClock(QPainter& p)
{
    p.setPen(QPen(Qt::white, 3.5));
    p.setBrush(Qt::NoBrush);
    p.drawEllipse(QRectF(4, 4, 36, 36));
    p.setPen(QPen(Qt::white, 3.5, Qt::SolidLine, Qt::RoundCap));
    p.drawLine(QPointF(22, 22), QPointF(22, 11));
    p.drawLine(QPointF(22, 22), QPointF(30, 27));
}

void glyphCalendar(QPainter& p)
{
    p.setPen(QPen(Qt::white, 3));
    p.setBrush(Qt::NoBrush);
    p.drawRoundedRect(QRectF(4, 8, 36, 32), 4, 4);
    p.setBrush(Qt::white);
    p.drawRect(QRectF(4, 8, 36, 8));
    p.setPen(QPen(Qt::white, 3, Qt::SolidLine, Qt::RoundCap));
    p.drawLine(QPointF(13, 3), QPointF(13, 11));
    p.drawLine(QPointF(31, 3), QPointF(31, 11));
    p.setPen(Qt::NoPen);
    for (int r = 0; r < 2; ++r)
        for (int c = 0; c < 4; ++c)
            p.drawRect(QRectF(9 + c * 7.5, 21 + r * 8, 4.5, 4.5));
}

void glyphRecord(QPainter& p)
{
    p.setPen(QPen(Qt::white, 3));
    p.setBrush(Qt::NoBrush);
    p.drawRoundedRect(QRectF(7, 3, 30, 38), 3, 3);
    p.setPen(QPen(Qt::white, 3, Qt::SolidLine, Qt::RoundCap));
    for (int i = 0; i < 3; ++i)
        p.drawLine(QPointF(13, 12 + i * 7), QPointF(31, 12 + i * 7));
    p.drawLine(QPointF(13, 33), QPointF(22, 33));
}

void glyphReport(QPainter& p)
{
    p.setPen(Qt::NoPen);
    p.setBrush(Qt::white);
    p.drawRoundedRect(QRectF(6, 24, 8, 16), 1.5, 1.5);
    p.drawRoundedRect(QRectF(18, 12, 8, 28), 1.5, 1.5);
    p.drawRoundedRect(QRectF(30, 4, 8, 36), 1.5, 1.5);
    p.setPen(QPen(Qt::white, 2.5, Qt::SolidLine, Qt::RoundCap));
    p.drawLine(QPointF(2, 42), QPointF(42, 42));
}

void glyphClear(QPainter& p)
{
    p.setPen(QPen(Qt::white, 3, Qt::SolidLine, Qt::RoundCap, Qt::RoundJoin));
    p.setBrush(Qt::NoBrush);
    p.drawLine(QPointF(6, 10), QPointF(38, 10));
    p.drawLine(QPointF(17, 10), QPointF(17, 5));
    p.drawLine(QPointF(17, 5), QPointF(27, 5));
    p.drawLine(QPointF(27, 5), QPointF(27, 10));
    QPainterPath can;
    can.moveTo(10, 14);
    can.lineTo(12, 41);
    can.lineTo(32, 41);
    can.lineTo(34, 14);
    p.drawPath(can);
    p.drawLine(QPointF(18, 19), QPointF(18, 35));
    p.drawLine(QPointF(26, 19), QPointF(26, 35));
}

void glyphForgot(QPainter& p)
{
    // A hand-written correction: a pen over a punch line.
    p.setPen(QPen(Qt::white, 3, Qt::SolidLine, Qt::RoundCap, Qt::RoundJoin));
    p.setBrush(Qt::NoBrush);
    p.drawLine(QPointF(4, 40), QPointF(40, 40));
    QPainterPath pen;
    pen.moveTo(10, 34);
    pen.lineTo(12, 26);
    pen.lineTo(32, 6);
    pen.lineTo(38, 12);
    pen.lineTo(18, 32);
    pen.closeSubpath();
    p.drawPath(pen);
    p.drawLine(QPointF(28, 10), QPointF(34, 16));
}

void glyphLeave(QPainter& p)
{
    p.setPen(QPen(Qt::white, 3, Qt::SolidLine, Qt::RoundCap, Qt::RoundJoin));
    p.setBrush(Qt::NoBrush);
    p.drawRoundedRect(QRectF(4, 14, 36, 26), 4, 4);
    p.drawRoundedRect(QRectF(15, 6, 14, 8), 2, 2);
    p.drawLine(QPointF(4, 25), QPointF(40, 25));
    p.setBrush(Qt::white);
    p.drawRect(QRectF(19, 22, 6, 6));
}

void glyphShrink(QPainter& p)
{
    p.setPen(QPen(Qt::white, 3));
    p.setBrush(Qt::NoBrush);
    p.drawEllipse(QRectF(6, 3, 24, 8));
    p.drawLine(QPointF(6, 7), QPointF(6, 33));
    p.drawLine(QPointF(30, 7), QPointF(30, 33));
    p.drawArc(QRectF(6, 29, 24, 8), 180 * 16, 180 * 16);
    p.drawArc(QRectF(6, 16, 24, 8), 180 * 16, 180 * 16);
    p.setPen(QPen(Qt::white, 3, Qt::SolidLine, Qt::RoundCap, Qt::RoundJoin));
    p.drawLine(QPointF(38, 22), QPointF(38, 42));
    p.drawLine(QPointF(33, 37), QPointF(38, 42));
    p.drawLine(QPointF(43, 37), QPointF(38, 42));
}

void glyphClose(QPainter& p)
{
    p.setPen(QPen(Qt::white, 3.5, Qt::SolidLine, Qt::RoundCap));
    p.setBrush(Qt::NoBrush);
    p.drawArc(QRectF(5, 6, 34, 34), 120 * 16, 300 * 16);
    p.drawLine(QPointF(22, 3), QPointF(22, 20));
}

struct ButtonStyle {
    const char* name;
    QColor accent;
    void (*glyph)(QPainter&);
};

const ButtonStyle kStyles[] = {
    {"PNG_User", QColor(0x2f, 0x7c, 0xe8), glyphUser},
    {"PNG_Class", QColor(0x12, 0x9c, 0xd8), glyphClock},
    {"PNG_UClass", QColor(0x5b, 0x5f, 0xde), glyphCalendar},
    {"PNG_Record", QColor(0x17, 0xa3, 0x72), glyphRecord},
    {"PNG_Report", QColor(0xe6, 0x93, 0x0b), glyphReport},
    {"PNG_ClearData", QColor(0xdc, 0x4a, 0x4a), glyphClear},
    {"PNG_NoIn", QColor(0xef, 0x76, 0x1f), glyphForgot},
    {"PNG_Free", QColor(0x14, 0x9e, 0x93), glyphLeave},
    {"PNG_ShrinkData", QColor(0x85, 0x5c, 0xe6), glyphShrink},
    {"PNG_Close", QColor(0x5e, 0x6b, 0x7d), glyphClose},
};

const ButtonStyle* styleOf(const QString& name)
{
    for (const ButtonStyle& s : kStyles)
        if (name == QLatin1String(s.name))
            return &s;
    return nullptr;
}

} // namespace

QColor buttonAccent(const QString& buttonName)
{
    const ButtonStyle* s = styleOf(buttonName);
    return s ? s->accent : QColor(0x5e, 0x6b, 0x7d);
}

QPixmap buttonPicture(const QString& buttonName, int state)
{
    QPixmap pm = transparentPixmap(kButtonW, kButtonH);
    QPainter p(&pm);
    antialias(p);
    const ButtonStyle* style = styleOf(buttonName);
    QColor accent = buttonAccent(buttonName);
    if (state == 2)
        accent = accent.lighter(112);
    else if (state == 3)
        accent = accent.darker(118);
    const qreal shift = state == 3 ? 1.5 : 0.0;

    // Soft shadow under the tile.
    const QRectF tile(8, 6 + shift, 64, 64);
    for (int i = 4; i >= 1; --i) {
        QColor sh(0x10, 0x2a, 0x4a, state == 3 ? 10 : 16);
        p.setPen(Qt::NoPen);
        p.setBrush(sh);
        p.drawRoundedRect(tile.adjusted(-i * 0.6, i * 0.9, i * 0.6, i * 1.2), 16, 16);
    }
    if (state == 2) {   // a halo when the mouse is over it
        QRadialGradient halo(tile.center(), 44);
        halo.setColorAt(0.6, QColor(accent.red(), accent.green(), accent.blue(), 70));
        halo.setColorAt(1.0, QColor(accent.red(), accent.green(), accent.blue(), 0));
        p.setBrush(halo);
        p.drawEllipse(tile.center(), 40, 39);
    }
    QLinearGradient g(tile.topLeft(), tile.bottomLeft());
    g.setColorAt(0, accent.lighter(128));
    g.setColorAt(1, accent.darker(108));
    p.setBrush(g);
    p.setPen(QPen(accent.darker(125), 1));
    p.drawRoundedRect(tile, 15, 15);
    // Glossy top half.
    QLinearGradient gloss(tile.topLeft(), QPointF(tile.left(), tile.center().y()));
    gloss.setColorAt(0, QColor(255, 255, 255, 90));
    gloss.setColorAt(1, QColor(255, 255, 255, 0));
    p.setPen(Qt::NoPen);
    p.setBrush(gloss);
    p.drawRoundedRect(tile.adjusted(2, 2, -2, -tile.height() / 2), 13, 13);

    p.translate(tile.left() + 10, tile.top() + 10);
    if (style)
        style->glyph(p);
    return pm;
}

QPixmap backPicture()
{
    QPixmap pm(1024, 738);
    QPainter p(&pm);
    antialias(p);
    QLinearGradient g(0, 0, 0, 738);
    g.setColorAt(0, QColor(0xf4, 0xf8, 0xfc));
    g.setColorAt(1, QColor(0xdc, 0xe7, 0xf2));
    p.fillRect(pm.rect(), g);
    // A faint dotted grid gives the surface some texture.
    p.setPen(Qt::NoPen);
    p.setBrush(QColor(0x9d, 0xb6, 0xd0, 40));
    for (int y = 12; y < 738; y += 24)
        for (int x = 12; x < 1024; x += 24)
            p.drawEllipse(QPointF(x, y), 1.1, 1.1);
    return pm;
}

QPixmap backLeftPicture(const QString& title)
{
    const int w = 560, h = 92;
    QPixmap pm = transparentPixmap(w, h);
    QPainter p(&pm);
    antialias(p);
    QPainterPath band;
    band.moveTo(0, 0);
    band.lineTo(w, 0);
    band.cubicTo(w - 60, 40, w - 120, h, w - 220, h);
    band.lineTo(0, h);
    band.closeSubpath();
    QLinearGradient g(0, 0, w, 0);
    g.setColorAt(0, QColor(0x1d, 0x4e, 0x89));
    g.setColorAt(0.7, QColor(0x2f, 0x7c, 0xe8));
    g.setColorAt(1, QColor(0x2f, 0x7c, 0xe8, 0));
    p.fillPath(band, g);
    drawFingerprint(p, QPointF(48, 46), 28, QColor(255, 255, 255, 220), 2.4);
    QFont f = texts::screenFont();
    f.setPixelSize(26);
    f.setBold(true);
    p.setFont(f);
    p.setPen(Qt::white);
    p.drawText(QRectF(92, 14, w - 120, 40), Qt::AlignLeft | Qt::AlignVCenter, title);
    QFont small = f;
    small.setPixelSize(12);
    small.setBold(false);
    p.setFont(small);
    p.setPen(QColor(255, 255, 255, 200));
    p.drawText(QRectF(94, 54, w - 120, 22), Qt::AlignLeft | Qt::AlignVCenter,
               QStringLiteral("Kelvork  Time & Attendance"));
    return pm;
}

QPixmap backRightPicture()
{
    const int w = 380, h = 300;
    QPixmap pm = transparentPixmap(w, h);
    QPainter p(&pm);
    antialias(p);
    drawFingerprint(p, QPointF(w - 70, h - 60), 200, QColor(0x2f, 0x7c, 0xe8, 34), 7);
    return pm;
}

QPixmap loginPicture(const QString& title)
{
    const int w = 384, h = 227;
    QPixmap pm(w, h);
    QPainter p(&pm);
    antialias(p);
    p.fillRect(pm.rect(), QColor(0xf5, 0xf8, 0xfc));
    QLinearGradient side(0, 0, 0, h);
    side.setColorAt(0, QColor(0x2f, 0x7c, 0xe8));
    side.setColorAt(1, QColor(0x1d, 0x4e, 0x89));
    p.fillRect(QRect(0, 0, 136, h), side);
    drawFingerprint(p, QPointF(68, 104), 44, QColor(255, 255, 255, 230), 3);
    QFont f = texts::screenFont();
    f.setPixelSize(11);
    p.setFont(f);
    p.setPen(QColor(255, 255, 255, 210));
    p.drawText(QRectF(0, 170, 136, 20), Qt::AlignCenter, QStringLiteral("V4.4.5"));
    f.setPixelSize(17);
    f.setBold(true);
    p.setFont(f);
    p.setPen(kInk);
    p.drawText(QRectF(150, 14, w - 160, 32), Qt::AlignLeft | Qt::AlignVCenter, title);
    p.setPen(QPen(QColor(0x2f, 0x7c, 0xe8), 2));
    p.drawLine(QPointF(151, 50), QPointF(196, 50));
    p.setPen(QPen(QColor(0xc9, 0xd6, 0xe5), 1));
    p.setBrush(Qt::NoBrush);
    p.drawRect(QRectF(0.5, 0.5, w - 1, h - 1));
    return pm;
}

QPixmap aboutPicture(const QString& title, const QString& version)
{
    const int w = 400, h = 215;
    QPixmap pm(w, h);
    QPainter p(&pm);
    antialias(p);
    QLinearGradient g(0, 0, w, h);
    g.setColorAt(0, QColor(0x1d, 0x4e, 0x89));
    g.setColorAt(1, QColor(0x2f, 0x7c, 0xe8));
    p.fillRect(pm.rect(), g);
    drawFingerprint(p, QPointF(w - 70, h - 40), 150, QColor(255, 255, 255, 40), 6);
    drawFingerprint(p, QPointF(62, 70), 34, QColor(255, 255, 255, 235), 2.8);
    QFont f = texts::screenFont();
    f.setPixelSize(22);
    f.setBold(true);
    p.setFont(f);
    p.setPen(Qt::white);
    p.drawText(QRectF(112, 38, w - 120, 36), Qt::AlignLeft | Qt::AlignVCenter, title);
    f.setPixelSize(13);
    f.setBold(false);
    p.setFont(f);
    p.setPen(QColor(255, 255, 255, 220));
    p.drawText(QRectF(114, 76, w - 120, 22), Qt::AlignLeft | Qt::AlignVCenter,
               QStringLiteral("Kelvork ") + version);
    f.setPixelSize(11);
    p.setFont(f);
    p.setPen(QColor(255, 255, 255, 190));
    p.drawText(QRectF(24, h - 58, w - 48, 40), Qt::AlignLeft | Qt::AlignVCenter | Qt::TextWordWrap,
               QStringLiteral("Fingerprint time & attendance for Linux\nSQLite or PostgreSQL databases"));
    return pm;
}

QPixmap programIcon(int size)
{
    QPixmap pm = transparentPixmap(size, size);
    QPainter p(&pm);
    antialias(p);
    const qreal s = size / 64.0;
    QLinearGradient g(0, 0, 0, size);
    g.setColorAt(0, QColor(0x4a, 0x90, 0xf0));
    g.setColorAt(1, QColor(0x1d, 0x4e, 0x89));
    p.setPen(Qt::NoPen);
    p.setBrush(g);
    p.drawRoundedRect(QRectF(2 * s, 2 * s, 60 * s, 60 * s), 14 * s, 14 * s);
    drawFingerprint(p, QPointF(32 * s, 33 * s), 22 * s, Qt::white, 2.6 * s);
    return pm;
}

} // namespace kelvork::ui
