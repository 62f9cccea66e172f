#include "print/attachmentcard.h"

#include "platform/rounding.h"
#include "print/labelsymbols.h"

#include <QFontMetrics>

#include <algorithm>

void AddCardField(TAttachmentCardData &d, const QString &caption, const QString &value, bool isLink)
{
    if (isLink || value.isEmpty())
        return;
    d.captions.push_back(caption);
    d.fieldValues.push_back(value);
}

QString MediumCardHeading(const QString &kind, int nr)
{
    QString word = kind;
    if (kind == QLatin1String("VHS-SB"))
        word = QStringLiteral("Kassette");
    else if (kind == QLatin1String("VHS-KK"))
        word = QStringLiteral("Kaufkassette");
    return QStringLiteral("Anhang zu ") + word + QStringLiteral(" Nummer ") + QString::number(nr);
}

QString FitCardValue(const QString &value, const QFont &font, int maxWidth)
{
    QString v = value;
    while (!v.isEmpty() && TextWidth(font, v) > maxWidth)
        v.chop(1);
    return v;
}

namespace {

constexpr int kMaxSteps = 10000;

qint64 areaMm2(const QSize &s, const TLabelScale &sc)
{
    const qint64 wmm = platform::mulDivRoundHalfEven(s.width(), sc.x.den, sc.x.num);
    const qint64 hmm = platform::mulDivRoundHalfEven(s.height(), sc.y.den, sc.y.num);
    return wmm * hmm;
}

int times(int v, int num, int den)
{
    return int(platform::mulDivRoundHalfEven(v, num, den));
}

} // namespace

QSize FitCardPicture(const QSize &picture, int maxWidth, int maxHeight, int maxAreaMm2, const TLabelScale &scale)
{
    if (maxHeight <= 0 || maxWidth <= 0 || picture.width() <= 0 || picture.height() <= 0)
        return QSize();
    int w = picture.width(), h = picture.height();
    if (w > 1 && h > 1) {
        for (int i = 0; i < kMaxSteps && w <= maxWidth && h <= maxHeight && areaMm2(QSize(w, h), scale) < maxAreaMm2; ++i) {
            w = std::max(times(w, 11, 10), w + 1);
            h = std::max(times(h, 11, 10), h + 1);
        }
        for (int i = 0; i < kMaxSteps && (w > maxWidth || h > maxHeight || areaMm2(QSize(w, h), scale) > maxAreaMm2)
                        && (w > 1 || h > 1);
             ++i) {
            w = std::max(1, std::min(times(w, 9, 10), w - 1));
            h = std::max(1, std::min(times(h, 9, 10), h - 1));
        }
    }
    return QSize(w, h);
}

namespace {

struct Card
{
    const TAttachmentCardData &d;
    const TAttachmentOptions &o;
    const TLabelScale &s;
    const TLabelSettings &lo;
    TLabelArtProvider &art;

    QFont font(int points, bool italic = false, bool bold = false) const
    {
        return PageFont(o.fontName, points, s, italic, bold);
    }
    int mmX(int tenths) const { return s.px(tenths); }
    int mmY(int tenths) const { return s.py(tenths); }
    void textTop(TLabelLayout &out, int x, int y, const QFont &f, const QString &t) const
    {
        out.text(QPoint(x, y + PageAscent(f)), f, t);
    }

