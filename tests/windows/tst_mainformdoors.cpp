// What the main window does when a database command asks it: the guided tour
// after a new database and after an import, the lock button's hint after a
// first open, and the label preview following the database opened.
#include "cardfixture.h"

#include "app/settings.h"
#include "data/templatefixture.h"
#include "exchange/paradoxwriter.h"
#include "kit/help.h"
#include "kit/pzlabel.h"
#include "print/labelformat.h"
#include "windows/main/mainmenus.h"
#include "windows/labels/prevform2.h"
#include "windows/main/whint.h"

#include <QFile>
#include <QSet>

namespace {

// A pointing hint as it showed: its text and where its arrow's tip was.
struct Hint {
    QString text;
    QPoint tip;
};

void writeMainFile(const QString &path)
{
    QFile f(path);
    QVERIFY(f.open(QIODevice::WriteOnly));
    f.write("6.0\r\n");
}

} // namespace

class TestMainformDoors : public QObject
{
    Q_OBJECT
    card::Fixture fx;
    QList<Hint> hints;
    QStringList events; // hints and help calls, in their order

    kit::ScriptedPresenter &presenter() { return *fx.settings.presenter; }
    // The next n requests are hints: each is read as it shows and goes on
    // with "Weiter".
    void expectHints(int n)
    {
        for (int i = 0; i < n; ++i)
            presenter().answerDialog([this](QDialog &d) {
                auto *h = qobject_cast<TWHint *>(&d);
                QVERIFY(h);
                hints << Hint{h->LabelHint->Caption(), h->mapToGlobal(h->ArrowTipPoint())};
                events << QStringLiteral("Hinweis");
            });
    }
    // The arrow's tip touches the control (its lower edge included).
    bool pointsAt(const Hint &h, const char *control) const
    {
        const QWidget *c = fx.form->Component<QWidget>(QLatin1String(control));
        return c && QRect(c->mapToGlobal(QPoint()), c->size()).adjusted(0, 0, 0, 1).contains(h.tip);
    }
    void trigger(const char *entry)
    {
        QAction *a = fx.form->Menus->Entry(QLatin1String(entry));
        QVERIFY2(a && a->isEnabled(), entry);
        a->trigger();
    }
    QStringList shownHintTexts() const
    {
        QStringList l;
        for (const kit::ShownBox &b : fx.settings.presenter->shown())
            if (b.objectName == QLatin1String("WHint"))
                l << b.text;
        return l;
    }
    // A second database beside the fixture's, with one medium and its film;
    // returns its main file.
    QString otherDatabase(const QString &kind, int nr, const QString &title)
    {
        const QString keep = fx.base;
        fx.base = fx.settings.path(QStringLiteral("zweite")) + QLatin1Char('/');
        card::Fixture::createTables(fx.base);
        fx.addMedium(kind, nr, 90, {{1, title}});
        fx.base = keep;
        const QString main = fx.settings.path(QStringLiteral("zweite.tarvo"));
        writeMainFile(main);
        return main;
    }

private slots:
    void init()
    {
        fx.setUp();
        hints.clear();
        events.clear();
        kit::setHelpHook([this](int topic) { events << QStringLiteral("Hilfe %1").arg(topic); });
        WriteTestTemplates();
        DBsDir = fx.settings.path(QStringLiteral("dbs/"));
        QDir().mkpath(DBsDir);
    }
    void cleanup()
    {
        kit::setHelpHook({});
        fx.tearDown();
    }

