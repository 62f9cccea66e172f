// The main window as the user sees it: what is greyed without a database,
// what stays visible when zoomed, nothing overlapping on the tool bar, and a
// database whose tables lack a field the card binds.
#include "cardfixture.h"

#include "data/database.h"
#include "dbui/dbcombobox.h"
#include "dbui/dbedit.h"
#include "engine/engineerror.h"
#include "engine/tablefile.h"
#include "kit/pzspeedbutton.h"
#include "kit/scriptedpresenter.h"
#include "app/settings.h"
#include "app/settingsfixture.h"

#include <QFile>
#include <QLabel>
#include <QLineEdit>
#include <QPainter>
#include <QStyle>
#include <QStyleOptionComboBox>
#include <QWindow>

#include <algorithm>

namespace {

// A layout without one field (and without the indexes that name it).
engine::TableDef withoutField(engine::TableDef def, const QString &field)
{
    def.fields.removeAt(def.fieldIndex(field));
    def.indexes.erase(std::remove_if(def.indexes.begin(), def.indexes.end(),
                                     [&](const engine::IndexDef &i) { return i.fields.contains(field); }),
                      def.indexes.end());
    return def;
}

// Whether the combo box's edit leaves its arrow free (the style paints
// the arrow there; an edit over it hides it).
bool arrowFree(QComboBox *c)
{
    QStyleOptionComboBox opt;
    opt.initFrom(c);
    opt.editable = c->isEditable();
    const QRect arrow = c->style()->subControlRect(QStyle::CC_ComboBox, &opt, QStyle::SC_ComboBoxArrow, c);
    return !arrow.isEmpty() && c->lineEdit() && !c->lineEdit()->geometry().intersects(arrow)
        && c->rect().contains(arrow);
}

} // namespace

class TestCardSurface : public QObject
{
    Q_OBJECT
    card::Fixture fx;
    kit::ScriptedPresenter &presenter() { return *fx.settings.presenter; }

    TMainform &bareForm()
    {
        fx.form.reset(CreateForm<TMainform>());
        Mainform = fx.form.get();
        return *fx.form;
    }

    // The main file beside the database folder.
    QString mainFile() const
    {
        QString tarvo = fx.base;
        tarvo.chop(1);
        tarvo += QStringLiteral(".tarvo");
        QFile f(tarvo);
        f.open(QIODevice::WriteOnly);
        return tarvo;
    }

private slots:
    void init() { fx.setUp(); }
    void cleanup() { fx.tearDown(); }

    void everyLabelIsGreyedWithoutADatabase()
    {
        TMainform &m = bareForm();
        m.show();
        QVERIFY(QTest::qWaitForWindowExposed(&m));
        QVERIFY(!m.Component<QWidget>("PanelKrt")->isEnabled());
        // Entering another control paints the date labels; they keep the
        // grey of a disabled label all the same.
        m.OtherControlEnter();
        const QColor grey = m.Component<QLabel>("LabelMed")->palette().color(QPalette::Disabled, QPalette::WindowText);
        QVERIFY(grey != m.Component<QLabel>("LabelMed")->palette().color(QPalette::Active, QPalette::WindowText));
        for (const char *n : {"LabelVerliehen", "LabelVerleihdatum", "LabelRueckgabedatum", "LabelLen", "LabelNr"}) {
            auto *l = fx.child<QLabel>(n);
            QVERIFY2(!l->isEnabled(), n);
            QVERIFY2(l->palette().color(l->foregroundRole()) == grey, n);
        }
        m.hide();
    }

    void dateLabelsShowTheCalendarTarget()
    {
        fx.addMedium(QStringLiteral("VHS-SB"), 1, 240);
        TMainform &m = fx.open();
        fx.unlock();
        m.DateEditEnter(m.Component<dbui::DbEdit>("DBRueckgabedatum"));
        QCOMPARE(m.Component<QLabel>("LabelRueckgabedatum")->palette().color(QPalette::Active, QPalette::WindowText), QColor(0, 0, 255));
        QCOMPARE(m.Component<QLabel>("LabelVerleihdatum")->palette().color(QPalette::Active, QPalette::WindowText), QColor(0, 0, 0));
        m.OtherControlEnter();
        QCOMPARE(m.Component<QLabel>("LabelRueckgabedatum")->palette().color(QPalette::Active, QPalette::WindowText), QColor(0, 0, 0));
    }

    void theDisabledLendingBoxKeepsItsArrowWhenZoomed()
    {
        TMainform &m = bareForm();
        m.show();
        QVERIFY(QTest::qWaitForWindowExposed(&m));
        auto *combo = fx.child<dbui::DbComboBox>("DBVerliehen");
        QVERIFY(!combo->isEnabledTo(&m));
        QVERIFY(arrowFree(combo));
        m.SetZoomed(true);
        QVERIFY(arrowFree(combo));
        m.SetZoomed(false);
        QVERIFY(arrowFree(combo));
    }

