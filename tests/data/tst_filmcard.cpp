// The film card's rules without windows: caption, sound and rating mappings,
// the duplicate check, the label-relevant changes, the person decisions, the
// person lists with jump entries, the close rules and the running-time
// arithmetic of the playing-time dialog.
#include "data/filmcard.h"
#include "data/lenenter.h"
#include "data/tableschemas.h"
#include "engine/session.h"
#include "engine/table.h"
#include "engine/tablefile.h"

#include "tapefilmsample.h"

#include <QDir>
#include <QTemporaryDir>
#include <QtTest>

class TstFilmCard : public QObject
{
    Q_OBJECT
private slots:
    void caption();
    void soundAndRating();
    void duplicates();
    void titleProposals();
    void labelRelevant();
    void personDecisions();
    void personList();
    void closeRules();
    void runningTime();
    void tapePositions();
    void computeLength();
};

void TstFilmCard::caption()
{
    QCOMPARE(FilmWindowCaption(QStringLiteral("DVD"), 12, 1), QStringLiteral("Filmdaten \\b-- DVD-Nr. 12"));
    QCOMPARE(FilmWindowCaption(QStringLiteral("DVD"), 12, 2), QStringLiteral("Filmdaten \\b-- DVD-Nr. 12, Film-Nr. 2"));
    QCOMPARE(FilmWindowCaption(QStringLiteral("VHS-SB"), 3, 2), QStringLiteral("Filmdaten \\b-- Band-Nr. 3, Film-Nr. 2"));
    QCOMPARE(FilmWindowCaption(QStringLiteral("VHS-SB"), 3, 1), QStringLiteral("Filmdaten \\b-- Band-Nr. 3, Film-Nr. 1"));
    QCOMPARE(FilmWindowCaption(QStringLiteral("VHS-KK"), 7, 1), QStringLiteral("Filmdaten \\b-- Kaufkass-Nr. 7"));
    QCOMPARE(FilmWindowCaption(QStringLiteral("CD-R"), 4, 1), QStringLiteral("Filmdaten \\b-- CD-R-Nr. 4, Film-Nr. 1"));
    QVERIFY(!FilmLpVisible(QStringLiteral("DVD")));
    QVERIFY(!FilmFreiVisible(QStringLiteral("DVD")));
    QVERIFY(FilmLpVisible(QStringLiteral("VHS-KK")));
    QVERIFY(!FilmFreiVisible(QStringLiteral("VHS-KK")));
    QVERIFY(FilmFreiVisible(QStringLiteral("VHS-SB")));
}

void TstFilmCard::soundAndRating()
{
    QCOMPARE(SoundList(QStringLiteral("VHS-SB")).size(), 5);
    QCOMPARE(SoundList(QStringLiteral("DVD")).size(), 8);
    QCOMPARE(SoundList(QStringLiteral("DVD-R")).size(), 8);
    QCOMPARE(SoundList(QStringLiteral("CD-R")).size(), 10);
    QCOMPARE(SoundIndex(QStringLiteral("VHS-KK"), QStringLiteral("Z")), 2);
    QCOMPARE(SoundIndex(QStringLiteral("DVD"), QStringLiteral("Z")), -1); // no two-channel sound on a DVD
    QCOMPARE(SoundIndex(QStringLiteral("DVD"), QStringLiteral("A")), 4);
    QCOMPARE(SoundList(QStringLiteral("DVD")).at(4).name, QStringLiteral("Dolby Digital (AC-3 5.1)"));
    QCOMPARE(SoundIndex(QStringLiteral("S-VHS"), QStringLiteral("E")), 9);
    QCOMPARE(SoundIndex(QStringLiteral("VHS-SB"), QString()), -1);

    QCOMPARE(RatingItems().size(), 7);
    QCOMPARE(RatingToItem(QVariant()), 0);
    QCOMPARE(RatingToItem(0), 1);
    QCOMPARE(RatingToItem(5), 6);
    QVERIFY(ItemToRating(0).isNull());
    QCOMPARE(ItemToRating(1).toInt(), 0);
    QCOMPARE(ItemToRating(4).toInt(), 3);
}

