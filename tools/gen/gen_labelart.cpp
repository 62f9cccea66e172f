// The small pictures labels carry beside a film's line, drawn here in black
// on white for any printer: the sound symbols ("ac3.bmp" ...), the picture
// format and colour symbols ("widescrn.bmp", "RGB.bmp" ...), the rating
// stars ("0Sterne.jpg" to "5Sterne.jpg") and the attachment symbol
// ("NotesSW.bmp"). All go straight into the program folder, where the label
// drawing looks for them by these names.
#include "generator.h"

#include <QFont>
#include <QImage>
#include <QPainter>
#include <QPainterPath>
#include <cmath>

namespace {

constexpr int kSize = 64;

QImage paper(int w = kSize, int h = kSize)
{
    QImage img(w, h, QImage::Format_RGB32);
    img.fill(Qt::white);
    return img;
}

// A rounded frame with a short word in it, as the sound symbols show.
QImage badge(const QString &word, bool filled)
{
    QImage img = paper();
    QPainter p(&img);
    p.setRenderHint(QPainter::Antialiasing, true);
    p.setPen(QPen(Qt::black, 3));
    p.setBrush(filled ? QBrush(Qt::black) : QBrush(Qt::white));
    p.drawRoundedRect(QRectF(3, 12, kSize - 6, kSize - 24), 8, 8);
    QFont f(QStringLiteral("DejaVu Sans"));
    f.setBold(true);
    f.setPixelSize(word.size() > 2 ? 20 : 26);
    p.setFont(f);
    p.setPen(filled ? Qt::white : Qt::black);
    p.drawText(QRectF(3, 12, kSize - 6, kSize - 24), Qt::AlignCenter, word);
    return img;
}

// A screen outline of the given aspect, optionally with a colour mark.
enum class Colour { None, BlackWhite, Rgb };
QImage screen(double aspect, Colour colour)
{
    QImage img = paper();
    QPainter p(&img);
    p.setRenderHint(QPainter::Antialiasing, true);
    const double w = kSize - 8, h = w / aspect;
    const QRectF r(4, (kSize - h) / 2, w, h);
    p.setPen(QPen(Qt::black, 3));
    p.setBrush(Qt::white);
    p.drawRect(r);
    const QRectF in = r.adjusted(6, 6, -6, -6);
    if (colour == Colour::BlackWhite) {
        p.setPen(Qt::NoPen);
        p.setBrush(Qt::black);
        p.drawRect(QRectF(in.left(), in.top(), in.width() / 2, in.height()));
    } else if (colour == Colour::Rgb) {
        // Three dots of falling grey: the colour film in black ink.
        p.setPen(QPen(Qt::black, 2));
        const double d = std::min(in.height(), in.width() / 3) - 2;
        for (int i = 0; i < 3; ++i) {
            p.setBrush(QColor(40 + 90 * i, 40 + 90 * i, 40 + 90 * i));
            p.drawEllipse(QRectF(in.left() + i * in.width() / 3 + (in.width() / 3 - d) / 2,
                                 in.center().y() - d / 2, d, d));
        }
    }
    return img;
}

QImage colourOnly(Colour colour)
{
    QImage img = paper();
    QPainter p(&img);
    p.setRenderHint(QPainter::Antialiasing, true);
    p.setPen(QPen(Qt::black, 3));
    if (colour == Colour::BlackWhite) {
        p.setBrush(Qt::white);
        p.drawEllipse(QRectF(8, 8, kSize - 16, kSize - 16));
        QPainterPath half;
        half.moveTo(kSize / 2.0, 8);
        half.arcTo(QRectF(8, 8, kSize - 16, kSize - 16), 90, 180);
        half.closeSubpath();
        p.setBrush(Qt::black);
        p.drawPath(half);
    } else {
        for (int i = 0; i < 3; ++i) {
            p.setBrush(QColor(40 + 90 * i, 40 + 90 * i, 40 + 90 * i));
            const double a = i * 2.0944 - 1.5708;
            p.drawEllipse(QPointF(kSize / 2.0 + 11 * std::cos(a), kSize / 2.0 + 11 * std::sin(a)), 14, 14);
        }
    }
    return img;
}

QPainterPath star(const QPointF &c, double outer)
{
    QPainterPath path;
    for (int i = 0; i < 10; ++i) {
        const double r = (i % 2) ? outer * 0.42 : outer;
        const double a = -1.5708 + i * 0.6283;
        const QPointF pt(c.x() + r * std::cos(a), c.y() + r * std::sin(a));
        if (i == 0)
            path.moveTo(pt);
        else
            path.lineTo(pt);
    }
    path.closeSubpath();
    return path;
}

// Five star places, the first n filled: the label draws it five symbols wide.
QImage stars(int n)
{
    QImage img = paper(5 * kSize, kSize);
    QPainter p(&img);
    p.setRenderHint(QPainter::Antialiasing, true);
    p.setPen(QPen(Qt::black, 3));
    for (int i = 0; i < 5; ++i) {
        p.setBrush(i < n ? QBrush(Qt::black) : QBrush(Qt::white));
        p.drawPath(star(QPointF(kSize * (i + 0.5), kSize / 2.0), kSize * 0.44));
    }
    return img;
}

QImage notes()
{
    QImage img = paper();
    QPainter p(&img);
    p.setRenderHint(QPainter::Antialiasing, true);
    p.setPen(QPen(Qt::black, 3));
    p.setBrush(Qt::white);
    QPainterPath sheet;
    sheet.moveTo(12, 4);
    sheet.lineTo(42, 4);
    sheet.lineTo(54, 16);
    sheet.lineTo(54, 60);
    sheet.lineTo(12, 60);
    sheet.closeSubpath();
    p.drawPath(sheet);
    p.drawLine(QPointF(42, 4), QPointF(42, 16));
    p.drawLine(QPointF(42, 16), QPointF(54, 16));
    for (int y = 26; y <= 50; y += 8)
        p.drawLine(QPointF(19, y), QPointF(47, y));
    return img;
}

} // namespace

