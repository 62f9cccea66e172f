// The play-time format and the text of a film's label line: joined
// subtitles, " - ", free areas, strike-out, a missing film, the extra part
// (play time, long play, end position, free field, category) and the case
// top; then the drawing of one line and of the window label's lines.
#include "fakeart.h"
#include "print/labelformat.h"
#include "print/labeltext.h"
#include "data/playtime.h"

#include <QtTest>

namespace {

TLabelFilm film(const QString &title, const std::optional<QString> &sub = std::nullopt)
{
    TLabelFilm f;
    f.Titel = title;
    f.Untertitel = sub;
    return f;
}

TLabelMedium medium(const std::vector<TLabelFilm> &films)
{
    TLabelMedium m;
    m.Medium = QStringLiteral("VHS-SB");
    m.Nr = 12;
    m.Films = films;
    return m;
}

} // namespace

class TestLabelText : public QObject
{
    Q_OBJECT
private slots:
    void playTime_data()
    {
        QTest::addColumn<int>("minutes");
        QTest::addColumn<int>("format");
        QTest::addColumn<QString>("text");
        const char *table[][4] = {
            // format, 95, 25, 5
            {"0", "95 min", "25 min", "5 min"}, {"1", "95'", "25'", "5'"}, {"2", "1h35'", "25'", "05'"},
            {"3", "1h35'", "0h25'", "0h05'"},   {"4", "1:35", "0:25", "0:05"},
        };
        for (const auto &row : table) {
            const int fmt = QByteArray(row[0]).toInt();
            QTest::addRow("%d/95", fmt) << 95 << fmt << QString::fromUtf8(row[1]);
            QTest::addRow("%d/25", fmt) << 25 << fmt << QString::fromUtf8(row[2]);
            QTest::addRow("%d/5", fmt) << 5 << fmt << QString::fromUtf8(row[3]);
        }
        QTest::newRow("0/0") << 0 << 0 << "0 min";
        QTest::newRow("1/0") << 0 << 1 << "0'";
        QTest::newRow("2/0") << 0 << 2 << "00'";
        QTest::newRow("3/0") << 0 << 3 << "0h00'";
        QTest::newRow("4/0") << 0 << 4 << "0:00";
        QTest::newRow("0/-5") << -5 << 0 << "-5 min";
        QTest::newRow("1/-5") << -5 << 1 << "-5'";
        QTest::newRow("2/-5") << -5 << 2 << "-5'";
        QTest::newRow("3/-5") << -5 << 3 << "-5'";
        QTest::newRow("4/-5") << -5 << 4 << "-5 min";
        QTest::newRow("2/120") << 120 << 2 << "2h00'";
        QTest::newRow("3/59") << 59 << 3 << "0h59'";
        QTest::newRow("4/60") << 60 << 4 << "1:00";
        QTest::newRow("4/600") << 600 << 4 << "10:00";
        QTest::newRow("unknown 5") << 95 << 5 << "";
        QTest::newRow("unknown 255") << 95 << 255 << "";
    }
    void playTime()
    {
        QFETCH(int, minutes);
        QFETCH(int, format);
        QFETCH(QString, text);
        QCOMPARE(FormatPlayTime(minutes, format), text);
    }

    void titleAndSubtitle()
    {
        FakeArt art;
        TLabelSettings o;
        TFilmLinesState st;
        TLabelMedium m = medium({film(QStringLiteral("Star Trek"), QStringLiteral(">: Der Film")),
                                 film(QStringLiteral("Alien"), QStringLiteral("Das Original")),
                                 film(QStringLiteral("Heat"))});
        TFilmLabelLines l = BuildFilmLabelLines(m, 1, ptSpine, o, art, st);
        QCOMPARE(l.Title, QStringLiteral("Star Trek: Der Film"));
        QCOMPARE(l.Sub, QString());
        l = BuildFilmLabelLines(m, 2, ptSpine, o, art, st);
        QCOMPARE(l.Title, QStringLiteral("Alien"));
        QCOMPARE(l.Sub, QStringLiteral(" - Das Original"));
        l = BuildFilmLabelLines(m, 2, ptWindow, o, art, st);
        QCOMPARE(l.Sub, QStringLiteral("Das Original"));
        l = BuildFilmLabelLines(m, 3, ptSpine, o, art, st);
        QCOMPARE(l.Sub, QString());
        QVERIFY(!l.StrikeOut);
    }