    void theSecondRowsTextsFitTheirControls()
    {
        fx.addMedium(QStringLiteral("VHS-SB"), 1, 240);
        TMainform &m = fx.open();
        m.show();
        QVERIFY(QTest::qWaitForWindowExposed(&m));
        for (bool zoomed : {false, true}) {
            m.SetZoomed(zoomed);
            QList<QWidget *> row;
            for (const char *n : {"DBNavigator1", "SpBQuerySub", "SpBLists", "SpBLocateSN", "SpBWeb",
                                  "LabSchnellSuche", "EditSchnellsuche", "SpBHelp", "SPBHelpIdx"}) {
                auto *w = m.findChild<QWidget *>(QLatin1String(n));
                QVERIFY2(w && w->isVisible(), n);
                row << w;
            }
            for (QWidget *a : row)
                for (QWidget *b : row)
                    if (a != b) {
                        const QRect ra(a->mapTo(&m, QPoint(0, 0)), a->size());
                        const QRect rb(b->mapTo(&m, QPoint(0, 0)), b->size());
                        QVERIFY2(!ra.intersects(rb), qPrintable(a->objectName() + QLatin1Char('/') + b->objectName()));
                    }
            // The caption of a small button fits inside it, and the quick
            // search's label text inside its own box.
            auto *web = fx.child<TPZSpeedButton>("SpBWeb");
            QVERIFY(web->fontMetrics().horizontalAdvance(web->Caption()) + 4 <= web->width());
            // (bold while the search field has the focus).
            auto *label = fx.child<QLabel>("LabSchnellSuche");
            QFont bold = label->font();
            bold.setBold(true);
            QVERIFY(QFontMetrics(bold).horizontalAdvance(label->text()) <= label->width());
        }
        m.SetZoomed(false);
    }

    void aTableWithoutABoundFieldIsRefusedWithOneMessage_data()
    {
        QTest::addColumn<QString>("table");
        QTest::addColumn<QString>("field");
        QTest::addColumn<QString>("start");
        QTest::newRow("film") << QStringLiteral("Film") << QStringLiteral("Untertitel")
                              << QStringLiteral("Die Film-Datenbankdatei ");
        QTest::newRow("media") << QStringLiteral("Med") << QStringLiteral("Verliehen")
                               << QStringLiteral("Die Datei lässt sich nicht öffnen.");
    }

    void aTableWithoutABoundFieldIsRefusedWithOneMessage()
    {
        QFETCH(QString, table);
        QFETCH(QString, field);
        QFETCH(QString, start);
        fx.addMedium(QStringLiteral("VHS-SB"), 1, 240, {{1, QStringLiteral("Alt")}});
        const bool film = table == QLatin1String("Film");
        const QString path = film ? FilmTablePath(fx.base) : MediaTablePath(fx.base);
        QVERIFY(QFile::remove(path));
        engine::createTableFile(path, withoutField(film ? FilmTableDef() : MediaTableDef(), field));
        const QString tarvo = mainFile();

        TMainform &m = bareForm();
        m.show();
        QVERIFY(QTest::qWaitForWindowExposed(&m));
        QTest::qWait(50);
        presenter().clear(); // the first activation's tip and hint
        presenter().answerFile(tarvo);
        OpenDatabaseCommand();
        QCOMPARE(presenter().shown().size(), 2); // the file chooser and one box
        const kit::ShownBox &box = presenter().last();
        QVERIFY2(box.text.startsWith(start), qPrintable(box.text));
        QVERIFY2(box.text.contains(QStringLiteral("fehlt das Feld \"%1\"").arg(field)), qPrintable(box.text));
        // No database is open, the program goes on and nothing was changed.
        for (engine::Table *t : {m.Table1.get(), m.Table11.get(), m.Table2.get(), m.FilmTable.get(), m.PersTable.get()})
            QVERIFY(!t->active());
        QVERIFY(!m.Component<QWidget>("PanelKrt")->isEnabled());
        QCOMPARE(fx.child<QLabel>("Status2")->text(), QStringLiteral("Keine Datei geöffnet."));
        QVERIFY(m.isVisible());
        QTest::qWait(20);
        engine::Table media;
        media.setTableName(MediaTablePath(fx.base));
        media.open();
        QCOMPARE(media.recordCount(), film ? 1 : 0);
        media.close();

        // At start the same database is left closed, without a message.
        presenter().clear();
        QVERIFY(!OpenDatabaseTablesAtStart(fx.base, fx.base + QStringLiteral("DB/Pers")));
        QVERIFY(presenter().shown().isEmpty());
        QVERIFY(!m.Table1->active());
        m.ShowMediumFilms();
        m.UpdateStatusLine();
    }

