// Film pages and attachment cards printed from the film card into a PDF at
// 254 dpi (a pixel is a tenth of a millimetre) and read back with
// pdftotext: titles and field lines land where the layout put them. The
// selection question, the abort texts, the back side as a second file, and
// the ladder's questions answered through the presenter.
#include "cardfixture.h"

#include "app/settings.h"
#include "dbui/datasource.h"
#include "dbui/dbgrid.h"
#include "dbui/pictureloader.h"
#include "engine/field.h"
#include "engine/query.h"
#include "kit/ozocheck.h"
#include "kit/scriptedpresenter.h"
#include "windows/printing/attachmentprint.h"
#include "windows/printing/pageprint.h"
#include "windows/printing/printjob.h"
#include "windows/queries/queryform.h"
#include "windows/cards/wfilm.h"
#include "windows/printing/wprint.h"

#include <QComboBox>
#include <QLineEdit>
#include <QFile>
#include <QLinearGradient>
#include <QPainter>
#include <QPrinter>
#include <QProcess>
#include <QRegularExpression>
#include <QTemporaryDir>
#include <QTimer>

namespace {

struct Word
{
    QString text;
    QRectF box; // pixels at 254 dpi
};

QList<Word> words(const QString &pdf)
{
    QProcess p;
    p.start(QStringLiteral("pdftotext"), {QStringLiteral("-bbox"), pdf, QStringLiteral("-")});
    p.waitForFinished(30000);
    const QString html = QString::fromUtf8(p.readAllStandardOutput());
    QList<Word> out;
    static const QRegularExpression re(QStringLiteral(
        "<word xMin=\"([0-9.]+)\" yMin=\"([0-9.]+)\" xMax=\"([0-9.]+)\" yMax=\"([0-9.]+)\">([^<]*)</word>"));
    const double k = 254.0 / 72.0;
    for (auto it = re.globalMatch(html); it.hasNext();) {
        const auto m = it.next();
        out.append({m.captured(5), QRectF(QPointF(m.captured(1).toDouble() * k, m.captured(2).toDouble() * k),
                                          QPointF(m.captured(3).toDouble() * k, m.captured(4).toDouble() * k))});
    }
    return out;
}

const Word *find(const QList<Word> &ws, const QString &text)
{
    for (const Word &w : ws)
        if (w.text == text)
            return &w;
    return nullptr;
}

// Page 1 of the PDF as a picture at the given resolution.
QImage firstPage(const QString &pdf, const QString &dir, int dpi)
{
    QProcess p;
    p.start(QStringLiteral("pdftoppm"), {QStringLiteral("-r"), QString::number(dpi), QStringLiteral("-f"),
                                         QStringLiteral("1"), QStringLiteral("-l"), QStringLiteral("1"),
                                         QStringLiteral("-png"), pdf, dir + QStringLiteral("/page")});
    p.waitForFinished(60000);
    QImage img(dir + QStringLiteral("/page-1.png"));
    if (img.isNull())
        img.load(dir + QStringLiteral("/page-01.png"));
    return img;
}

// A poster of the film: a night sky with a planet.
QImage poster()
{
    QImage img(300, 420, QImage::Format_RGB32);
    QPainter p(&img);
    QLinearGradient g(0, 0, 0, 420);
    g.setColorAt(0, QColor(10, 20, 60));
    g.setColorAt(1, QColor(60, 10, 40));
    p.fillRect(img.rect(), g);
    p.setBrush(QColor(200, 170, 90));
    p.setPen(Qt::NoPen);
    p.drawEllipse(QPoint(150, 300), 110, 110);
    p.setPen(Qt::white);
    for (int i = 0; i < 40; ++i)
        p.drawPoint((i * 97) % 300, (i * 53) % 200);
    return img;
}

void setPicture(const QString &filmTable, const QImage &img)
{
    engine::Table t;
    t.setTableName(filmTable);
    t.open();
    t.first();
    t.edit();
    t.fieldByName(QStringLiteral("Grafik"))->setAsBytes(dbui::PictureLoader::fieldBytesFromImage(img));
    t.post();
}

// With TARVO_SCREEN_OUT_DIR set, page 1 is kept there as a picture.
void keepScreen(const QString &pdf, const QString &dir, const QString &name)
{
    const QString out = qEnvironmentVariable("TARVO_SCREEN_OUT_DIR");
    if (!out.isEmpty())
        firstPage(pdf, dir, 100).save(out + QLatin1Char('/') + name);
}

int pageCount(const QString &pdf)
{
    QProcess p;
    p.start(QStringLiteral("pdfinfo"), {pdf});
    p.waitForFinished(30000);
    static const QRegularExpression re(QStringLiteral("Pages:\\s+(\\d+)"));
    return re.match(QString::fromUtf8(p.readAllStandardOutput())).captured(1).toInt();
}

QString memoLines(int n)
{
    QStringList l;
    for (int i = 1; i <= n; ++i)
        l << QStringLiteral("Zeile %1").arg(i);
    return l.join(QStringLiteral("\r\n"));
}

} // namespace

