#include "windows/cards/freefieldcaptions.h"

#include "app/appmessage.h"
#include "app/apppaths.h"
#include "app/settings.h"
#include "data/categories.h"
#include "data/database.h"
#include "data/freefieldlinks.h"
#include "engine/session.h"
#include "engine/table.h"
#include "kit/msgboxmetal.h"

#include <QDesktopServices>
#include <QFileInfo>
#include <QUrl>


void InstallFreeFieldCaptions()
{
    if (!DBTables.TableLAB) {
        // The session is made first so that it outlives the table at exit.
        engine::Session::instance();
        static engine::Table lab;
        lab.setName(QStringLiteral("TableLAB"));
        DBTables.TableLAB = &lab;
    }
}

void LoadDatabaseCategories()
{
    CategoryTable = TCategoryTable{};
    LoadCategories(CategoryFilePath(DBBase));
}

engine::Table *CaptionTable()
{
    engine::Table *lab = DBTables.TableLAB;
    if (!lab || DBBase.isEmpty())
        return nullptr;
    // A database switch may have left it on the previous database.
    if (lab->active() && lab->tableName() != CaptionTablePath(DBBase))
        lab->close();
    if (!lab->active() && OpenCaptionTable(*lab, DBBase))
        RepairLabelPrimaryIndex(*lab, UserMessageSink());
    return lab;
}

QString CurrentMediumKind()
{
    engine::Table *t = DBTables.Table1;
    if (!t || !t->active())
        return {};
    engine::Field *f = t->findField(QStringLiteral("Medium"));
    return f ? f->asString().left(6) : QString();
}

bool LoadFreeFieldLabelsNow()
{
    engine::Table *lab = CaptionTable();
    if (!lab)
        return false;
    const bool ok = LoadFreeFieldLabels(*lab, DBBase, CurrentMediumKind(), PersonLabelsPath(PersBase),
                                        UserMessageSink());
    ApplyAllFreeFieldLabels();
    return ok;
}

void ReloadMediumFreeFieldLabels()
{
    if (engine::Table *lab = CaptionTable())
        LoadMediumFreeFieldLabels(*lab, DBBase, CurrentMediumKind(), UserMessageSink());
    ApplyMediumFreeFieldLabels();
}

bool SaveFreeFieldLabelsNow(const QString &set)
{
    engine::Table *lab = CaptionTable();
    if (!lab)
        return false;
    return SaveFreeFieldLabels(*lab, DBBase, set, PersonLabelsPath(PersBase), UserMessageSink());
}

void ShowUserMessage(const TUserMessage &m)
{
    if (m.box != TUserMessage::SystemBox) {
        ShowMetalMessage(m.caption, m.text, m.box == TUserMessage::MetalLiteral);
        return;
    }
    AppMessage(m.text, m.caption,
               m.icon == TUserMessage::Error ? platform::MessageIcon::Error : platform::MessageIcon::Information);
}

TMessageSink UserMessageSink()
{
    return [](const TUserMessage &m) { ShowUserMessage(m); };
}

void OpenLinkedFile(const QString &storedLink)
{
    if (storedLink.isEmpty())
        return;
    const QString path = ExpandLinkPath(storedLink);
    int code = -1;
    const QFileInfo fi(path);
    if (!fi.exists())
        code = QFileInfo(fi.absolutePath()).isDir() ? 2 : 3;
    else if (!QDesktopServices::openUrl(QUrl::fromLocalFile(fi.absoluteFilePath())))
        code = 11; // no program for it
    const QString text = OpenLinkErrorText(code);
    if (!text.isEmpty())
        AppMessage(text, QStringLiteral("Fehler"), platform::MessageIcon::Error);
}
