// The list and attachment exports: the width arithmetic, the slot count, a
// media list and a DOS film list against hand-written files, numbers that
// do not fit, and the attachment with its memo wrapped.
#include "exportfixture.h"

#include "engine/query.h"
#include "exchange/attachmentexport.h"
#include "exchange/listexport.h"

using fixture::Exports;
using fixture::FilmRow;

class TstListExport : public QObject
{
    Q_OBJECT

    static FilmRow film(const QString &kind, int nr, int filmNr, const QString &titel, int len,
                        const QString &untertitel = {})
    {
        return {kind, nr, filmNr, titel, untertitel, len, false, false, {}, {}, {}, {}};
    }
    void addListFilms(Exports &x)
    {
        FilmRow a = film(QStringLiteral("DVD"), 1, 1, QStringLiteral("Die Brücke"), 103, QStringLiteral("Teil 1"));
        a.lp = true;
        x.addFilm(a);
        FilmRow b = film(QStringLiteral("DVD"), 1, 2, QStringLiteral("Zwei"), 80);
        b.frei = true;
        x.addFilm(b);
        x.addFilm(film(QStringLiteral("DVD"), 1, 4, QStringLiteral("Ein sehr langer Titel ohne Ende"), 90));
        FilmRow c = film(QStringLiteral("VHS-SB"), 2, 1, QStringLiteral("„Preis“ 5 €"), 95);
        c.mw = true;
        x.addFilm(c);
        x.addMedium(QStringLiteral("DVD"), 1);
        x.addMedium(QStringLiteral("VHS-SB"), 2);
    }

private slots:
    void widths()
    {
        // Five slots in 80 characters: 13 each, lines of 10 + 5 x 14.
        ListLayout l = ListLayoutOf(80, true, false, 5, lecNone);
        QCOMPARE(l.titleWidth, 13);
        QCOMPARE(10 + 5 * (1 + l.titleWidth), 80);
        // A film list with the play time: 69, less 10 + 1.
        l = ListLayoutOf(80, true, true, 1, lecPlayTime);
        QCOMPARE(l.extraWidth, 10);
        QCOMPARE(l.titleWidth, 58);
        // The category takes 17 beside a title above 60, 7 beside one below 25.
        l = ListLayoutOf(80, true, true, 1, lecCategory);
        QCOMPARE(l.extraWidth, 17);
        QCOMPARE(l.titleWidth, 69 - 18);
        l = ListLayoutOf(30, true, true, 1, lecCategory);
        QCOMPARE(l.extraWidth, 7);
        QCOMPARE(l.titleWidth, 19 - 8);
        l = ListLayoutOf(30, true, true, 1, lecPlayTime);
        QCOMPARE(l.extraWidth, 7);
        // Two-line: the number column is 7.
        l = ListLayoutOf(80, false, false, 3, lecNone);
        QCOMPARE(l.titleWidth, (80 - 7 - 3 + 1) / 3);
    }

    void slotCount()
    {
        const auto has = [](QList<int> films) { return [films](int n) { return films.contains(n); }; };
        QCOMPARE(ListFilmSlots(0, has({1, 3})), 3);
        QCOMPARE(ListFilmSlots(7, has({1, 2, 5})), 5);
        QCOMPARE(ListFilmSlots(0, has({1})), 1);
        QCOMPARE(ListFilmSlots(2, has({1, 3, 4})), 2);

        // In the file: films 1 and 3 and no stored count give three slots,
        // the second one blank.
        Exports x;
        x.addFilm(film(QStringLiteral("DVD"), 7, 1, QStringLiteral("Eins"), 90));
        x.addFilm(film(QStringLiteral("DVD"), 7, 3, QStringLiteral("Drei"), 90));
        x.addMedium(QStringLiteral("DVD"), 7);
        ListExportContext ctx;
        ctx.films = &x.films;
        ListExportOptions opt;
        opt.fileName = x.path(QStringLiteral("slots.txt"));
        QVERIFY(ExportList(x.media, true, false, opt, true, QStringLiteral("K"), ctx));
        const int t = (80 - 11 - 3 + 1) / 3; // 22
        const QByteArray line = "DVD      7 " + QByteArray("Eins").leftJustified(t) + ' ' + QByteArray(t, ' ') + ' '
                                + QByteArray("Drei").leftJustified(t) + "\r\n";
        QCOMPARE(fixture::readAll(opt.fileName), "K\r\n\r\n" + line);
    }