class TstPagePrint : public QObject
{
    Q_OBJECT
    card::Fixture fx;
    QTemporaryDir dir;
    kit::ScriptedPresenter &p() { return *fx.settings.presenter; }

    QString pdfTarget(const QString &name)
    {
        const QString file = dir.filePath(name);
        QFile::remove(file);
        QPrinter &pr = ProgramPrinter();
        pr.setOutputFormat(QPrinter::PdfFormat);
        pr.setOutputFileName(file);
        pr.setResolution(254);
        pr.setPageSize(QPageSize(QPageSize::A4));
        pr.setPageOrientation(QPageLayout::Portrait);
        return file;
    }
    TWFilm &card(int slot)
    {
        fx.form->ImageClick(slot);
        Q_ASSERT(WFilm);
        return *WFilm;
    }
    // The page dialog answered with OK, after fill; then the file chooser
    // confirms the printer's file.
    void pageDialog(std::function<void(TDPersDruck &)> fill = {})
    {
        p().answerDialog([fill](QDialog &d) {
            auto *dlg = qobject_cast<TDPersDruck *>(&d);
            QVERIFY(dlg);
            if (fill)
                fill(*dlg);
        });
        p().answerFile(ProgramPrinter().outputFileName());
    }

private slots:
    void init()
    {
        fx.setUp();
        PersDruckBackSide = false;
        PersDruckFontName = QStringLiteral("Arial");
        PersDruckFontSize = 12;
        AnhGrScale = 10;
        AnhShrinkPicture = true;
    }
    void cleanup() { fx.tearDown(); }

