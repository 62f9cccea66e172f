#include "print/tableprint.h"

#include "data/categories.h"
#include "print/labelsymbols.h"

#include <QFontMetrics>
#include <algorithm>

namespace {

const QColor Silver(192, 192, 192);

QFont fontAt(const QString &name, int points, bool bold, const TTablePrintGeometry &g)
{
    QFont f = LabelFontAtPoints(QFont(name.isEmpty() ? QStringLiteral("Arial") : name), points, g.scale.yPerMm());
    f.setBold(bold);
    return f;
}

// Text with its top at y (the canvas's left/top alignment).
void textTop(TLabelLayout &out, int x, int top, const QFont &font, const QString &text)
{
    if (!text.isEmpty())
        out.text(QPoint(x, top + QFontMetrics(font).ascent()), font, text);
}

void textCentredTop(TLabelLayout &out, int centre, int top, const QFont &font, const QString &text)
{
    textTop(out, centre - TextWidth(font, text) / 2, top, font, text);
}

void vline(TLabelLayout &out, int x, int y, int h)
{
    out.line(QPoint(x, y), QPoint(x, y + h));
}

void hline(TLabelLayout &out, int x1, int x2, int y, Qt::PenStyle style = Qt::SolidLine)
{
    out.line(QPoint(x1, y), QPoint(x2, y));
    out.items.back().penStyle = style;
}

// Cuts characters from the end until the text fits.
QString cutToWidth(const QFont &font, QString text, int width)
{
    while (!text.isEmpty() && TextWidth(font, text) > width)
        text.chop(1);
    return text;
}

int categoryIndex(const QString &kateg)
{
    const int k = kateg.isEmpty() ? 0 : KategCharToIndex(kateg.at(0));
    return (k >= 1 && k <= 62) ? k : 1;
}

bool isBoughtOrDvd(const QString &kind)
{
    return kind == QLatin1String("VHS-KK") || kind == QLatin1String("DVD");
}

// The number column of a list row: the medium number in bold 10 pt, with
// the kind in 6 pt above it when there is one. Both stay between the
// column's rules; the number gets smaller (down to 6 pt, on the same
// baseline) while it is too wide or its glyphs would not clear the kind's.
void numberColumn(TLabelLayout &out, const TTablePrintGeometry &g, const TTablePrintStyle &s, const QString &kind,
                  const QString &nr, int y)
{
    const int room = g.b0 - g.x0 - 2 * g.mmX(0.5);
    const QFont bold10 = fontAt(s.fontName, 10, true, g);
    int kindBottom = y; // the lowest pixel the kind's glyphs reach
    int baseline = y + g.mmY(0.6) + QFontMetrics(bold10).ascent();
    if (!kind.isEmpty()) {
        const QFont small = fontAt(s.fontName, 6, false, g);
        const QString shown = cutToWidth(small, kind, room);
        textCentredTop(out, g.numberCentre, y, small, shown);
        const QFontMetrics fm(small);
        if (!shown.isEmpty())
            kindBottom = y + fm.ascent() + fm.tightBoundingRect(shown).bottom() + 1;
        baseline = y + g.mmY(1.5) + QFontMetrics(bold10).ascent();
    }
    QFont font = bold10;
    for (int points = 10;; --points) {
        font = fontAt(s.fontName, points, true, g);
        const QFontMetrics fm(font);
        const bool fits = fm.horizontalAdvance(nr) <= room
                          && (kind.isEmpty() || baseline + fm.tightBoundingRect(nr).top() >= kindBottom + g.mmY(0.4));
        if (fits || points == 6)
            break;
    }
    out.text(QPoint(g.numberCentre - TextWidth(font, nr) / 2, baseline), font, nr);
}

// The title of a film column, with its subtitle in 6 pt beside it (on two
// lines when needed) when the two do not fit on one.
void filmTitle(TLabelLayout &out, const TTablePrintGeometry &g, const TTablePrintStyle &s, const TLabelFilm &film,
               int left, int right, int y, TLabelArtProvider &art)
{
    const int onePx = g.mmX(1);
    QString t = film.Titel;
    QString longForm = film.Titel;
    const QString sub = film.Untertitel.value_or(QString());
    const bool continues = sub.startsWith(QLatin1Char('>'));
    if (continues) {
        longForm = film.Titel + sub.mid(1);
        t = longForm;
    } else if (!sub.isEmpty()) {
        longForm = film.Titel + QStringLiteral(" - ") + sub;
    }
    QFont font = fontAt(s.fontName, 10, false, g);
    if (s.useCategoryFonts && !film.Kateg.isEmpty()) {
        if (const std::optional<QFont> cf = art.categoryFont(categoryIndex(film.Kateg))) {
            QFont f = *cf;
            f.setPixelSize(font.pixelSize());
            font = f;
        }
    }
    const int avail = right - left - g.mmX(2);
    if (TextWidth(font, longForm) <= avail)
        t = longForm;
    t = cutToWidth(font, t, avail);
    textTop(out, left + onePx, y + g.mmY(0.6), font, t);

    // The subtitle did not fit beside the title. A subtitle that continues
    // the title is already in it.
    if (t == longForm || sub.isEmpty() || continues)
        return;
    const int tw = TextWidth(font, t);
    const int x = left + tw + 2 * onePx;
    const int rest = avail - tw - onePx;
    if (rest <= g.mmX(10))
        return;
    const QFont small = fontAt(s.fontName, 6, false, g);
    int fit = 0;
    while (fit < sub.size() && TextWidth(small, sub.left(fit + 1)) <= rest)
        ++fit;
    if (fit == sub.size()) {
        textTop(out, x, y + g.mmY(1.8), small, sub);
        return;
    }
    int brk = fit;
    for (int i = fit - 1; i >= 0; --i) {
        if (sub.at(i) == QLatin1Char(' ') || sub.at(i) == QLatin1Char('-')) {
            brk = i + 1; // the break character stays on the first line
            break;
        }
    }
    if (brk <= 0)
        brk = fit;
    textTop(out, x, y, small, sub.left(brk));
    textTop(out, x, y + g.mmY(2.3), small, cutToWidth(small, sub.mid(brk), rest));
}

// Length and category of a film in its cell of the second line, and its
// symbols at the cell's right end.
void filmInfo(TLabelLayout &out, const TTablePrintGeometry &g, const TTablePrintStyle &s, const TLabelFilm &film,
              int left, int right, int y, int ys, const QFont &small, TLabelArtProvider &art)
{
    const int onePx = g.mmX(1);
    // The symbols first, so that the texts end a millimetre before them;
    // each text is cut to its room and runs into nothing.
    TLabelLayout symbols;
    const QRect box(QPoint(right - g.mmX(4.7), y + g.mmY(0.3)), QPoint(right - g.mmX(0.3), y + g.mmY(4.7)));
    TSymbolSwitches sw;
    sw.sound = true;
    sw.category = true;
    TLabelSettings o = s.symbols;
    o.PrintAnhSymb = false;
    const int symbolsLeft = std::min(box.left(), DrawFilmSymbols(symbols, film, box, g.mmX(1), false, sw, o, art));
    const int categoryLeft = left + g.mmX(10);
    const int textRight = symbolsLeft - onePx;
    auto fitted = [&](int x, int top, int end, const QString &text) {
        textTop(out, x, top, small, cutToWidth(small, text, end - x));
    };
    if (s.filmsHaveLen) {
        QString len = film.Len ? QString::number(*film.Len) : QString();
        if (film.LP)
            len += QStringLiteral(" LP");
        const int end = s.filmsHaveKateg ? std::min(categoryLeft - g.mmX(0.5), textRight) : textRight;
        fitted(left + onePx, ys, end, len);
        fitted(left + onePx, y, end, film.MW ? QStringLiteral("Min.m.W.") : QStringLiteral("Min."));
    }
    if (s.filmsHaveKateg) {
        fitted(categoryLeft, y, textRight, QStringLiteral("Kategorie"));
        fitted(categoryLeft, ys, textRight, art.categoryName(categoryIndex(film.Kateg)));
    }
    out.append(symbols);
}

} // namespace

