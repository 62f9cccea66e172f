#include "print/descriptionpage.h"

#include "platform/rounding.h"
#include "print/labelsymbols.h"

#include <QFontMetrics>

#include <algorithm>

// ---- the writer -------------------------------------------------------------------

TPageWriter::TPageWriter(const TPageMetrics &metrics, const TPageOptions &options, TPageDocument &doc)
    : m_m(metrics), m_o(options), m_doc(doc)
{
}

QFont TPageWriter::font(int points, bool italic, bool bold) const
{
    return PageFont(m_o.fontName, points, m_m.scale, italic, bold);
}

void TPageWriter::textTop(int x, int top, const QFont &f, const QString &s)
{
    out().text(QPoint(x, top + PageAscent(f)), f, s);
}

void TPageWriter::textBase(int x, int baseline, const QFont &f, const QString &s)
{
    out().text(QPoint(x, baseline), f, s);
}

void TPageWriter::addSheet(bool backSide)
{
    TPageSheet s;
    s.backSide = backSide;
    m_doc.sheets.push_back(std::move(s));
}

void TPageWriter::beginRecord()
{
    addSheet(false);
    XL = m_m.ML;
    XR = m_m.PW - m_m.MR;
    y = m_m.T;
    pageCounter = 1;
}

void TPageWriter::continuationPage()
{
    const bool back = m_o.backSide && pageCounter % 2 == 1;
    addSheet(back);
    if (back) {
        XL = m_m.MR;
        XR = m_m.PW - m_m.ML;
    } else {
        XL = m_m.ML;
        XR = m_m.PW - m_m.MR;
    }
    ++pageCounter;
    const QFont f14 = font(14);
    const int h14 = PageTextHeight(f14);
    const int baseline = m_m.T + 2 * h14 / 3;
    textBase(XL, baseline, f14, pageTitle);
    const QFont f11 = font(11);
    const QString page = QStringLiteral("Seite ") + QString::number(pageCounter);
    textBase(XR - TextWidth(f11, page), baseline, f11, page);
    y = m_m.T + h14;
    out().line(QPoint(XL, y), QPoint(XR, y));
    y += m_m.py(30);
}

void PrintPageText(TPageWriter &w, const std::vector<TPageTextPart> &parts)
{
    const QFont base = w.font(w.options().fontSize);
    const int lh = PageTextHeight(base);
    for (const TPageTextPart &part : parts) {
        QFont f = base;
        f.setItalic(part.italic);
        f.setUnderline(part.underline);
        int pos = 0;
        bool first = true;
        const int n = int(part.text.size());
        while (pos < n || (part.entry && first)) {
            if (w.y + lh > w.metrics().B)
                w.continuationPage();
            const QString line = WrapTextLine(pos, part.text, f, w.XR - w.XL);
            w.textTop(w.XL, w.y, f, line);
            w.y += lh;
            first = false;
        }
    }
}

// ---- pictures beside a heading ---------------------------------------------------------

namespace {

struct Fit
{
    int w = 0, h = 0;
    bool ok() const { return w > 0 && h > 0; }
};

Fit fitInto(const QSize &size, int height, int maxWidth)
{
    Fit f;
    if (height <= 0 || maxWidth <= 0 || size.width() <= 0 || size.height() <= 0)
        return f;
    f.h = height;
    f.w = int(platform::mulDivRoundHalfEven(height, size.width(), size.height()));
    if (f.w > maxWidth) {
        f.w = maxWidth;
        f.h = int(platform::mulDivRoundHalfEven(maxWidth, size.height(), size.width()));
    }
    return f;
}

// Width of a picture for the page: its pixels times px / py.
QSize pageSize(const QImage &img, const TLabelScale &s)
{
    const qint64 w = platform::mulDivRoundHalfEven(qint64(img.width()) * s.x.num * s.y.den, 1, s.x.den * s.y.num);
    return QSize(int(w), img.height());
}

} // namespace