    void filmPageLandsWhereTheLayoutSays()
    {
        card::Film f{1, QStringLiteral("Alien"), 117};
        f.untertitel = QStringLiteral("Das unheimliche Wesen");
        f.free1 = QStringLiteral("Ridley Scott");
        f.memo = QStringLiteral("Ein Raumfrachter empfängt auf dem Heimweg ein Notsignal von einem unbekannten Planeten. "
                                "Die Besatzung landet, findet ein fremdes Schiff und bringt, ohne es zu wissen, einen "
                                "Gast an Bord.\r\n\r\nDer Film gilt als Meilenstein des Genres.");
        fx.addMedium(QStringLiteral("VHS-SB"), 3, 240, {f});
        setPicture(FilmTablePath(fx.base), poster());
        fx.open();
        TWFilm &w = card(1);
        const QString pdf = pdfTarget(QStringLiteral("film.pdf"));

        // The layout of the same page on the same printer.
        TPageDocument doc;
        TPageWriter writer(PrinterPageMetrics(ProgramPrinter()), PageOptionsFromSettings(), doc);
        writer.beginRecord();
        TProgDirArtProvider art(dir.path() + QLatin1Char('/'));
        const TPageHeadingBoxes box = DrawFilmPage(writer, ReadFilmPageData(*w.Table1), TLabelSettings(), art);

        pageDialog([](TDPersDruck &d) {
            QVERIFY(!d.CheckBox2->isVisibleTo(&d)); // film mode: no film list
            QVERIFY(!d.CheckBox3->isVisibleTo(&d)); // one page: no memo choice
        });
        PrintFilmPage(w);
        QVERIFY(QFile::exists(pdf));
        QCOMPARE(pageCount(pdf), 1);
        const QList<Word> ws = words(pdf);
        // The header and the title at the 17 mm margin.
        const Word *header = find(ws, QStringLiteral("Band-Nr."));
        QVERIFY(header);
        QVERIFY(qAbs(header->box.left() - 170) <= 3);
        QVERIFY(qAbs(header->box.top() - 120) <= 8);
        const Word *title = find(ws, QStringLiteral("Alien"));
        QVERIFY(title);
        QVERIFY(qAbs(title->box.left() - 170) <= 3);
        QVERIFY(title->box.top() < box.titleBaseline && title->box.bottom() > box.titleBaseline - 5);
        QVERIFY(find(ws, QStringLiteral("(ca.")));
        // The first field line: caption at the margin, value at its column.
        const Word *caption = find(ws, QStringLiteral("Frei1"));
        QVERIFY(caption);
        QVERIFY(qAbs(caption->box.left() - 170) <= 3);
        QVERIFY(caption->box.top() >= box.fieldTop - 3 && caption->box.bottom() <= box.fieldTop + box.lineHeight + 3);
        const Word *value = find(ws, QStringLiteral("Ridley"));
        QVERIFY(value);
        QVERIFY(qAbs(value->box.left() - box.valueX) <= 3);
        QVERIFY(qAbs(value->box.top() - caption->box.top()) <= 6);
        // The memo below the rule.
        const Word *memo = find(ws, QStringLiteral("Raumfrachter"));
        QVERIFY(memo);
        QVERIFY(memo->box.top() > box.ruleY);
        QVERIFY(memo->box.top() < box.ruleY + 30 + 80);
        // The picture fills its box at the right margin, above the rule.
        QVERIFY(!box.picture.isEmpty());
        QCOMPARE(box.picture.left() + box.picture.width(), PrinterPageMetrics(ProgramPrinter()).PW
                                                              - PrinterPageMetrics(ProgramPrinter()).MR);
        const QImage page = firstPage(pdf, dir.path(), 254);
        const QColor mid = page.pixelColor(box.picture.center());
        QVERIFY(mid != QColor(Qt::white));
        QVERIFY(page.pixelColor(box.picture.left() - 20, box.picture.center().y()) == QColor(Qt::white)
                || box.picture.left() - 20 < box.valueX);
        keepScreen(pdf, dir.path(), QStringLiteral("film-page.png"));
    }

    void backSideIsASecondJob()
    {
        card::Film f{1, QStringLiteral("Lang"), 90};
        f.memo = memoLines(120);
        fx.addMedium(QStringLiteral("VHS-SB"), 1, 240, {f});
        fx.open();
        TWFilm &w = card(1);
        const QString pdf = pdfTarget(QStringLiteral("seiten.pdf"));
        const QString second = dir.filePath(QStringLiteral("seiten-2.pdf"));
        QFile::remove(second);
        pageDialog([](TDPersDruck &d) { d.CheckBox1->SetChecked(true); });
        p().answer(mrOk); // "Blatt wenden..."
        PrintFilmPage(w);
        QVERIFY(PersDruckBackSide);
        QCOMPARE(p().last().caption, QStringLiteral("Blatt wenden..."));
        QCOMPARE(pageCount(pdf), 1);
        // The back (page 2) and the next front page (page 3) in the same job.
        QCOMPARE(pageCount(second), 2);
        // The back side: 10 mm left margin, its page number.
        const QList<Word> back = words(second);
        const Word *t = find(back, QStringLiteral("Lang"));
        QVERIFY(t);
        QVERIFY(qAbs(t->box.left() - 100) <= 3);
        QVERIFY(find(back, QStringLiteral("Seite")));
        // The printer keeps the file the user chose.
        QCOMPARE(ProgramPrinter().outputFileName(), pdf);

        // Cancel at the turn: the front stays, no second file.
        QFile::remove(pdf);
        QFile::remove(second);
        pageDialog();
        p().answer(mrCancel);
        PrintFilmPage(w);
        QVERIFY(QFile::exists(pdf));
        QVERIFY(!QFile::exists(second));
    }

