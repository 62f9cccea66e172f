// Film and person pages laid out at 10 pixels per millimetre (A4: 2100 ×
// 2970 pixels): the time text, the margins of front and back pages, the
// field lines reserved beside a picture, the wrapping of a memo, the person
// page's captions and its film list.
#include "fakeart.h"
#include "pageitems.h"
#include "print/descriptionpage.h"

#include <QtTest>

namespace {

TPageMetrics a4()
{
    return SetUpPageMetrics(2100, 210, 2970, 297);
}

QFont memoFont()
{
    return PageFont(QString(), 12, a4().scale);
}

} // namespace

class TestDescriptionPage : public QObject
{
    Q_OBJECT

private slots:
    void metricsFromTheMillimetres()
    {
        const TPageMetrics m = a4();
        QCOMPARE(m.ML, 170);
        QCOMPARE(m.MR, 100);
        QCOMPARE(m.T, 120);
        QCOMPARE(m.B, 2870);
        QCOMPARE(m.PW, 2100);
    }

    void timeText()
    {
        QCOMPARE(FilmTimeText(95, false, false, 0), QStringLiteral("  (ca. 95 min)"));
        QCOMPARE(FilmTimeText(95, true, true, 4), QStringLiteral("  (ca. 1:35 LP m.W.)"));
        // A length of 0 keeps the opening parenthesis; "()" is no text at all.
        QCOMPARE(FilmTimeText(0, true, false, 0), QStringLiteral("  ( LP)"));
        QCOMPARE(FilmTimeText(0, false, true, 0), QStringLiteral("  ( m.W.)"));
        QCOMPARE(FilmTimeText(0, false, false, 0), QString());
        QCOMPARE(FilmTimeText(std::nullopt, false, false, 0), QString());
    }

    void titleLine()
    {
        TLabelFilm f;
        f.Titel = QStringLiteral("Der Pate");
        f.Untertitel = QStringLiteral(">, Teil II");
        TFilmTitleLine t = FilmTitleLine(f, 0);
        QCOMPARE(t.title, QStringLiteral("Der Pate, Teil II"));
        QCOMPARE(t.sub, QString());
        QCOMPARE(t.pageTitle, QStringLiteral("Der Pate, Teil II"));
        f.Untertitel = QStringLiteral("Die Rückkehr");
        t = FilmTitleLine(f, 0);
        QCOMPARE(t.sub, QStringLiteral(" - Die Rückkehr"));
        QCOMPARE(t.pageTitle, QStringLiteral("Der Pate - Die Rückkehr"));
    }

    void wrapping()
    {
        const QFont f = memoFont();
        // CR LF ends a line; an empty paragraph is an empty line.
        const QString text = QStringLiteral("eins\r\n\r\nzwei\ndrei");
        int pos = 0;
        QStringList got;
        while (pos < text.size())
            got << WrapTextLine(pos, text, f, 1000);
        QCOMPARE(got, QStringList({"eins", "", "zwei", "drei"}));

        // Too wide: back to the last blank, which stays at the line's end.
        const QString s = QStringLiteral("Hallo schöne Welt");
        pos = 0;
        QCOMPARE(WrapTextLine(pos, s, f, TextWidth(f, QStringLiteral("Hallo schö"))), QStringLiteral("Hallo "));
        QCOMPARE(pos, 6);
        // ... or to a hyphen, which stays on the line.
        const QString h = QStringLiteral("Nord-Ostsee");
        pos = 0;
        QCOMPARE(WrapTextLine(pos, h, f, TextWidth(f, QStringLiteral("Nord-Os"))), QStringLiteral("Nord-"));
    }

    void hardBreakAlwaysEnds()
    {
        const QFont f = memoFont();
        const QString word = QStringLiteral("Donaudampfschifffahrtsgesellschaft");
        int pos = 0;
        const QString first = WrapTextLine(pos, word, f, TextWidth(f, QStringLiteral("Donau")));
        QCOMPARE(first, QStringLiteral("Donau"));
        // Not even one character fits: one character a line, and it ends.
        QStringList got;
        pos = 0;
        for (int guard = 0; pos < word.size() && guard < 100; ++guard)
            got << WrapTextLine(pos, word, f, 0);
        QCOMPARE(got.size(), int(word.size()));
        QCOMPARE(got.join(QString()), word);
    }

