#include "data/tapearithmetic.h"

#include <QtTest>

namespace {

TapeFilm film(int nr, int len, bool lp = false, bool frei = false, const QString &titel = {})
{
    TapeFilm f;
    f.filmNr = nr;
    f.len = len;
    f.lp = lp;
    f.frei = frei;
    f.titel = titel.isEmpty() ? QStringLiteral("Film %1").arg(nr) : titel;
    return f;
}

QList<int> numbers(const QList<TapeFilm> &films)
{
    QList<int> r;
    for (const TapeFilm &f : films)
        r.append(f.filmNr);
    return r;
}

} // namespace

class TstTapeArithmetic : public QObject
{
    Q_OBJECT
private slots:
    void kindsWithoutArithmetic()
    {
        const QList<TapeFilm> films{film(1, 90, false, true), film(2, 30)};
        for (const char *kind : {"DVD", "VHS-KK", "VHS-KKX"}) {
            const RestAndMaxFree r = CalcRestAndMaxFree(QString::fromLatin1(kind), 240, films, false);
            QCOMPARE(r.rest, 0);
            QCOMPARE(r.maxFree, 0);
        }
        // Exact after the cut: letter case and a longer kind count.
        QVERIFY(HasTapeArithmetic(QStringLiteral("dvd")));
        QVERIFY(HasTapeArithmetic(QStringLiteral("DVD-R")));
        QVERIFY(!HasTapeArithmetic(QStringLiteral("VHS-KK")));
        QCOMPARE(TapeMinutes(121, true), 60);
        QCOMPARE(TapeMinutes(121, false), 121);
    }

    void restAndLargestFreeArea()
    {
        // 240 with 90 LP, 60 free, 30: the rest after the last film is larger.
        QList<TapeFilm> films{film(1, 90, true), film(2, 60, false, true), film(3, 30)};
        RestAndMaxFree r = CalcRestAndMaxFree(QStringLiteral("VHS-SB"), 240, films, false);
        QCOMPARE(r.rest, 105);
        QCOMPARE(r.maxFree, 105);

        // The free run at the end joins the unrecorded rest.
        films[2].frei = true;
        r = CalcRestAndMaxFree(QStringLiteral("VHS-SB"), 240, films, false);
        QCOMPARE(r.rest, 105);
        QCOMPARE(r.maxFree, 195);

        // A free area in the middle larger than the rest.
        const QList<TapeFilm> middle{film(1, 30), film(2, 120, false, true), film(3, 60)};
        r = CalcRestAndMaxFree(QStringLiteral("VHS-SB"), 240, middle, false);
        QCOMPARE(r.rest, 30);
        QCOMPARE(r.maxFree, 120);
    }

    void emptyAndUnknownLengths()
    {
        RestAndMaxFree r = CalcRestAndMaxFree(QStringLiteral("VHS-SB"), 180, {}, false);
        QCOMPARE(r.rest, 180);
        QCOMPARE(r.maxFree, 180);

        // A film of unknown length: no remaining time, the free areas still count.
        const QList<TapeFilm> films{film(1, 0), film(2, 50, false, true), film(3, 20)};
        r = CalcRestAndMaxFree(QStringLiteral("VHS-SB"), 180, films, false);
        QCOMPARE(r.rest, 0);
        QCOMPARE(r.maxFree, 50);

        // Without a film 1 the walk does not start.
        const QList<TapeFilm> noFirst{film(2, 50), film(3, 20)};
        r = CalcRestAndMaxFree(QStringLiteral("VHS-SB"), 180, noFirst, false);
        QCOMPARE(r.rest, 180);
        QCOMPARE(r.maxFree, 180);

        // A gap in the numbers does not stop the walk.
        const QList<TapeFilm> gap{film(1, 50), film(3, 20)};
        QCOMPARE(CalcRestAndMaxFree(QStringLiteral("VHS-SB"), 180, gap, false).rest, 110);

        // An over-full tape goes negative; the largest free area stays at 0.
        const QList<TapeFilm> full{film(1, 200)};
        r = CalcRestAndMaxFree(QStringLiteral("VHS-SB"), 180, full, false);
        QCOMPARE(r.rest, -20);
        QCOMPARE(r.maxFree, 0);
        QCOMPARE(ClampToInt16(-40000), -32768);
        QCOMPARE(ClampToInt16(70000), 32767);
    }

    void onlyFilmsOneToFive()
    {
        QList<TapeFilm> films;
        for (int nr = 1; nr <= 7; ++nr)
            films.append(film(nr, 20, false, nr >= 6));
        const RestAndMaxFree all = CalcRestAndMaxFree(QStringLiteral("VHS-SB"), 240, films, false);
        QCOMPARE(all.rest, 100);
        QCOMPARE(all.maxFree, 140);
        // Films 6 and 7 are neither subtracted nor counted as free.
        const RestAndMaxFree five = CalcRestAndMaxFree(QStringLiteral("VHS-SB"), 240, films, true);
        QCOMPARE(five.rest, 140);
        QCOMPARE(five.maxFree, 140);
        films[5].len = 0; // unknown length beyond film 5 is not looked at
        QCOMPARE(CalcRestAndMaxFree(QStringLiteral("VHS-SB"), 240, films, true).rest, 140);
        QCOMPARE(CalcRestAndMaxFree(QStringLiteral("VHS-SB"), 240, films, false).rest, 0);
    }