    void severalFilmsAndTheAbortTexts()
    {
        fx.addMedium(QStringLiteral("VHS-SB"), 1, 240,
                     {{1, QStringLiteral("Erster"), 90}, {2, QStringLiteral("Zweiter"), 90, false, true}});
        fx.open();
        TWFilm &w = card(1);
        dbui::DbGrid grid;
        grid.setDataSource(w.DataSource1);
        const QString pdf = pdfTarget(QStringLiteral("filme.pdf"));

        // Only films with a memo, and none has one.
        pageDialog();
        PrintFilmPages(grid, *w.Table1);
        QCOMPARE(p().last().caption, QStringLiteral("Keine Filme zum Drucken gefunden!"));
        QCOMPARE(p().last().text,
                 QStringLiteral("Entweder wurden keine Filme ausgewählt, oder zu keinem Film war ein Memo gespeichert!"));
        QCOMPARE(p().last().icon, kit::BoxIcon::Error);
        QVERIFY(!QFile::exists(pdf));

        // All films; the released one is skipped unless asked for.
        pageDialog([](TDPersDruck &d) {
            QVERIFY(d.CheckBox3->isVisibleTo(&d) && d.CheckBox4->isVisibleTo(&d));
            d.CheckBox3->SetChecked(false);
        });
        PrintFilmPages(grid, *w.Table1);
        QCOMPARE(pageCount(pdf), 1);
        QList<Word> ws = words(pdf);
        QVERIFY(find(ws, QStringLiteral("Erster")) && !find(ws, QStringLiteral("Zweiter")));

        pageDialog([](TDPersDruck &d) {
            d.CheckBox3->SetChecked(false);
            d.CheckBox4->SetChecked(true);
        });
        PrintFilmPages(grid, *w.Table1);
        QCOMPARE(pageCount(pdf), 2);

        // Nothing left at all: the empty-set text.
        QFile::remove(pdf);
        w.Table1->first();
        grid.setMultiSelect(true);
        grid.selectRow(1);
        QCOMPARE(grid.selectedBookmarks().size(), 1);
        p().answer(mrYes); // only the selection: the released film
        pageDialog([](TDPersDruck &d) { d.CheckBox3->SetChecked(false); });
        PrintFilmPages(grid, *w.Table1);
        QCOMPARE(p().shown().at(p().shown().size() - 4).caption, QStringLiteral("Nur die Selektion drucken?"));
        QCOMPARE(p().last().text, QStringLiteral("Die Menge der zum Druck ausgewählten Filme scheint leer zu sein!"));
        QVERIFY(!QFile::exists(pdf));
    }

    void queryResultPrintsFilmPages()
    {
        card::Film a{1, QStringLiteral("Rio Bravo"), 140};
        a.memo = QStringLiteral("Western.");
        fx.addMedium(QStringLiteral("VHS-SB"), 1, 240, {a, {2, QStringLiteral("Alien"), 100}});
        fx.open(); // the film card was never opened
        TQueryForm *q = EnsureQueryForm(fx.form.get());
        q->Query1->close();
        q->Query1->setSql({QStringLiteral("SELECT * FROM FILM")});
        q->RunQuery();
        QVERIFY(q->MenPagePrint->isVisible() && q->MenPagePrint->isEnabled());
        const QString pdf = pdfTarget(QStringLiteral("abfrage.pdf"));
        pageDialog(); // only films with a memo
        q->MenPagePrint->trigger();
        QCOMPARE(pageCount(pdf), 1);
        const QList<Word> ws = words(pdf);
        QVERIFY(find(ws, QStringLiteral("Rio")) && !find(ws, QStringLiteral("Alien")));
        // A person result: its page print waits for the person window.
        q->Query1->close();
        q->Query1->setSql({QStringLiteral("SELECT * FROM PERS")});
        q->RunQuery();
        QVERIFY(!q->MenPagePrint->isEnabled());
        q->close();
        delete QueryForm;
    }

