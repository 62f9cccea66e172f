// The table export against hand-written files: text, DOS text, DIF, HTML and
// XML of a small film table; quoting, the media grid's captions and combined
// XML; the file-name rule; failed targets.
#include "exportfixture.h"

#include "engine/query.h"
#include "exchange/exportfieldtext.h"
#include "exchange/exportoutput.h"

#include <QProcess>
#include <QXmlStreamReader>

#include <csignal>
#include <sys/resource.h>

using fixture::Exports;

class TstTableExport : public QObject
{
    Q_OBJECT

    TableExportContext filmContext() const
    {
        TableExportContext c;
        c.sourceTitle = QStringLiteral("/daten/Filme/DB/Film.DB");
        c.generator = QStringLiteral("Tarvo 6.0 - Filme");
        c.categories = Exports::categories();
        return c;
    }
    QByteArray exportFilms(Exports &x, TableExportOptions opt, const char *file)
    {
        opt.fileName = x.path(QLatin1String(file));
        QString error;
        const bool ok = ExportTable(x.films, Exports::filmColumns(), ExportSource::FilmGrid, opt, filmContext(), &error);
        if (!ok)
            qWarning() << error;
        return ok ? fixture::readAll(opt.fileName) : QByteArray();
    }

private slots:
    void formatOfFileName_data()
    {
        QTest::addColumn<QString>("name");
        QTest::addColumn<int>("format");
        QTest::newRow("dif") << "a.dif" << int(efDif);
        QTest::newRow("DIF") << "/x/A.DIF" << int(efDif);
        QTest::newRow("htm") << "a.htm" << int(efHtml);
        QTest::newRow("html") << "a.Html" << int(efHtml);
        QTest::newRow("xml") << "a.xml" << int(efXml);
        QTest::newRow("csv") << "a.csv" << int(efText);
        QTest::newRow("txt") << "a.txt" << int(efText);
        QTest::newRow("none") << "liste" << int(efText);
    }
    void formatOfFileName()
    {
        QFETCH(QString, name);
        QFETCH(int, format);
        QCOMPARE(ExportFormatOf(name), format);
    }

    void goldenFiles()
    {
        Exports x;
        x.addSampleFilms();
        TableExportOptions opt;
        QCOMPARE(exportFilms(x, opt, "films.txt"), fixture::golden("films.txt"));

        TableExportOptions dos;
        dos.dosCharset = true;
        dos.separator = QLatin1Char('\t');
        dos.useFieldNames = true;
        dos.boolStyle = ebsXEmpty;
        QCOMPARE(exportFilms(x, dos, "films-dos.csv"), fixture::golden("films-dos.txt"));

        TableExportOptions dif;
        dif.boolStyle = ebsXEmpty;
        dif.difBoolAsText = true;
        QCOMPARE(exportFilms(x, dif, "films.dif"), fixture::golden("films.dif"));

        TableExportOptions html;
        html.htmlEmptyBr = true;
        html.htmlWebSearch = true; // no web search at hand: no column
        QCOMPARE(exportFilms(x, html, "films.htm"), fixture::golden("films.htm"));

        TableExportOptions xml;
        QCOMPARE(exportFilms(x, xml, "films.xml"), fixture::golden("films.xml"));
    }