    void aDatabaseOpenBeforeStaysOpen()
    {
        fx.addMedium(QStringLiteral("VHS-SB"), 7, 240, {{1, QStringLiteral("Gut")}});
        TMainform &m = fx.open();
        QVERIFY(m.Table1->active());
        // A second database whose film table lacks the subtitle.
        const QString other = fx.settings.path(QStringLiteral("other")) + QLatin1Char('/');
        QDir().mkpath(other + QStringLiteral("DB"));
        engine::createTableFile(MediaTablePath(other), MediaTableDef());
        engine::createTableFile(FilmTablePath(other), withoutField(FilmTableDef(), QStringLiteral("Untertitel")));
        engine::createTableFile(other + QStringLiteral("DB/Pers.DB"), PersonTableDef());
        QString tarvo = other;
        tarvo.chop(1);
        tarvo += QStringLiteral(".tarvo");
        QFile(tarvo).open(QIODevice::WriteOnly);
        QCOMPARE(OpenDatabaseFile(tarvo), TOpenResult::Failed);
        QCOMPARE(presenter().shown().size(), 1);
        QVERIFY(m.Table1->active() && m.Table2->active() && m.FilmTable->active());
        QCOMPARE(m.Table1->tableName(), MediaTablePath(fx.base));
        QCOMPARE(fx.field("Nr")->asInteger(), 7);
    }

    void theWindowKeepsThePlaceTheProgramGaveIt()
    {
        TMainform &m = bareForm();
        m.show();
        QVERIFY(QTest::qWaitForWindowExposed(&m));
        const QPoint placed = m.PlacedAt();
        QCOMPARE(m.pos(), placed);
        QVERIFY(placed.x() > 50 && placed.y() > 50); // centred, not in a corner
        // A window manager that reparents the window may have reported an
        // older place: the place the program chose is asked for again, and
        // the window still counts as not placed by hand.
        m.windowHandle()->setPosition(0, 0);
        QTRY_COMPARE(m.pos(), QPoint(0, 0));
        KeepProgramPlacement(&m, placed);
        QTRY_COMPARE(m.pos(), placed);
        QVERIFY(!m.testAttribute(Qt::WA_Moved));
        // The first zoom then grows the window from there: left and top
        // become (value - 1) * 1.2 + 1.
        m.SetZoomed(true);
        QVERIFY(std::abs(m.x() - ((placed.x() - 1) * 6 / 5 + 1)) <= 1);
        QVERIFY(std::abs(m.y() - ((placed.y() - 1) * 6 / 5 + 1)) <= 1);
        m.SetZoomed(false);
    }

    void networkModeShowsItsButton()
    {
        fx.addMedium(QStringLiteral("VHS-SB"), 1, 240);
        TMainform &m = fx.open();
        SettingsFixture::seedReturningUser();
        const int end = fx.child<QLabel>("Status2")->geometry().right();
        NetworkMode = true;
        m.FormShow();
        NetworkMode = false;
        m.Component<QTimer>("NetRefresh")->stop();
        auto *b = fx.child<TPZSpeedButton>("SpBNetmode");
        QVERIFY(b && b->isVisibleTo(&m));
        auto *status = fx.child<QLabel>("Status2");
        // The status panel gave up the button's width and keeps it after an
        // update of the status line.
        QCOMPARE(b->geometry().right(), end);
        QVERIFY(status->geometry().right() < b->x());
        m.UpdateStatusLine();
        QVERIFY(status->geometry().right() < b->x());
        QString caption;
        presenter().answerDialog([&](QDialog &d) { caption = static_cast<TOberFormAbs &>(d).GetCaptionText(); });
        b->Click();
        QCOMPARE(caption, QStringLiteral("Netzwerkmodus"));
    }

    void withoutNetworkModeTheButtonStaysHidden()
    {
        fx.addMedium(QStringLiteral("VHS-SB"), 1, 240);
        TMainform &m = fx.open();
        SettingsFixture::seedReturningUser();
        const QRect status = fx.child<QLabel>("Status2")->geometry();
        m.FormShow();
        auto *b = fx.child<TPZSpeedButton>("SpBNetmode");
        QVERIFY(b && !b->isVisibleTo(&m));
        QCOMPARE(fx.child<QLabel>("Status2")->geometry().right(), status.right());
    }
};

QTEST_MAIN(TestCardSurface)
#include "tst_cardsurface.moc"
