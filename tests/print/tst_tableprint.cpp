// Tables and lists laid out into pages: lines per page, the printable
// columns and their widths, the cell fitting, the Boolean symbols, page
// numbers, the list columns, subtitles and free-area shading. Expected
// values are worked out by hand from the geometry: a page of 2100 x 2970
// pixels over 210 x 297 mm, so a millimetre is 10 pixels.
#include "fakeart.h"
#include "print/tableprint.h"

#include <QtTest>

namespace {

TTablePrintGeometry a4()
{
    return PrinterTableGeometry(2100, 210, 2970, 297, false);
}

struct Pages {
    std::vector<TLabelLayout> pages;
    TTablePrinter::PageSink sink()
    {
        return [this](const TLabelLayout &p) {
            pages.push_back(p);
            return true;
        };
    }
};

QStringList texts(const TLabelLayout &l)
{
    QStringList out;
    for (const TLabelItem &it : l.items)
        if (it.kind == TLabelItem::Text)
            out << it.text;
    return out;
}

int countPrefix(const TLabelLayout &l, const QString &prefix)
{
    int n = 0;
    for (const QString &t : texts(l))
        if (t.startsWith(prefix))
            ++n;
    return n;
}

TListRow filmRow(int nr, const QString &title, const QString &sub = {})
{
    TListRow r;
    r.medium = QStringLiteral("VHS-SB");
    r.nr = nr;
    TLabelFilm f;
    f.Titel = title;
    if (!sub.isEmpty())
        f.Untertitel = sub;
    f.Len = 90;
    r.films = {f};
    return r;
}

TListRow mediumRow(int nr, const QList<int> &films, int columns)
{
    TListRow r;
    r.medium = QStringLiteral("VHS-SB");
    r.nr = nr;
    r.len = 240;
    r.rest = 60;
    r.films.resize(size_t(columns));
    for (int i = 0; i < columns; ++i) {
        r.films[size_t(i)].Exists = films.contains(i + 1);
        r.films[size_t(i)].Titel = QStringLiteral("#%1F%2").arg(nr).arg(i + 1);
    }
    return r;
}

bool hasVerticalRuleAt(const TLabelLayout &l, int x)
{
    for (const TLabelItem &it : l.items)
        if (it.kind == TLabelItem::Line && it.p1.x() == x && it.p2.x() == x)
            return true;
    return false;
}

} // namespace

class TestTablePrint : public QObject
{
    Q_OBJECT
private slots:
    void geometryOfAPage()
    {
        const TTablePrintGeometry g = a4();
        QCOMPARE(g.lineHeight, 50);
        QCOMPARE(g.top, 100);
        QCOMPARE(g.x0, 100);
        QCOMPARE(g.numberCentre, 150);
        QCOMPARE(g.b0, 200);
        QCOMPARE(g.tableWidth, 2100 - 150);
        // The list window: 640 / 200 and 480 / 140 pixels per millimetre.
        const TTablePrintGeometry s = ScreenListGeometry();
        QCOMPARE(s.lineHeight, 17); // 5 * 480 / 140 = 17.14
        QCOMPARE(s.x0, 2);
        QCOMPARE(s.numberCentre, 16 + 2);
        QCOMPARE(s.b0, 32 + 2);
    }

    void linesPerPage()
    {
        QCOMPARE(TablePrintLinesPerPage(0, 297, false), 56); // (297 - 13) div 5
        QCOMPARE(TablePrintLinesPerPage(0, 284, false), 54); // a printer's A4
        QCOMPARE(TablePrintLinesPerPage(0, 210, true), 38);  // (210 - 20) div 5
        QCOMPARE(TablePrintLinesPerPage(54, 297, false), 54);
        QCOMPARE(TablePrintLinesPerPage(0, 12, false), 2);   // never a page without a row
        QCOMPARE(TablePrintLinesPerPage(1, 297, false), 1);
    }