namespace {
struct Films {
    QTemporaryDir dir;
    engine::Session session;
    engine::Table t{&session};
    Films()
    {
        const QString path = QDir(dir.path()).filePath(FilmTableFile);
        engine::createTableFile(path, FilmTableDef());
        t.setTableName(path);
        t.open();
    }
    void add(const QString &kind, int nr, int filmNr, const QString &title, const QString &sub = {})
    {
        t.append();
        t.fieldByName(QStringLiteral("Medium"))->setAsString(kind);
        t.fieldByName(QStringLiteral("KassNr"))->setAsInteger(nr);
        t.fieldByName(QStringLiteral("FilmNr"))->setAsInteger(filmNr);
        t.fieldByName(QStringLiteral("Titel"))->setAsString(title);
        if (!sub.isEmpty())
            t.fieldByName(QStringLiteral("Untertitel"))->setAsString(sub);
        t.post();
    }
};
} // namespace

void TstFilmCard::duplicates()
{
    Films f;
    f.add(QStringLiteral("VHS-SB"), 1, 1, QStringLiteral("Alien"));
    f.add(QStringLiteral("VHS-SB"), 1, 2, QStringLiteral("Aliens"), QStringLiteral("Die Rückkehr"));
    f.add(QStringLiteral("VHS-SB"), 1, 3, QStringLiteral("FREIER BEREICH 1"));
    f.add(QStringLiteral("VHS-SB"), 2, 1, QStringLiteral("Er sagte \"nein\""));
    // Insert: any film with the title counts.
    QVERIFY(!IsFilmUnique(f.t, QStringLiteral("Alien"), {}));
    QVERIFY(IsFilmUnique(f.t, QStringLiteral("Alien 3"), {}));
    QVERIFY(!IsFilmUnique(f.t, QStringLiteral("Aliens"), QStringLiteral("Die Rückkehr")));
    QVERIFY(IsFilmUnique(f.t, QStringLiteral("Aliens"), QStringLiteral("Teil 2")));
    QVERIFY(!IsFilmUnique(f.t, QStringLiteral("Aliens"), {}));
    // Free areas never warn, whatever follows the words.
    QVERIFY(IsFilmUnique(f.t, QStringLiteral("FREIER BEREICH 1"), {}));
    QVERIFY(IsFilmUnique(f.t, QStringLiteral("Freier Bereich"), {}));
    // A quote in the title is a value like any other.
    QVERIFY(!IsFilmUnique(f.t, QStringLiteral("Er sagte \"nein\""), {}));
    // Edit: the film itself is no duplicate, another film with the title is.
    const FilmKey self{QStringLiteral("VHS-SB"), 1, 1};
    QVERIFY(IsFilmUnique(f.t, QStringLiteral("Alien"), {}, self));
    QVERIFY(!IsFilmUnique(f.t, QStringLiteral("Alien"), {}, FilmKey{QStringLiteral("VHS-SB"), 2, 1}));
    QCOMPARE(DuplicateTitleMessage({}), QStringLiteral("Es gibt bereits einen Film mit diesem Titel in der Datenbank!"));
    QVERIFY(DuplicateTitleMessage(QStringLiteral("x")).contains(QStringLiteral("und diesem Untertitel")));
}

void TstFilmCard::titleProposals()
{
    Films f;
    f.session.startTransaction();
    for (int i = 1; i <= 520; ++i)
        f.add(QStringLiteral("VHS-SB"), i, 1, QStringLiteral("Tatort %1").arg(i));
    f.add(QStringLiteral("VHS-SB"), 600, 1, QStringLiteral("Tatort 1"), QStringLiteral("Teil 2"));
    f.add(QStringLiteral("VHS-SB"), 601, 1, QStringLiteral("100% Wolf"));
    f.add(QStringLiteral("VHS-SB"), 602, 1, QStringLiteral("100 Tage"));
    f.session.commit();
    QCOMPARE(TitleProposals(f.t, QStringLiteral("tatort")).size(), 300);
    QCOMPARE(TitleProposals(f.t, QStringLiteral("Tatort 52")).size(), 2); // 52 and 520
    QCOMPARE(TitleProposals(f.t, QStringLiteral("100%")), QStringList{QStringLiteral("100% Wolf")});
    QCOMPARE(SubtitlesOfTitle(f.t, QStringLiteral("Tatort 1")), QStringList{QStringLiteral("Teil 2")});
    QVERIFY(SubtitlesOfTitle(f.t, QStringLiteral("Tatort 2")).isEmpty());
}

