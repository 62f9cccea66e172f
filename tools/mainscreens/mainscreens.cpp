// Opens a sample collection in a temporary folder in the main window,
// unlocked, and saves a screenshot of the medium card:
//   tarvo-mainscreens <folder>
#include "app/settings.h"
#include "data/database.h"
#include "data/locate.h"
#include "data/tableschemas.h"
#include "engine/table.h"
#include "engine/tablefile.h"
#include "kit/kitfiles.h"
#include "kit/scriptedpresenter.h"
#include "kit/textfit.h"
#include "platform/registry.h"
#include "program/programdialogs.h"
#include "dbui/pictureloader.h"
#include "windows/main/mainform.h"
#include "windows/cards/wfilm.h"
#include "windows/tables/tabform.h"
#include "windows/tables/wliste.h"
#include "windows/cards/personcardhooks.h"
#include "windows/cards/wpers.h"
#include "data/freefieldlabels.h"

#include <QPainter>
#include <QTabBar>

#include <QApplication>
#include <QDir>
#include <QTemporaryDir>
#include <QTimer>

namespace {

struct SampleFilm {
    const char *titel;
    const char *untertitel;
    int len;
    bool lp;
    bool frei;
    const char *free1;
};

void addMedium(const QString &base, const QString &kind, int nr, int len, const QList<SampleFilm> &films,
               const QString &borrower = QString(), const QDate &lent = QDate(), const QDate &back = QDate())
{
    engine::Table m;
    m.setTableName(MediaTablePath(base));
    m.open();
    m.append();
    m.fieldByName(QStringLiteral("Medium"))->setAsString(kind);
    m.fieldByName(QStringLiteral("Nr"))->setAsInteger(nr);
    m.fieldByName(QStringLiteral("Len"))->setAsInteger(len);
    if (!borrower.isEmpty()) {
        m.fieldByName(QStringLiteral("Verliehen"))->setAsString(borrower);
        m.fieldByName(QStringLiteral("Verleihdatum"))->setAsDate(lent);
        m.fieldByName(QStringLiteral("Rueckgabedatum"))->setAsDate(back);
    }
    m.fieldByName(QStringLiteral("Free1"))->setAsString(QStringLiteral("Regal 3"));
    m.post();
    m.close();
    engine::Table f;
    f.setTableName(FilmTablePath(base));
    f.open();
    int n = 0;
    for (const SampleFilm &x : films) {
        f.append();
        f.fieldByName(QStringLiteral("Medium"))->setAsString(kind);
        f.fieldByName(QStringLiteral("KassNr"))->setAsInteger(nr);
        f.fieldByName(QStringLiteral("FilmNr"))->setAsInteger(++n);
        f.fieldByName(QStringLiteral("Titel"))->setAsString(QString::fromUtf8(x.titel));
        f.fieldByName(QStringLiteral("Untertitel"))->setAsString(QString::fromUtf8(x.untertitel));
        f.fieldByName(QStringLiteral("Len"))->setAsInteger(x.len);
        f.fieldByName(QStringLiteral("LP"))->setAsBoolean(x.lp);
        f.fieldByName(QStringLiteral("Frei"))->setAsBoolean(x.frei);
        f.fieldByName(QStringLiteral("Free1"))->setAsString(QString::fromUtf8(x.free1));
        f.post();
    }
    f.close();
}

} // namespace

