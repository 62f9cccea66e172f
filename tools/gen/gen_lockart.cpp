// Pictures of the lock button and the memo window, drawn here: the padlock
// glyphs "LOCKED", "LOCKEDRED" and "UNLOCKED" (two 16 x 16 glyphs side by
// side, the hot one first), the password dialog's pictures "PWDLOCK" and
// "PWDUNLOCK" (48 x 48) and the memo window's title icon "NOTES".
#include "generator.h"

#include <QImage>
#include <QPainter>
#include <QPainterPath>
#include <cstdio>

namespace {

// One padlock in a 16 x 16 cell: a shackle (open or closed) over a body.
void padlock(QPainter &p, int x0, const QColor &body, bool open, bool hot)
{
    p.save();
    p.translate(x0, 0);
    p.setRenderHint(QPainter::Antialiasing, true);
    const QColor metal = hot ? QColor(120, 124, 136) : QColor(96, 98, 108);
    QPen shackle(metal, 2.0);
    shackle.setCapStyle(Qt::FlatCap);
    p.setPen(shackle);
    p.setBrush(Qt::NoBrush);
    QPainterPath arc;
    if (open) {
        arc.moveTo(10.5, 8);
        arc.lineTo(10.5, 4.5);
        arc.arcTo(QRectF(10.5, 1, 5, 7), 180, -180);
        arc.lineTo(15.5, 6);
    } else {
        arc.moveTo(4.5, 8);
        arc.lineTo(4.5, 5);
        arc.arcTo(QRectF(4.5, 1, 7, 8), 180, -180);
        arc.lineTo(11.5, 8);
    }
    p.drawPath(arc);
    const QColor face = hot ? body.lighter(125) : body;
    QLinearGradient g(0, 7, 0, 15);
    g.setColorAt(0, face.lighter(130));
    g.setColorAt(1, face.darker(130));
    p.setPen(QPen(face.darker(170), 1.0));
    p.setBrush(g);
    p.drawRoundedRect(QRectF(2.5, 7.5, 11, 7.5), 1.5, 1.5);
    // The keyhole.
    p.setPen(Qt::NoPen);
    p.setBrush(face.darker(220));
    p.drawEllipse(QRectF(7, 9.5, 2, 2));
    p.drawRect(QRectF(7.5, 11, 1, 2.5));
    p.restore();
}

QImage lockStrip(const QColor &body, bool open)
{
    QImage img(32, 16, QImage::Format_ARGB32);
    img.fill(Qt::transparent);
    QPainter p(&img);
    padlock(p, 0, body, open, true);
    padlock(p, 16, body, open, false);
    return img;
}

// One padlock three times as large, for the password dialog.
QImage largePadlock(const QColor &body, bool open)
{
    QImage img(48, 48, QImage::Format_ARGB32);
    img.fill(Qt::transparent);
    QPainter p(&img);
    p.scale(3, 3);
    padlock(p, 0, body, open, false);
    return img;
}

// A note sheet with lines and a turned-down corner.
QImage notesIcon()
{
    QImage img(16, 16, QImage::Format_ARGB32);
    img.fill(Qt::transparent);
    QPainter p(&img);
    p.setRenderHint(QPainter::Antialiasing, true);
    QPainterPath sheet;
    sheet.moveTo(2.5, 1.5);
    sheet.lineTo(10.5, 1.5);
    sheet.lineTo(13.5, 4.5);
    sheet.lineTo(13.5, 14.5);
    sheet.lineTo(2.5, 14.5);
    sheet.closeSubpath();
    p.setPen(QPen(QColor(70, 72, 84), 1.0));
    p.setBrush(QColor(255, 248, 196));
    p.drawPath(sheet);
    p.setBrush(QColor(222, 210, 140));
    QPainterPath corner;
    corner.moveTo(10.5, 1.5);
    corner.lineTo(10.5, 4.5);
    corner.lineTo(13.5, 4.5);
    corner.closeSubpath();
    p.drawPath(corner);
    p.setRenderHint(QPainter::Antialiasing, false);
    p.setPen(QColor(90, 110, 170));
    for (int y = 6; y <= 12; y += 2)
        p.drawLine(4, y, 11, y);
    return img;
}

} // namespace

TARVO_GENERATOR(genLockArt, "lock and memo pictures")
{
    const QString dir = progDir + QStringLiteral("/Resources/");
    return gen::saveImage(lockStrip(QColor(214, 170, 60), false), dir + QStringLiteral("LOCKED.png"))
        && gen::saveImage(lockStrip(QColor(220, 40, 40), false), dir + QStringLiteral("LOCKEDRED.png"))
        && gen::saveImage(lockStrip(QColor(80, 176, 80), true), dir + QStringLiteral("UNLOCKED.png"))
        && gen::saveImage(largePadlock(QColor(214, 170, 60), false), dir + QStringLiteral("PWDLOCK.png"))
        && gen::saveImage(largePadlock(QColor(80, 176, 80), true), dir + QStringLiteral("PWDUNLOCK.png"))
        && gen::saveImage(notesIcon(), dir + QStringLiteral("NOTES.png"));
}