TTablePrintGeometry PrinterTableGeometry(int widthPx, int widthMm, int heightPx, int heightMm, bool landscape)
{
    TTablePrintGeometry g;
    g.scale.x = {std::max(1, widthPx), std::max(1, widthMm)};
    g.scale.y = {std::max(1, heightPx), std::max(1, heightMm)};
    g.widthMm = widthMm;
    g.heightMm = heightMm;
    g.widthPx = widthPx;
    g.heightPx = heightPx;
    g.landscape = landscape;
    g.lineHeight = g.mmY(5);
    g.top = g.mmY(10);
    g.x0 = g.mmX(10);
    g.numberCentre = g.mmX(15);
    g.b0 = g.mmX(20);
    g.tableWidth = widthPx - g.mmX(15);
    return g;
}

TTablePrintGeometry ScreenListGeometry()
{
    TTablePrintGeometry g;
    g.screen = true;
    g.scale.x = {640, 200};
    g.scale.y = {480, 140};
    g.widthMm = 200;
    g.heightMm = 140;
    g.widthPx = 640;
    g.heightPx = 480;
    g.lineHeight = g.mmY(5);
    g.top = 0;
    g.x0 = 2;
    g.numberCentre = g.mmX(5) + 2;
    g.b0 = g.mmX(10) + 2;
    g.tableWidth = g.widthPx - g.mmX(15);
    return g;
}