    void xmlIsWellFormed()
    {
        Exports x;
        x.addSampleFilms();
        engine::Query q(&x.session);
        q.setSql({QStringLiteral("SELECT Medium, COUNT(*), SUM(Len) AS \"1 Summe\" FROM \"%1\" GROUP BY Medium")
                      .arg(x.path(FilmTableFile))});
        q.open();
        TableExportOptions opt;
        opt.fileName = x.path(QStringLiteral("abfrage.xml"));
        QList<ExportColumn> cols;
        for (int i = 0; i < q.fieldCount(); ++i)
            cols.append({q.field(i)->fieldName(), q.field(i)->fieldName()});
        QVERIFY(ExportTable(q, cols, ExportSource::QueryResult, opt, {}));
        QXmlStreamReader r(fixture::readAll(opt.fileName));
        QStringList names;
        while (!r.atEnd())
            if (r.readNext() == QXmlStreamReader::StartElement)
                names << r.name().toString();
        QVERIFY2(!r.hasError(), qPrintable(r.errorString()));
        QCOMPARE(names.first(), QStringLiteral("TARVO-ABFRAGEERGEBNISSE"));
        QCOMPARE(names.count(QStringLiteral("SATZ")), 2);
        for (const QString &n : names)
            QVERIFY2(!n.contains(QLatin1Char('(')) && !n.at(0).isDigit(), qPrintable(n));

        // The film export parses back with its umlauts, Euro sign and quotes.
        TableExportOptions films;
        const QByteArray bytes = exportFilms(x, films, "films.xml");
        QXmlStreamReader f(bytes);
        QStringList titles;
        while (!f.atEnd())
            if (f.readNext() == QXmlStreamReader::StartElement && f.name() == QLatin1String("TITEL"))
                titles << f.readElementText();
        QVERIFY(!f.hasError());
        QCOMPARE(titles, (QStringList{QStringLiteral("Ärger & Co"), QStringLiteral("Die Brücke"),
                                      QStringLiteral("„Preis“ 5 €")}));
    }

    void quotingAndDifNumbers()
    {
        Exports x;
        x.addFilm({QStringLiteral("DVD"), 1, 1, QStringLiteral("Der \"Pate\""), QString(), 175, true, false,
                   QString(), QString(), QStringLiteral("a\r\nb"), QString()});
        const QList<ExportColumn> cols{{QStringLiteral("Titel"), QStringLiteral("Titel")},
                                       {QStringLiteral("LP"), QStringLiteral("LP")},
                                       {QStringLiteral("Free1"), QStringLiteral("Frei")}};
        TableExportOptions opt;
        opt.fileName = x.path(QStringLiteral("q.txt"));
        QVERIFY(ExportTable(x.films, cols, ExportSource::FilmGrid, opt, {}));
        QCOMPARE(fixture::readAll(opt.fileName), QByteArray("Titel;LP;Frei\r\n\"Der \"\"Pate\"\"\";Wahr;\"a\r\nb\"\r\n"));

        opt.fileName = x.path(QStringLiteral("q.dif"));
        QVERIFY(ExportTable(x.films, cols, ExportSource::FilmGrid, opt, {}));
        const QByteArray dif = fixture::readAll(opt.fileName);
        QVERIFY(dif.contains("TUPLES\r\n0,2\r\n"));
        QVERIFY(dif.contains("BOT\r\n1,0\r\n\"Der \"\"Pate\"\"\"\r\n0,1\r\nV\r\n"));

        // A floating-point result is a DIF number with a decimal point.
        engine::Query q(&x.session);
        q.setSql({QStringLiteral("SELECT AVG(Len) / 2.0 AS Mittel FROM \"%1\"").arg(x.path(FilmTableFile))});
        q.open();
        opt.fileName = x.path(QStringLiteral("avg.dif"));
        QVERIFY(ExportTable(q, {{QStringLiteral("Mittel"), QStringLiteral("Mittel")}}, ExportSource::QueryResult,
                            opt, {}));
        QVERIFY(fixture::readAll(opt.fileName).contains("BOT\r\n0,87.5\r\nV\r\n"));
        opt.fileName = x.path(QStringLiteral("avg.txt"));
        QVERIFY(ExportTable(q, {{QStringLiteral("Mittel"), QStringLiteral("Mittel")}}, ExportSource::QueryResult,
                            opt, {}));
        QCOMPARE(fixture::readAll(opt.fileName), QByteArray("Mittel\r\n87,5\r\n"));
    }