    void goldenLists()
    {
        Exports x;
        addListFilms(x);
        ListExportContext ctx;
        ctx.films = &x.films;
        ctx.listColumns = 5;
        ListExportOptions opt;
        opt.fileName = x.path(QStringLiteral("medien.txt"));
        const QString heading = ListExportHeading(true, false, QStringLiteral("/daten/Filme"), -1);
        QVERIFY(ExportList(x.media, true, false, opt, true, heading, ctx));
        QCOMPARE(fixture::readAll(opt.fileName), fixture::golden("media-list.txt"));

        ListExportOptions films;
        films.fileName = x.path(QStringLiteral("filme.txt"));
        films.dosCharset = true;
        films.extra = lecPlayTime;
        QVERIFY(ExportList(x.films, true, true, films, true, ListExportHeading(true, true, QStringLiteral("/daten/Filme"), -1), ctx));
        QCOMPARE(fixture::readAll(films.fileName), fixture::golden("film-list-dos.txt"));
    }

    void filmQueryResult()
    {
        // A query result without titles: each record's film comes from the film table.
        Exports x;
        addListFilms(x);
        engine::Query q(&x.session);
        q.setSql({QStringLiteral("SELECT Medium, KassNr, FilmNr FROM \"%1\" WHERE Len > 85").arg(x.path(FilmTableFile))});
        q.open();
        ListExportContext ctx;
        ctx.films = &x.films;
        ListExportOptions opt;
        opt.fileName = x.path(QStringLiteral("abfrage.txt"));
        opt.lineLength = 40;
        QVERIFY(ExportList(q, false, true, opt, true, ListExportHeading(false, true, QStringLiteral("/f"), -1), ctx));
        const int t = 40 - 11; // 29
        QCOMPARE(fixture::readAll(opt.fileName),
                 "Abfrageergebnisse (Datei: /f)\r\n\r\n"
                 "DVD      1 " + QByteArray("Die Br\xfc" "cke - Teil 1").leftJustified(t) + "\r\n"
                 "DVD      1 " + QByteArray("Ein sehr langer Titel ohne En") + "\r\n"
                 "VHS-SB   2 " + QByteArray("\x84Preis\x93 5 \x80").leftJustified(t) + "\r\n");
    }

    void headingsAndCancel()
    {
        QCOMPARE(ListExportHeading(true, false, QStringLiteral("/f"), 90),
                 QStringLiteral("Liste der Medien in /f mit mind. 90 Minuten freiem Bereich"));
        QCOMPARE(ListExportHeading(false, true, QStringLiteral("/f"), -1), QStringLiteral("Abfrageergebnisse (Datei: /f)"));
        Exports x;
        addListFilms(x);
        ListExportOptions opt;
        opt.fileName = x.path(QStringLiteral("leer.txt"));
        QVERIFY(ExportList(x.media, true, false, opt, true, QString(), {}));
        QVERIFY(QFile::exists(opt.fileName));
        QCOMPARE(fixture::readAll(opt.fileName), QByteArray());
    }