    void printableColumnsShareTheWidth()
    {
        std::vector<TTableColumnSource> src{{QStringLiteral("Schmal"), 14, false, TCellKind::Text},
                                            {QStringLiteral("Titel"), 100, false, TCellKind::Text},
                                            {QStringLiteral("Memo"), 100, true, TCellKind::None},
                                            {QStringLiteral("Nr"), 50, false, TCellKind::Number},
                                            {QStringLiteral("Versteckt"), 0, false, TCellKind::Text}};
        QVERIFY(!IsPrintableColumn(src[0]));
        QVERIFY(IsPrintableColumn({QString(), 15, false, TCellKind::Text}));
        const auto cols = BuildPrintColumns(src, 1500);
        QCOMPARE(int(cols.size()), 2);
        QCOMPARE(cols[0].gridColumn, 1);
        QCOMPARE(cols[0].width, 1000); // 100 / 150 * 1500
        QCOMPARE(cols[1].gridColumn, 3);
        QCOMPARE(cols[1].width, 500);
        // Halves go to the even neighbour: 20/40 * 5 = 2.5 -> 2, 20/40 * 7 = 3.5 -> 4.
        std::vector<TTableColumnSource> two{{QString(), 20, false, TCellKind::Text}, {QString(), 20, false, TCellKind::Text}};
        QCOMPARE(BuildPrintColumns(two, 5)[0].width, 2);
        QCOMPARE(BuildPrintColumns(two, 7)[0].width, 4);
    }

    void cellTextIsFitted()
    {
        const QFont base(QStringLiteral("Arial"));
        const double py = 10.0;
        QFont f10 = LabelFontAtPoints(base, 10, py);
        const QString word = QStringLiteral("Wort");
        // Fits at 10 pt: unchanged, bold kept.
        TFittedText t = FitCellText(base, word, true, 1000, py);
        QCOMPARE(t.text, word);
        QCOMPARE(t.points, 10);
        QVERIFY(t.bold);
        // Fits at 10 pt once bold is dropped.
        QFont b10 = f10;
        b10.setBold(true);
        const int plain = TextWidth(f10, QStringLiteral("Überschrift")), bold = TextWidth(b10, QStringLiteral("Überschrift"));
        QVERIFY(bold > plain);
        t = FitCellText(base, QStringLiteral("Überschrift"), true, plain, py);
        QVERIFY(!t.bold);
        QCOMPARE(t.points, 10);
        // Smaller sizes before cutting.
        t = FitCellText(base, QStringLiteral("Überschrift"), false, plain - 1, py);
        QVERIFY(t.points < 10 && t.points >= 6);
        QCOMPARE(t.text, QStringLiteral("Überschrift"));
        // Too wide at 6 pt: cut before the "...", down to "..." alone.
        const QString longText = QStringLiteral("Ein sehr langer Filmtitel, der nie passt");
        QFont f6 = LabelFontAtPoints(base, 6, py);
        const int room = TextWidth(f6, QStringLiteral("Ein sehr..."));
        t = FitCellText(base, longText, false, room, py);
        QCOMPARE(t.points, 6);
        QVERIFY(t.text.endsWith(QStringLiteral("...")));
        QVERIFY(longText.startsWith(t.text.chopped(3)));
        QVERIFY(TextWidth(f6, t.text) <= room);
        t = FitCellText(base, longText, false, 1, py);
        QCOMPARE(t.text, QStringLiteral("..."));
    }

    void tablePagesHeaderAndRightEdge()
    {
        FakeArt art;
        TTablePrintStyle s;
        s.linesPerPage = 10;
        Pages pages;
        TTablePrinter p(a4(), s, art, pages.sink());
        p.begin(QStringLiteral("Tabelle der Filme in /db/"));
        p.setTable({{QStringLiteral("Titel"), 120, false, TCellKind::Text},
                    {QStringLiteral("Länge"), 40, false, TCellKind::Number},
                    {QStringLiteral("LP"), 30, false, TCellKind::Boolean}});
        // The right edge is x0 + the sum of the widths.
        int sum = 0;
        for (const TPrintColumn &c : p.columns())
            sum += c.width;
        QCOMPARE(p.rightEdge(), 100 + sum);
        for (int i = 1; i <= 20; ++i)
            QVERIFY(p.tableRow({{QStringLiteral("Film %1").arg(i), {}}, {QString::number(90), {}}, {{}, i % 2 == 0}}));
        QVERIFY(p.finish());
        // Page 1: heading (1), header (2), rows 3..10 -> 8 rows; later pages:
        // the header counts 1 and 2 again, rows up to 10 -> 9 rows.
        QCOMPARE(int(pages.pages.size()), 3);
        QCOMPARE(countPrefix(pages.pages[0], QStringLiteral("Film ")), 8);
        QCOMPARE(countPrefix(pages.pages[1], QStringLiteral("Film ")), 9);
        QCOMPARE(countPrefix(pages.pages[2], QStringLiteral("Film ")), 3);
        for (const TLabelLayout &page : pages.pages)
            QCOMPARE(countPrefix(page, QStringLiteral("Titel")), 1); // the header on every page
        QVERIFY(texts(pages.pages[2]).contains(QStringLiteral("Seite 3")));
        QVERIFY(texts(pages.pages[0]).contains(QStringLiteral("Seite 1")));
        // Every rule ends at the right edge, none beyond it.
        for (const TLabelItem &it : pages.pages[0].items)
            if (it.kind == TLabelItem::Line)
                QVERIFY(std::max(it.p1.x(), it.p2.x()) <= p.rightEdge());
    }