    void missingFilm()
    {
        FakeArt art;
        TFilmLinesState st;
        TLabelFilm gap;
        gap.Exists = false;
        const TLabelMedium m = medium({film(QStringLiteral("Eins")), gap, film(QStringLiteral("Drei"))});
        const TFilmLabelLines l = BuildFilmLabelLines(m, 2, ptSpine, TLabelSettings(), art, st);
        QCOMPARE(l.Title, QStringLiteral("Fehler:"));
        QCOMPARE(l.Sub, QStringLiteral(" FilmDatensatz nicht vorhanden!"));
        QCOMPARE(l.Extra, QString());
    }

    void freeAreas()
    {
        FakeArt art;
        TLabelSettings o;
        o.PrintLen = true;
        TLabelFilm free = film(QStringLiteral("FREIER BEREICH"), QStringLiteral("alt"));
        free.Frei = true;
        free.Len = 30;
        const TLabelMedium m = medium({free});
        TFilmLinesState st;
        TFilmLabelLines l = BuildFilmLabelLines(m, 1, ptSpine, o, art, st);
        QCOMPARE(l.Title, QString());
        QCOMPARE(l.Sub, QStringLiteral("(freier Bereich)  "));
        QCOMPARE(l.Extra, QString());
        QVERIFY(!l.StrikeOut);
        QVERIFY(st.HasFreeArea);
        o.FreeStrikeOut = true;
        st = TFilmLinesState();
        l = BuildFilmLabelLines(m, 1, ptSpine, o, art, st);
        QCOMPARE(l.Title, QStringLiteral("FREIER BEREICH"));
        QCOMPARE(l.Sub, QStringLiteral(" - alt"));
        QCOMPARE(l.Extra, QStringLiteral("  (ca. 30 min)"));
        QVERIFY(l.StrikeOut);
        QVERIFY(st.HasFreeArea);
        // Struck out: title and subtitle, never the extra part.
        const TFilmFonts f = FilmFonts(QFont(), TFilmTextSizes(), 10, l.StrikeOut);
        QVERIFY(f.Title.strikeOut());
        QVERIFY(f.Sub.strikeOut());
        QVERIFY(!f.Extra.strikeOut());
    }

    void playTimeAndEndPosition()
    {
        FakeArt art;
        TLabelSettings o;
        o.PrintLen = true;
        o.PrintEndPos = true;
        o.PlayTimeFormat = 2;
        TLabelFilm a = film(QStringLiteral("A"));
        a.Len = 95;
        TLabelFilm b = film(QStringLiteral("B"));
        b.Len = 25;
        b.MW = true;
        const TLabelMedium m = medium({a, b});
        TFilmLinesState st;
        QCOMPARE(BuildFilmLabelLines(m, 1, ptSpine, o, art, st).Extra, QStringLiteral("  (ca. 1h35' bis: 1h35')"));
        QCOMPARE(BuildFilmLabelLines(m, 2, ptSpine, o, art, st).Extra,
                 QStringLiteral("  (ca. 25' m.W. bis: 2h00')"));
        // Film 1 starts the sum again; the window label has no leading blanks.
        QCOMPARE(BuildFilmLabelLines(m, 1, ptWindow, o, art, st).Extra, QStringLiteral("(ca. 1h35' bis: 1h35')"));
        QCOMPARE(st.EndPos, 95);
        // Only the end position: the part opens with it.
        o.PrintLen = false;
        QCOMPARE(BuildFilmLabelLines(m, 1, ptSpine, o, art, st).Extra, QStringLiteral("  (bis: 1h35')"));
        // Only the length, no length: empty.
        o.PrintLen = true;
        o.PrintEndPos = false;
        TLabelFilm none = film(QStringLiteral("C"));
        QCOMPARE(BuildFilmLabelLines(medium({none}), 1, ptSpine, o, art, st).Extra, QStringLiteral("  "));
    }

