// The symbols below "Symbole/": small pictures of our own for the ten
// built-in categories of a new database and the labels' foot symbol, drawn
// here at build time.
#include "generator.h"

#include <QPainter>
#include <QPainterPath>

#include <cmath>
#include <functional>

namespace {

constexpr int kSize = 64;

QImage canvas()
{
    QImage img(kSize, kSize, QImage::Format_RGB32);
    img.fill(Qt::white);
    return img;
}

void face(QPainter &p, const QColor &skin)
{
    p.setPen(QPen(Qt::black, 2));
    p.setBrush(skin);
    p.drawEllipse(QRectF(8, 8, 48, 48));
}

void smiley(QPainter &p)
{
    face(p, QColor(255, 214, 0));
    p.setBrush(Qt::black);
    p.drawEllipse(QRectF(22, 22, 6, 8));
    p.drawEllipse(QRectF(36, 22, 6, 8));
    p.setBrush(Qt::NoBrush);
    p.setPen(QPen(Qt::black, 3, Qt::SolidLine, Qt::RoundCap));
    p.drawArc(QRectF(19, 24, 26, 20), 200 * 16, 140 * 16);
}

void dog(QPainter &p)
{
    // A cartoon dog's head: white face, black ears, black nose.
    p.setPen(QPen(Qt::black, 2));
    p.setBrush(Qt::black);
    p.drawEllipse(QRectF(6, 14, 14, 30));
    p.drawEllipse(QRectF(44, 14, 14, 30));
    p.setBrush(Qt::white);
    p.drawEllipse(QRectF(14, 10, 36, 44));
    p.setBrush(Qt::black);
    p.drawEllipse(QRectF(23, 24, 5, 7));
    p.drawEllipse(QRectF(36, 24, 5, 7));
    p.drawEllipse(QRectF(27, 36, 10, 7));
}

void filmReel(QPainter &p)
{
    p.setPen(QPen(Qt::black, 2));
    p.setBrush(QColor(90, 90, 100));
    p.drawEllipse(QRectF(6, 6, 52, 52));
    p.setBrush(Qt::white);
    for (int i = 0; i < 6; ++i) {
        const double a = i * M_PI / 3;
        p.drawEllipse(QPointF(32 + 15 * std::cos(a), 32 + 15 * std::sin(a)), 6, 6);
    }
    p.setBrush(Qt::black);
    p.drawEllipse(QPointF(32, 32), 4, 4);
}

void info(QPainter &p)
{
    p.setPen(QPen(QColor(0, 60, 160), 2));
    p.setBrush(QColor(40, 110, 220));
    p.drawEllipse(QRectF(6, 6, 52, 52));
    p.setPen(Qt::NoPen);
    p.setBrush(Qt::white);
    p.drawEllipse(QRectF(28, 14, 8, 8));
    p.drawRoundedRect(QRectF(28, 26, 8, 24), 2, 2);
}

void theater(QPainter &p)
{
    // Two masks: the laughing one in front of the weeping one.
    p.setPen(QPen(Qt::black, 2));
    p.setBrush(QColor(120, 160, 255));
    p.drawEllipse(QRectF(26, 6, 32, 38));
    p.setBrush(QColor(255, 200, 60));
    p.drawEllipse(QRectF(6, 20, 32, 38));
    p.setBrush(Qt::black);
    p.drawEllipse(QRectF(13, 32, 6, 5));
    p.drawEllipse(QRectF(25, 32, 6, 5));
    p.setBrush(Qt::NoBrush);
    p.drawArc(QRectF(13, 36, 18, 14), 200 * 16, 140 * 16);
    p.drawArc(QRectF(36, 30, 14, 10), 20 * 16, 140 * 16);
}

void camera(QPainter &p)
{
    p.setPen(QPen(Qt::black, 2));
    p.setBrush(QColor(60, 60, 60));
    p.drawRoundedRect(QRectF(6, 22, 38, 26), 4, 4);
    QPainterPath lens;
    lens.moveTo(44, 30);
    lens.lineTo(58, 22);
    lens.lineTo(58, 48);
    lens.lineTo(44, 40);
    lens.closeSubpath();
    p.drawPath(lens);
    p.setBrush(QColor(200, 40, 40));
    p.drawEllipse(QRectF(10, 26, 6, 6));
    p.setBrush(QColor(60, 60, 60));
    p.drawEllipse(QRectF(10, 6, 16, 16));
    p.drawEllipse(QRectF(26, 6, 16, 16));
}

void teddy(QPainter &p)
{
    const QColor fur(170, 110, 50);
    p.setPen(QPen(Qt::black, 2));
    p.setBrush(fur);
    p.drawEllipse(QRectF(8, 6, 16, 16));
    p.drawEllipse(QRectF(40, 6, 16, 16));
    p.drawEllipse(QRectF(12, 10, 40, 40));
    p.setBrush(QColor(230, 190, 140));
    p.drawEllipse(QRectF(24, 30, 16, 14));
    p.setBrush(Qt::black);
    p.drawEllipse(QRectF(22, 22, 5, 5));
    p.drawEllipse(QRectF(37, 22, 5, 5));
    p.drawEllipse(QRectF(29, 31, 6, 4));
}

void elephant(QPainter &p)
{
    const QColor grey(150, 150, 160);
    p.setPen(QPen(Qt::black, 2));
    p.setBrush(grey);
    p.drawEllipse(QRectF(4, 14, 22, 28));  // ear
    p.drawEllipse(QRectF(16, 10, 34, 34)); // head
    QPainterPath trunk;
    trunk.moveTo(40, 34);
    trunk.cubicTo(46, 46, 40, 56, 52, 58);
    trunk.lineTo(56, 52);
    trunk.cubicTo(48, 50, 52, 40, 48, 30);
    trunk.closeSubpath();
    p.drawPath(trunk);
    p.setBrush(Qt::black);
    p.drawEllipse(QRectF(36, 22, 5, 5));
}

// Three arrows chasing each other round a circle, in black for any printer:
// the spine labels' foot symbol.
void recycle(QPainter &p)
{
    const QPointF c(kSize / 2.0, kSize / 2.0);
    const double r = 19;
    const QRectF ring(c.x() - r, c.y() - r, 2 * r, 2 * r);
    for (int i = 0; i < 3; ++i) {
        const double from = 20 + 120 * i, span = 80;
        p.setBrush(Qt::NoBrush);
        p.setPen(QPen(Qt::black, 7, Qt::SolidLine, Qt::FlatCap));
        p.drawArc(ring, int(from * 16), int(span * 16));
        // The head at the arc's end, along its way round.
        const double a = (from + span) * M_PI / 180;
        const QPointF end(c.x() + r * std::cos(a), c.y() - r * std::sin(a));
        const QPointF along(-std::sin(a), -std::cos(a));
        const QPointF out(std::cos(a), -std::sin(a));
        QPainterPath head;
        head.moveTo(end + 11 * along);
        head.lineTo(end + 9 * out);
        head.lineTo(end - 9 * out);
        head.closeSubpath();
        p.setPen(Qt::NoPen);
        p.setBrush(Qt::black);
        p.drawPath(head);
    }
}

bool write(const QString &progDir, const char *name, const std::function<void(QPainter &)> &draw)
{
    QImage img = canvas();
    {
        QPainter p(&img);
        p.setRenderHint(QPainter::Antialiasing);
        draw(p);
    }
    return gen::saveImage(img, progDir + QStringLiteral("/Symbole/") + QLatin1String(name), "BMP");
}

} // namespace

TARVO_GENERATOR(genCategorySymbols, "category symbols")
{
    // The names the category template refers to.
    return write(progDir, "snoopy.bmp", dog) && write(progDir, "smiley.bmp", smiley)
           && write(progDir, "filmrolle.bmp", filmReel) && write(progDir, "info.bmp", info)
           && write(progDir, "theater.bmp", theater) && write(progDir, "camera.bmp", camera)
           && write(progDir, "teddy2.bmp", teddy) && write(progDir, "Elefant.bmp", elephant);
}

TARVO_GENERATOR(genFootSymbol, "foot symbol")
{
    // The name the labels' foot symbol setting starts with.
    return write(progDir, "Fuss-Recycle.bmp", recycle);
}