    void attachmentLadderThroughThePresenter()
    {
        card::Film f{1, QStringLiteral("Alien"), 117};
        f.free1 = QStringLiteral("Ridley Scott");
        f.memo = memoLines(75);
        fx.addMedium(QStringLiteral("VHS-SB"), 1, 240, {f});
        setPicture(FilmTablePath(fx.base), poster());
        fx.open();
        TWFilm &w = card(1);
        const QString pdf = pdfTarget(QStringLiteral("anhang.pdf"));

        // "Anhang drucken", then Cancel at the back-half question: no file.
        p().answerDialog([](QDialog &d) { QVERIFY(qobject_cast<TDAnhDruck *>(&d)); });
        p().answerFile(pdf);
        p().answer(mrCancel);
        PrintFilmAttachment(w);
        QCOMPARE(p().last().caption, QStringLiteral("Hinweis"));
        QVERIFY(p().last().text.startsWith(QStringLiteral("Der Text paßt nicht vollständig auf eine Seite einer Karte!")));
        QVERIFY(!QFile::exists(pdf));

        // OK and OK: the card with its back half, and a second card.
        p().clear();
        p().answerDialog([](QDialog &) {});
        p().answerFile(pdf);
        p().answer(mrOk);
        p().answer(mrOk);
        PrintFilmAttachment(w);
        QCOMPARE(p().shown().size(), 4);
        QCOMPARE(p().shown().at(1).kind, QStringLiteral("FileDialog"));
        QCOMPARE(p().shown().at(2).icon, kit::BoxIcon::Information);
        QCOMPARE(p().shown().at(3).icon, kit::BoxIcon::Warning);
        QVERIFY(p().shown().at(3).text.startsWith(QStringLiteral("Der Text paßt nicht vollständig auf die Karte!")));
        QCOMPARE(pageCount(pdf), 2);
        const QList<Word> ws = words(pdf);
        const Word *title = find(ws, QStringLiteral("Alien"));
        QVERIFY(title);
        QVERIFY(qAbs(title->box.left() - 30) <= 3);
        QVERIFY(find(ws, QStringLiteral("knicken")));
        QVERIFY(find(ws, QStringLiteral("Fortsetzung...")));
        const Word *value = find(ws, QStringLiteral("Ridley"));
        QVERIFY(value && value->box.top() < 1000);
        keepScreen(pdf, dir.path(), QStringLiteral("attachment-card.png"));
    }