void TstFilmCard::labelRelevant()
{
    TLabelSettings s; // nothing printed
    FilmAttachmentState now;
    for (const char *f : {"Titel", "UNTERTITEL", "Frei"})
        QVERIFY(LabelRelevantChange(QString::fromLatin1(f), s, true, true, now));
    for (const char *f : {"Len", "LP", "MW", "Ton", "Wide", "SW", "Kateg", "Wertung", "Memo", "Free3", "Grafik"})
        QVERIFY2(!LabelRelevantChange(QString::fromLatin1(f), s, true, true, now), f);
    s.PrintLen = true;
    QVERIFY(LabelRelevantChange(QStringLiteral("MW"), s, true, true, now));
    s.PrintLen = false;
    s.PrintRest = true;
    QVERIFY(LabelRelevantChange(QStringLiteral("LP"), s, true, true, now));
    QVERIFY(!LabelRelevantChange(QStringLiteral("MW"), s, true, true, now));
    s = {};
    s.PrintTon = true;
    QVERIFY(LabelRelevantChange(QStringLiteral("Wide"), s, true, true, now));
    s = {};
    s.PrintHKateg = true;
    QVERIFY(LabelRelevantChange(QStringLiteral("Kateg"), s, true, true, now));
    s = {};
    s.PrintSterne = true;
    QVERIFY(LabelRelevantChange(QStringLiteral("Wertung"), s, true, true, now));
    // Free fields: only the one printed.
    s = {};
    s.PrintFree = true;
    s.PrintFreeNr = 4;
    QVERIFY(LabelRelevantChange(QStringLiteral("Free4"), s, true, true, now));
    QVERIFY(!LabelRelevantChange(QStringLiteral("Free14"), s, true, true, now));
    s.PrintFree = false;
    s.PrintHFree = true;
    s.PrintHFreeNr = 14;
    QVERIFY(LabelRelevantChange(QStringLiteral("FREE14"), s, true, true, now));
    // The attachment symbol for memos only: the memo's emptiness must change.
    s = {};
    s.PrintAnhSymb = s.PrintAnhSymbMemo = true;
    now.memoEmpty = false;
    QVERIFY(LabelRelevantChange(QStringLiteral("Memo"), s, true, true, now));
    QVERIFY(!LabelRelevantChange(QStringLiteral("Memo"), s, false, false, now));
    QVERIFY(!LabelRelevantChange(QStringLiteral("Grafik"), s, true, true, now));
    // The symbol for any attachment data: first data in, or last data out.
    s.PrintAnhSymbMemo = false;
    now = {};
    now.pictureEmpty = false;
    QVERIFY(LabelRelevantChange(QStringLiteral("Grafik"), s, true, true, now));
    now.freeEmpty[1] = false;
    QVERIFY(!LabelRelevantChange(QStringLiteral("Grafik"), s, true, false, now)); // had data, still has
    now = {};
    QVERIFY(LabelRelevantChange(QStringLiteral("Free2"), s, true, false, now)); // the last data went
    now.memoEmpty = false;
    QVERIFY(!LabelRelevantChange(QStringLiteral("Free2"), s, false, false, now)); // the memo remains
}

void TstFilmCard::personDecisions()
{
    const QStringList persons{QStringLiteral("Hitchcock, Alfred"), QStringLiteral("Kubrick, Stanley")};
    auto known = [&](const QString &n) { return persons.contains(n); };
    QCOMPARE(ClassifyPersonName(QStringLiteral("Kubrick, Stanley"), {}, known), PersonCheck::Nothing);
    QCOMPARE(ClassifyPersonName(QStringLiteral("Kubrik"), QStringLiteral("Kubrik"), known), PersonCheck::Nothing);
    QCOMPARE(ClassifyPersonName(QStringLiteral("Kubrik, S."), QStringLiteral("Kubrick, Stanley"), known),
             PersonCheck::AskRename);
    QCOMPARE(ClassifyPersonName(QStringLiteral("Lynch"), {}, known), PersonCheck::AskNew);
    // The old name no person either: the plain question, not the rename one.
    QCOMPARE(ClassifyPersonName(QStringLiteral("Lynch"), QStringLiteral("Linch"), known), PersonCheck::AskNew);
    QCOMPARE(ClassifyPersonName(QString(), QStringLiteral("Kubrick, Stanley"), known), PersonCheck::Nothing);
    QCOMPARE(NewPersonQuestion(QStringLiteral("Regie"), QStringLiteral("Lynch")),
             QStringLiteral("Im Feld Regie haben Sie einen neuen Namen eingegeben: Lynch\nSoll dieser Name in die "
                            "Personen-Kartei aufgenommen werden (eine neue Karteikarte angelegt werden)? (Wählen Sie "
                            "Abbrechen, wenn Sie den Namen nochmal bearbeiten wollen!)"));
}

