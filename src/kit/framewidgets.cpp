#include "kit/framewidgets.h"

#include <QPainter>

// ---------------------------------------------------------------------------
// TFramePanel

TFramePanel::TFramePanel(QWidget *parent) : QWidget(parent)
{
    setAttribute(Qt::WA_OpaquePaintEvent);
}

void TFramePanel::SetColor(const QColor &c)
{
    if (FColor == c)
        return;
    FColor = c;
    update();
}

void TFramePanel::SetTile(const QImage &tile)
{
    if (FTile.cacheKey() == tile.cacheKey())
        return;
    FTile = tile;
    update();
}

void TFramePanel::SetBevelOuter(TBevelCut b)
{
    if (FBevelOuter == b)
        return;
    FBevelOuter = b;
    update();
}

void TFramePanel::SetBevelWidth(int w)
{
    if (FBevelWidth == w)
        return;
    FBevelWidth = w;
    update();
}

void TFramePanel::SetBorderSingle(bool on)
{
    if (FBorderSingle == on)
        return;
    FBorderSingle = on;
    update();
}

int TFramePanel::Inset() const
{
    return (FBorderSingle ? 1 : 0) + (FBevelOuter != bvNone ? FBevelWidth : 0);
}

void TFramePanel::paintEvent(QPaintEvent *)
{
    QPainter p(this);
    p.fillRect(rect(), FColor);
    if (!FTile.isNull()) {
        // One texture across the window: the tile's origin is the window's.
        const QPoint origin = mapTo(window(), QPoint(0, 0));
        p.drawTiledPixmap(rect(), QPixmap::fromImage(FTile), origin);
    }
    QRect r = rect();
    if (FBorderSingle) {
        p.setPen(QColor(64, 64, 64));
        p.drawRect(r.adjusted(0, 0, -1, -1));
        r.adjust(1, 1, -1, -1);
    }
    if (FBevelOuter != bvNone) {
        // Bevels shade the face itself: brighter and darker rings of it.
        const QColor light(255, 255, 255, 150), dark(0, 0, 0, 90);
        const QColor &tl = FBevelOuter == bvRaised ? light : dark;
        const QColor &br = FBevelOuter == bvRaised ? dark : light;
        for (int i = 0; i < FBevelWidth; ++i) {
            p.setPen(tl);
            p.drawLine(r.left(), r.bottom(), r.left(), r.top());
            p.drawLine(r.left() + 1, r.top(), r.right(), r.top());
            p.setPen(br);
            p.drawLine(r.right(), r.top() + 1, r.right(), r.bottom());
            p.drawLine(r.left() + 1, r.bottom(), r.right() - 1, r.bottom());
            r.adjust(1, 1, -1, -1);
        }
    }
}

// ---------------------------------------------------------------------------
// TFrameShaded

TFrameShaded::TFrameShaded(QWidget *parent) : QWidget(parent)
{
    setAttribute(Qt::WA_OpaquePaintEvent);
    resize(50, 50);
}

void TFrameShaded::SetStartColor(const QColor &c)
{
    if (StartColor == c)
        return;
    StartColor = c;
    update();
}

void TFrameShaded::paintEvent(QPaintEvent *)
{
    QPainter p(this);
    const int extent = Horizontal ? width() : height();
    if (extent <= 0)
        return;
    // Band size in 16.16 fixed point; an area shorter than one band is one band.
    const qint64 band = Graduation > 0 ? (qint64(100) << 16) / Graduation : qint64(extent) << 16;
    const qint64 n = std::max<qint64>(1, (qint64(extent) << 16) / band);
    int c[3] = {StartColor.red(), StartColor.green(), StartColor.blue()};
    const int e[3] = {EndColor.red(), EndColor.green(), EndColor.blue()};
    int step[3];
    for (int k = 0; k < 3; ++k)
        step[k] = int((e[k] - c[k]) / n);
    for (qint64 i = 0;; ++i) {
        const int a = int((i * band) >> 16);
        if (a >= extent)
            break;
        const int b = std::min(extent, int(((i + 1) * band) >> 16));
        const QColor col(std::clamp(c[0], 0, 255), std::clamp(c[1], 0, 255), std::clamp(c[2], 0, 255));
        if (Horizontal)
            p.fillRect(a, 0, b - a, height(), col);
        else
            p.fillRect(0, a, width(), b - a, col);
        for (int k = 0; k < 3; ++k)
            c[k] += step[k];
    }
}

// ---------------------------------------------------------------------------
// TFrameTitleButton

TFrameTitleButton::TFrameTitleButton(QWidget *parent) : QAbstractButton(parent)
{
    setFocusPolicy(Qt::NoFocus);
    resize(16, 16);
}

void TFrameTitleButton::SetGlyph(const QPixmap &twoGlyphs, const QString &name)
{
    FGlyph = twoGlyphs;
    FGlyphName = name;
    update();
}

void TFrameTitleButton::enterEvent(QEnterEvent *e)
{
    FHot = true;
    update();
    QAbstractButton::enterEvent(e);
}

void TFrameTitleButton::leaveEvent(QEvent *e)
{
    FHot = false;
    update();
    QAbstractButton::leaveEvent(e);
}