    void difReadsBackInASpreadsheet()
    {
        Exports x;
        x.addFilm({QStringLiteral("DVD"), 1, 1, QStringLiteral("Die Brücke"), QString(), 103, true, false,
                   QString(), QString(), QStringLiteral("Grün"), QString()});
        x.addFilm({QStringLiteral("DVD"), 1, 2, QStringLiteral("Ärger"), QString(), QVariant(), false, false,
                   QString(), QString(), QString(), QString()});
        const QList<ExportColumn> cols{{QStringLiteral("Titel"), QStringLiteral("Titel")},
                                       {QStringLiteral("Len"), QStringLiteral("Länge")},
                                       {QStringLiteral("LP"), QStringLiteral("LP")},
                                       {QStringLiteral("Free1"), QStringLiteral("Frei")}};
        // gnumeric's converter reads the file as a spreadsheet would and
        // writes it as CSV (a text with a blank in quotes).
        auto readBack = [&](const TableExportOptions &opt) {
            const QString csv = opt.fileName + QStringLiteral(".csv");
            QProcess p;
            p.start(QStringLiteral("ssconvert"), {opt.fileName, csv});
            if (!p.waitForFinished(60000) || p.exitCode() != 0)
                return QStringLiteral("ssconvert (gnumeric) failed: ") + QString::fromLocal8Bit(p.readAllStandardError());
            return QString::fromUtf8(fixture::readAll(csv));
        };
        TableExportOptions opt;
        opt.fileName = x.path(QStringLiteral("werte.dif"));
        QVERIFY(ExportTable(x.films, cols, ExportSource::FilmGrid, opt, {}));
        // Truth values as the numbers 1 and 0.
        QCOMPARE(readBack(opt), QStringLiteral("Titel,Länge,LP,Frei\n\"Die Brücke\",103,1,Grün\nÄrger,,0,\n"));
        opt.fileName = x.path(QStringLiteral("texte.dif"));
        opt.difBoolAsText = true;
        QVERIFY(ExportTable(x.films, cols, ExportSource::FilmGrid, opt, {}));
        QCOMPARE(readBack(opt), QStringLiteral("Titel,Länge,LP,Frei\n\"Die Brücke\",103,Wahr,Grün\nÄrger,,Falsch,\n"));
    }

    void mediaGridCaptionsAndCombinedXml()
    {
        Exports x;
        x.addMedium(QStringLiteral("DVD"), 1, QStringLiteral("Regal 3"), QStringLiteral("Notiz"));
        x.addMedium(QStringLiteral("VHS-SB"), 4, QStringLiteral("Keller"));
        x.addCaption(QStringLiteral("KASS"), 1, QStringLiteral("&Standort"));
        x.addCaption(QStringLiteral("DVD"), 1, QStringLiteral("&Hülle"));
        x.addFilm({QStringLiteral("DVD"), 1, 1, QStringLiteral("Eins"), QString(), 90, false, false, QString(),
                   QString(), QString(), QString()});
        x.addFilm({QStringLiteral("DVD"), 1, 2, QStringLiteral("Zwei"), QString(), 80, false, false, QString(),
                   QString(), QString(), QString()});
        x.addFilm({QStringLiteral("VHS-SB"), 4, 2, QStringLiteral("Ohne Film 1"), QString(), 80, false, false,
                   QString(), QString(), QString(), QString()});
        const QList<ExportColumn> cols{{QStringLiteral("Medium"), QStringLiteral("Medium")},
                                       {QStringLiteral("Nr"), QStringLiteral("Nr")},
                                       {QStringLiteral("Free1"), QStringLiteral("Frei1")},
                                       {QStringLiteral("SN"), QStringLiteral("SN"), true}};
        TableExportContext ctx;
        ctx.captions = &x.captions;
        ctx.films = &x.films;
        ctx.filmColumns = {{QStringLiteral("Titel"), QStringLiteral("Titel")},
                           {QStringLiteral("Len"), QStringLiteral("Len"), true}};
        TableExportOptions opt;
        opt.fileName = x.path(QStringLiteral("m.xml"));
        opt.xmlMemos = false;
        QVERIFY(ExportTable(x.media, cols, ExportSource::MediaGrid, opt, ctx));
        const QByteArray plain = fixture::readAll(opt.fileName);
        QVERIFY(plain.contains("<TARVO-MEDIENTABELLE>\r\n  <KASS>\r\n    <MEDIUM>DVD</MEDIUM>\r\n    <NR>1</NR>\r\n"
                               "    <FREE1>\r\n      <NAME>H\xc3\xbclle</NAME>\r\n      <WERT>Regal 3</WERT>\r\n"
                               "    </FREE1>\r\n  </KASS>\r\n"));
        QVERIFY(plain.contains("<NAME>Standort</NAME>\r\n      <WERT>Keller</WERT>"));
        QVERIFY(!plain.contains("<SN"));

        opt.xmlCombined = true;
        opt.xmlMemos = true;
        QVERIFY(ExportTable(x.media, cols, ExportSource::MediaGrid, opt, ctx));
        const QByteArray all = fixture::readAll(opt.fileName);
        QVERIFY(all.startsWith("<?xml version=\"1.0\" standalone=\"yes\" ?>\r\n<TARVO>\r\n"));
        QVERIFY(all.contains("    <SN />\r\n    <MEMO>Notiz</MEMO>\r\n  <FILM>\r\n    <TITEL>Eins</TITEL>\r\n"
                             "    <LEN>90</LEN>\r\n    <MEMO />\r\n  </FILM>\r\n  <FILM>\r\n    <TITEL>Zwei</TITEL>"));
        // A medium without film 1 still holds its films.
        QVERIFY(all.endsWith("    <NR>4</NR>\r\n    <FREE1>\r\n      <NAME>Standort</NAME>\r\n      <WERT>Keller</WERT>\r\n"
                             "    </FREE1>\r\n    <SN />\r\n    <MEMO />\r\n  <FILM>\r\n    <TITEL>Ohne Film 1</TITEL>\r\n"
                             "    <LEN>80</LEN>\r\n    <MEMO />\r\n  </FILM>\r\n  </KASS>\r\n</TARVO>\r\n"));
        QCOMPARE(all.count("<FILM>"), 3);
        QXmlStreamReader r(all);
        while (!r.atEnd())
            r.readNext();
        QVERIFY(!r.hasError());
    }