    void onePageHasNoPageNumber()
    {
        FakeArt art;
        TTablePrintStyle s;
        s.linesPerPage = 54;
        s.filmList = true;
        Pages pages;
        TTablePrinter p(a4(), s, art, pages.sink());
        p.begin(QStringLiteral("Liste"));
        for (int i = 1; i <= 5; ++i)
            p.listRow(filmRow(i, QStringLiteral("Film %1").arg(i)));
        p.finish();
        QCOMPARE(int(pages.pages.size()), 1);
        QCOMPARE(countPrefix(pages.pages[0], QStringLiteral("Seite")), 0);
    }

    void booleanSymbols()
    {
        FakeArt art;
        TTablePrintStyle s;
        s.boolStyle = dbui::boolSymbolStyleFromFlags(1 + 4); // both symbols, tick style
        Pages pages;
        TTablePrinter p(a4(), s, art, pages.sink());
        p.begin(QStringLiteral("T"));
        p.setTable({{QStringLiteral("LP"), 40, false, TCellKind::Boolean}});
        p.tableRow({{{}, true}});
        p.tableRow({{{}, false}});
        p.tableRow({{{}, std::nullopt}});
        p.finish();
        QStringList t = texts(pages.pages[0]);
        QCOMPARE(t.count(QStringLiteral("\u2611")), 1);
        QCOMPARE(t.count(QStringLiteral("\u2610")), 1);
        for (const TLabelItem &it : pages.pages[0].items)
            if (it.text == QStringLiteral("\u2611"))
                QCOMPARE(it.font.family(), QStringLiteral("DejaVu Sans"));

        // The "X" choice: true prints "X" in the list font, false nothing.
        s.boolStyle = dbui::boolSymbolStyleFromFlags(0);
        Pages x;
        TTablePrinter q(a4(), s, art, x.sink());
        q.begin(QStringLiteral("T"));
        q.setTable({{QStringLiteral("LP"), 40, false, TCellKind::Boolean}});
        q.tableRow({{{}, true}});
        q.tableRow({{{}, false}});
        q.finish();
        t = texts(x.pages[0]);
        QCOMPARE(t.count(QStringLiteral("X")), 1);
        QCOMPARE(t.size(), 3); // heading, header, "X"
    }

    void twoLineMediaListHolds26MediaPerPage()
    {
        FakeArt art;
        TTablePrintStyle s;
        s.linesPerPage = 54;
        s.twoLines = true;
        Pages pages;
        TTablePrinter p(a4(), s, art, pages.sink());
        p.begin(QStringLiteral("Liste der Medien"));
        for (int i = 1; i <= 60; ++i)
            p.listRow(mediumRow(i, {1}, 1));
        p.finish();
        // Heading 1, media 2..27 on the first page; then 27 a page.
        QCOMPARE(countPrefix(pages.pages[0], QStringLiteral("#")), 26);
        QCOMPARE(countPrefix(pages.pages[1], QStringLiteral("#")), 27);
        QCOMPARE(countPrefix(pages.pages[2], QStringLiteral("#")), 7);
        // The second line: tape length and remaining time.
        QVERIFY(texts(pages.pages[0]).contains(QStringLiteral("E 240")));
        QVERIFY(texts(pages.pages[0]).contains(QStringLiteral("R 60")));
    }

