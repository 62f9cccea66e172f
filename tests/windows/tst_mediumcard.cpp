// The medium card's rules: slot captions and hints, notes pictures, the
// percentage bar, the status line, return-date colours, lending dates, the
// remaining-time filter, label-relevant fields and play-time texts.
#include "data/mediumcard.h"
#include "data/playtime.h"

#include <QtTest>

class TestMediumCard : public QObject
{
    Q_OBJECT
private slots:
    void playTimeFormats_data()
    {
        QTest::addColumn<int>("minutes");
        QTest::addColumn<int>("format");
        QTest::addColumn<QString>("text");
        QTest::newRow("0/95") << 95 << 0 << "95 min";
        QTest::newRow("1/25") << 25 << 1 << "25'";
        QTest::newRow("2/95") << 95 << 2 << "1h35'";
        QTest::newRow("2/5") << 5 << 2 << "05'";
        QTest::newRow("3/25") << 25 << 3 << "0h25'";
        QTest::newRow("3/60") << 60 << 3 << "1h00'";
        QTest::newRow("4/95") << 95 << 4 << "1:35";
        QTest::newRow("4/-5") << -5 << 4 << "-5 min";
        QTest::newRow("3/-5") << -5 << 3 << "-5'";
        QTest::newRow("5") << 95 << 5 << "";
    }
    void playTimeFormats()
    {
        QFETCH(int, minutes);
        QFETCH(int, format);
        QFETCH(QString, text);
        QCOMPARE(FormatPlayTime(minutes, format), text);
    }

    void slotCaptionsAndHints()
    {
        CardFilm f;
        f.titel = QStringLiteral("Der Pate");
        f.untertitel = QStringLiteral(">, Teil II");
        f.len = 95;
        QCOMPARE(FilmSlotCaption(f, false).text, QStringLiteral("Der Pate, Teil II"));
        f.untertitel = QStringLiteral("Director's Cut");
        QCOMPARE(FilmSlotCaption(f, true).text, QStringLiteral("Der Pate - Director's Cut"));
        QVERIFY(!FilmSlotCaption(f, true).strikeOut);
        QCOMPARE(FilmSlotHint(f), QStringLiteral("ca. 95 min (1h35')"));
        f.len = 45;
        f.lp = true;
        f.mw = true;
        QCOMPARE(FilmSlotHint(f), QStringLiteral("ca. 45 min LP m.W."));
        f.len = 0;
        f.lp = f.mw = false;
        QCOMPARE(FilmSlotHint(f), QStringLiteral("Unbekannte Spielzeit!"));

        CardFilm free;
        free.titel = QStringLiteral("FREIER BEREICH");
        free.frei = true;
        free.len = 61;
        free.lp = true; // 30 minutes of tape
        QCOMPARE(FilmSlotCaption(free, false).text, QStringLiteral("freier Bereich: ca. 30 min."));
        QVERIFY(!FilmSlotCaption(free, false).strikeOut);
        QCOMPARE(FilmSlotCaption(free, true).text, QStringLiteral("FREIER BEREICH (30 min.)"));
        QVERIFY(FilmSlotCaption(free, true).strikeOut);
    }

    void colours()
    {
        const platform::TColor expected[] = {platform::clNavy, platform::clTeal, platform::clGreen,
                                             platform::clOlive, platform::clMaroon, platform::clBlack};
        for (int f = 1; f <= 6; ++f)
            QCOMPARE(FilmNumberColor(f), expected[f - 1]);
        QCOMPARE(FilmNumberColor(12), platform::clBlack);
        const QDate today(2026, 12, 9);
        QCOMPARE(ReturnDateColor(today, today), platform::clMaroon);
        QCOMPARE(ReturnDateColor(today.addDays(1), today), platform::clGreen);
        QCOMPARE(ReturnDateColor(today.addDays(-1), today), platform::clRed);
        QCOMPARE(ReturnDateColor(QDate(), today), platform::clBlack);
    }

    void notesPictures()
    {
        CardFilm f;
        QCOMPARE(FilmNotesGlyph(f), QStringLiteral("NONOTES"));
        f.anyFreeField = true;
        QCOMPARE(FilmNotesGlyph(f), QStringLiteral("NOMEMO"));
        f.hasMemo = true;
        QCOMPARE(FilmNotesGlyph(f), QStringLiteral("NOTES"));
        f.hasPicture = true;
        QCOMPARE(FilmNotesGlyph(f), QStringLiteral("NOTESGRA"));
        f.anyFreeField = f.hasMemo = false;
        QCOMPARE(FilmNotesGlyph(f), QStringLiteral("NONOTESGRA"));
        QCOMPARE(MediumNotesGlyph(false, false), QStringLiteral("NONOTES"));
        QCOMPARE(MediumNotesGlyph(true, false), QStringLiteral("NOMEMO"));
        QCOMPARE(MediumNotesGlyph(false, true), QStringLiteral("NOTES"));
    }