    void webSearchColumn()
    {
        Exports x;
        x.addFilm({QStringLiteral("DVD"), 1, 1, QStringLiteral("Eins"), QString(), 90, false, false, {}, {}, {}, {}});
        x.addFilm({QStringLiteral("DVD"), 1, 2, QStringLiteral("Zwei"), QString(), 90, false, false, {}, {}, {}, {}});
        TableExportContext ctx;
        QStringList kinds;
        ctx.webSearchLinks = [&](const QString &kind, engine::DataSet &rec) {
            kinds << kind;
            const QString t = rec.fieldByName(QStringLiteral("Titel"))->asString();
            return t == QLatin1String("Eins") ? QStringList{QStringLiteral("<A HREF=\"a\">A</A>"), QStringLiteral("<A HREF=\"b\">B</A>")}
                                              : QStringList{};
        };
        TableExportOptions opt;
        opt.fileName = x.path(QStringLiteral("w.html"));
        opt.htmlWebSearch = true;
        QVERIFY(ExportTable(x.films, {{QStringLiteral("Titel"), QStringLiteral("Titel")}}, ExportSource::FilmGrid, opt, ctx));
        const QByteArray html = fixture::readAll(opt.fileName);
        QVERIFY(html.contains("      <TH>Titel</TH>\r\n      <TH>Web-Suche</TH>\r\n    </TR>"));
        QVERIFY(html.contains("<TD ALIGN=\"LEFT\">Eins</TD>\r\n      <TD ALIGN=\"LEFT\">\r\n        <A HREF=\"a\">A</A>, \r\n"
                              "        <A HREF=\"b\">B</A></TD>\r\n    </TR>"));
        QVERIFY(html.contains("<TD ALIGN=\"LEFT\">Zwei</TD>\r\n      <TD ALIGN=\"LEFT\">\r\n</TD>\r\n    </TR>"));
        QCOMPARE(kinds, (QStringList{QStringLiteral("Film"), QStringLiteral("Film")}));
    }

    void charactersOutsideTheCodePage()
    {
        const QString s = QStringLiteral("Ő\x01 ü €");
        QCOMPARE(ExportOutput(QString(), ExportCharset::Html).convert(s), QByteArray("&#336;\x01 &uuml; \x80"));
        QCOMPARE(ExportOutput(QString(), ExportCharset::Xml).convert(s), QByteArray("\xc5\x90 \xc3\xbc \xe2\x82\xac"));
        QCOMPARE(ExportOutput(QString(), ExportCharset::Dos).convert(s), QByteArray("?\x01 \x81 \x80"));
        QCOMPARE(ExportOutput(QString(), ExportCharset::Windows).convert(s), QByteArray("?\x01 \xfc \x80"));
        // Nothing is cut in the DOS code page.
        QCOMPARE(ExportOutput(QString(), ExportCharset::Dos).convert(QString(300, QLatin1Char('a'))).size(), 300);
        QCOMPARE(FitToWidth(QStringLiteral("abc"), 5, true), QStringLiteral("  abc"));
        QCOMPARE(FitToWidth(QStringLiteral("abcdef"), 4, false), QStringLiteral("abcd"));
    }

