#include "windows/queries/querycommands.h"

#include "kit/msgboxmetal.h"
#include "kit/presenter.h"
#include "query/storedquery.h"
#include "windows/queries/dabfragedef.h"
#include "windows/queries/dqbe.h"
#include "windows/queries/dsuchefilm.h"
#include "windows/dialogs/dverleiheinst.h"
#include "windows/main/dverlsuche.h"
#include "windows/queries/dwertungsuche.h"
#include "windows/main/mainform.h"
#include "windows/main/mainmenus.h"
#include "windows/queries/queryform.h"

#include <QFileInfo>

QStringList QuerySlotLines(const QString &sql)
{
    QString text = sql;
    text.replace(QStringLiteral("\r\n"), QStringLiteral("\n"));
    const QStringList lines = text.split(QLatin1Char('\n'));
    const QString only = lines.size() == 1 ? lines[0].trimmed() : QString();
    if (only.endsWith(QLatin1String(".SQL"), Qt::CaseInsensitive) && QFileInfo(only).isFile()) {
        QString error;
        const auto fileLines = query::ReadStoredQuery(only, &error);
        if (!fileLines) {
            ShowMetalMessage(QStringLiteral("Fehler"),
                             QStringLiteral("Die Abfragedatei \"%1\" konnte nicht gelesen werden:\\lb%2")
                                 .arg(only, error));
            return {};
        }
        return *fileLines;
    }
    return lines;
}

bool ChooseStoredQuery(QWidget *owner, QString &fileName, QString &sql)
{
    kit::FileRequest req;
    req.caption = QStringLiteral("Gespeicherte Abfrage als Menüpunkt");
    req.folder = DAbfrageDef && !DAbfrageDef->LastFolder.isEmpty() ? DAbfrageDef->LastFolder : StoredQueryFolder();
    req.filter = QStringLiteral("Local SQL Abfragetext (*.SQL *.sql)");
    req.parent = owner;
    const QString name = kit::chooseFile(req);
    if (name.isEmpty())
        return false;
    QString error;
    const auto lines = query::ReadStoredQuery(name, &error);
    if (!lines) {
        ShowMetalMessage(QStringLiteral("Fehler"),
                         QStringLiteral("Die Abfragedatei \"%1\" konnte nicht gelesen werden:\\lb%2").arg(name, error));
        return false;
    }
    fileName = name;
    sql = lines->join(QStringLiteral("\r\n"));
    return true;
}

void WireQueryCommands(TMainform &f, TMainMenus &menus, const TWireCommand &wire)
{
    wire("GespeicherteAbfrage1", [&f] { ExecQueryDefinition(true, QString(), &f); });
    wire("Abfragedefinierentabellarisch1", [&f] { ExecQBE(&f); });
    wire("SucheFilmLokalisieren1", [&f] { ExecFindFilm(&f); });
    wire("SucheFilmeAbfrage1", [&f] { ExecQueryFilmSearch(&f); });
    wire("WertungsSuche1", [&f] { ExecRatingSearch(&f); });
    wire("VerlieheneMedien1", [&f] { ExecLendingSearch(&f); });
    wire("Verleiheinstellungen1", [&f] { ExecLendingSettings(&f); });
    menus.ExecStoredQueryDialog = [&f](QString &fileName, QString &sql) { return ChooseStoredQuery(&f, fileName, sql); };
    menus.RunQuerySQL = [&f](const QString &sql) {
        const QStringList lines = QuerySlotLines(sql);
        if (!lines.isEmpty())
            ExecQueryStatement(lines, &f);
    };
    menus.ShowFreeQueryMenu();
}
