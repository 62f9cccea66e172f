// Writes a sample collection with captions, free fields and a memo:
//   tarvo-notessample <folder>     creates <folder>/Sammlung.tarvo
// then `tarvo <folder>/Sammlung.tarvo` opens it, F6 shows the attachment.
#include "app/settings.h"
#include "data/database.h"
#include "data/databasefiles.h"
#include "engine/table.h"
#include "kit/scriptedpresenter.h"
#include "platform/registry.h"
#include "program/programdialogs.h"

#include <QApplication>
#include <QDir>
#include <QTemporaryDir>

int main(int argc, char **argv)
{
    QApplication app(argc, argv);
    if (argc < 2)
        return 2;
    const QString folder = QString::fromLocal8Bit(argv[1]);
    QDir().mkpath(folder);
    QTemporaryDir tmp;
    kit::ScriptedPresenter presenter;
    ProgramDialogs dialogs;
    platform::setUserRegistryFile(tmp.filePath(QStringLiteral("config/user.reg")));
    platform::setMachineRegistryFiles(tmp.filePath(QStringLiteral("nosys/machine.reg")),
                                      tmp.filePath(QStringLiteral("config/machine.reg")));
    InitSettingsDefaults(QStringLiteral(TARVO_PROGDIR) + QLatin1Char('/'));
    if (!CreateDatabaseFiles(QDir(folder).filePath(QStringLiteral("Sammlung")), true, true))
        return 1;
    const QString base = QDir(folder).filePath(QStringLiteral("Sammlung")) + QLatin1Char('/');
    engine::Table lab;
    lab.setTableName(base + QStringLiteral("DB/LAB.DB"));
    lab.open();
    const char *captions[5] = {"&Standort", "&Gekauft bei", "&Preis", "&Cover (Datei)", "&Zustand"};
    for (int nr = 1; nr <= 5; ++nr) {
        if (lab.locate(QStringLiteral("ANH;FreeNr"), QVariantList{QStringLiteral("KASS"), nr}))
            lab.edit();
        else
            lab.append();
        lab.fieldByName(QStringLiteral("ANH"))->setAsString(QStringLiteral("KASS"));
        lab.fieldByName(QStringLiteral("FreeNr"))->setAsInteger(nr);
        lab.fieldByName(QStringLiteral("Label"))->setAsString(QString::fromUtf8(captions[nr - 1]));
        lab.fieldByName(QStringLiteral("FreeIsFL"))->setAsBoolean(nr == 4);
        lab.fieldByName(QStringLiteral("FreeIsPerson"))->setAsBoolean(false);
        lab.post();
    }
    lab.close();
    engine::Table m;
    m.setTableName(MediaTablePath(base));
    m.open();
    // The new database's first medium gets the attachment.
    m.first();
    if (m.eof()) {
        m.append();
        m.fieldByName(QStringLiteral("Medium"))->setAsString(QStringLiteral("VHS-SB"));
        m.fieldByName(QStringLiteral("Nr"))->setAsInteger(1);
        m.fieldByName(QStringLiteral("Len"))->setAsInteger(240);
    } else {
        m.edit();
    }
    m.fieldByName(QStringLiteral("Free1"))->setAsString(QStringLiteral("Regal 3, oben"));
    m.fieldByName(QStringLiteral("Free2"))->setAsString(QStringLiteral("Flohmarkt Nord"));
    m.fieldByName(QStringLiteral("Free3"))->setAsString(QStringLiteral("2,50 €"));
    m.fieldByName(QStringLiteral("Free4"))->setAsString(QStringLiteral("VHS-SB-Nr1/cover.jpg"));
    m.fieldByName(QStringLiteral("Free5"))->setAsString(QStringLiteral("gut"));
    m.fieldByName(QStringLiteral("Memo"))->setAsString(
        QStringLiteral("Aufgenommen im Sommer 1994 vom Fernsehen.\r\nBand läuft am Anfang etwas unruhig, "
                       "danach einwandfrei.\r\nHülle mit handgeschriebenem Etikett."));
    m.post();
    m.close();
    return 0;
}
