// The backgrounds of the medium attachment window and the statistics box:
// a pale ruled note paper "Skins/Back/NotesSkin.Bmp" and a film reel
// "Skins/Back/FilmRolle.Bmp".
#include "generator.h"

#include <QPainter>
#include <QRandomGenerator>

#include <cmath>

namespace {

QImage notePaper()
{
    QImage img(128, 128, QImage::Format_RGB32);
    QRandomGenerator rng(1994);
    for (int y = 0; y < img.height(); ++y)
        for (int x = 0; x < img.width(); ++x) {
            const int grain = int(rng.bounded(9)) - 4;
            img.setPixel(x, y, qRgb(255, 250 + grain / 2, 212 + grain));
        }
    // Faint rules every 16 pixels, so the tile repeats without a seam.
    QPainter p(&img);
    p.setPen(QColor(214, 222, 236));
    for (int y = 15; y < img.height(); y += 16)
        p.drawLine(0, y, img.width(), y);
    return img;
}

QImage filmReel()
{
    QImage img(64, 64, QImage::Format_RGB32);
    img.fill(QColor(192, 192, 192));
    QPainter p(&img);
    p.setRenderHint(QPainter::Antialiasing);
    p.setBrush(QColor(60, 60, 70));
    p.setPen(QPen(QColor(30, 30, 35), 1.5));
    p.drawEllipse(QPointF(32, 32), 28, 28);
    p.setBrush(QColor(192, 192, 192));
    for (int i = 0; i < 6; ++i) {
        const double a = i * 3.14159265 / 3;
        p.drawEllipse(QPointF(32 + 16 * std::cos(a), 32 + 16 * std::sin(a)), 6, 6);
    }
    p.drawEllipse(QPointF(32, 32), 4, 4);
    return img;
}

} // namespace

TARVO_GENERATOR(genNotesArt, "attachment and statistics backgrounds")
{
    const QString dir = progDir + QStringLiteral("/Skins/Back/");
    return gen::saveImage(notePaper(), dir + QStringLiteral("NotesSkin.Bmp"), "BMP")
        && gen::saveImage(filmReel(), dir + QStringLiteral("FilmRolle.Bmp"), "BMP");
}