void TFrameTitleButton::paintEvent(QPaintEvent *)
{
    QPainter p(this);
    const bool down = isDown();
    const int gh = FGlyph.height();
    const int gw = gh > 0 && FGlyph.width() >= 2 * gh ? FGlyph.width() / 2 : FGlyph.width();
    const QRect src((FHot || down) ? 0 : (FGlyph.width() >= 2 * gw ? gw : 0), 0, gw, gh);
    int x = (width() - gw) / 2, y = (height() - gh) / 2;
    if (down) {
        ++x;
        ++y;
    }
    if (!FGlyph.isNull())
        p.drawPixmap(QRect(x, y, gw, gh), FGlyph, src);
    if (FHot || down) {
        const QColor light(255, 255, 255, 200), dark(0, 0, 0, 120);
        const QRect r = rect().adjusted(0, 0, -1, -1);
        p.setPen(down ? dark : light);
        p.drawLine(r.topLeft(), r.topRight());
        p.drawLine(r.topLeft(), r.bottomLeft());
        p.setPen(down ? light : dark);
        p.drawLine(r.bottomLeft(), r.bottomRight());
        p.drawLine(r.topRight(), r.bottomRight());
    }
}

// ---------------------------------------------------------------------------
// TFrameCaption

namespace {
struct NamedColour {
    const char *name;
    QRgb rgb;
};
constexpr NamedColour captionColours[] = {
    {"Black", 0x000000}, {"Maroon", 0x800000}, {"Green", 0x008000}, {"Olive", 0x808000},
    {"Navy", 0x000080},  {"Purple", 0x800080}, {"Teal", 0x008080},  {"Gray", 0x808080},
    {"Silver", 0xC0C0C0}, {"Red", 0xFF0000},   {"Lime", 0x00FF00},  {"Yellow", 0xFFFF00},
    {"Blue", 0x0000FF},  {"Fuchsia", 0xFF00FF}, {"Aqua", 0x00FFFF}, {"White", 0xFFFFFF},
};
} // namespace

void DrawCaptionMarkup(QPainter &p, int x, int baseline, const QString &caption, const QFont &baseFont,
                       const QColor &baseColor, bool keepColour)
{
    QFont font = baseFont;
    QColor colour = baseColor;
    QString run;
    auto flush = [&] {
        if (run.isEmpty())
            return;
        p.setFont(font);
        p.setPen(colour);
        p.drawText(x, baseline, run);
        x += QFontMetrics(font).horizontalAdvance(run);
        run.clear();
    };
    for (int i = 0; i < caption.size(); ++i) {
        const QChar ch = caption.at(i);
        if (ch != u'\\' || i + 1 >= caption.size()) {
            run += ch;
            continue;
        }
        const QChar nx = caption.at(i + 1);
        const QString rest = caption.mid(i + 1);
        auto sw = [&](auto apply) {
            flush();
            apply();
            ++i;
        };
        if (nx == u'\\') { run += u'\\'; ++i; }
        else if (nx == u'B') sw([&] { font.setBold(true); });
        else if (nx == u'b') sw([&] { font.setBold(false); });
        else if (nx == u'I') sw([&] { font.setItalic(true); });
        else if (nx == u'i') sw([&] { font.setItalic(false); });
        else if (nx == u'U') sw([&] { font.setUnderline(true); });
        else if (nx == u'u') sw([&] { font.setUnderline(false); });
        else if (nx == u'N' || nx == u'n') sw([&] { font = baseFont; });
        else if (rest.startsWith(QLatin1String("lb"), Qt::CaseInsensitive)) { flush(); run += u' '; i += 2; }
        else if (nx == u'c' || nx == u'C') {
            bool matched = false;
            for (const auto &nc : captionColours) {
                const QLatin1String name(nc.name);
                if (rest.mid(1, name.size()).compare(name, Qt::CaseInsensitive) == 0) {
                    flush();
                    if (!keepColour)
                        colour = QColor::fromRgb(nc.rgb);
                    i += int(name.size()) + 1;
                    matched = true;
                    break;
                }
            }
            if (!matched)
                run += ch;
        } else {
            run += ch;
        }
    }
    flush();
}

TFrameCaption::TFrameCaption(QWidget *parent) : QWidget(parent)
{
    setAttribute(Qt::WA_TransparentForMouseEvents, false);
    QFont f(QStringLiteral("Arial"));
    f.setPixelSize(12);
    f.setBold(true);
    setFont(f);
    resize(65, 17);
}

void TFrameCaption::SetCaption(const QString &s)
{
    if (FCaption == s)
        return;
    FCaption = s;
    update();
}

void TFrameCaption::SetFontColor(const QColor &c)
{
    if (FColor == c)
        return;
    FColor = c;
    update();
}

void TFrameCaption::paintEvent(QPaintEvent *)
{
    QPainter p(this);
    p.setRenderHint(QPainter::TextAntialiasing);
    const QFontMetrics fm(font());
    const int baseline = (height() - fm.height()) / 2 + fm.ascent();
    p.setClipRect(rect());
    DrawCaptionMarkup(p, 0, baseline, FCaption, font(), FColor, false);
}

// ---------------------------------------------------------------------------
// TFrameImage, TFrameShape

TFrameImage::TFrameImage(QWidget *parent) : QWidget(parent)
{
    resize(16, 16);
}

void TFrameImage::SetPicture(const QPixmap &pm, const QString &name)
{
    FPicture = pm;
    FName = name;
    update();
}

void TFrameImage::paintEvent(QPaintEvent *)
{
    if (FPicture.isNull())
        return;
    QPainter p(this);
    p.drawPixmap(0, 0, FPicture);
}

TFrameShape::TFrameShape(QWidget *parent) : QWidget(parent)
{
}

void TFrameShape::paintEvent(QPaintEvent *)
{
    QPainter p(this);
    p.fillRect(rect(), PenColor);
}