    void heading(TLabelLayout &out, const QString &extra) const
    {
        const QFont f14 = font(14, false, true);
        const int hH = PageTextHeight(f14);
        const int base = hH + mmY(10);
        int x = mmX(30);
        auto draw = [&](const QFont &f, const QString &t, int gapAfter) {
            out.text(QPoint(x, base), f, t);
            x += TextWidth(f, t) + gapAfter;
        };
        if (d.film) {
            draw(f14, d.values.Titel, mmX(50));
            const QString sub = d.values.Untertitel.value_or(QString());
            if (sub.startsWith(QLatin1Char('>'))) {
                x -= mmX(20);
                draw(f14, sub.mid(1), mmX(10));
            } else if (!sub.isEmpty()) {
                draw(font(12, false, true), QStringLiteral("- ") + sub, mmX(10));
            }
            if (o.filmTimes) {
                const QString t = FilmTimeText(d.values.Len, d.values.LP, d.values.MW, o.playTimeFormat).trimmed();
                if (!t.isEmpty())
                    draw(font(10, false, true), t, mmX(10));
            }
            if (!extra.isEmpty())
                draw(font(12, false, true), extra, 0);
            // The symbols in a square ending at the right text edge.
            const int side = int(platform::mulDivRoundHalfEven(qint64(hH) * s.x.num * s.y.den, 1, s.x.den * s.y.num));
            TSymbolSwitches sw;
            sw.sound = sw.stars = sw.category = true;
            DrawFilmSymbols(out, d.values, QRect(mmX(1820) - side, mmY(10), side, hH), mmX(10), false, sw, lo, art);
        } else {
            draw(f14, MediumCardHeading(d.mediumKind, d.mediumNr), mmX(50));
            if (o.mediumTimes && d.mediumKind != QLatin1String("VHS-KK") && d.mediumKind != QLatin1String("DVD"))
                draw(font(10, false, true),
                     QStringLiteral("E-") + d.tapeLength + QStringLiteral(", Restspielzeit ca. ")
                         + QString::number(d.mediumRest) + QStringLiteral(" min"),
                     mmX(10));
            if (!extra.isEmpty())
                draw(font(12, false, true), extra, 0);
        }
    }

    // Captions and values in two columns; returns y below the rule.
    int fields(TLabelLayout &out, int size, TCardAttempt &a) const
    {
        int y = PageTextHeight(font(14, false, true)) + mmY(50);
        a.fieldTop = y;
        const QFont fc = font(size, true), fv = font(size);
        const int L = PageTextHeight(fv);
        int widest = 0;
        for (const QString &c : d.captions)
            widest = std::max(widest, TextWidth(fc, c));
        const int cols[2] = {mmX(30), mmX(940)};
        const int maxValue = mmX(880) - widest;
        for (size_t i = 0; i < d.captions.size(); ++i) {
            const int col = cols[i % 2];
            const int row = y + int(i / 2) * L;
            textTop(out, col, row, fc, d.captions[i]);
            textTop(out, col + widest + mmX(30), row, fv, FitCardValue(d.fieldValues[i], fv, maxValue));
        }
        y += int((d.captions.size() + 1) / 2) * L;
        y += mmY(20);
        out.line(QPoint(mmX(30), y), QPoint(mmX(1820), y));
        a.ruleY = y;
        return y + mmY(20);
    }

    void foldMark(TLabelLayout &out) const
    {
        const QFont f6 = PageFont(QStringLiteral("Arial"), 6, s);
        const int x = mmX(1875), y = mmY(1000);
        out.text(QPoint(x, y - QFontMetrics(f6).descent()), f6, QStringLiteral("Hier"));
        textTop(out, x, y, f6, QStringLiteral("knicken"));
        out.line(QPoint(mmX(1920), y), QPoint(mmX(1860), y));
        out.line(QPoint(mmX(1860), y), QPoint(mmX(1870), y - mmY(15)));
        out.line(QPoint(mmX(1860), y), QPoint(mmX(1870), y + mmY(15)));
    }

    // The picture box (front of a film card); empty when there is none.
    QRect picture(int y, int bottom, int scaleTenths) const
    {
        const QImage &img = d.values.Grafik;
        if (!d.film || scaleTenths <= 0 || img.isNull())
            return QRect();
        const QSize size(int(platform::mulDivRoundHalfEven(qint64(img.width()) * s.x.num * s.y.den, 1,
                                                           s.x.den * s.y.num)),
                         img.height());
        const bool memo = !d.text.isEmpty();
        QSize fit = memo ? FitCardPicture(size, mmX(1000), mmY(600), 3500, s)
                         : FitCardPicture(size, mmX(1790), bottom - y - mmY(30), 20000, s);
        if (fit.isEmpty())
            return QRect();
        if (!memo) {
            const int space = bottom - mmY(30) - y;
            return QRect(mmX(925) - fit.width() / 2, y + (space - fit.height()) / 2, fit.width(), fit.height());
        }
        fit = QSize(times(fit.width(), scaleTenths, 10), times(fit.height(), scaleTenths, 10));
        if (bottom - y <= 0)
            return QRect();
        for (int i = 0; i < kMaxSteps && y + fit.height() > bottom && fit.height() > 1; ++i)
            fit = QSize(std::max(1, std::min(times(fit.width(), 9, 10), fit.width() - 1)),
                        std::max(1, std::min(times(fit.height(), 9, 10), fit.height() - 1)));
        if (fit.isEmpty() || y + fit.height() > bottom)
            return QRect();
        return QRect(mmX(1820) - fit.width(), y, fit.width(), fit.height());
    }