void TstFilmCard::personList()
{
    QVERIFY(IsJumpEntry(QStringLiteral("M...")));
    QVERIFY(!IsJumpEntry(QStringLiteral("M..")));
    QVERIFY(!IsJumpEntry(QStringLiteral("1...")));
    // 150 names of A, 100 of B, 30 of C.
    QStringList names;
    for (int i = 0; i < 150; ++i)
        names << QStringLiteral("A%1").arg(i, 3, 10, QLatin1Char('0'));
    for (int i = 0; i < 100; ++i)
        names << QStringLiteral("B%1").arg(i, 3, 10, QLatin1Char('0'));
    for (int i = 0; i < 30; ++i)
        names << QStringLiteral("C%1").arg(i, 3, 10, QLatin1Char('0'));
    // Empty text: the first batch, then the rest of the next initial (A100..A149), then "B...".
    QStringList l = BuildPersonList(names, {});
    QCOMPARE(l.size(), 100 + 50 + 1);
    QCOMPARE(l.first(), QStringLiteral("A000"));
    QCOMPARE(l.at(149), QStringLiteral("A149"));
    QCOMPARE(l.last(), QStringLiteral("B..."));
    // A name of the third batch: headed by the initial of the second batch's
    // second item (A101).
    l = BuildPersonList(names, QStringLiteral("C005"));
    QCOMPARE(l.first(), QStringLiteral("A..."));
    QCOMPARE(l.at(1), QStringLiteral("B050"));
    QCOMPARE(l.last(), QStringLiteral("C029"));
    QCOMPARE(l.size(), 1 + 80);
    // A jump: from the letter on, headed by "A...".
    l = BuildPersonList(names, QStringLiteral("B..."));
    QCOMPARE(l.first(), QStringLiteral("A..."));
    QCOMPARE(l.at(1), QStringLiteral("B000"));
    QCOMPARE(l.at(100), QStringLiteral("B099"));
    QCOMPARE(l.at(101), QStringLiteral("C000"));
    QCOMPARE(l.last(), QStringLiteral("C029"));
    // A jump to a letter nobody starts with goes to the next one.
    QCOMPARE(BuildPersonList(names, QStringLiteral("Z...")), QStringList{QStringLiteral("A...")});
    QCOMPARE(BuildPersonList({}, QStringLiteral("x")), QStringList{});
}

void TstFilmCard::closeRules()
{
    QVERIFY(!FilmDeleteAllowed(1));
    QVERIFY(FilmDeleteAllowed(2));
    QCOMPARE(EmptyTitleCloseAction(true, 6), EmptyTitleClose::KeepOpen);
    QCOMPARE(EmptyTitleCloseAction(true, 7), EmptyTitleClose::CancelInsertAndClose);
    QCOMPARE(EmptyTitleCloseAction(false, 6), EmptyTitleClose::DeleteFilm);
    QCOMPARE(EmptyTitleCloseAction(false, 7), EmptyTitleClose::CancelEdit);
    QCOMPARE(EmptyTitleCloseAction(false, 2), EmptyTitleClose::KeepOpen);
    QCOMPARE(FilmFolderName(QStringLiteral("Alien"), {}, 40), QStringLiteral("Alien"));
    QCOMPARE(FilmFolderName(QStringLiteral("Alien"), QStringLiteral("Teil 2"), 40), QStringLiteral("Alien-Teil 2"));
    QCOMPARE(FilmFolderName(QStringLiteral("Der lange"), QStringLiteral("> Titel"), 40), QStringLiteral("Der lange Titel"));
    QCOMPARE(FilmFolderName(QStringLiteral("abcdefgh"), {}, 5), QStringLiteral("abcd~"));
}

void TstFilmCard::runningTime()
{
    QCOMPARE(MinutesToHoursMinutes(95).hours, 1);
    QCOMPARE(MinutesToHoursMinutes(95).minutes, 35);
    QCOMPARE(MinutesToHoursMinutes(-5).hours, 0);
    QCOMPARE(MinutesToHoursMinutes(-5).minutes, -5);
    QCOMPARE(HoursMinutesToMinutes(2, 0), 120);
    QCOMPARE(UsedMinutes(121, true), 60);
    QCOMPARE(UsedMinutes(121, false), 121);
}