QRect FitHeadingPicture(const QSize &size, int right, int top1, int top2, int bottom, int width1, int width2)
{
    const Fit f1 = fitInto(size, bottom - top1, width1);
    const Fit f2 = fitInto(size, bottom - top2, std::max(width1, width2));
    if (!f1.ok() && !f2.ok())
        return QRect();
    if (f2.ok() && (!f1.ok() || f2.h >= f1.h))
        return QRect(right - f2.w, top2, f2.w, f2.h);
    return QRect(right - f1.w, top1, f1.w, f1.h);
}

// ---- film pages -----------------------------------------------------------------------

TFilmTitleLine FilmTitleLine(const TLabelFilm &film, int playTimeFormat)
{
    TFilmTitleLine l;
    l.title = film.Titel;
    const QString sub = film.Untertitel.value_or(QString());
    if (sub.startsWith(QLatin1Char('>'))) {
        l.title += sub.mid(1);
        l.pageTitle = l.title;
    } else if (!sub.isEmpty()) {
        l.sub = QStringLiteral(" - ") + sub;
        l.pageTitle = l.title + l.sub;
    } else {
        l.pageTitle = l.title;
    }
    l.time = FilmTimeText(film.Len, film.LP, film.MW, playTimeFormat);
    return l;
}

TPageHeadingBoxes DrawFilmPage(TPageWriter &w, const TFilmPageData &d, const TLabelSettings &o,
                               TLabelArtProvider &art)
{
    TPageHeadingBoxes box;
    const TPageMetrics &m = w.metrics();
    const QFont f10 = w.font(10);
    w.textTop(w.XL, m.T, f10, d.header);
    int y1 = m.T + PageTextHeight(f10);

    // The symbols in a square ending at the right margin.
    const int symTop = m.T - m.py(10);
    const int symH = y1 - symTop;
    const int symW = int(platform::mulDivRoundHalfEven(qint64(symH) * m.scale.x.num * m.scale.y.den, 1,
                                                       m.scale.x.den * m.scale.y.num));
    TSymbolSwitches sw;
    sw.sound = sw.stars = sw.category = true;
    DrawFilmSymbols(w.out(), d.film, QRect(w.XR - symW, symTop, symW, symH), m.px(10), false, sw, o, art);
    y1 += m.py(10);

    const TFilmTitleLine t = FilmTitleLine(d.film, w.options().playTimeFormat);
    const QFont f16 = w.font(16), f13 = w.font(13);
    const int h16 = PageTextHeight(f16);
    const int yt = y1 + int(platform::roundHalfEven(2.0 * h16 / 3.0));
    const int yb = y1 + h16;
    int x = w.XL;
    w.textBase(x, yt, f16, t.title);
    x += TextWidth(f16, t.title);
    w.textBase(x, yt, f13, t.sub);
    x += TextWidth(f13, t.sub);
    w.textBase(x, yt, f10, t.time);
    x += TextWidth(f10, t.time);
    const int eT = x - w.XL;
    w.pageTitle = t.pageTitle;
    box.titleBaseline = yt;

    // Captions and values of the category and the filled free fields.
    const QFont fc = w.font(12, true), fv = w.font(12);
    const int L = PageTextHeight(fc) + m.py(7);
    QStringList captions, values;
    std::vector<bool> links;
    if (!d.categoryText.isEmpty()) {
        captions << QStringLiteral("Kategorie");
        values << d.categoryText;
        links.push_back(false);
    }
    for (int i = 0; i < 15; ++i) {
        if (d.film.Free[i].isEmpty())
            continue;
        captions << d.freeCaptions[i];
        values << d.film.Free[i];
        links.push_back(d.freeIsLink[i]);
    }
    int widest = 0;
    for (const QString &c : captions)
        widest = std::max(widest, TextWidth(fc, c));
    const int vx = w.XL + widest + m.px(20);
    int eV = vx;
    const int top = yb + m.py(40);
    for (int i = 0; i < captions.size(); ++i) {
        w.textTop(w.XL, top + i * L, fc, captions.at(i));
        w.textTop(vx, top + i * L, fv, values.at(i));
        if (!links[size_t(i)])
            eV = std::max(eV, vx + TextWidth(fv, values.at(i)));
    }
    box.fieldTop = top;
    box.lineHeight = L;
    box.lines = int(captions.size());
    box.valueX = vx;

    const bool picture = !d.film.Grafik.isNull();
    w.y = top + ((box.lines < 8 && picture) ? 8 : box.lines) * L;
    w.y += m.py(30);
    w.out().line(QPoint(w.XL, w.y), QPoint(w.XR, w.y));
    box.ruleY = w.y;

    if (picture) {
        const int aT = (w.XR - w.XL) - eT - m.px(20);
        const int aV = (w.XR - w.XL) - eV - m.px(20);
        box.picture = FitHeadingPicture(pageSize(d.film.Grafik, m.scale), w.XR, y1, yb, w.y, aT, aV);
        if (!box.picture.isEmpty())
            w.out().image(box.picture, d.film.Grafik);
    }
    w.y += m.py(30);
    return box;
}

