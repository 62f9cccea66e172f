// Pictures of the main window's medium card, drawn here: the film strips of
// the film buttons (normal and zoomed), the notes-button pictures, the small
// command glyphs of the slots and the tool bar, the disc pictures and the
// paper of the card.
#include "generator.h"

#include <QImage>
#include <QPainter>
#include <QPainterPath>
#include <QRandomGenerator>
#include <cstdio>

namespace {

QImage blank(int w, int h)
{
    QImage img(w, h, QImage::Format_ARGB32);
    img.fill(Qt::transparent);
    return img;
}

// A strip of film with sprocket holes and two frames, tinted.
QImage filmStrip(double scale, const QColor &tint)
{
    const int w = int(30 * scale), h = int(22 * scale);
    QImage img = blank(w, h);
    QPainter p(&img);
    p.setRenderHint(QPainter::Antialiasing, true);
    QLinearGradient g(0, 0, 0, h);
    g.setColorAt(0, tint.lighter(125));
    g.setColorAt(1, tint.darker(140));
    p.setPen(QPen(tint.darker(200), 1));
    p.setBrush(g);
    p.drawRoundedRect(QRectF(0.5, 0.5, w - 1, h - 1), 2 * scale, 2 * scale);
    const double hole = 2.6 * scale;
    p.setPen(Qt::NoPen);
    p.setBrush(QColor(250, 250, 250));
    for (double x = 2 * scale; x + hole < w - 1; x += 4.6 * scale) {
        p.drawRoundedRect(QRectF(x, 1.6 * scale, hole, 2.4 * scale), 0.6, 0.6);
        p.drawRoundedRect(QRectF(x, h - 4.0 * scale, hole, 2.4 * scale), 0.6, 0.6);
    }
    const double fh = h - 10 * scale;
    for (int i = 0; i < 2; ++i) {
        const QRectF fr(2.5 * scale + i * 13 * scale, 5 * scale, 11.5 * scale, fh);
        QLinearGradient sky(fr.topLeft(), fr.bottomLeft());
        sky.setColorAt(0, QColor(180, 215, 255));
        sky.setColorAt(1, QColor(255, 236, 190));
        p.setBrush(sky);
        p.drawRect(fr);
    }
    return img;
}

void sheet(QPainter &p, const QColor &paper, bool lines)
{
    QPainterPath s;
    s.moveTo(2.5, 1.5);
    s.lineTo(10.5, 1.5);
    s.lineTo(13.5, 4.5);
    s.lineTo(13.5, 14.5);
    s.lineTo(2.5, 14.5);
    s.closeSubpath();
    p.setPen(QPen(QColor(90, 92, 104), 1.0));
    p.setBrush(paper);
    p.drawPath(s);
    QPainterPath corner;
    corner.moveTo(10.5, 1.5);
    corner.lineTo(10.5, 4.5);
    corner.lineTo(13.5, 4.5);
    corner.closeSubpath();
    p.setBrush(paper.darker(115));
    p.drawPath(corner);
    if (lines) {
        p.setPen(QColor(90, 110, 170));
        for (int y = 6; y <= 12; y += 2)
            p.drawLine(QPointF(4.5, y + 0.5), QPointF(11.5, y + 0.5));
    }
}

// Notes pictures: NONOTES (an empty faint sheet), NOMEMO (a sheet with a
// list of fields), NOTES (a written sheet); GRA adds a small picture.
QImage notesPicture(int kind, bool picture)
{
    QImage img = blank(16, 16);
    QPainter p(&img);
    p.setRenderHint(QPainter::Antialiasing, true);
    if (kind == 0) {
        p.setOpacity(0.45);
        sheet(p, QColor(240, 240, 240), false);
        p.setOpacity(1.0);
    } else if (kind == 1) {
        sheet(p, QColor(232, 244, 255), false);
        p.setPen(QColor(60, 120, 60));
        for (int y = 6; y <= 12; y += 3) {
            p.drawRect(QRectF(4.5, y - 0.5, 1.5, 1.5));
            p.drawLine(QPointF(7.5, y + 0.5), QPointF(11.5, y + 0.5));
        }
    } else {
        sheet(p, QColor(255, 248, 196), true);
    }
    if (picture) {
        p.setPen(QPen(QColor(40, 40, 40), 0.8));
        p.setBrush(QColor(120, 180, 240));
        p.drawRect(QRectF(8.5, 9.5, 7, 6));
        p.setPen(Qt::NoPen);
        p.setBrush(QColor(60, 150, 60));
        QPainterPath hill;
        hill.moveTo(8.9, 15.1);
        hill.lineTo(11.5, 12.0);
        hill.lineTo(15.1, 15.1);
        hill.closeSubpath();
        p.drawPath(hill);
        p.setBrush(QColor(255, 220, 60));
        p.drawEllipse(QRectF(12.8, 10.4, 1.8, 1.8));
    }
    return img;
}

QImage glyph(const std::function<void(QPainter &)> &draw, int w = 16, int h = 16)
{
    QImage img = blank(w, h);
    QPainter p(&img);
    p.setRenderHint(QPainter::Antialiasing, true);
    draw(p);
    return img;
}

void arrow(QPainter &p, bool up, const QColor &c)
{
    QPainterPath a;
    if (up) {
        a.moveTo(8, 3);
        a.lineTo(14, 10);
        a.lineTo(10, 10);
        a.lineTo(10, 14);
        a.lineTo(6, 14);
        a.lineTo(6, 10);
        a.lineTo(2, 10);
    } else {
        a.moveTo(8, 14);
        a.lineTo(14, 7);
        a.lineTo(10, 7);
        a.lineTo(10, 3);
        a.lineTo(6, 3);
        a.lineTo(6, 7);
        a.lineTo(2, 7);
    }
    a.closeSubpath();
    QLinearGradient g(0, 2, 0, 14);
    g.setColorAt(0, c.lighter(140));
    g.setColorAt(1, c.darker(120));
    p.setPen(QPen(c.darker(170), 1));
    p.setBrush(g);
    p.drawPath(a);
}

QImage disc(bool crossed)
{
    QImage img = blank(24, 24);
    QPainter p(&img);
    p.setRenderHint(QPainter::Antialiasing, true);
    QConicalGradient g(12, 12, 30);
    g.setColorAt(0.0, QColor(230, 230, 240));
    g.setColorAt(0.25, QColor(190, 210, 250));
    g.setColorAt(0.5, QColor(250, 230, 200));
    g.setColorAt(0.75, QColor(200, 240, 210));
    g.setColorAt(1.0, QColor(230, 230, 240));
    p.setPen(QPen(QColor(110, 110, 130), 1));
    p.setBrush(g);
    p.drawEllipse(QRectF(1.5, 1.5, 21, 21));
    p.setBrush(QColor(250, 250, 250));
    p.drawEllipse(QRectF(9, 9, 6, 6));
    if (crossed) {
        p.setPen(QPen(QColor(210, 30, 30), 2.5, Qt::SolidLine, Qt::RoundCap));
        p.drawLine(QPointF(5, 5), QPointF(19, 19));
        p.drawLine(QPointF(19, 5), QPointF(5, 19));
    }
    return img;
}

// A light paper texture for the card, tiled.
QImage paper()
{
    QImage img(128, 128, QImage::Format_RGB32);
    QRandomGenerator rng(4711);
    for (int y = 0; y < img.height(); ++y)
        for (int x = 0; x < img.width(); ++x) {
            const int n = int(rng.bounded(7)) - 3;
            img.setPixel(x, y, qRgb(250 + qMin(5, n), 246 + n, 232 + n));
        }
    return img;
}

} // namespace