    void numbersAreNeverCut()
    {
        Exports x;
        x.addFilm(film(QStringLiteral("DVD"), 5, 1, QStringLiteral("Kurz"), 90));
        x.addFilm(film(QStringLiteral("DVD"), 1234, 1, QStringLiteral("Lang"), 90));
        x.addMedium(QStringLiteral("DVD"), 5);
        x.addMedium(QStringLiteral("DVD"), 1234);
        ListExportContext ctx;
        ctx.films = &x.films;
        ctx.listColumns = 1;
        ListExportOptions opt;
        opt.fileName = x.path(QStringLiteral("n.txt"));
        QVERIFY(ExportList(x.media, true, false, opt, true, QStringLiteral("K"), ctx));
        const QList<QByteArray> lines = fixture::readAll(opt.fileName).split('\n');
        // The number column grows by one place; the title gives it back.
        QCOMPARE(lines.at(2), "DVD       5 " + QByteArray("Kurz").leftJustified(80 - 12) + '\r');
        QCOMPARE(lines.at(3), "DVD    1234 " + QByteArray("Lang").leftJustified(80 - 12) + '\r');

        // Two-line media list with the category under the titles.
        ctx.categories = Exports::categories();
        opt.extra = lecCategory;
        QVERIFY(ExportList(x.media, true, false, opt, false, QStringLiteral("K"), ctx));
        const QList<QByteArray> two = fixture::readAll(opt.fileName).split('\n');
        QCOMPARE(two.at(2), "   5   " + QByteArray("Kurz").leftJustified(80 - 7) + '\r');
        QCOMPARE(two.at(3), "DVD    " + QByteArray("Drama").leftJustified(80 - 7) + '\r');
    }

    void attachments()
    {
        Exports x;
        FilmRow f = film(QStringLiteral("DVD"), 1, 1, QStringLiteral("Die Brücke"), 103, QStringLiteral("Teil 1"));
        f.free1 = QStringLiteral("Bernhard Wicki");
        f.memo = QStringLiteral("Ein Antikriegsfilm nach dem Roman von Manfred Gregor; Schwarz-Weiß-Filmklassikerausgabe. "
                                "Donaudampfschifffahrtsgesellschaft\r\nZweiter Absatz.");
        x.addFilm(f);
        x.films.first();
        AttachmentExportOptions opt;
        opt.fileName = x.path(QStringLiteral("anhang.txt"));
        opt.wrapWidth = 30;
        opt.playTimes = true;
        AttachmentExportContext ctx;
        ctx.freeCaptions = {QStringLiteral("&Regie")};
        QVERIFY(ExportAttachment(AttachmentKind::Film, x.films, opt, ctx));
        QCOMPARE(fixture::readAll(opt.fileName), fixture::golden("film-attachment.txt"));

        // Unwrapped the memo keeps its own lines; in DOS an umlaut is cp437.
        x.addMedium(QStringLiteral("VHS-SB"), 4, QStringLiteral("Kühlschrank"), QStringLiteral("Zeile 1\r\nZeile 2"));
        x.media.first();
        AttachmentExportOptions med;
        med.fileName = x.path(QStringLiteral("medium.txt"));
        med.dosCharset = true;
        QVERIFY(ExportAttachment(AttachmentKind::Medium, x.media, med, {}));
        QCOMPARE(fixture::readAll(med.fileName),
                 QByteArray("SB-Kassette Nr. 4\r\n\r\nFrei1  K\x81hlschrank\r\n\r\nZeile 1\r\nZeile 2\r\n"));
    }

    void wrapping()
    {
        QCOMPARE(WrapMemo(QStringLiteral("abcdefghij"), 4), (QStringList{"abcd", "efgh", "ij"}));
        QCOMPARE(WrapMemo(QStringLiteral("ab cd-ef gh"), 5), (QStringList{"ab ", "cd-", "ef gh"}));
        QCOMPARE(WrapMemo(QStringLiteral("abcd\r\n\r\nef"), 4), (QStringList{"abcd", "", "ef"}));
        QCOMPARE(WrapMemo(QString(), 30), QStringList());
    }
};

QTEST_MAIN(TstListExport)
#include "tst_listexport.moc"