    void eightFieldLinesBesideAPicture()
    {
        FakeArt art;
        TFilmPageData d;
        d.header = QStringLiteral("Band-Nr. 3, Film-Nr. 1");
        d.film.Titel = QStringLiteral("Alien");
        d.film.Free[0] = QStringLiteral("Ridley Scott");
        d.film.Free[1] = QStringLiteral("1979");
        d.film.Free[4] = QStringLiteral("Sigourney Weaver");
        for (int i = 0; i < 15; ++i)
            d.freeCaptions[i] = QStringLiteral("Feld %1").arg(i + 1);
        TPageDocument doc;
        TPageWriter w(a4(), TPageOptions(), doc);
        w.beginRecord();
        TPageHeadingBoxes box = DrawFilmPage(w, d, TLabelSettings(), art);
        QCOMPARE(box.lines, 3);
        // 12 pt italic plus 0.7 mm; the rule 3 mm below the last line.
        QCOMPARE(box.lineHeight, PageTextHeight(PageFont(QString(), 12, a4().scale, true)) + 7);
        QCOMPARE(box.ruleY, box.fieldTop + 3 * box.lineHeight + 30);
        QVERIFY(box.picture.isEmpty());
        // The captions at the left margin, the values 2 mm right of the widest.
        QCOMPARE(findText(doc.sheets[0].layout, QStringLiteral("Feld 1"))->p1.x(), 170);
        QCOMPARE(box.valueX, 170 + TextWidth(PageFont(QString(), 12, a4().scale, true), QStringLiteral("Feld 5")) + 20);

        d.film.Grafik = QImage(300, 200, QImage::Format_RGB32);
        d.film.Grafik.fill(Qt::red);
        TPageDocument doc2;
        TPageWriter w2(a4(), TPageOptions(), doc2);
        w2.beginRecord();
        box = DrawFilmPage(w2, d, TLabelSettings(), art);
        QCOMPARE(box.ruleY, box.fieldTop + 8 * box.lineHeight + 30);
        // The picture ends at the right margin and stops above the rule.
        QVERIFY(!box.picture.isEmpty());
        QCOMPARE(box.picture.left() + box.picture.width(), 2100 - 100);
        QCOMPARE(box.picture.top() + box.picture.height(), box.ruleY);
        QCOMPARE(w2.y, box.ruleY + 30);
    }

    void pictureFit()
    {
        // Fit 1 (from top1) is capped by width1; fit 2 (from top2) may use
        // width2 when it is larger; the taller one wins.
        QCOMPARE(FitHeadingPicture(QSize(100, 100), 1000, 0, 50, 250, 400, 100), QRect(750, 0, 250, 250));
        QCOMPARE(FitHeadingPicture(QSize(200, 100), 1000, 0, 50, 250, 100, 600), QRect(600, 50, 400, 200));
        // A tie goes to fit 2.
        QCOMPARE(FitHeadingPicture(QSize(200, 100), 1000, 0, 50, 250, 300, 300), QRect(700, 50, 300, 150));
        // No room at all: no picture.
        QVERIFY(FitHeadingPicture(QSize(200, 100), 1000, 0, 50, 250, -10, -5).isEmpty());
        QVERIFY(FitHeadingPicture(QSize(200, 100), 1000, 300, 300, 250, 500, 500).isEmpty());
    }

    void backSidesOnOddPageCounters()
    {
        FakeArt art;
        TFilmPageData d;
        d.film.Titel = QStringLiteral("Lang");
        d.film.Memo = numberedLines(200);
        TPageOptions o;
        o.backSide = true;
        TPageDocument doc;
        TPageWriter w(a4(), o, doc);
        PrintFilmPageRecord(w, d, TLabelSettings(), art);
        QVERIFY(doc.sheets.size() >= 3);
        QVERIFY(!doc.sheets[0].backSide);
        QVERIFY(doc.sheets[1].backSide);
        QVERIFY(!doc.sheets[2].backSide);
        // Page 2 (a back): 10 mm left, 17 mm right; page 3 a front again.
        const auto p2 = texts(doc.sheets[1].layout);
        QCOMPARE(p2[0]->text, QStringLiteral("Lang"));
        QCOMPARE(p2[0]->p1.x(), 100);
        const TLabelItem *seite = findText(doc.sheets[1].layout, QStringLiteral("Seite 2"));
        QVERIFY(seite);
        QCOMPARE(seite->p1.x() + TextWidth(seite->font, seite->text), 2100 - 170);
        QCOMPARE(texts(doc.sheets[2].layout)[0]->p1.x(), 170);
        QVERIFY(findText(doc.sheets[2].layout, QStringLiteral("Seite 3")));
        // No line below the bottom margin.
        for (const TPageSheet &s : doc.sheets)
            for (const TLabelItem *t : texts(s.layout))
                QVERIFY(t->p1.y() <= 2870);

        // Without back sides every page is a front page.
        TPageDocument plain;
        TPageWriter w2(a4(), TPageOptions(), plain);
        PrintFilmPageRecord(w2, d, TLabelSettings(), art);
        for (const TPageSheet &s : plain.sheets)
            QVERIFY(!s.backSide);
        QCOMPARE(texts(plain.sheets[1].layout)[0]->p1.x(), 170);
    }