int TablePrintLinesPerPage(int lpp, int heightMm, bool landscape)
{
    if (lpp > 0)
        return lpp;
    const int m = landscape ? 10 : 3;
    return std::max(2, (heightMm - 10 - m) / 5);
}

bool IsPrintableColumn(const TTableColumnSource &c)
{
    return c.screenWidth >= 15 && !c.blob;
}

std::vector<TPrintColumn> BuildPrintColumns(const std::vector<TTableColumnSource> &sources, int tableWidth)
{
    std::vector<TPrintColumn> cols;
    std::int64_t sum = 0;
    for (const TTableColumnSource &c : sources)
        if (IsPrintableColumn(c))
            sum += c.screenWidth;
    if (sum <= 0)
        return cols;
    for (int i = 0; i < int(sources.size()); ++i)
        if (IsPrintableColumn(sources[size_t(i)]))
            cols.push_back({int(platform::mulDivRoundHalfEven(sources[size_t(i)].screenWidth, tableWidth, sum)), i});
    return cols;
}

TFittedText FitCellText(const QFont &base, const QString &text, bool bold, int available, double pixelsPerMmY)
{
    TFittedText r;
    r.text = text;
    r.bold = bold;
    auto width = [&] {
        QFont f = LabelFontAtPoints(base, r.points, pixelsPerMmY);
        f.setBold(r.bold);
        return TextWidth(f, r.text);
    };
    if (r.bold && width() > available)
        r.bold = false;
    while (r.points > 6 && width() > available)
        --r.points;
    if (width() > available) {
        r.text += QStringLiteral("...");
        while (width() > available && r.text.size() > 3)
            r.text.remove(r.text.size() - 4, 1);
    }
    return r;
}

std::vector<int> ListColumnBounds(const TTablePrintGeometry &g, int n)
{
    n = std::clamp(n, 1, 255);
    std::vector<int> b{g.b0};
    // w = (width - 30) / n millimetres; Bi = B0 + round(i * w * px).
    for (int i = 1; i <= n; ++i)
        b.push_back(g.b0
                    + int(platform::mulDivRoundHalfEven(std::int64_t(i) * (g.widthMm - 30), g.scale.x.num,
                                                        std::int64_t(n) * g.scale.x.den)));
    return b;
}

int LayoutListLine1(TLabelLayout &out, const TTablePrintGeometry &g, const TTablePrintStyle &s, const TListRow &row,
                    int y, TLabelArtProvider &art)
{
    const int H = g.lineHeight;
    const int n = s.filmList ? 1 : std::max<int>(1, int(row.films.size()));
    const std::vector<int> b = ListColumnBounds(g, n);
    const int right = b.back();
    const bool standardKind = row.medium == QLatin1String("VHS-SB") || isBoughtOrDvd(row.medium);
    const bool withKind = !standardKind || (isBoughtOrDvd(row.medium) && (!s.twoLines || s.filmList));
    numberColumn(out, g, s, withKind ? row.medium : QString(), QString::number(row.nr), y);
    vline(out, g.b0, y, H);
    vline(out, g.x0, y, H);
    hline(out, g.x0, right, y);
    for (int i = 1; i <= n; ++i) {
        const int left = b[size_t(i - 1)], cellRight = b[size_t(i)];
        if (size_t(i - 1) < row.films.size() && row.films[size_t(i - 1)].Exists) {
            const TLabelFilm &film = row.films[size_t(i - 1)];
            if (film.Frei)
                out.rect(QRect(QPoint(left + 1, y + 1), QPoint(cellRight - 1, y + H - 1)), QColor(), Silver);
            filmTitle(out, g, s, film, left, cellRight, y, art);
        }
        vline(out, cellRight, y, H);
    }
    return y + H;
}

