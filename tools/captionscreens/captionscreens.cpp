// Opens the category editor "Kategorien festlegen" and the caption editor
// "Freie Felder einrichten" (film captions) on a sample collection in a
// temporary folder, one after the other, and saves a screenshot of each:
//   tarvo-captionscreens <folder>
#include "app/settings.h"
#include "data/categories.h"
#include "data/database.h"
#include "data/freefieldlabels.h"
#include "data/tableschemas.h"
#include "engine/table.h"
#include "engine/tablefile.h"
#include "kit/kitfiles.h"
#include "kit/scriptedpresenter.h"
#include "kit/textfit.h"
#include "platform/registry.h"
#include "windows/cards/categorydialogs.h"
#include "windows/cards/editlabels.h"
#include "windows/cards/freefieldcaptions.h"

#include <QApplication>
#include <QDir>
#include <QTemporaryDir>
#include <QTimer>

namespace {

void addFilm(engine::Table &f, int nr, const char *titel, const char *kateg)
{
    f.append();
    f.fieldByName(QStringLiteral("Medium"))->setAsString(QStringLiteral("DVD"));
    f.fieldByName(QStringLiteral("KassNr"))->setAsInteger(1);
    f.fieldByName(QStringLiteral("FilmNr"))->setAsInteger(nr);
    f.fieldByName(QStringLiteral("Titel"))->setAsString(QString::fromUtf8(titel));
    f.fieldByName(QStringLiteral("Kateg"))->setAsString(QLatin1String(kateg));
    f.post();
}

void addCaption(engine::Table &lab, int nr, const char *label, bool fl, bool person)
{
    lab.append();
    lab.fieldByName(QStringLiteral("ANH"))->setAsString(QStringLiteral("FILM"));
    lab.fieldByName(QStringLiteral("FreeNr"))->setAsInteger(nr);
    lab.fieldByName(QStringLiteral("Label"))->setAsString(QString::fromUtf8(label));
    lab.fieldByName(QStringLiteral("FreeIsFL"))->setAsBoolean(fl);
    lab.fieldByName(QStringLiteral("FreeIsPerson"))->setAsBoolean(person);
    lab.post();
}

// Shows the dialog like the program, saves its picture after a moment and
// closes it.
class Shooter : public kit::ScriptedPresenter
{
public:
    QString folder;
    QString nextName;
    bool ok = true;
    TModalResult execModal(QDialog &dialog, const kit::BoxInfo &info) override
    {
        if (nextName.isEmpty())
            return kit::ScriptedPresenter::execModal(dialog, info);
        const QString name = nextName;
        nextName.clear();
        dialog.move(60, 60);
        dialog.show();
        QTimer::singleShot(1200, &dialog, [&, name] {
            ok = dialog.grab().save(QDir(folder).filePath(name)) && ok;
            dialog.done(mrCancel);
        });
        return TModalResult(dialog.exec());
    }
};

} // namespace

int main(int argc, char **argv)
{
    QApplication app(argc, argv);
    kit::UseProgramFont();
    QTemporaryDir tmp;
    Shooter shooter;
    shooter.folder = argc > 1 ? QString::fromLocal8Bit(argv[1]) : QStringLiteral(".");
    platform::setUserRegistryFile(tmp.filePath(QStringLiteral("config/user.reg")));
    platform::setMachineRegistryFiles(tmp.filePath(QStringLiteral("nosys/machine.reg")),
                                      tmp.filePath(QStringLiteral("config/machine.reg")));
    SetKitProgramFolder(QStringLiteral(TARVO_PROGDIR));
    ReloadMetalClassData();
    InitSettingsDefaults(QStringLiteral(TARVO_PROGDIR) + QLatin1Char('/'));

    DBBase = tmp.filePath(QStringLiteral("Sammlung")) + QLatin1Char('/');
    PersBase = DBBase + QStringLiteral("DB/Pers");
    QDir().mkpath(DBBase + QStringLiteral("DB"));
    engine::createTableFile(MediaTablePath(DBBase), MediaTableDef());
    engine::createTableFile(FilmTablePath(DBBase), FilmTableDef());
    engine::createTableFile(CaptionTablePath(DBBase), CaptionTableDef());
    engine::Table films;
    films.setTableName(FilmTablePath(DBBase));
    films.open();
    addFilm(films, 1, "Casablanca", "4");
    addFilm(films, 2, "Lola rennt", "4");
    addFilm(films, 3, "Die Sendung mit der Maus", "9");
    DBTables.FilmTable = &films;

    InstallFreeFieldCaptions();
    engine::Table *lab = CaptionTable();
    addCaption(*lab, 1, "&Regie", false, true);
    addCaption(*lab, 2, "&Darsteller", false, true);
    addCaption(*lab, 3, "&Musik", false, true);
    addCaption(*lab, 4, "&Jahr", false, false);
    addCaption(*lab, 5, "&Land", false, false);
    addCaption(*lab, 6, "&Sprache", false, false);
    addCaption(*lab, 14, "&Internet-Seite", true, false);
    addCaption(*lab, 15, "&Kritik (Datei)", true, false);
    LoadFreeFieldLabelsNow();

    LoadCategories(QStringLiteral(TARVO_PROGDIR) + QStringLiteral("/Def60.KAT"));
    CategoryTable[10].name = QStringLiteral("Krimi");
    CategoryTable[10].font = TCategoryFont{QStringLiteral("DejaVu Serif"), 0x000080, 1 | 2};

    shooter.nextName = QStringLiteral("category-editor.png");
    {
        TDKatSymb editor(&films, nullptr);
        shooter.execModal(editor, kit::describeDialog(editor));
    }
    shooter.nextName = QStringLiteral("caption-editor.png");
    ExecEditLabels(false, false);
    films.close();
    return shooter.ok ? 0 : 1;
}
