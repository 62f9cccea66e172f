// Opens a sample collection in a temporary folder, runs a free query in the
// query window and shows its pie chart, then the example grid, the statement
// editor and the lending search; saves the screen after each step:
//   tarvo-queryscreens <folder>
#include "app/settings.h"
#include "data/database.h"
#include "data/tableschemas.h"
#include "engine/query.h"
#include "engine/table.h"
#include "engine/tablefile.h"
#include "kit/kitfiles.h"
#include "kit/oberformmetal.h"
#include "kit/scriptedpresenter.h"
#include "platform/registry.h"
#include "platform/textfile.h"
#include "windows/main/mainform.h"
#include "windows/queries/dabfragedef.h"
#include "windows/queries/dqbe.h"
#include "windows/main/dverlsuche.h"
#include "windows/queries/queryform.h"
#include "windows/queries/wdiagram.h"

#include <QApplication>
#include <QDir>
#include <QScreen>
#include <QTemporaryDir>
#include <QTimer>

namespace {

struct SampleFilm {
    const char *titel;
    int len;
    const char *kateg;
};

void addMedium(const QString &base, const QString &kind, int nr, int len, const QList<SampleFilm> &films)
{
    engine::Table m;
    m.setTableName(MediaTablePath(base));
    m.open();
    m.append();
    m.fieldByName(QStringLiteral("Medium"))->setAsString(kind);
    m.fieldByName(QStringLiteral("Nr"))->setAsInteger(nr);
    m.fieldByName(QStringLiteral("Len"))->setAsInteger(len);
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
        f.fieldByName(QStringLiteral("Len"))->setAsInteger(x.len);
        f.fieldByName(QStringLiteral("Kateg"))->setAsString(QLatin1String(x.kateg));
        f.post();
    }
    f.close();
}

bool saveScreen(const QString &file)
{
    return QGuiApplication::primaryScreen()->grabWindow(0).save(file);
}

} // namespace

int main(int argc, char **argv)
{
    QApplication app(argc, argv);
    const QString out = argc > 1 ? QString::fromLocal8Bit(argv[1]) : QStringLiteral(".");
    QTemporaryDir tmp;
    kit::ScriptedPresenter presenter;
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
    // Categories 1 to 4 by name, so the statement can use them.
    QStringList kat;
    for (const char *n : {"Krimi", "Drama", "Science Fiction", "Komödie"})
        kat << QString::fromUtf8(n) << QString();
    platform::writeTextLines(base + QStringLiteral("DB/KAT"), kat);
    addMedium(base, QStringLiteral("VHS-SB"), 1, 240,
              {{"Casablanca", 98, "2"}, {"Der dritte Mann", 104, "1"}, {"M", 105, "1"}});
    addMedium(base, QStringLiteral("VHS-SB"), 2, 360,
              {{"Metropolis", 148, "3"}, {"Das Boot", 102, "2"}, {"Der Himmel über Berlin", 122, "2"}});
    addMedium(base, QStringLiteral("DVD"), 1, 0, {{"Lola rennt", 81, "2"}, {"Alien", 112, "3"}});
    addMedium(base, QStringLiteral("DVD"), 2, 0, {{"Manche mögen's heiß", 120, "4"}, {"Brazil", 132, "3"}});

    DBBase = base;
    auto *form = CreateForm<TMainform>();
    Mainform = form;
    OpenDatabaseTablesAtStart(base, base + QStringLiteral("DB/Pers"));
    form->move(20, 20);
    form->show();
    TQueryForm *q = EnsureQueryForm(form);
    q->Query1->setSql({"SELECT Kateg, COUNT(*), SUM(Len) FROM FILM", "GROUP BY Kateg"});
    q->RunQuery();
    q->resize(560, 360);
    q->move(260, 140);
    int rc = 0;
    QTimer::singleShot(1500, &app, [&] {
        rc |= saveScreen(QDir(out).filePath(QStringLiteral("query-window.png"))) ? 0 : 1;
        q->ChartClick(query::ChartKind::Pie);
        if (WDiagram)
            WDiagram->move(340, 100);
    });
    TDQBE *qbe = nullptr;
    TDVerlSuche *lending = nullptr;
    QTimer::singleShot(3000, &app, [&] {
        rc |= saveScreen(QDir(out).filePath(QStringLiteral("query-pie-chart.png"))) ? 0 : 1;
        CloseChartWindow();
        // The example grid: titles and lengths of the DVDs, longest first.
        qbe = CreateForm<TDQBE>(form);
        qbe->SetSource(1);
        for (QString &sel : qbe->Grid.selection)
            sel.clear();
        qbe->Grid.selection[int(qbe->Grid.fields.indexOf("Titel"))] = QStringLiteral("X");
        qbe->Grid.selection[int(qbe->Grid.fields.indexOf("Len"))] = QStringLiteral("<");
        qbe->Grid.rows[0][int(qbe->Grid.fields.indexOf("Medium"))] = QStringLiteral("DVD");
        qbe->Grid.rows[1][int(qbe->Grid.fields.indexOf("Len"))] = QStringLiteral("> 120");
        qbe->ShowGrid();
        qbe->move(60, 60);
        qbe->show();
    });
    QTimer::singleShot(4500, &app, [&] {
        rc |= saveScreen(QDir(out).filePath(QStringLiteral("query-by-example.png"))) ? 0 : 1;
        TDAbfrageDef *editor = EnsureAbfrageDef(form, false);
        editor->SetLines(qbe->BuildStatement(false));
        qbe->hide();
        editor->move(80, 60);
        editor->show();
    });
    QTimer::singleShot(6000, &app, [&] {
        rc |= saveScreen(QDir(out).filePath(QStringLiteral("query-editor.png"))) ? 0 : 1;
        FreeAbfrageDef();
        lending = CreateForm<TDVerlSuche>(form);
        lending->move(120, 120);
        lending->show();
    });
    QTimer::singleShot(7500, &app, [&] {
        rc |= saveScreen(QDir(out).filePath(QStringLiteral("lending-search.png"))) ? 0 : 1;
        delete lending;
        delete qbe;
        q->close();
        CloseDatabaseTables();
        app.quit();
    });
    QTimer::singleShot(20000, &app, [&] { app.quit(); });
    app.exec();
    delete QueryForm;
    delete form;
    return rc;
}