int LayoutListLine2(TLabelLayout &out, const TTablePrintGeometry &g, const TTablePrintStyle &s, const TListRow &row,
                    int y, TLabelArtProvider &art)
{
    const int H = g.lineHeight;
    if (s.filmList)
        y -= H;
    const int ys = y + g.mmY(2.3);
    const QFont small = fontAt(s.fontName, 6, false, g);
    const int n = s.filmList ? 1 : std::max<int>(1, int(row.films.size()));
    const std::vector<int> b = ListColumnBounds(g, n);
    const int right = b.back();
    if (!s.filmList) {
        QString a, c;
        if (row.medium == QLatin1String("VHS-KK")) {
            a = QStringLiteral("Kauf-");
            c = QStringLiteral("Kass.");
        } else if (row.medium == QLatin1String("DVD")) {
            a = QStringLiteral("DVD");
            c = QStringLiteral("Video");
        } else {
            a = QStringLiteral("E ") + (row.len ? QString::number(*row.len) : QString());
            c = QStringLiteral("R ") + (row.rest ? QString::number(*row.rest) : QString());
        }
        textCentredTop(out, g.numberCentre, y, small, a);
        textCentredTop(out, g.numberCentre, ys, small, c);
        vline(out, g.b0, y, H);
        vline(out, g.x0, y, H);
        hline(out, g.x0, right, y, Qt::DotLine);
    }
    const int cells = s.filmList ? 1 : n;
    for (int i = 1; i <= cells; ++i) {
        const int left = s.filmList ? right - g.mmX(50) : b[size_t(i - 1)];
        const int cellRight = s.filmList ? right : b[size_t(i)];
        if (size_t(i - 1) < row.films.size() && row.films[size_t(i - 1)].Exists) {
            const TLabelFilm &film = row.films[size_t(i - 1)];
            filmInfo(out, g, s, film, left, cellRight, y, ys, small, art);
            if (s.filmList && s.printStars && film.Wertung) {
                const int f = right - g.mmX(50);
                const QRect box(QPoint(f - g.mmX(1) - g.mmX(4.5), y + g.mmY(0.3)),
                                QPoint(f - g.mmX(1), y + g.mmY(4.7)));
                TSymbolSwitches sw;
                sw.stars = true;
                DrawFilmSymbols(out, film, box, g.mmX(1), false, sw, s.symbols, art);
            }
        }
        vline(out, cellRight, y, H);
    }
    return y + H;
}

TLabelLayout LayoutListRowOnScreen(const TTablePrintGeometry &g, const TTablePrintStyle &s, const TListRow &row,
                                   TLabelArtProvider &art)
{
    TLabelLayout out;
    int y = LayoutListLine1(out, g, s, row, 0, art);
    if (s.filmList || s.twoLines)
        y = LayoutListLine2(out, g, s, row, y, art);
    const int n = s.filmList ? 1 : std::max<int>(1, int(row.films.size()));
    hline(out, g.x0, ListColumnBounds(g, n).back(), y);
    return out;
}

// ---- TTablePrinter ------------------------------------------------------------------

TTablePrinter::TTablePrinter(const TTablePrintGeometry &g, const TTablePrintStyle &s, TLabelArtProvider &art,
                             PageSink sink)
    : m_g(g), m_s(s), m_art(art), m_sink(std::move(sink))
{
    m_right = ListColumnBounds(g, 1).back();
}

void TTablePrinter::begin(const QString &heading)
{
    m_y = m_g.top;
    textTop(m_pageLayout, m_g.x0, m_y, fontAt(m_s.fontName, 12, false, m_g), heading);
    m_y += m_g.lineHeight;
    m_c = 1;
}

void TTablePrinter::setTable(const std::vector<TTableColumnSource> &sources)
{
    m_table = true;
    m_sources = sources;
    m_columns = BuildPrintColumns(sources, m_g.tableWidth);
    m_right = m_g.x0;
    for (const TPrintColumn &c : m_columns)
        m_right += c.width;
    headerRow();
    ++m_c;
}

void TTablePrinter::headerRow()
{
    const int H = m_g.lineHeight;
    const int baseline = m_y + int(platform::mulDivRoundHalfEven(7, H, 10));
    vline(m_pageLayout, m_g.x0, m_y, H);
    int left = m_g.x0;
    for (const TPrintColumn &c : m_columns) {
        cellText(left, left + c.width, baseline, m_sources[size_t(c.gridColumn)].title, true, false);
        left += c.width;
        vline(m_pageLayout, left, m_y, H);
    }
    hline(m_pageLayout, m_g.x0, m_right, m_y);
    hline(m_pageLayout, m_g.x0, m_right, m_y + H);
    m_y += H;
}