    void longPlayWithAtts()
    {
        FakeArt art;
        TLabelSettings o;
        o.PrintLen = true;
        o.PrintEndPos = true;
        o.ATTS = true;
        TLabelFilm lp = film(QStringLiteral("Lang"));
        lp.Len = 120;
        lp.LP = true;
        TLabelFilm one = film(QStringLiteral("Kurz"));
        one.Len = 1;
        one.LP = true;
        const TLabelMedium m = medium({lp, one});
        TFilmLinesState st;
        QCOMPARE(BuildFilmLabelLines(m, 1, ptSpine, o, art, st).Extra,
                 QStringLiteral("  (ca. 120 min LP bis: 60 min)"));
        QCOMPARE(st.EndPos, 60);
        // A one-minute LP film counts 0 minutes: no "bis:".
        QCOMPARE(BuildFilmLabelLines(m, 2, ptSpine, o, art, st).Extra, QStringLiteral("  (ca. 1 min LP)"));
        QCOMPARE(st.EndPos, 60);
        // Without ATTS the whole length counts.
        o.ATTS = false;
        BuildFilmLabelLines(m, 1, ptSpine, o, art, st);
        QCOMPARE(st.EndPos, 120);
        // Long play without the length switch opens with "(LP".
        o.PrintLen = false;
        o.PrintEndPos = true;
        QCOMPARE(BuildFilmLabelLines(m, 1, ptSpine, o, art, st).Extra, QStringLiteral("  (LP bis: 120 min)"));
    }

    void freeFieldAndCategory()
    {
        FakeArt art;
        art.names[3] = QStringLiteral("Krimi");
        art.names[10] = QStringLiteral("Keine");
        TLabelSettings o;
        o.PrintFree = true;
        o.PrintFreeNr = 4;
        TLabelFilm f = film(QStringLiteral("Tatort"));
        f.Free[3] = QStringLiteral("ARD");
        f.Kateg = QStringLiteral("3");
        TLabelMedium m = medium({f});
        TFilmLinesState st;
        QCOMPARE(BuildFilmLabelLines(m, 1, ptSpine, o, art, st).Extra, QStringLiteral(" - ARD"));
        QCOMPARE(BuildFilmLabelLines(m, 1, ptWindow, o, art, st).Extra, QStringLiteral("ARD"));
        o.PrintFree = false;
        o.PrintKat = true;
        QCOMPARE(BuildFilmLabelLines(m, 1, ptSpine, o, art, st).Extra, QStringLiteral(" - Krimi"));
        QCOMPARE(BuildFilmLabelLines(m, 1, ptWindow, o, art, st).Extra, QStringLiteral("Krimi"));
        // The window label shows the category even without the switch.
        o.PrintKat = false;
        QCOMPARE(BuildFilmLabelLines(m, 1, ptWindow, o, art, st).Extra, QStringLiteral("Krimi"));
        QCOMPARE(BuildFilmLabelLines(m, 1, ptSpine, o, art, st).Extra, QString());
        m.Films[0].Kateg = QStringLiteral("0");
        o.PrintKat = true;
        QCOMPARE(BuildFilmLabelLines(m, 1, ptSpineNoFoot, o, art, st).Extra, QStringLiteral(" - Keine Kategorie"));
        m.Films[0].Kateg.clear();
        QCOMPARE(BuildFilmLabelLines(m, 1, ptSpine, o, art, st).Extra, QString());
    }

    void categoryFont()
    {
        FakeArt art;
        art.fonts[37] = QFont(QStringLiteral("Courier"));
        TLabelFilm f = film(QStringLiteral("X"));
        f.Kateg = QStringLiteral("A");
        TFilmLinesState st;
        const TFilmLabelLines l = BuildFilmLabelLines(medium({f}), 1, ptSpine, TLabelSettings(), art, st);
        QVERIFY(l.CategoryFont);
        QCOMPARE(l.CategoryFont->family(), QStringLiteral("Courier"));
    }

