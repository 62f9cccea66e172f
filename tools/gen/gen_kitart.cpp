// The kit's art: the brushed-metal skins, the faces of the dialog buttons and
// the title glyphs, grip and window icon. Everything is drawn here; the
// random textures use fixed seeds, so every build writes the same files.
#include "generator.h"

#include <QImage>
#include <QPainter>
#include <QPainterPath>
#include <cmath>
#include <cstdio>
#include <random>
#include <vector>

namespace {

// Horizontal box blur with wrap-around, so the texture tiles seamlessly.
void blurRow(std::vector<double> &row, int radius)
{
    const int n = int(row.size());
    std::vector<double> out(n);
    double sum = 0;
    for (int k = -radius; k <= radius; ++k)
        sum += row[((k % n) + n) % n];
    for (int x = 0; x < n; ++x) {
        out[x] = sum / (2 * radius + 1);
        sum -= row[((x - radius) % n + n) % n];
        sum += row[(x + radius + 1) % n];
    }
    row.swap(out);
}

double stddev(const std::vector<double> &v)
{
    double m = 0, q = 0;
    for (double d : v)
        m += d;
    m /= double(v.size());
    for (double d : v)
        q += (d - m) * (d - m);
    return std::sqrt(q / double(v.size()));
}

// Brushed metal: long horizontal strokes of noise, fine streaks, a brightness
// that changes from row to row, and a soft sheen across the width.
QImage brushedMetal(int w, int h, QColor base, unsigned seed, double strength)
{
    std::mt19937 rng(seed);
    std::normal_distribution<double> gauss(0.0, 1.0);
    std::vector<std::vector<double>> coarse(h), fine(h);
    std::vector<double> rowLevel(h);
    for (int y = 0; y < h; ++y) {
        coarse[y].resize(w);
        fine[y].resize(w);
        for (int x = 0; x < w; ++x) {
            coarse[y][x] = gauss(rng);
            fine[y][x] = gauss(rng);
        }
        for (int pass = 0; pass < 3; ++pass)
            blurRow(coarse[y], 40);
        blurRow(fine[y], 3);
        rowLevel[y] = gauss(rng);
    }
    // Neighbouring rows share a little of their level (wrapping vertically).
    std::vector<double> level(h);
    for (int y = 0; y < h; ++y)
        level[y] = 0.6 * rowLevel[y] + 0.2 * rowLevel[(y + 1) % h] + 0.2 * rowLevel[(y + h - 1) % h];
    std::vector<double> all;
    for (int y = 0; y < h; ++y)
        all.insert(all.end(), coarse[y].begin(), coarse[y].end());
    const double sc = stddev(all);
    all.clear();
    for (int y = 0; y < h; ++y)
        all.insert(all.end(), fine[y].begin(), fine[y].end());
    const double sf = stddev(all);
    const double sl = stddev(level);

    QImage img(w, h, QImage::Format_RGB32);
    for (int y = 0; y < h; ++y) {
        auto *line = reinterpret_cast<QRgb *>(img.scanLine(y));
        for (int x = 0; x < w; ++x) {
            const double sheen = 5.0 * std::cos(2 * M_PI * x / w) + 2.0 * std::cos(2 * M_PI * 2 * y / h);
            const double v = strength * (3.2 * coarse[y][x] / sc + 2.2 * fine[y][x] / sf + 4.0 * level[y] / sl) + sheen;
            auto c = [&](int comp) { return std::clamp(int(std::lround(comp + v)), 0, 255); };
            line[x] = qRgb(c(base.red()), c(base.green()), c(base.blue()));
        }
    }
    return img;
}

// ---------------------------------------------------------------------------
// Button faces

struct FaceColours {
    QColor top, mid, bottom, border;
};

const FaceColours silver{{250, 250, 251}, {222, 223, 226}, {194, 196, 201}, {118, 122, 130}};
const FaceColours blue{{236, 241, 255}, {196, 210, 246}, {160, 180, 232}, {64, 84, 150}};
const FaceColours green{{236, 255, 236}, {186, 238, 186}, {140, 212, 140}, {40, 120, 40}};
const FaceColours red{{255, 238, 238}, {246, 200, 200}, {226, 150, 150}, {150, 40, 40}};
const FaceColours cyan{{234, 255, 255}, {186, 236, 240}, {138, 206, 214}, {20, 120, 130}};
const FaceColours disabled{{246, 246, 246}, {238, 238, 238}, {228, 228, 228}, {176, 176, 176}};

enum class Icon { None, Check, Cross, Help, Info, Plus, Dots };

void drawIcon(QPainter &p, Icon icon, int cx, bool hot, bool enabled)
{
    p.save();
    p.setRenderHint(QPainter::Antialiasing);
    const double cy = 10.5;
    auto pen = [&](QColor c, double w) {
        if (!enabled)
            c = QColor(170, 170, 170);
        p.setPen(QPen(c, w, Qt::SolidLine, Qt::RoundCap, Qt::RoundJoin));
        p.setBrush(Qt::NoBrush);
    };
    switch (icon) {
    case Icon::None: break;
    case Icon::Check: {
        QPainterPath path;
        path.moveTo(cx - 6, cy);
        path.lineTo(cx - 2, cy + 4);
        path.lineTo(cx + 6, cy - 5);
        pen(QColor(255, 255, 255, 160), 3.6);
        p.drawPath(path.translated(0.6, 0.8));
        pen(hot ? QColor(0, 140, 0) : QColor(40, 130, 40), 2.6);
        p.drawPath(path);
        break;
    }
    case Icon::Cross: {
        pen(QColor(255, 255, 255, 160), 3.4);
        p.drawLine(QPointF(cx - 4.4, cy - 4.4), QPointF(cx + 4.6, cy + 4.6));
        p.drawLine(QPointF(cx + 4.6, cy - 4.4), QPointF(cx - 4.4, cy + 4.6));
        pen(hot ? QColor(200, 0, 0) : QColor(170, 30, 30), 2.4);
        p.drawLine(QPointF(cx - 4, cy - 4), QPointF(cx + 4, cy + 4));
        p.drawLine(QPointF(cx + 4, cy - 4), QPointF(cx - 4, cy + 4));
        break;
    }
    case Icon::Help:
    case Icon::Info: {
        const QColor fill = icon == Icon::Help ? (hot ? QColor(0, 150, 160) : QColor(40, 140, 150))
                                               : (hot ? QColor(30, 70, 200) : QColor(50, 80, 170));
        QRadialGradient g(QPointF(cx - 2, cy - 3), 9);
        g.setColorAt(0, fill.lighter(150));
        g.setColorAt(1, fill);
        p.setPen(QPen(fill.darker(140), 1));
        p.setBrush(enabled ? QBrush(g) : QBrush(QColor(190, 190, 190)));
        p.drawEllipse(QPointF(cx, cy), 7, 7);
        QFont f(QStringLiteral("DejaVu Sans"));
        f.setPixelSize(11);
        f.setBold(true);
        p.setFont(f);
        p.setPen(Qt::white);
        p.drawText(QRectF(cx - 7, cy - 7, 14, 14), Qt::AlignCenter,
                   icon == Icon::Help ? QStringLiteral("?") : QStringLiteral("i"));
        break;
    }
    case Icon::Plus: {
        pen(QColor(255, 255, 255, 160), 3.6);
        p.drawLine(QPointF(cx + 0.6, cy - 4.4), QPointF(cx + 0.6, cy + 5.6));
        p.drawLine(QPointF(cx - 4.4, cy + 0.6), QPointF(cx + 5.6, cy + 0.6));
        pen(hot ? QColor(0, 140, 0) : QColor(40, 130, 40), 2.6);
        p.drawLine(QPointF(cx, cy - 5), QPointF(cx, cy + 5));
        p.drawLine(QPointF(cx - 5, cy), QPointF(cx + 5, cy));
        break;
    }
    case Icon::Dots: {
        p.setPen(Qt::NoPen);
        p.setBrush(enabled ? (hot ? QColor(20, 40, 130) : QColor(60, 60, 70)) : QColor(170, 170, 170));
        for (int k = -1; k <= 1; ++k)
            p.drawEllipse(QPointF(cx + 6.0 * k, cy + 2), 1.6, 1.6);
        break;
    }
    }
    p.restore();
}

QImage buttonFace(int w, const FaceColours &c, Icon icon, int iconX, bool hot, bool enabled = true)
{
    QImage img(w, 21, QImage::Format_RGB32);
    // Corners outside the rounded shape take the dialogs' face colour, so a
    // button without regions still sits well on its window.
    img.fill(QColor(210, 210, 210));
    QPainter p(&img);
    p.setRenderHint(QPainter::Antialiasing);
    const QRectF body(1.5, 1.5, w - 2.0, 18.5);
    QLinearGradient g(0, 1, 0, 20);
    g.setColorAt(0.0, c.top);
    g.setColorAt(0.48, c.mid);
    g.setColorAt(0.52, c.mid.darker(104));
    g.setColorAt(1.0, c.bottom);
    p.setPen(QPen(c.border, 1));
    p.setBrush(g);
    p.drawRoundedRect(body, 7.5, 8.5);
    // Gloss on the upper half and a light inner rim.
    QLinearGradient gloss(0, 2, 0, 11);
    gloss.setColorAt(0, QColor(255, 255, 255, 150));
    gloss.setColorAt(1, QColor(255, 255, 255, 20));
    p.setPen(Qt::NoPen);
    p.setBrush(gloss);
    p.drawRoundedRect(QRectF(3, 2.5, w - 5.0, 8), 6, 4);
    p.setBrush(Qt::NoBrush);
    p.setPen(QPen(QColor(255, 255, 255, 110), 1));
    p.drawRoundedRect(body.adjusted(1, 1, -1, -1), 6.5, 7.5);
    drawIcon(p, icon, iconX, hot, enabled);
    return img;
}

// ---------------------------------------------------------------------------
// Title glyphs: 16 x 16 each, the hot one first and the normal one second.

using GlyphFn = void (*)(QPainter &, const QColor &);

void glyphX(QPainter &p, const QColor &c)
{
    p.setPen(QPen(c, 2.0, Qt::SolidLine, Qt::SquareCap));
    p.drawLine(QPointF(4.5, 4.5), QPointF(11.5, 11.5));
    p.drawLine(QPointF(11.5, 4.5), QPointF(4.5, 11.5));
}

void glyphUp(QPainter &p, const QColor &c)
{
    // Roll up: a bar with a chevron rising to it.
    p.fillRect(QRectF(3, 3, 10, 2), c);
    QPainterPath path;
    path.moveTo(4, 12);
    path.lineTo(8, 8);
    path.lineTo(12, 12);
    p.setPen(QPen(c, 2.0, Qt::SolidLine, Qt::SquareCap, Qt::MiterJoin));
    p.drawPath(path);
}

void glyphDown(QPainter &p, const QColor &c)
{
    p.fillRect(QRectF(4, 10, 8, 2), c);
}

void glyphBig(QPainter &p, const QColor &c)
{
    p.setPen(QPen(c, 1.0));
    p.setBrush(Qt::NoBrush);
    p.drawRect(QRectF(3.5, 3.5, 9, 9));
    p.fillRect(QRectF(3, 3, 10, 2.5), c);
}

void glyphRestore(QPainter &p, const QColor &c)
{
    p.setPen(QPen(c, 1.0));
    p.setBrush(Qt::NoBrush);
    p.drawRect(QRectF(5.5, 2.5, 7, 6));
    p.fillRect(QRectF(5, 2, 8, 2), c);
    p.fillRect(QRectF(3, 6, 8, 8), QColor(0, 0, 0, 0));
    p.setCompositionMode(QPainter::CompositionMode_Clear);
    p.fillRect(QRectF(3.0, 6.0, 7.0, 7.0), Qt::transparent);
    p.setCompositionMode(QPainter::CompositionMode_SourceOver);
    p.drawRect(QRectF(3.5, 6.5, 7, 6));
    p.fillRect(QRectF(3, 6, 8, 2), c);
}

void glyphZoom(QPainter &p, const QColor &c, bool in)
{
    p.setPen(QPen(c, 1.4));
    p.setBrush(Qt::NoBrush);
    p.drawEllipse(QPointF(6.5, 6.5), 4.2, 4.2);
    p.setPen(QPen(c, 2.4, Qt::SolidLine, Qt::RoundCap));
    p.drawLine(QPointF(9.8, 9.8), QPointF(13.2, 13.2));
    p.setPen(QPen(c, 1.2));
    p.drawLine(QPointF(4.6, 6.5), QPointF(8.4, 6.5));
    if (in)
        p.drawLine(QPointF(6.5, 4.6), QPointF(6.5, 8.4));
}
void glyphZoomIn(QPainter &p, const QColor &c) { glyphZoom(p, c, true); }
void glyphZoomOut(QPainter &p, const QColor &c) { glyphZoom(p, c, false); }

QImage twoGlyphs(GlyphFn fn, const QColor &hot, const QColor &normal, bool antialias)
{
    QImage img(32, 16, QImage::Format_ARGB32_Premultiplied);
    img.fill(Qt::transparent);
    QPainter p(&img);
    p.setRenderHint(QPainter::Antialiasing, antialias);
    // A faint light copy below and right lifts the glyph off the metal.
    for (int half = 0; half < 2; ++half) {
        p.save();
        p.translate(16 * half, 0);
        p.save();
        p.translate(1, 1);
        fn(p, QColor(255, 255, 255, 130));
        p.restore();
        fn(p, half == 0 ? hot : normal);
        p.restore();
    }
    return img;
}

// The window icon: a video cassette.
QImage windowIcon()
{
    QImage img(16, 16, QImage::Format_ARGB32_Premultiplied);
    img.fill(Qt::transparent);
    QPainter p(&img);
    p.setRenderHint(QPainter::Antialiasing);
    QLinearGradient g(0, 2, 0, 14);
    g.setColorAt(0, QColor(70, 74, 86));
    g.setColorAt(1, QColor(24, 26, 32));
    p.setPen(QPen(QColor(10, 10, 14), 1));
    p.setBrush(g);
    p.drawRoundedRect(QRectF(0.5, 3.5, 15, 10), 1.5, 1.5);
    p.setPen(Qt::NoPen);
    p.setBrush(QColor(235, 226, 190));
    p.drawRect(QRectF(3, 5, 10, 3));
    p.setBrush(QColor(200, 205, 215));
    p.drawEllipse(QPointF(5, 10.5), 1.9, 1.9);
    p.drawEllipse(QPointF(11, 10.5), 1.9, 1.9);
    p.setBrush(QColor(40, 40, 46));
    p.drawEllipse(QPointF(5, 10.5), 0.8, 0.8);
    p.drawEllipse(QPointF(11, 10.5), 0.8, 0.8);
    p.setBrush(QColor(200, 40, 40));
    p.drawRect(QRectF(3, 5, 2, 3));
    return img;
}

// The grip: three rows of raised dots towards the corner.
QImage grip()
{
    QImage img(16, 16, QImage::Format_ARGB32_Premultiplied);
    img.fill(Qt::transparent);
    QPainter p(&img);
    for (int row = 0; row < 4; ++row)
        for (int col = 3 - row; col < 4; ++col) {
            const int x = 3 + col * 3, y = 3 + row * 3;
            p.fillRect(x + 1, y + 1, 2, 2, QColor(255, 255, 255, 220));
            p.fillRect(x, y, 2, 2, QColor(96, 100, 110));
        }
    return img;
}

} // namespace