    void percentBar()
    {
        CardFilm a, b, c;
        a.len = 60;
        b.len = 120;
        b.lp = true; // 60 on tape
        c.len = 30;
        c.frei = true;
        // Capacity 240, rest 60, films 1 to 3 use 150: 30 minutes beyond slot 5.
        const PercentBar bar = LayoutPercentBar(242, 240, 60, {a, b, c}, true);
        QCOMPARE(bar.films.size(), 3);
        QCOMPARE(bar.films[0].width, 60);
        QCOMPARE(bar.films[1].left, 60);
        QCOMPARE(bar.films[1].width, 60);
        QVERIFY(bar.films[2].freeArea);
        QCOMPARE(bar.films[0].hint, QStringLiteral("25,0% (bis: 1:00)"));
        QCOMPARE(bar.films[1].hint, QStringLiteral("25,0% (bis: 2:00)"));
        QVERIFY(bar.beyond.has_value());
        QCOMPARE(bar.beyond->left, 150);
        QCOMPARE(bar.beyond->width, 30);
        QVERIFY(!bar.unknown);
        // Without ATTS no end position; a film of length 0 shows the unknown shape.
        CardFilm zero;
        const PercentBar withZero = LayoutPercentBar(242, 240, 0, {a, zero, c}, false);
        QCOMPARE(withZero.films.size(), 1);
        QCOMPARE(withZero.films[0].hint, QStringLiteral("25,0%"));
        QVERIFY(withZero.unknown);
        QCOMPARE(withZero.unknownLeft, 60);
        // A capacity of 0 (bought cassette, DVD) draws nothing and never divides.
        const PercentBar none = LayoutPercentBar(242, 0, 0, {a, b}, true);
        QVERIFY(none.films.isEmpty());
        QVERIFY(!none.beyond && !none.unknown);
        QVERIFY(LayoutPercentBar(242, -5, 0, {a}, true).films.isEmpty());
    }

    void statusLine()
    {
        StatusLine s = StatusLineTexts(false, false, 0, 0, QString());
        QCOMPARE(s.left, QString());
        QCOMPARE(s.right, QStringLiteral("Keine Datei geöffnet."));
        QVERIFY(s.alarm);
        s = StatusLineTexts(true, true, 3, 10, QStringLiteral("/x/DB/Med.DB"));
        QCOMPARE(s.left, QStringLiteral("3 Medien gefunden"));
        QCOMPARE(s.right, QStringLiteral("Die Datei ist momentan GEFILTERT, Sie sehen nicht alle Datensätze!"));
        QVERIFY(s.alarm);
        s = StatusLineTexts(true, false, 3, 10, QStringLiteral("/x/DB/Med.DB"));
        QCOMPARE(s.left, QStringLiteral("3 Medien, 10 Filme"));
        QCOMPARE(s.right, QStringLiteral("Datei: /x/DB/Med.DB"));
        QCOMPARE(s.hint, s.right);
        QVERIFY(!s.alarm);
    }

    void lendingRules()
    {
        const QDate cal(2026, 12, 9);
        LendingDates d = LendingAfterBorrowerChange(QStringLiteral("Anna"), {}, cal, 14);
        QCOMPARE(d.lent, cal);
        QCOMPARE(d.back, cal.addDays(14));
        // Filled dates stay.
        d = LendingAfterBorrowerChange(QStringLiteral("Anna"), {QDate(2026, 1, 1), QDate(2026, 1, 5)}, cal, 14);
        QCOMPARE(d.back, QDate(2026, 1, 5));
        // An emptied borrower clears both.
        d = LendingAfterBorrowerChange(QStringLiteral("  "), {QDate(2026, 1, 1), QDate(2026, 1, 5)}, cal, 14);
        QVERIFY(!d.lent.isValid() && !d.back.isValid());
        // Picking the lending date keeps the span of the two dates.
        d = LendingAfterCalendarPick(true, QDate(2026, 3, 1), {QDate(2026, 1, 1), QDate(2026, 1, 8)}, 14);
        QCOMPARE(d.lent, QDate(2026, 3, 1));
        QCOMPARE(d.back, QDate(2026, 3, 8));
        // Without both dates the regular span.
        d = LendingAfterCalendarPick(true, QDate(2026, 3, 1), {QDate(), QDate()}, 21);
        QCOMPARE(d.back, QDate(2026, 3, 22));
        // A return date before the lending date takes the lending date with it.
        d = LendingAfterCalendarPick(false, QDate(2026, 2, 1), {QDate(2026, 3, 1), QDate(2026, 3, 8)}, 14);
        QCOMPARE(d.back, QDate(2026, 2, 1));
        QCOMPARE(d.lent, QDate(2026, 2, 1));
    }

    void filterAndLabelRules()
    {
        QVERIFY(RemainingTimeFilterAccepts(60, 0, 60, false));
        QVERIFY(!RemainingTimeFilterAccepts(59, 90, 60, false));
        QVERIFY(RemainingTimeFilterAccepts(59, 90, 60, true));
        QVERIFY(!RemainingTimeFilterAccepts(10, 20, 60, true));
        QVERIFY(IsLabelRelevantChange(QStringLiteral("Medium"), QStringLiteral("DVD"), false));
        QVERIFY(IsLabelRelevantChange(QStringLiteral("Nr"), QStringLiteral("DVD"), false));
        QVERIFY(IsLabelRelevantChange(QStringLiteral("Len"), QStringLiteral("VHS-SB"), true));
        QVERIFY(!IsLabelRelevantChange(QStringLiteral("Len"), QStringLiteral("VHS-SB"), false));
        QVERIFY(!IsLabelRelevantChange(QStringLiteral("Len"), QStringLiteral("Hi8"), true));
        QVERIFY(!IsLabelRelevantChange(QStringLiteral("Verliehen"), QStringLiteral("VHS-SB"), true));
        QVERIFY(IsTapeKind(QStringLiteral("VHS-C")));
        QVERIFY(!IsTapeKind(QStringLiteral("DVD")));
    }

    void standardKinds()
    {
        // The queries over the stored kinds are tested on their rows, with the
        // chooser and the go-to dialog (tst_carddefects).
        QCOMPARE(StandardMediumKinds(),
                 QStringList({"Laserd", "CDi", "DV", "miniDV", "Hi8", "VHS-C", "DVD-R", "DVD-RW", "DVD+R", "DVD+RW"}));
    }
};

QTEST_GUILESS_MAIN(TestMediumCard)
#include "tst_mediumcard.moc"