    void split()
    {
        const QList<TapeFilm> films{film(1, 60), film(2, 60, false, true), film(3, 30), film(4, 20),
                                    film(6, 10)};
        // Not smaller than the area: refused.
        QVERIFY(!SplitFreeAreaSteps(films, 2, 60, 60, false));
        QVERIFY(!SplitFreeAreaSteps(films, 2, 60, 120, true));

        // Long play: 100 entered take 50 on the tape, leaving 10.
        const std::optional<FilmSteps> steps = SplitFreeAreaSteps(films, 2, 60, 100, true);
        QVERIFY(steps);
        // Films 3 and 4 move up from the last; film 6 after the gap stays.
        QCOMPARE(steps->at(0).kind, FilmStep::Renumber);
        QCOMPARE(steps->at(0).filmNr, 4);
        QCOMPARE(steps->at(1).filmNr, 3);
        const QList<TapeFilm> after = ApplyFilmSteps(films, *steps);
        QCOMPARE(numbers(after), (QList<int>{1, 2, 3, 4, 5, 6}));
        QCOMPARE(after[1].len, 100);
        QVERIFY(after[1].lp);
        QVERIFY(after[1].frei);
        QCOMPARE(after[1].titel, QStringLiteral("Freier Bereich 1"));
        QVERIFY(after[1].untertitel.isEmpty());
        QCOMPARE(after[2].len, 10);
        QVERIFY(after[2].frei);
        QVERIFY(!after[2].lp);
        QCOMPARE(after[2].titel, QStringLiteral("Freier Bereich 2"));
        QCOMPARE(after[3].titel, QStringLiteral("Film 3"));
        QCOMPARE(after[4].titel, QStringLiteral("Film 4"));
        QCOMPARE(after[5].titel, QStringLiteral("Film 6"));
        // The tape time is unchanged by a split.
        QCOMPARE(CalcRestAndMaxFree(QStringLiteral("VHS-SB"), 240, after, false).rest,
                 CalcRestAndMaxFree(QStringLiteral("VHS-SB"), 240, films, false).rest);

        // The last film split: nothing to move.
        const QList<TapeFilm> last{film(1, 90, false, true)};
        const QList<TapeFilm> split = ApplyFilmSteps(last, *SplitFreeAreaSteps(last, 1, 90, 30, false));
        QCOMPARE(numbers(split), (QList<int>{1, 2}));
        QCOMPARE(split[1].len, 60);
    }

    void join()
    {
        // A long-play area of 120 and a normal area of 30: one normal area of 90.
        QList<TapeFilm> films{film(1, 120, true, true, QStringLiteral("A")),
                              film(2, 30, false, true, QStringLiteral("B")), film(3, 40), film(4, 50)};
        films[0].untertitel = QStringLiteral("alt");
        std::optional<FilmSteps> steps = JoinFreeAreaSteps(films, 2);
        QVERIFY(steps);
        QList<TapeFilm> after = ApplyFilmSteps(films, *steps);
        QCOMPARE(numbers(after), (QList<int>{1, 2, 3}));
        QCOMPARE(after[0].len, 90);
        QVERIFY(!after[0].lp);
        QCOMPARE(after[0].untertitel, QStringLiteral("alt + B"));
        QCOMPARE(after[1].len, 40);
        QCOMPARE(after[2].len, 50);

        // Same flag: lengths add up and the flag stays.
        films[1].lp = true;
        after = ApplyFilmSteps(films, *JoinFreeAreaSteps(films, 2));
        QCOMPARE(after[0].len, 150);
        QVERIFY(after[0].lp);

        // Normal first, long play second: the second counts by its tape time.
        films[0].lp = false;
        films[1].len = 31;
        after = ApplyFilmSteps(films, *JoinFreeAreaSteps(films, 2));
        QCOMPARE(after[0].len, 135);
        QVERIFY(!after[0].lp);

        QVERIFY(!JoinFreeAreaSteps(films, 1));
        // The join button 15 pixels above the film button of the second area.
        const QList<int> tops{10, 40, 70, 100, 130};
        QCOMPARE(JoinFilmNr(25, tops, 0), 2);
        QCOMPARE(JoinFilmNr(55, tops, 0), 3);
        QCOMPARE(JoinFilmNr(85, tops, 3), 7);
        QCOMPARE(JoinFilmNr(115, tops, 0), 5);
        QVERIFY(!JoinFreeAreaSteps(films, 9));
    }

    void pushDownAndFinalise()
    {
        QList<TapeFilm> films;
        for (int nr = 1; nr <= 7; ++nr)
            films.append(film(nr, 10));
        films.append(film(9, 10));
        const FilmSteps steps = PushDownSteps(films);
        QCOMPARE(steps.size(), 3);
        QCOMPARE(steps[0].filmNr, 7);
        QCOMPARE(steps[0].newFilmNr, 8);
        QCOMPARE(steps[2].filmNr, 5);
        const QList<TapeFilm> after = ApplyFilmSteps(films, steps);
        QCOMPARE(numbers(after), (QList<int>{1, 2, 3, 4, 6, 7, 8, 9}));
        QCOMPARE(after[4].titel, QStringLiteral("Film 5"));
        // No film 5: nothing moves.
        QVERIFY(PushDownSteps(QList<TapeFilm>{film(1, 10)}).isEmpty());

        QCOMPARE(FinalisedCapacity(240, 105), 135);
        films = {film(1, 90, true), film(2, 60, false, true), film(3, 30)};
        QCOMPARE(CalcRestAndMaxFree(QStringLiteral("VHS-SB"), FinalisedCapacity(240, 105), films,
                                    false).rest,
                 0);
        QCOMPARE(FirstMissingFilmNr(films), 4);
        QCOMPARE(FirstMissingFilmNr({film(2, 10)}), 1);
        QVERIFY(PushDownQuestionText().endsWith(QStringLiteral("\nVerschieben durchführen?")));
    }
};

QTEST_GUILESS_MAIN(TstTapeArithmetic)
#include "tst_tapearithmetic.moc"