TARVO_GENERATOR(genMetalSkins, "brushed-metal skins")
{
    const QString dir = progDir + QStringLiteral("/Skins/Metal/");
    return gen::saveImage(brushedMetal(256, 256, QColor(196, 197, 200), 1201, 1.0), dir + "brushedmetal.bmp", "BMP")
        && gen::saveImage(brushedMetal(256, 256, QColor(146, 168, 216), 1202, 1.0), dir + "brushedmetalblue.bmp", "BMP")
        && gen::saveImage(brushedMetal(256, 256, QColor(222, 223, 226), 1203, 0.8), dir + "brushedmetallight.bmp", "BMP");
}

TARVO_GENERATOR(genButtonFaces, "button faces")
{
    const QString dir = progDir + QStringLiteral("/Skins/Buttons/");
    struct Face {
        const char *name;
        int width;
        const FaceColours *colours;
        Icon icon;
        int iconX;
        bool hot;
        bool enabled;
    };
    const Face faces[] = {
        {"BLUE35", 35, &blue, Icon::None, 0, true, true},
        {"SILVER35", 35, &silver, Icon::None, 0, false, true},
        {"BLUE100", 100, &blue, Icon::None, 0, true, true},
        {"SILVER100", 100, &silver, Icon::None, 0, false, true},
        {"BLUE150", 150, &blue, Icon::None, 0, true, true},
        {"SILVER150", 150, &silver, Icon::None, 0, false, true},
        {"BLUE200", 200, &blue, Icon::None, 0, true, true},
        {"SILVER200", 200, &silver, Icon::None, 0, false, true},
        {"OKGREEN", 100, &green, Icon::Check, 36, true, true},
        {"OKSILVER", 100, &silver, Icon::Check, 36, false, true},
        {"CANCELRED", 100, &red, Icon::Cross, 20, true, true},
        {"CANCELSILVER", 100, &silver, Icon::Cross, 20, false, true},
        {"PPPBLUE", 35, &blue, Icon::Dots, 17, true, true},
        {"PPPSILVER", 35, &silver, Icon::Dots, 17, false, true},
        {"PPPDISABLED", 35, &disabled, Icon::Dots, 17, false, false},
        {"HELPCYAN", 100, &cyan, Icon::Help, 29, true, true},
        {"HELPSILVER", 100, &silver, Icon::Help, 29, false, true},
        {"PLUSGREEN200", 200, &green, Icon::Plus, 20, true, true},
        {"PLUSSILVER200", 200, &silver, Icon::Plus, 20, false, true},
        {"INFOBLUE", 100, &blue, Icon::Info, 30, true, true},
        {"INFOSILVER", 100, &silver, Icon::Info, 30, false, true},
    };
    for (const Face &f : faces)
        if (!gen::saveImage(buttonFace(f.width, *f.colours, f.icon, f.iconX, f.hot, f.enabled),
                       dir + QLatin1String(f.name) + ".bmp", "BMP"))
            return false;
    return true;
}