TARVO_GENERATOR(genMainArt, "main window pictures")
{
    const QString dir = progDir + QStringLiteral("/Resources/");
    bool ok = gen::saveImage(filmStrip(1.0, QColor(70, 110, 200)), dir + QStringLiteral("FILMSTREIFENBLAU.png"))
        && gen::saveImage(filmStrip(1.0, QColor(110, 112, 122)), dir + QStringLiteral("FILMSTREIFENGRAU.png"))
        && gen::saveImage(filmStrip(1.2, QColor(70, 110, 200)), dir + QStringLiteral("FILMSTREIFENBLAU120.png"))
        && gen::saveImage(filmStrip(1.2, QColor(110, 112, 122)), dir + QStringLiteral("FILMSTREIFENGRAU120.png"));
    const char *notes[3] = {"NONOTES", "NOMEMO", "NOTES"};
    for (int k = 0; k < 3 && ok; ++k) {
        // "NOTES" itself is the memo window's icon, drawn with the lock pictures.
        if (k != 2)
            ok = gen::saveImage(notesPicture(k, false), dir + QLatin1String(notes[k]) + QStringLiteral(".png"));
        ok = ok && gen::saveImage(notesPicture(k, true), dir + QLatin1String(notes[k]) + QStringLiteral("GRA.png"));
    }
    ok = ok
        && gen::saveImage(glyph([](QPainter &p) {
               p.setPen(QPen(QColor(150, 20, 20), 1));
               p.setBrush(QColor(220, 50, 50));
               p.drawRoundedRect(QRectF(2.5, 6.5, 11, 4), 1, 1);
           }),
                dir + QStringLiteral("SPBMINUS.png"))
        && gen::saveImage(glyph([](QPainter &p) {
               p.setPen(QPen(QColor(30, 90, 30), 1.6, Qt::SolidLine, Qt::RoundCap));
               p.drawLine(QPointF(4, 2), QPointF(8, 7));
               p.drawLine(QPointF(12, 2), QPointF(8, 7));
               p.drawLine(QPointF(8, 7), QPointF(8, 14));
               p.drawLine(QPointF(5, 11), QPointF(8, 14));
               p.drawLine(QPointF(11, 11), QPointF(8, 14));
           }),
                dir + QStringLiteral("SPBJOIN.png"))
        && gen::saveImage(glyph([](QPainter &p) {
               p.setPen(QPen(QColor(30, 60, 140), 1.6, Qt::SolidLine, Qt::RoundCap));
               p.drawLine(QPointF(8, 2), QPointF(8, 8));
               p.drawLine(QPointF(8, 8), QPointF(4, 13));
               p.drawLine(QPointF(8, 8), QPointF(12, 13));
               p.drawLine(QPointF(2, 13), QPointF(5, 14));
               p.drawLine(QPointF(14, 13), QPointF(11, 14));
           }),
                dir + QStringLiteral("SPBSPLIT.png"))
        && gen::saveImage(glyph([](QPainter &p) {
               arrow(p, false, QColor(60, 120, 200));
               p.setPen(QPen(QColor(40, 40, 40), 1));
               p.drawLine(QPointF(2, 15.5), QPointF(14, 15.5));
           }),
                dir + QStringLiteral("SPBSHIFTDOWN.png"))
        && gen::saveImage(glyph([](QPainter &p) { arrow(p, true, QColor(80, 140, 80)); }), dir + QStringLiteral("SPBUP.png"))
        && gen::saveImage(glyph([](QPainter &p) { arrow(p, false, QColor(80, 140, 80)); }), dir + QStringLiteral("SPBDOWN.png"))
        && gen::saveImage(glyph([](QPainter &p) {
               // An hourglass: the remaining-time filter.
               p.setPen(QPen(QColor(90, 60, 20), 1));
               p.setBrush(QColor(240, 210, 120));
               QPainterPath h;
               h.moveTo(3.5, 1.5);
               h.lineTo(12.5, 1.5);
               h.lineTo(8.8, 8);
               h.lineTo(12.5, 14.5);
               h.lineTo(3.5, 14.5);
               h.lineTo(7.2, 8);
               h.closeSubpath();
               p.drawPath(h);
               p.setPen(Qt::NoPen);
               p.setBrush(QColor(200, 140, 40));
               QPainterPath sand;
               sand.moveTo(5, 14);
               sand.lineTo(11, 14);
               sand.lineTo(8, 10);
               sand.closeSubpath();
               p.drawPath(sand);
           }),
                dir + QStringLiteral("SPBREST.png"))
        && gen::saveImage(glyph([](QPainter &p) {
               // A pencil: editing.
               p.setPen(QPen(QColor(60, 60, 60), 1));
               p.setBrush(QColor(250, 200, 60));
               QPainterPath pen;
               pen.moveTo(11, 2);
               pen.lineTo(14, 5);
               pen.lineTo(6, 13);
               pen.lineTo(2.5, 13.5);
               pen.lineTo(3, 10);
               pen.closeSubpath();
               p.drawPath(pen);
               p.setBrush(QColor(230, 120, 140));
               p.drawPolygon(QPolygonF({QPointF(11, 2), QPointF(14, 5), QPointF(12.6, 6.4), QPointF(9.6, 3.4)}));
           }),
                dir + QStringLiteral("SPBEDIT.png"))
        && gen::saveImage(glyph([](QPainter &p) {
               p.setPen(QPen(QColor(20, 110, 20), 2.2, Qt::SolidLine, Qt::RoundCap, Qt::RoundJoin));
               p.drawPolyline(QPolygonF({QPointF(3, 8.5), QPointF(6.5, 12), QPointF(13, 4)}));
           }),
                dir + QStringLiteral("SPBFINALIZE.png"))
        && gen::saveImage(disc(false), dir + QStringLiteral("CDDISC.png")) && gen::saveImage(disc(true), dir + QStringLiteral("CDX.png"))
        && gen::saveImage(paper(), progDir + QStringLiteral("/Skins/Back/Paper.bmp"), "BMP");
    return ok;
}