void TTablePrinter::cellText(int left, int right, int baseline, const QString &text, bool bold, bool rightAligned)
{
    const int p = m_g.mmX(0.5);
    const QFont base(m_s.fontName.isEmpty() ? QStringLiteral("Arial") : m_s.fontName);
    const TFittedText t = FitCellText(base, text, bold, right - left - 2 * p, m_g.scale.yPerMm());
    if (t.text.isEmpty())
        return;
    QFont f = LabelFontAtPoints(base, t.points, m_g.scale.yPerMm());
    f.setBold(t.bold);
    const int x = rightAligned ? right - p - TextWidth(f, t.text) : left + p;
    m_pageLayout.text(QPoint(x, baseline), f, t.text);
}

void TTablePrinter::boolCell(int left, int width, int baseline, std::optional<bool> value)
{
    if (!value)
        return;
    const QString sym = dbui::boolSymbolText(*value, m_s.boolStyle);
    if (sym.isEmpty())
        return;
    const QFont base(m_s.boolStyle.usesSymbols() ? m_s.symbolFont : m_s.fontName);
    int pts = 10;
    QFont f = LabelFontAtPoints(base, pts, m_g.scale.yPerMm());
    while (pts > 6 && TextWidth(f, sym) > width)
        f = LabelFontAtPoints(base, --pts, m_g.scale.yPerMm());
    m_pageLayout.text(QPoint(left + width / 2 - TextWidth(f, sym) / 2, baseline), f, sym);
}

bool TTablePrinter::countLine()
{
    ++m_c;
    const int limit = (m_s.twoLines && !m_s.filmList && !m_table) ? m_s.linesPerPage / 2 : m_s.linesPerPage;
    if (m_c > limit)
        return breakPage();
    return true;
}

void TTablePrinter::pageNumber()
{
    const QFont f = fontAt(m_s.fontName, 8, false, m_g);
    const QString text = QStringLiteral("Seite ") + QString::number(m_page);
    textTop(m_pageLayout, m_right - TextWidth(f, text), m_y, f, text);
}

bool TTablePrinter::breakPage()
{
    hline(m_pageLayout, m_g.x0, m_right, m_y);
    pageNumber();
    if (!m_sink(m_pageLayout)) {
        m_cancelled = true;
        return false;
    }
    m_pageLayout.items.clear();
    ++m_page;
    m_y = m_g.top;
    m_c = 1;
    if (m_table) {
        headerRow();
        ++m_c;
    }
    return true;
}

bool TTablePrinter::tableRow(const std::vector<TTableCell> &cells)
{
    if (m_cancelled || !countLine())
        return false;
    const int H = m_g.lineHeight;
    const int baseline = m_y + int(platform::mulDivRoundHalfEven(7, H, 10));
    vline(m_pageLayout, m_g.x0, m_y, H);
    int left = m_g.x0;
    for (const TPrintColumn &c : m_columns) {
        const int right = left + c.width;
        const TCellKind kind = m_sources[size_t(c.gridColumn)].kind;
        const TTableCell cell = size_t(c.gridColumn) < cells.size() ? cells[size_t(c.gridColumn)] : TTableCell();
        switch (kind) {
        case TCellKind::Text:
            cellText(left, right, baseline, cell.text, false, false);
            break;
        case TCellKind::Number:
            cellText(left, right, baseline, cell.text, false, true);
            break;
        case TCellKind::Boolean:
            boolCell(left, c.width, baseline, cell.flag);
            break;
        case TCellKind::None:
            break;
        }
        vline(m_pageLayout, right, m_y, H);
        left = right;
    }
    m_y += H;
    return true;
}

bool TTablePrinter::listRow(const TListRow &row)
{
    if (m_cancelled || !countLine())
        return false;
    m_y = LayoutListLine1(m_pageLayout, m_g, m_s, row, m_y, m_art);
    if (m_s.filmList || m_s.twoLines)
        m_y = LayoutListLine2(m_pageLayout, m_g, m_s, row, m_y, m_art);
    const int n = m_s.filmList ? 1 : std::max<int>(1, int(row.films.size()));
    m_right = ListColumnBounds(m_g, n).back();
    return true;
}

bool TTablePrinter::finish()
{
    if (m_cancelled)
        return false;
    hline(m_pageLayout, m_g.x0, m_right, m_y);
    if (m_page > 1)
        pageNumber();
    if (!m_sink(m_pageLayout)) {
        m_cancelled = true;
        return false;
    }
    m_pageLayout.items.clear();
    return true;
}