    void caseTop()
    {
        FakeArt art;
        art.names[2] = QStringLiteral("Komödie");
        TLabelSettings o;
        o.PrintLen = true; // never on the case top
        TLabelFilm f = film(QStringLiteral("Titel"), QStringLiteral("Sub"));
        f.Len = 90;
        f.Kateg = QStringLiteral("2");
        f.Free[0] = QStringLiteral("Frei eins");
        const TLabelMedium m = medium({f});
        TFilmLinesState st;
        TFilmLabelLines l = BuildFilmLabelLines(m, 1, ptCaseTop, o, art, st);
        QCOMPARE(l.Title, QStringLiteral("Titel"));
        QCOMPARE(l.Sub, QStringLiteral(" - Sub"));
        QCOMPARE(l.Extra, QString());
        o.PrintHFree = true;
        o.PrintHFreeNr = 1;
        l = BuildFilmLabelLines(m, 1, ptCaseTop, o, art, st);
        QCOMPARE(l.Title, QStringLiteral("Frei eins"));
        QCOMPARE(l.Sub, QString());
        QCOMPARE(l.Extra, QString());
        o.PrintHFree = false;
        o.PrintHKateg = true;
        l = BuildFilmLabelLines(m, 1, ptCaseTop, o, art, st);
        QCOMPARE(l.Title, QStringLiteral("Komödie"));
    }

    void oneBaseline()
    {
        TFilmLabelLines l;
        l.Title = QStringLiteral("Titel");
        l.Sub = QStringLiteral(" - Sub");
        l.Extra = QStringLiteral("  (ca. 90 min)");
        const TFilmFonts f = FilmFonts(QFont(QStringLiteral("DejaVu Sans")), {12, 10, 8}, 10, false);
        TLabelLayout out;
        DrawFilmLine(out, l, f, 20, 100);
        QCOMPARE(int(out.items.size()), 3);
        QCOMPARE(out.items[0].p1, QPoint(20, 100));
        QCOMPARE(out.items[1].p1, QPoint(20 + TextWidth(f.Title, l.Title), 100));
        QCOMPARE(out.items[2].p1.x(), out.items[1].p1.x() + TextWidth(f.Sub, l.Sub));
        QCOMPARE(out.items[2].p1.y(), 100);
        QCOMPARE(FilmLineWidth(l, f),
                 TextWidth(f.Title, l.Title) + TextWidth(f.Sub, l.Sub) + TextWidth(f.Extra, l.Extra));
        // Sizes in points on the device: 12 pt at 10 px/mm is 42 px.
        QCOMPARE(f.Title.pixelSize(), 42);
    }

    void windowLines()
    {
        TFilmLabelLines l;
        l.Title = QStringLiteral("Der Herr der Ringe");
        l.Sub = QStringLiteral("Die Gefährten");
        l.Extra = QStringLiteral("Fantasy");
        const TFilmFonts f = FilmFonts(QFont(QStringLiteral("DejaVu Sans")), {10, 9, 7}, 10, false);
        const int wide = WindowTitleLineWidth(l, f);
        QCOMPARE(wide, TextWidth(f.Title, l.Title) + TextWidth(f.Sub, QStringLiteral(" - ") + l.Sub));
        TLabelLayout one;
        DrawWindowFilmLines(one, l, f, 10, 0, 200, 50, wide);
        QCOMPARE(int(one.items.size()), 3);
        QCOMPARE(one.items[1].text, QStringLiteral(" - Die Gefährten"));
        QCOMPARE(one.items[0].p1.y(), one.items[1].p1.y());
        TLabelLayout two;
        DrawWindowFilmLines(two, l, f, 10, 0, 200, 50, wide - 1);
        QCOMPARE(two.items[1].text, QStringLiteral("Die Gefährten"));
        QVERIFY(two.items[1].p1.y() > two.items[0].p1.y());
        QCOMPARE(two.items[1].p1.x(), 10);
        // The extra line ends at the slot's bottom.
        QCOMPARE(two.items[2].p1.y(), 200 - QFontMetrics(f.Extra).descent());
        l.Extra.clear();
        TLabelLayout noExtra;
        DrawWindowFilmLines(noExtra, l, f, 10, 0, 200, 50, wide);
        QCOMPARE(int(noExtra.items.size()), 2);
    }
};

QTEST_MAIN(TestLabelText)
#include "tst_labeltext.moc"