    void filmListsStaySingleLine()
    {
        FakeArt art;
        TTablePrintStyle s;
        s.linesPerPage = 10;
        s.filmList = true;
        s.twoLines = true; // a film list ignores it
        Pages pages;
        TTablePrinter p(a4(), s, art, pages.sink());
        p.begin(QStringLiteral("Liste"));
        for (int i = 1; i <= 9; ++i)
            p.listRow(filmRow(i, QStringLiteral("Film %1").arg(i)));
        p.finish();
        QCOMPARE(int(pages.pages.size()), 1); // 1 heading + 9 lines
        // The information block sits in the last 50 mm of the row.
        const std::vector<int> b = ListColumnBounds(a4(), 1);
        QCOMPARE(b.back(), 200 + 1800);
        bool minAt = false;
        for (const TLabelItem &it : pages.pages[0].items)
            if (it.text == QStringLiteral("Min."))
                minAt = it.p1.x() == b.back() - 500 + 10;
        QVERIFY(minAt);
    }

    void emptyFilmColumnKeepsItsRules()
    {
        FakeArt art;
        TTablePrintStyle s;
        TLabelLayout out;
        const TTablePrintGeometry g = a4();
        LayoutListLine1(out, g, s, mediumRow(7, {1, 3}, 3), 100, art);
        const std::vector<int> b = ListColumnBounds(g, 3);
        QCOMPARE(b[1], 200 + 600); // (210 - 30) / 3 = 60 mm
        for (int x : b)
            QVERIFY(hasVerticalRuleAt(out, x));
        const QStringList t = texts(out);
        QVERIFY(t.contains(QStringLiteral("#7F1")) && t.contains(QStringLiteral("#7F3")));
        QVERIFY(!t.contains(QStringLiteral("#7F2")));
    }

    void freeAreaIsShaded()
    {
        FakeArt art;
        TTablePrintStyle s;
        TListRow r = mediumRow(1, {1}, 1);
        r.films[0].Frei = true;
        TLabelLayout out;
        LayoutListLine1(out, a4(), s, r, 100, art);
        bool silver = false;
        for (const TLabelItem &it : out.items)
            if (it.kind == TLabelItem::Rect && it.brush == QColor(192, 192, 192))
                silver = it.rect.left() == 201 && it.rect.top() == 101;
        QVERIFY(silver);
    }

    void subtitles()
    {
        FakeArt art;
        TTablePrintStyle s;
        const TTablePrintGeometry g = a4();
        // ">" continues the title without a separator.
        TLabelLayout a;
        TListRow r = mediumRow(1, {1}, 1);
        r.films[0].Titel = QStringLiteral("Teil");
        r.films[0].Untertitel = QStringLiteral(">zwei");
        LayoutListLine1(a, g, s, r, 100, art);
        QVERIFY(texts(a).contains(QStringLiteral("Teilzwei")));
        // A subtitle that fits beside the title joins it with " - ".
        TLabelLayout b;
        r.films[0].Untertitel = QStringLiteral("Der Film");
        LayoutListLine1(b, g, s, r, 100, art);
        QVERIFY(texts(b).contains(QStringLiteral("Teil - Der Film")));
        // Five columns of 36 mm: a long subtitle goes beside the title in
        // 6 pt, on two lines.
        TLabelLayout c;
        TListRow five = mediumRow(1, {1}, 5);
        five.films[0].Titel = QStringLiteral("Alien");
        five.films[0].Untertitel = QStringLiteral("Das unheimliche Wesen aus einer fremden Welt");
        LayoutListLine1(c, g, s, five, 100, art);
        const QStringList tc = texts(c);
        QVERIFY(tc.contains(QStringLiteral("Alien")));
        int small = 0;
        for (const TLabelItem &it : c.items)
            if (it.kind == TLabelItem::Text && it.text != QStringLiteral("Alien") && it.text != QStringLiteral("1")
                && it.font.pixelSize() == LabelFontAtPoints(QFont(), 6, 10).pixelSize())
                ++small;
        QCOMPARE(small, 2);
        // Less than 10 mm beside the title: no subtitle at all.
        TLabelLayout d;
        five.films[0].Titel = QStringLiteral("Ein Titel der fast die ganze Spalte");
        LayoutListLine1(d, g, s, five, 100, art);
        for (const TLabelItem &it : d.items)
            QVERIFY(!(it.kind == TLabelItem::Text && it.text.startsWith(QStringLiteral("Das"))));
    }