    void personPages()
    {
        fx.open();
        engine::Table persons;
        persons.setTableName(fx.base + QStringLiteral("DB/Pers.DB"));
        persons.open();
        for (const QString &name : {QStringLiteral("Hitchcock, Alfred"), QStringLiteral("Kelly, Grace")}) {
            persons.append();
            persons.fieldByName(QStringLiteral("Name"))->setAsString(name);
            persons.fieldByName(QStringLiteral("Free1"))->setAsString(QStringLiteral("Regisseur"));
            persons.post();
        }
        persons.first();
        QList<bool> panel;
        TPersonPageSource source;
        source.current = [&persons] {
            return ReadPersonPageData(persons, PersDruckListFilms, QStringLiteral("Seine Filme:"),
                                      {{QStringLiteral("Psycho"), QStringLiteral("VHS-SB"), 12}}, PersDruckMedIndex);
        };
        source.filmsPanel = [&panel](bool on) { panel << on; };
        const QString pdf = pdfTarget(QStringLiteral("person.pdf"));

        pageDialog([](TDPersDruck &d) {
            QVERIFY(d.CheckBox2->isVisibleTo(&d) && !d.CheckBox4->isVisibleTo(&d));
            d.CheckBox2->SetChecked(true);
            d.Checkbox2a->SetChecked(true);
        });
        PrintPersonPage(source);
        QCOMPARE(panel, (QList<bool>{true, false}));
        QCOMPARE(pageCount(pdf), 1);
        const QList<Word> ws = words(pdf);
        const Word *name = find(ws, QStringLiteral("Hitchcock,"));
        QVERIFY(name);
        QVERIFY(qAbs(name->box.left() - 170) <= 3);
        // All seven captions, filled or not.
        for (int i = 1; i <= 7; ++i)
            QVERIFY2(find(ws, QStringLiteral("Frei%1").arg(i)), qPrintable(QString::number(i)));
        QVERIFY(find(ws, QStringLiteral("Regisseur")));
        const Word *heading = find(ws, QStringLiteral("Seine"));
        const Word *film = find(ws, QStringLiteral("(VHS-SB"));
        QVERIFY(heading && film);
        QVERIFY(film->box.top() > heading->box.top());

        // Several persons with the memo choice, and none has a memo.
        dbui::DataSource src;
        src.setDataSet(&persons);
        dbui::DbGrid grid;
        grid.setDataSource(&src);
        QFile::remove(pdf);
        pageDialog([](TDPersDruck &d) { QVERIFY(d.CheckBox3->isVisibleTo(&d) && d.CheckBox3->Checked()); });
        PrintPersonPages(grid, &persons, source);
        QCOMPARE(p().last().caption, QStringLiteral("Keine Personen zum Drucken gefunden!"));
        QCOMPARE(p().last().text, QStringLiteral("Entweder wurden keine Personen ausgewählt, oder zu keiner Person war "
                                                 "ein Memo gespeichert!"));
        QVERIFY(!QFile::exists(pdf));
        // Without it: one page each.
        pageDialog([](TDPersDruck &d) { d.CheckBox3->SetChecked(false); });
        PrintPersonPages(grid, &persons, source);
        QCOMPARE(pageCount(pdf), 2);
        QVERIFY(find(words(pdf), QStringLiteral("Kelly,")));
    }

    void cancelledJobLeavesNoFile()
    {
        const QString pdf = pdfTarget(QStringLiteral("abbruch.pdf"));
        TPageDocument doc;
        TPageWriter writer(PrinterPageMetrics(ProgramPrinter()), TPageOptions(), doc);
        TFilmPageData d;
        d.film.Titel = QStringLiteral("Lang");
        d.film.Memo = memoLines(200);
        TProgDirArtProvider art(dir.path() + QLatin1Char('/'));
        PrintFilmPageRecord(writer, d, TLabelSettings(), art);
        QVERIFY(doc.sheets.size() > 2);
        // "Abbruch" in the progress window while the pages go out.
        QTimer::singleShot(0, [] {
            if (TWPrint *w = PrintProgressWindow())
                w->BtnAbbruchClick();
        });
        QVERIFY(!PrintPageDocument(ProgramPrinter(), doc, {QStringLiteral("Film-Beschreibung drucken"), QString(),
                                                            QString(), QStringLiteral("Tarvo - Film-Beschreibung")}));
        QVERIFY(!QFile::exists(pdf));
    }

    void attachmentOptionsRoundTrip()
    {
        p().answerDialog([](QDialog &d) {
            auto *dlg = qobject_cast<TDAnhOpt *>(&d);
            QVERIFY(dlg);
            QCOMPARE(dlg->ComboBoxScale->currentText(), QStringLiteral("0 %"));
            dlg->ComboBoxScale->setCurrentIndex(4);
            dlg->CheckBox1->SetChecked(false);
            dlg->EditFont->setText(QStringLiteral("Courier"));
        });
        QVERIFY(ExecAttachmentPrintOptions());
        QCOMPARE(int(AnhGrScale), 12);
        QVERIFY(!AnhShrinkPicture);
        QCOMPARE(AnhFont, QStringLiteral("Courier"));
        // Cancel keeps everything.
        p().answerDialog([](QDialog &d) { qobject_cast<TDAnhOpt *>(&d)->ComboBoxScale->setCurrentIndex(0); }, mrCancel);
        QVERIFY(!ExecAttachmentPrintOptions());
        QCOMPARE(int(AnhGrScale), 12);
    }
};

QTEST_MAIN(TstPagePrint)
#include "tst_pageprint.moc"