void TstFilmCard::tapePositions()
{
    const QList<TapeFilm> films{tf(1, 60, false), tf(2, 120, true), tf(3, 50, false)};
    TapePositions p = GetTapePositions(QStringLiteral("VHS-SB"), 3, films);
    QCOMPARE(p.beforeLen, 180);
    QCOMPARE(p.beforeUsed, 120);
    QCOMPARE(p.afterUsed, 0);
    p = GetTapePositions(QStringLiteral("VHS-SB"), 1, films);
    QCOMPARE(p.beforeUsed, 0);
    QCOMPARE(p.afterUsed, 110);
    QCOMPARE(p.afterLen, 170);
    // A film of unknown length before: all undetermined; after: only the after sums.
    p = GetTapePositions(QStringLiteral("VHS-SB"), 3, {tf(1, 0, false), tf(4, 30, false)});
    QCOMPARE(p.beforeUsed, -1);
    QCOMPARE(p.afterUsed, -1);
    p = GetTapePositions(QStringLiteral("VHS-SB"), 1, {tf(2, 0, false)});
    QCOMPARE(p.beforeUsed, 0);
    QCOMPARE(p.afterUsed, -1);
    // Films after number 4 do not count; DVDs read nothing.
    QCOMPARE(GetTapePositions(QStringLiteral("VHS-SB"), 3, {tf(5, 30, false)}).afterUsed, 0);
    QCOMPARE(GetTapePositions(QStringLiteral("DVD"), 3, films).beforeUsed, 0);
}

void TstFilmCard::computeLength()
{
    // The third film of a 240-minute tape after 60 (SP) and 120 (LP), none after.
    LenEnterState s;
    s.length = 50;
    s.tapeLength = 240;
    s.pos = GetTapePositions(QStringLiteral("VHS-SB"), 3, {tf(1, 60, false), tf(2, 120, true)});
    LenEnterPages p = FillLenEnterPages(s, true);
    QVERIFY(p.positionPage);
    QCOMPARE(HoursMinutesToMinutes(p.start.hours, p.start.minutes), 180); // cumulative playing minutes
    QCOMPARE(HoursMinutesToMinutes(p.end.hours, p.end.minutes), 230);
    QVERIFY(p.restPage);
    QCOMPARE(p.rest, 240 - (50 + 120));
    s.atts = true; // an SP counter: 60 + 60
    p = FillLenEnterPages(s, true);
    QCOMPARE(HoursMinutesToMinutes(p.start.hours, p.start.minutes), 120);
    s.lpCounter = true;
    p = FillLenEnterPages(s, true);
    QCOMPARE(HoursMinutesToMinutes(p.start.hours, p.start.minutes), 240);

    // Page 1: 1 h 35 → 95.
    s.atts = s.lpCounter = false;
    LenComputeResult r = ComputeLength(s, LenPage::HoursMinutes, {1, 35});
    QCOMPARE(r.length, 95);
    QVERIFY(r.message.isEmpty());
    // Page 2, cumulative: end 4 h 0 → 240 - 180 = 60.
    LenEnterInput in;
    in.endHours = 4;
    r = ComputeLength(s, LenPage::Position, in);
    QCOMPARE(r.length, 60);
    // End before the start: the message, the old length stays.
    in.endHours = 2;
    r = ComputeLength(s, LenPage::Position, in);
    QCOMPARE(r.length, 50);
    QCOMPARE(r.message, NegativeLengthMessage);
    // Page 3: 20 minutes left → 240 - 20 - 120 = 100.
    in.rest = 20;
    r = ComputeLength(s, LenPage::Rest, in);
    QCOMPARE(r.length, 100);
    s.longPlay = true;
    QCOMPARE(ComputeLength(s, LenPage::Rest, in).length, 200);
    // Too long for the tape.
    s.longPlay = false;
    r = ComputeLength(s, LenPage::HoursMinutes, {2, 10});
    QCOMPARE(r.message, NoRoomMessage);
    QCOMPARE(r.length, 50);
    // An undetermined after sum counts as nothing: 120 minutes fit exactly.
    s.pos.afterUsed = s.pos.afterLen = -1;
    r = ComputeLength(s, LenPage::HoursMinutes, {2, 0});
    QVERIFY(r.message.isEmpty());
    r = ComputeLength(s, LenPage::HoursMinutes, {2, 1});
    QCOMPARE(r.message, NoRoomMessage);
    // A DVD never gets the space message.
    LenEnterState dvd;
    dvd.length = 90;
    QVERIFY(!FillLenEnterPages(dvd, false).positionPage);
    QVERIFY(ComputeLength(dvd, LenPage::HoursMinutes, {9, 0}).message.isEmpty());
}

QTEST_GUILESS_MAIN(TstFilmCard)
#include "tst_filmcard.moc"