    void eachRecordStartsAFreshPageCounter()
    {
        FakeArt art;
        TFilmPageData a, b;
        a.film.Titel = QStringLiteral("A");
        a.film.Memo = numberedLines(80);
        b.film.Titel = QStringLiteral("B");
        TPageOptions o;
        o.backSide = true;
        TPageDocument doc;
        TPageWriter w(a4(), o, doc);
        PrintFilmPageRecord(w, a, TLabelSettings(), art);
        const size_t afterA = doc.sheets.size();
        PrintFilmPageRecord(w, b, TLabelSettings(), art);
        QCOMPARE(doc.sheets.size(), afterA + 1);
        QVERIFY(!doc.sheets.back().backSide);
        QCOMPARE(w.pageCounter, 1);
    }

    void personPageShowsAllSevenCaptions()
    {
        TPersonPageData d;
        d.name = QStringLiteral("Hitchcock, Alfred");
        for (int i = 0; i < 7; ++i)
            d.captions[i] = QStringLiteral("Frei%1").arg(i + 1);
        TPageDocument doc;
        TPageWriter w(a4(), TPageOptions(), doc);
        w.beginRecord();
        const TPageHeadingBoxes box = DrawPersonPage(w, d);
        int captions = 0;
        for (const TLabelItem *t : texts(doc.sheets[0].layout))
            if (t->font.italic())
                ++captions;
        QCOMPARE(captions, 7);
        QCOMPARE(box.ruleY, box.fieldTop + 7 * box.lineHeight + 30);
    }

    void personFilmList()
    {
        QCOMPARE(PersonFilmEntry(QStringLiteral("Psycho"), QStringLiteral("VHS-SB"), 12, true),
                 QStringLiteral("Psycho  (VHS-SB Nr. 12)"));
        QCOMPARE(PersonFilmEntry(QStringLiteral("Psycho"), QStringLiteral("VHS-SB"), 12, false), QStringLiteral("Psycho"));

        // An empty memo: the text starts with an empty line, then the heading.
        TPersonPageData d;
        d.name = QStringLiteral("Hitchcock, Alfred");
        d.listFilms = true;
        d.filmsHeading = QStringLiteral("Seine Filme:");
        d.films = {QStringLiteral("Psycho"), QStringLiteral("Die Vögel")};
        TPageDocument doc;
        TPageWriter w(a4(), TPageOptions(), doc);
        w.beginRecord();
        const TPageHeadingBoxes box = DrawPersonPage(w, d);
        PrintPageText(w, PersonPageText(d));
        const QFont f = memoFont();
        const int lh = PageTextHeight(f);
        const int textTop = box.ruleY + 30;
        const TLabelItem *heading = findText(doc.sheets[0].layout, QStringLiteral("Seine Filme:"));
        QVERIFY(heading);
        QCOMPARE(heading->p1.y(), textTop + lh + PageAscent(f));
        QVERIFY(heading->font.italic() && heading->font.underline());
        const TLabelItem *first = findText(doc.sheets[0].layout, QStringLiteral("Psycho"));
        QCOMPARE(first->p1.y(), textTop + 2 * lh + PageAscent(f));
        QVERIFY(!first->font.italic());
        QCOMPARE(w.y, textTop + 4 * lh);
    }
};

QTEST_MAIN(TestDescriptionPage)
#include "tst_descriptionpage.moc"