int main(int argc, char **argv)
{
    QApplication app(argc, argv);
    kit::UseProgramFont();
    const QString out = argc > 1 ? QString::fromLocal8Bit(argv[1]) : QStringLiteral(".");
    QTemporaryDir tmp;
    // First-run questions of the settings get their default answers.
    kit::ScriptedPresenter presenter;
    ProgramDialogs dialogs;
    platform::setUserRegistryFile(tmp.filePath(QStringLiteral("config/user.reg")));
    platform::setMachineRegistryFiles(tmp.filePath(QStringLiteral("nosys/machine.reg")),
                                      tmp.filePath(QStringLiteral("config/machine.reg")));
    SetKitProgramFolder(QStringLiteral(TARVO_PROGDIR));
    ReloadMetalClassData();
    InitSettingsDefaults(QStringLiteral(TARVO_PROGDIR) + QLatin1Char('/'));
    const QString base = tmp.filePath(QStringLiteral("Sammlung")) + QLatin1Char('/');
    QDir().mkpath(base + QStringLiteral("DB"));
    engine::createTableFile(MediaTablePath(base), MediaTableDef());
    engine::createTableFile(FilmTablePath(base), FilmTableDef());
    engine::createTableFile(base + QStringLiteral("DB/Pers.DB"), PersonTableDef());
    addMedium(base, QStringLiteral("VHS-SB"), 1, 240,
              {{"Casablanca", "", 98, false, false, ""}, {"Der dritte Mann", "", 104, false, false, ""}});
    const QDate today = QDate::currentDate();
    addMedium(base, QStringLiteral("VHS-SB"), 2, 360,
              {{"Metropolis", ">: Die Stadt der Zukunft", 148, true, false, "Fritz Lang"},
               {"Das Boot", "Director's Cut", 102, false, false, ""},
               {"FREIER BEREICH", "", 20, false, true, ""},
               {"Der Himmel über Berlin", "", 122, true, false, "Wim Wenders"},
               {"M", "Eine Stadt sucht einen Mörder", 105, true, false, ""}},
              QStringLiteral("Katrin Vogel"), today.addDays(-9), today.addDays(5));
    addMedium(base, QStringLiteral("DVD"), 1, 0, {{"Lola rennt", "", 81, false, false, ""}});

    // A cover picture for the film card's screenshot.
    {
        QImage cover(320, 200, QImage::Format_RGB32);
        QPainter p(&cover);
        QLinearGradient g(0, 0, 320, 200);
        g.setColorAt(0, QColor(40, 40, 90));
        g.setColorAt(1, QColor(210, 170, 60));
        p.fillRect(cover.rect(), g);
        p.setPen(Qt::white);
        p.setFont(QFont(QStringLiteral("DejaVu Serif"), 28, QFont::Bold));
        p.drawText(cover.rect(), Qt::AlignCenter, QStringLiteral("METROPOLIS"));
        p.end();
        engine::Table f;
        f.setTableName(FilmTablePath(base));
        f.open();
        if (f.locate(QStringLiteral("Medium;KassNr;FilmNr"), {QStringLiteral("VHS-SB"), 2, 1})) {
            f.edit();
            f.fieldByName(QStringLiteral("Grafik"))->setValue(dbui::PictureLoader::fieldBytesFromImage(cover));
            f.fieldByName(QStringLiteral("Wertung"))->setAsInteger(5);
            f.fieldByName(QStringLiteral("Ton"))->setAsString(QStringLiteral("S"));
            f.fieldByName(QStringLiteral("Free2"))->setAsString(QStringLiteral("Kritiken/metropolis.pdf"));
            f.post();
        }
        f.close();
    }

    // Persons for the person card's screenshot.
    {
        engine::Table t;
        t.setTableName(base + QStringLiteral("DB/Pers.DB"));
        t.open();
        for (const char *name : {"Fritz Lang", "Wim Wenders", "Tom Tykwer"}) {
            t.append();
            t.fieldByName(QStringLiteral("Name"))->setAsString(QString::fromUtf8(name));
            t.fieldByName(QStringLiteral("MF"))->setAsString(QStringLiteral("M"));
            t.post();
        }
        t.locate(QStringLiteral("Name"), QStringLiteral("Fritz Lang"));
        t.edit();
        t.fieldByName(QStringLiteral("Free1"))->setAsString(QStringLiteral("5. Dezember 1890"));
        t.fieldByName(QStringLiteral("Free2"))->setAsString(QStringLiteral("Wien"));
        t.fieldByName(QStringLiteral("Memo"))->setAsString(QStringLiteral("Regisseur des Stummfilms und des frühen Tonfilms."));
        t.post();
        t.close();
    }

    auto *form = CreateForm<TMainform>();
    Mainform = form;
    OpenDatabaseTablesAtStart(base, base + QStringLiteral("DB/Pers"));
    form->SpBReadOnlyClick();
    LocateMedium(form->DataSets(), QStringLiteral("VHS-SB"), 2, true);
    form->move(40, 40);
    form->show();
    int rc = 1;
    QTimer::singleShot(1200, &app, [&] {
        const QPixmap shot = form->grab();
        rc = shot.save(QDir(out).filePath(QStringLiteral("main-window-card.png"))) ? 0 : 1;
        // The film card on the first film, its picture page showing.
        form->ShowFilmCard(1, true, false);
        WFilm->move(80, 80);
        WFilm->TabSet1->setCurrentIndex(2);
        QTimer::singleShot(800, &app, [&] {
            if (!WFilm->grab().save(QDir(out).filePath(QStringLiteral("film-card.png"))))
                rc = 1;
            // Its free fields, the second one a file link with its file-name edit.
            SetFilmFreeLabel(1, QStringLiteral("&Regie"));
            SetFilmFreeLabel(2, QStringLiteral("&Kritik"));
            SetFilmFreeIsFileLink(2, true);
            WFilm->TabSet1->setCurrentIndex(0);
            if (!WFilm->grab().save(QDir(out).filePath(QStringLiteral("film-card-fields.png"))))
                rc = 1;
            SetFilmFreeIsFileLink(2, false);
            // The table view on its film page and the media list with two lines.
            ShowTableView(TTabForm::PageFilms)->move(60, 60);
            ShowListWindow(form->DataSource1, true, false)->SetTwoLines(true);
            WListe->move(100, 100);
            QTimer::singleShot(800, &app, [&] {
                if (!TabForm->grab().save(QDir(out).filePath(QStringLiteral("table-view.png")))
                    || !WListe->grab().save(QDir(out).filePath(QStringLiteral("list-window.png"))))
                    rc = 1;
                delete TabForm;
                delete WListe;
                // The person card with the person's films beside it.
                SetFilmFreeIsPerson(1, true);
                SetPersonFreeLabel(1, QStringLiteral("&Geboren"));
                SetPersonFreeLabel(2, QStringLiteral("Geburts&ort"));
                ShowPersonCard(*form, QStringLiteral("Fritz Lang"));
                WPers->move(120, 60);
                WPers->ShowPersonSidePanel(3);
                QTimer::singleShot(800, &app, [&] {
                    if (!WPers->grab().save(QDir(out).filePath(QStringLiteral("person-card.png"))))
                        rc = 1;
                    CloseDatabaseTables();
                    app.quit();
                });
            });
        });
    });
    QTimer::singleShot(15000, &app, [&] { app.quit(); });
    app.exec();
    delete form;
    return rc;
}