    void tourAfterANewDatabaseAndAfterAnImport()
    {
        fx.addMedium(QStringLiteral("VHS-SB"), 1, 240);
        TMainform &m = fx.open();
        // New: the file, no auto-open, then the hints one after the other,
        // then the help on a new database.
        presenter().answerFile(DBsDir + QStringLiteral("Neu.tarvo")).answer(mrNo);
        expectHints(7);
        trigger("Neu1");
        QCOMPARE(DBBase, DBsDir + QStringLiteral("Neu/"));
        QCOMPARE(events, QStringList(7, QStringLiteral("Hinweis")) << QStringLiteral("Hilfe 84"));
        // The card's four, each at a control of the card, none said twice.
        const QRect card(m.mapToGlobal(QPoint()), m.size());
        QStringList tour;
        for (int i = 0; i < 4; ++i) {
            QVERIFY(!hints.at(i).text.isEmpty());
            QVERIFY(card.contains(hints.at(i).tip));
            tour << hints.at(i).text;
        }
        QCOMPARE(QSet<QString>(tour.begin(), tour.end()).size(), 4);
        // Then the three at the film buttons, which editing shows.
        QVERIFY(hints.at(4).text.startsWith(QStringLiteral("Hier wurde ein erster Film erfasst.")));
        QVERIFY(pointsAt(hints.at(4), "Film1"));
        QVERIFY(hints.at(5).text.startsWith(QStringLiteral("Mit diesem Button erfassen Sie einen neuen Film")));
        QVERIFY(pointsAt(hints.at(5), "ButtNewFilm"));
        QVERIFY(hints.at(6).text.startsWith(QStringLiteral("Mit diesem Button (rotes Minus) \\Blöschen Sie den Film\\b.")));
        QVERIFY(pointsAt(hints.at(6), "SpBFilmDel"));
        for (const char *b : {"Film1", "ButtNewFilm", "SpBFilmDel"})
            QVERIFY2(m.Component<QWidget>(QLatin1String(b))->isVisibleTo(&m), b);

        // An import of an older database: the card's four again, no help.
        const QString old = fx.settings.path(QStringLiteral("Alt"));
        WriteParadoxTable(old + QStringLiteral(".Kass.DB"),
                          {{"Medium", pxfAlpha, 6}, {"Nr", pxfShort, 2}, {"Len", pxfShort, 2}},
                          {{QStringLiteral("VHS-SB"), 3, 180}});
        WriteParadoxTable(old + QStringLiteral(".Film.DB"),
                          {{"Medium", pxfAlpha, 6}, {"KassNr", pxfShort, 2}, {"FilmNr", pxfShort, 2},
                           {"Titel", pxfAlpha, 40}, {"Len", pxfShort, 2}},
                          {{QStringLiteral("VHS-SB"), 3, 1, QStringLiteral("Altbestand"), 90}});
        presenter().clear();
        events.clear();
        presenter().answerFile(old + QStringLiteral(".Kass.DB"));
        trigger("ffnen1");
        QCOMPARE(DBBase, DBsDir + QStringLiteral("Alt/"));
        QCOMPARE(shownHintTexts(), tour);
        QCOMPARE(events, QStringList());
    }

    void firstOpenExplainsTheLockButtonALaterOneDoesNot()
    {
        fx.addMedium(QStringLiteral("VHS-SB"), 1, 240);
        fx.form.reset(CreateForm<TMainform>());
        Mainform = fx.form.get();
        const QString first = fx.settings.path(QStringLiteral("db.tarvo"));
        writeMainFile(first);
        presenter().answerFile(first).answer(mrNo);
        expectHints(1);
        trigger("ffnen1");
        QVERIFY(fx.form->Table1->active());
        QCOMPARE(hints.size(), 1);
        QVERIFY(pointsAt(hints.at(0), "SpBReadOnly"));
        QVERIFY(hints.at(0).text.contains(QStringLiteral("Editiermodus")));
        // Another database, opened while one is open: no hint.
        const QString second = otherDatabase(QStringLiteral("DVD"), 7, QStringLiteral("Zweiter Film"));
        presenter().clear();
        presenter().answerFile(second).answer(mrNo);
        trigger("ffnen1");
        QCOMPARE(DBBase, fx.settings.path(QStringLiteral("zweite/")));
        QCOMPARE(presenter().shown().size(), 2);
        QCOMPARE(shownHintTexts(), QStringList());
    }

    void labelPreviewFollowsTheOpenedDatabase()
    {
        fx.addMedium(QStringLiteral("VHS-SB"), 1, 240, {{1, QStringLiteral("Erster Film")}});
        TMainform &m = fx.open();
        // A spine label with its number on it: a DVD's spine is wider than
        // a tape's, 552 pixels.
        LabelKind = lkSpine;
        NrEtiSeparate = false;
        trigger("EtikettenVorschau1");
        auto *preview = m.findChild<TPrevForm2 *>();
        QVERIFY(preview && preview->isVisible());
        TLabelMedium shown = preview->PaintBox1->ShownMedium();
        QVERIFY(!shown.Films.empty());
        QCOMPARE(shown.Films.front().Titel, QStringLiteral("Erster Film"));
        QVERIFY(preview->PaintBox1->width() != 552);
        const QString other = otherDatabase(QStringLiteral("DVD"), 7, QStringLiteral("Zweiter Film"));
        presenter().answerFile(other).answer(mrNo);
        trigger("ffnen1");
        // The label of the other database's first medium, with its film.
        shown = preview->PaintBox1->ShownMedium();
        QCOMPARE(shown.Medium, QStringLiteral("DVD"));
        QCOMPARE(shown.Nr, 7);
        QVERIFY(!shown.Films.empty());
        QCOMPARE(shown.Films.front().Titel, QStringLiteral("Zweiter Film"));
        QCOMPARE(preview->PaintBox1->width(), 552);
    }
};

QTEST_MAIN(TestMainformDoors)
#include "tst_mainformdoors.moc"