    void listCellTextsStayInTheirRoom()
    {
        // Five columns of 36 mm; column 1 from 200 to 560. A long category
        // name beside a sound and a category symbol.
        FakeArt art;
        art.names[3] = QStringLiteral("Bühne (Theater/Oper/Musical)");
        art.withSymbol << 3;
        TTablePrintStyle s;
        s.twoLines = true;
        s.symbols.PrintTon = true;
        s.symbols.PrintKategSymb = true;
        TListRow r = mediumRow(1, {1}, 5);
        r.films[0].Kateg = QStringLiteral("3");
        r.films[0].Ton = QStringLiteral("S");
        r.films[0].MW = true;
        r.films[0].Len = 100;
        r.films[0].LP = true;
        TLabelLayout out;
        LayoutListLine2(out, a4(), s, r, 100, art);
        int symbolsLeft = 560;
        for (const TLabelItem &it : out.items)
            if (it.kind == TLabelItem::Image)
                symbolsLeft = std::min(symbolsLeft, it.rect.left());
        QVERIFY(symbolsLeft < 513); // both symbols drawn, the sound one at 560 - 47
        QString category;
        for (const TLabelItem &it : out.items) {
            if (it.kind != TLabelItem::Text || it.p1.x() < 200)
                continue;
            const int right = it.p1.x() + TextWidth(it.font, it.text);
            // Length texts end half a millimetre before the category (at
            // 20 mm + 10 mm), the category texts a millimetre before the symbols.
            QVERIFY2(right <= (it.p1.x() < 300 ? 295 : symbolsLeft - 10), qPrintable(it.text));
            if (it.p1.x() == 300 && it.text != QStringLiteral("Kategorie"))
                category = it.text;
        }
        QVERIFY(!category.isEmpty() && art.names[3].startsWith(category) && category.size() < art.names[3].size());
        QVERIFY(texts(out).contains(QStringLiteral("Min.m.W")));
        QVERIFY(texts(out).contains(QStringLiteral("100 LP")));

        // The number column (10 to 20 mm): the kind's glyphs and the
        // number's stay 0.4 mm apart, also with a descender, and a long
        // number stays within the rules.
        for (const auto &[kind, nr] : {std::pair{QStringLiteral("LD"), 12}, std::pair{QStringLiteral("Bluray"), 32767}}) {
            TLabelLayout l1;
            TListRow k = mediumRow(nr, {}, 1);
            k.medium = kind;
            LayoutListLine1(l1, a4(), s, k, 100, art);
            const TLabelItem *kindText = nullptr, *number = nullptr;
            for (const TLabelItem &it : l1.items)
                if (it.kind == TLabelItem::Text)
                    (it.text == kind ? kindText : number) = &it;
            QVERIFY(kindText && number && number->text == QString::number(nr));
            const QRect kr = QFontMetrics(kindText->font).tightBoundingRect(kind).translated(kindText->p1);
            const QRect nrRect = QFontMetrics(number->font).tightBoundingRect(number->text).translated(number->p1);
            QVERIFY2(nrRect.top() - kr.bottom() > 4, qPrintable(kind));
            QVERIFY(number->p1.x() >= 105 && number->p1.x() + TextWidth(number->font, number->text) <= 195);
        }
    }

    void screenRowEndsWithARule()
    {
        FakeArt art;
        TTablePrintStyle s;
        s.filmList = true;
        const TTablePrintGeometry g = ScreenListGeometry();
        const TLabelLayout l = LayoutListRowOnScreen(g, s, filmRow(3, QStringLiteral("Alien")), art);
        QVERIFY(texts(l).contains(QStringLiteral("Alien")));
        const TLabelItem &last = l.items.back();
        QCOMPARE(last.kind, TLabelItem::Line);
        QCOMPARE(last.p1.y(), g.lineHeight); // one line: the film list draws its info on it
        QCOMPARE(last.p1.x(), 2);
    }

    void cancelledSinkStopsTheJob()
    {
        FakeArt art;
        TTablePrintStyle s;
        s.linesPerPage = 3;
        s.filmList = true;
        int pages = 0;
        TTablePrinter p(a4(), s, art, [&](const TLabelLayout &) { return ++pages < 2; });
        p.begin(QStringLiteral("L"));
        int printed = 0;
        for (int i = 0; i < 20 && p.listRow(filmRow(i, QStringLiteral("F"))); ++i)
            ++printed;
        QVERIFY(p.cancelled());
        QVERIFY(!p.finish());
        QCOMPARE(pages, 2);
        QCOMPARE(printed, 5); // 2 on the first page, 3 on the second
    }
};

QTEST_MAIN(TestTablePrint)
#include "tst_tableprint.moc"