void PrintFilmPageRecord(TPageWriter &w, const TFilmPageData &d, const TLabelSettings &o, TLabelArtProvider &art)
{
    w.beginRecord();
    DrawFilmPage(w, d, o, art);
    TPageTextPart memo;
    memo.text = d.film.Memo;
    PrintPageText(w, {memo});
}

// ---- person pages ----------------------------------------------------------------------

QString PersonFilmEntry(const QString &title, const QString &kind, int kassNr, bool medIndex)
{
    if (!medIndex)
        return title;
    return title + QStringLiteral("  (") + kind + QStringLiteral(" Nr. ") + QString::number(kassNr) + QLatin1Char(')');
}

std::vector<TPageTextPart> PersonPageText(const TPersonPageData &d)
{
    std::vector<TPageTextPart> parts;
    TPageTextPart memo;
    memo.text = d.memo;
    parts.push_back(memo);
    if (!d.listFilms)
        return parts;
    TPageTextPart blank;
    blank.entry = true;
    parts.push_back(blank);
    TPageTextPart heading;
    heading.entry = true;
    heading.text = d.filmsHeading;
    heading.italic = heading.underline = true;
    parts.push_back(heading);
    for (const QString &f : d.films) {
        TPageTextPart e;
        e.entry = true;
        e.text = f;
        parts.push_back(e);
    }
    return parts;
}

TPageHeadingBoxes DrawPersonPage(TPageWriter &w, const TPersonPageData &d)
{
    TPageHeadingBoxes box;
    const TPageMetrics &m = w.metrics();
    const QFont f16 = w.font(16);
    w.textTop(w.XL, m.T, f16, d.name);
    const int nW = TextWidth(f16, d.name);
    const int yN = m.T + PageTextHeight(f16);
    const int top = yN + m.py(40);
    w.pageTitle = d.name;
    box.titleBaseline = m.T + PageAscent(f16);

    const QFont fc = w.font(12, true), fv = w.font(12);
    const int L = PageTextHeight(fc) + m.py(7);
    int widest = 0;
    for (const QString &c : d.captions)
        widest = std::max(widest, TextWidth(fc, c));
    const int vx = w.XL + widest + m.px(20);
    int eV = vx;
    for (int i = 0; i < 7; ++i) {
        w.textTop(w.XL, top + i * L, fc, d.captions[i]);
        if (d.values[i].isEmpty())
            continue;
        w.textTop(vx, top + i * L, fv, d.values[i]);
        if (!d.isLink[i])
            eV = std::max(eV, vx + TextWidth(fv, d.values[i]));
    }
    box.fieldTop = top;
    box.lineHeight = L;
    box.lines = 7;
    box.valueX = vx;

    w.y = top + 7 * L + m.py(30);
    w.out().line(QPoint(w.XL, w.y), QPoint(w.XR, w.y));
    box.ruleY = w.y;
    if (!d.picture.isNull()) {
        const int aT = (w.XR - w.XL) - nW - m.px(20);
        const int aV = (w.XR - w.XL) - eV - m.px(20);
        box.picture = FitHeadingPicture(pageSize(d.picture, m.scale), w.XR, m.T, yN, w.y, aT, aV);
        if (!box.picture.isEmpty())
            w.out().image(box.picture, d.picture);
    }
    w.y += m.py(30);
    return box;
}

void PrintPersonPageRecord(TPageWriter &w, const TPersonPageData &d)
{
    w.beginRecord();
    DrawPersonPage(w, d);
    PrintPageText(w, PersonPageText(d));
}