TARVO_GENERATOR(genLabelArt, "label symbols")
{
    const QString dir = progDir + QStringLiteral("/");
    const struct {
        const char *file;
        const char *word;
        bool filled;
    } sounds[] = {{"ac3.bmp", "AC3", true}, {"surrnd.bmp", "DS", false}, {"es.bmp", "ES", true},
                  {"mpg.bmp", "MPG", false}, {"dts.bmp", "DTS", true}, {"ex.bmp", "EX", false}};
    for (const auto &s : sounds)
        if (!gen::saveImage(badge(QLatin1String(s.word), s.filled), dir + QLatin1String(s.file), "BMP"))
            return false;
    // "Widescrn.bmp" and "Fullscrn.bmp" are the screen symbols themselves:
    // the drawing finds them whatever the case of the name.
    const struct {
        const char *file;
        double aspect;
        Colour colour;
    } screens[] = {{"widescrn.bmp", 16.0 / 9.0, Colour::None}, {"fullscrn.bmp", 4.0 / 3.0, Colour::None},
                   {"WidescrnSW.bmp", 16.0 / 9.0, Colour::BlackWhite},
                   {"WidescrnRGB.bmp", 16.0 / 9.0, Colour::Rgb}};
    for (const auto &s : screens)
        if (!gen::saveImage(screen(s.aspect, s.colour), dir + QLatin1String(s.file), "BMP"))
            return false;
    if (!gen::saveImage(colourOnly(Colour::BlackWhite), dir + QStringLiteral("SW.bmp"), "BMP") ||
        !gen::saveImage(colourOnly(Colour::Rgb), dir + QStringLiteral("RGB.bmp"), "BMP") ||
        !gen::saveImage(notes(), dir + QStringLiteral("NotesSW.bmp"), "BMP"))
        return false;
    for (int n = 0; n <= 5; ++n) {
        const QString name = n == 1 ? QStringLiteral("1Stern.jpg") : QStringLiteral("%1Sterne.jpg").arg(n);
        if (!gen::saveImage(stars(n), dir + name, "JPG"))
            return false;
    }
    return true;
}