TARVO_GENERATOR(genTitleGlyphs, "title glyphs")
{
    const QString dir = progDir + QStringLiteral("/Resources/");
    struct G {
        const char *name;
        GlyphFn fn;
    };
    const G glyphs[] = {{"X", glyphX},           {"UP", glyphUp},           {"DOWN", glyphDown},
                        {"BIG", glyphBig},       {"RESTORE", glyphRestore}, {"ZOOMIN", glyphZoomIn},
                        {"ZOOMOUT", glyphZoomOut}};
    for (const G &g : glyphs) {
        const bool isX = QLatin1String(g.name) == QLatin1String("X");
        // The metal set: navy when hot (the close button red), dark grey otherwise.
        const QColor hot = isX ? QColor(180, 0, 0) : QColor(0, 0, 140);
        if (!gen::saveImage(twoGlyphs(g.fn, hot, QColor(36, 38, 48), true), dir + g.name + "_M.png", "PNG"))
            return false;
        if (QLatin1String(g.name).startsWith(QLatin1String("ZOOM")))
            continue;
        // The plain set: black glyphs, crisp, as on the older grey frame.
        if (!gen::saveImage(twoGlyphs(g.fn, isX ? QColor(160, 0, 0) : QColor(0, 0, 128), Qt::black, false),
                       dir + g.name + ".png", "PNG"))
            return false;
    }
    return gen::saveImage(windowIcon(), dir + "SYSM_M.png", "PNG") && gen::saveImage(windowIcon(), dir + "SYSM.png", "PNG")
        && gen::saveImage(grip(), dir + "ECKE_M.png", "PNG") && gen::saveImage(grip(), dir + "ECKE.png", "PNG");
}