    // One half of the card; returns true when the text is used up.
    bool half(TLabelLayout &out, bool front, int &pos, const QString &extra, int size, int scaleTenths,
              TCardAttempt &a) const
    {
        const int top = front ? 1 : mmY(1000);
        const int bottom = front ? mmY(1000) : mmY(2000);
        out.rect(QRect(1, top, mmX(1850) - 1, bottom - top));
        int y;
        QRect pic;
        if (front) {
            heading(out, extra);
            y = fields(out, size, a);
            pic = picture(y, bottom, scaleTenths);
            if (!pic.isEmpty())
                out.image(pic, d.values.Grafik);
            a.picture = pic;
        } else {
            foldMark(out);
            y = mmY(1000) + mmY(10);
        }
        const QFont f = font(size);
        const int L = PageTextHeight(f);
        const int n = int(d.text.size());
        while (y + L <= bottom && pos < n) {
            const int right = (pic.isEmpty() || y >= pic.top() + pic.height()) ? mmX(1820) : pic.left() - mmX(20);
            const QString line = WrapTextLine(pos, d.text, f, right - mmX(30));
            textTop(out, mmX(30), y, f, line);
            y += L;
        }
        return pos >= n;
    }
};

} // namespace

TCardResult DrawAttachmentCard(const TAttachmentCardData &d, const TAttachmentOptions &o, const TLabelScale &scale,
                               const TLabelSettings &labelOptions, TLabelArtProvider &art, const TCardAsk &ask)
{
    TCardResult result;
    const Card card{d, o, scale, labelOptions, art};
    const int grScale = (o.grScale >= 8 && o.grScale <= 12) ? o.grScale : 10;
    const bool hasPicture = d.film && !d.values.Grafik.isNull();
    int start = 0;
    QString extra;
    int size = 12, scaleTenths = grScale;
    bool firstPass = true;
    for (;;) {
        TCardAttempt a;
        a.fontSize = size;
        a.scaleTenths = scaleTenths;
        a.firstPass = firstPass;
        TLabelLayout layout;
        int pos = start;
        bool done = card.half(layout, true, pos, extra, size, scaleTenths, a);
        if (!done && !firstPass) {
            a.backHalf = true;
            done = card.half(layout, false, pos, extra, size, scaleTenths, a);
        }
        a.endPos = pos;
        a.complete = done;
        result.attempts.push_back(a);
        auto keepCard = [&] {
            TPageSheet sheet;
            sheet.layout = std::move(layout);
            result.doc.sheets.push_back(std::move(sheet));
        };
        if (done) {
            keepCard();
            return result;
        }
        if (size > 8) {
            size -= 2;
            continue;
        }
        // Integer tenths: from 12 the scale stops at 10, never at 0.99999.
        if (o.shrinkPicture && scaleTenths > 8 && scaleTenths > grScale - 2) {
            size = 8;
            --scaleTenths;
            continue;
        }
        if (firstPass) {
            if (!ask(TCardQuestion::BackHalf)) {
                result.aborted = true;
                result.doc.sheets.clear();
                return result;
            }
            firstPass = false;
            size = 12;
            if (hasPicture && scaleTenths > 0)
                scaleTenths = grScale;
            continue;
        }
        if (!ask(TCardQuestion::SecondCard)) {
            result.aborted = true;
            result.doc.sheets.clear();
            return result;
        }
        keepCard();
        // Every card takes at least one line (a line takes at least one
        // character), so the cards come to an end.
        start = std::max(pos, start + 1);
        extra = QStringLiteral("Fortsetzung...");
        firstPass = true;
        scaleTenths = 0;
        size = 8;
    }
}