    void linesWrittenInPieces()
    {
        // Mark-up, values and line ends written one by one give the bytes of
        // each mode; the XML drops the control character, nothing else does.
        QTemporaryDir dir;
        const QString s = QStringLiteral("Ő\x01 ü €");
        const QString smiley = QString::fromUcs4(U"\U0001F600");
        const struct {
            ExportCharset charset;
            QByteArray bytes;
        } cases[] = {
            {ExportCharset::Html, "<TD>&#336;\x01 &uuml; \x80</TD>b\x02\r\n&#128512;\r\n"},
            {ExportCharset::Xml, "<TD>\xc5\x90 \xc3\xbc \xe2\x82\xac</TD>b\r\n\xf0\x9f\x98\x80\r\n"},
            {ExportCharset::Dos, "<TD>?\x01 \x81 \x80</TD>b\x02\r\n??\r\n"},
            {ExportCharset::Windows, "<TD>?\x01 \xfc \x80</TD>b\x02\r\n??\r\n"},
        };
        for (const auto &c : cases) {
            const QString file = dir.filePath(QStringLiteral("teile.txt"));
            ExportOutput out(file, c.charset);
            QVERIFY(out.open(nullptr));
            out.writeAscii(QLatin1StringView("<TD>"));
            out.write(s);
            out.writeAscii(QLatin1StringView("</TD>"));
            out.writeLine(QStringLiteral("b\x02"));
            out.write(smiley);
            out.endLine();
            QVERIFY(out.finish(nullptr));
            QCOMPARE(fixture::readAll(file), c.bytes);
        }
    }

    void failedTargetLeavesNothing()
    {
        Exports x;
        x.addSampleFilms();
        TableExportOptions opt;
        opt.fileName = x.path(QStringLiteral("fehlt/films.txt"));
        QString error;
        QVERIFY(!ExportTable(x.films, Exports::filmColumns(), ExportSource::FilmGrid, opt, {}, &error));
        QVERIFY(error.startsWith(QStringLiteral("Die Exportdatei")));
        QVERIFY(!QFile::exists(opt.fileName));

        // A directory in the way.
        opt.fileName = x.tmp.path();
        QVERIFY(!ExportTable(x.films, Exports::filmColumns(), ExportSource::FilmGrid, opt, {}, &error));

        // The disk fills up half-way (a file size limit stands in for it): no
        // success, no partial file, and the file that was there stays.
        opt.fileName = x.path(QStringLiteral("voll.txt"));
        QFile old(opt.fileName);
        QVERIFY(old.open(QIODevice::WriteOnly));
        old.write("alt");
        old.close();
        ExportOutput out(opt.fileName, ExportCharset::Windows);
        QVERIFY(out.open(&error));
        rlimit saved{};
        getrlimit(RLIMIT_FSIZE, &saved);
        signal(SIGXFSZ, SIG_IGN);
        rlimit small = saved;
        small.rlim_cur = 4096;
        setrlimit(RLIMIT_FSIZE, &small);
        for (int i = 0; i < 100000; ++i)
            out.writeLine(QStringLiteral("Eine Zeile des Exports"));
        const bool finished = out.finish(&error);
        setrlimit(RLIMIT_FSIZE, &saved);
        QVERIFY(!finished);
        QVERIFY(error.contains(QStringLiteral("konnte nicht geschrieben werden")));
        QCOMPARE(fixture::readAll(opt.fileName), QByteArray("alt"));
        QCOMPARE(QDir(x.tmp.path()).entryList({QStringLiteral("voll.txt*")}, QDir::Files | QDir::Hidden),
                 QStringList{QStringLiteral("voll.txt")});
    }
};

QTEST_MAIN(TstTableExport)
#include "tst_tableexport.moc"
