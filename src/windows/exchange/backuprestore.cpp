#include "windows/exchange/backuprestore.h"

#include "app/apppaths.h"
#include "app/settings.h"
#include "data/backup.h"
#include "data/database.h"
#include "engine/table.h"
#include "kit/enterexitbutton.h"
#include "kit/help.h"
#include "kit/inpboxmetal.h"
#include "kit/msgboxmetal.h"
#include "kit/presenter.h"
#include "kit/waitbox.h"
#include "windows/dialogs/dialogparts.h"

#include <QDir>
#include <QFileInfo>
#include <QFileSystemModel>
#include <QHeaderView>
#include <QLabel>
#include <QListWidget>
#include <QTreeView>

namespace {

constexpr int hcBackupRestore = 150;

QString withoutSeparator(QString s)
{
    while (s.size() > 1 && s.endsWith(QLatin1Char('/')))
        s.chop(1);
    return s;
}

bool databaseOpen()
{
    return DBTables.Table1 && DBTables.Table1->active() && !DBBase.isEmpty();
}

QString lastFolder;

} // namespace

TDBackupRestore::TDBackupRestore(bool databaseOpen, const QString &startFolder, QWidget *parent)
    : tOzoFormMetal(parent)
{
    setObjectName(QStringLiteral("DBackupRestore"));
    BorderStyle = bsDialog;
    BorderIcons = biSystemMenu;
    resize(540, 392);
    Label1 = MakeDialogLabel(this, QStringLiteral("Label1"), QStringLiteral("Laufwerk & Verzeichnis für Backup"),
                             QRect(12, 12, 260, 17));
    Label2 = MakeDialogLabel(this, QStringLiteral("Label2"), QStringLiteral("Vorhandene Datenbankdateien"),
                             QRect(284, 12, 244, 17));
    m_model = new QFileSystemModel(this);
    m_model->setFilter(QDir::AllDirs | QDir::NoDotAndDotDot | QDir::Drives);
    m_model->setRootPath(QStringLiteral("/"));
    DirectoryListBox1 = new QTreeView(this);
    DirectoryListBox1->setObjectName(QStringLiteral("DirectoryListBox1"));
    DirectoryListBox1->setGeometry(12, 32, 260, 276);
    DirectoryListBox1->setModel(m_model);
    for (int c = 1; c < m_model->columnCount(); ++c)
        DirectoryListBox1->hideColumn(c);
    DirectoryListBox1->header()->hide();
    FileListBox1 = new QListWidget(this);
    FileListBox1->setObjectName(QStringLiteral("FileListBox1"));
    FileListBox1->setGeometry(284, 32, 244, 276);
    OzoNewButton3 = MakeDialogButton(this, "OzoNewButton3", ibkOther, QRect(12, 316, 140, 25),
                                     QStringLiteral("Neuer Ordner..."));
    ButtBackup = MakeDialogButton(this, "ButtBackup", ibkOther, QRect(12, 356, 124, 25), QStringLiteral("Daten sichern"));
    ButtBackup->ModalResult = mrYes;
    ButtBackup->setEnabled(databaseOpen);
    ButtRestore = MakeDialogButton(this, "ButtRestore", ibkOther, QRect(144, 356, 124, 25),
                                   QStringLiteral("Zurückspielen"));
    ButtRestore->ModalResult = mrNo;
    ButtRestore->setEnabled(false);
    OzoNewButton1 = MakeDialogButton(this, "OzoNewButton1", ibkHelp, QRect(320, 356, 100, 25), QStringLiteral("Hilfe"));
    OzoNewButton2 = MakeDialogButton(this, "OzoNewButton2", ibkCancel, QRect(428, 356, 100, 25),
                                     QStringLiteral("Abbruch"));
    LabelFolder = MakeDialogLabel(this, QStringLiteral("LabelFolder"), QString(), QRect(160, 320, 368, 17));
    LabelFolder->setTextFormat(Qt::PlainText);
    // The model reads folders in the background: once the folders on the
    // way to the chosen one are there, it is shown.
    connect(m_model, &QFileSystemModel::directoryLoaded, this, [this](const QString &path) {
        if (m_folder == path || m_folder.startsWith(path.endsWith(QLatin1Char('/')) ? path : path + QLatin1Char('/')))
            showFolderInTree();
    });
    connect(OzoNewButton3, &QAbstractButton::clicked, this, [this] { NewFolderClick(); });
    connect(OzoNewButton1, &QAbstractButton::clicked, this, [] { kit::showHelp(hcBackupRestore); });
    connect(DirectoryListBox1->selectionModel(), &QItemSelectionModel::currentChanged, this,
            [this](const QModelIndex &cur) {
                if (cur.isValid()) {
                    m_folder = m_model->filePath(cur);
                    refreshFiles();
                }
            });
    connect(FileListBox1, &QListWidget::itemSelectionChanged, this, [this] { selectionChanged(); });
    Create();
    SetCaption(QStringLiteral("Datensicherung / Rücksicherung"));
    SetCurrentFolder(startFolder);
}

void TDBackupRestore::SetCurrentFolder(const QString &folder)
{
    m_folder = QDir::cleanPath(QFileInfo(folder).absoluteFilePath());
    showFolderInTree();
    refreshFiles();
}

void TDBackupRestore::showFolderInTree()
{
    const QModelIndex index = m_model->index(m_folder);
    if (!index.isValid())
        return;
    const QSignalBlocker block(DirectoryListBox1->selectionModel());
    DirectoryListBox1->setCurrentIndex(index);
    DirectoryListBox1->scrollTo(index, QAbstractItemView::PositionAtCenter);
}

QString TDBackupRestore::SelectedFile() const
{
    const QListWidgetItem *item = FileListBox1->currentItem();
    if (!item || !item->isSelected())
        return QString();
    return QDir(m_folder).filePath(item->text());
}

void TDBackupRestore::refreshFiles()
{
    LabelFolder->setText(m_folder);
    FileListBox1->clear();
    const QStringList files =
        QDir(m_folder).entryList({QStringLiteral("*.tarvo")}, QDir::Files | QDir::Readable, QDir::Name | QDir::IgnoreCase);
    FileListBox1->addItems(files);
    selectionChanged();
}

void TDBackupRestore::selectionChanged()
{
    ButtRestore->setEnabled(!SelectedFile().isEmpty());
}

void TDBackupRestore::NewFolderClick()
{
    QString name = QStringLiteral("Neuer Ordner");
    if (!MetalInputBox(QStringLiteral("Neuen Ordner anlegen"), QStringLiteral("Ordnername:"), name))
        return;
    name = name.trimmed();
    if (name.isEmpty() || name.contains(QLatin1Char('/')) || name == QLatin1String(".") || name == QLatin1String("..")) {
        ShowMetalMessage(QStringLiteral("Fehler"), QStringLiteral("Ungültiger Ordnername: ") + name, true);
        return;
    }
    const QString path = QDir(m_folder).filePath(name);
    if (!QDir().mkpath(path)) {
        ShowMetalMessage(QStringLiteral("Fehler"), QStringLiteral("Der Ordner kann nicht angelegt werden: ") + path, true);
        return;
    }
    SetCurrentFolder(path);
}

bool BackupDatabase(const QString &source, const QString &target, bool *declined)
{
    if (declined)
        *declined = false;
    TWaitbox *wait = ShowWaitBox(QStringLiteral("Kopieren der Datenbank läuft..."), QStringLiteral("Vorbereiten..."));
    CloseDatabaseTables();
    const qint64 need = BackupNeed(source);
    const qint64 free = BackupFree(target);
    bool ok = false;
    bool copy = true;
    if (need > free) {
        const QString text =
            QStringLiteral("Am Zielort (%1) steht nicht genügend Platz zur Verfügung! \r\n"
                           "Es sind %2 Bytes frei, benötigt werden aber %3 Bytes.\r\n"
                           "Die Daten werden also nicht auf den Zieldatenträger passen, außer möglicherweise, wenn "
                           "dort schon eine ältere Datensicherung liegt, die hiermit ersetzt wird.\r\n"
                           "Soll Tarvo dennoch versuchen, die Dateien zu kopieren?")
                .arg(QFileInfo(target).absolutePath())
                .arg(free)
                .arg(need);
        copy = kit::messageBox(text, QStringLiteral("Zieldatenträger zu klein!"), kit::MsgButtons::YesNo,
                               kit::BoxIcon::Warning, 1)
            == mrYes;
        if (!copy && declined)
            *declined = true;
    }
    QString error;
    if (copy) {
        // A set that would not open is never put in place of a database.
        SetWaitBoxText(wait, QStringLiteral("Prüfen der Tabellen..."));
        const QString damage = CheckDatabaseSet(source);
        if (!damage.isEmpty()) {
            error = QStringLiteral("Die zu kopierende Datenbank \"%1\" ist unvollständig oder beschädigt:\r%2\rAm Ziel \"%3\" "
                                   "wurde nichts verändert.")
                        .arg(QDir::toNativeSeparators(source), damage, QDir::toNativeSeparators(target));
            copy = false;
        }
    }
    if (copy) {
        SetWaitBoxText(wait, QStringLiteral("Dateien werden kopiert..."));
        int lastPercent = -1;
        ok = CopyDatabaseFiles(source, target,
                               [&](qint64 done, qint64 total) {
                                   const int percent = total > 0 ? int(done * 100 / total) : 100;
                                   if (percent != lastPercent) {
                                       lastPercent = percent;
                                       SetWaitBoxText(wait, QStringLiteral("Dateien werden kopiert... %1 %").arg(percent));
                                   }
                                   return true;
                               },
                               &error);
    }
    SetWaitBoxText(wait, QStringLiteral("Fertigstellen..."));
    const QString reopenError = ReopenDatabaseTables();
    CloseWaitBox(wait);
    if (!error.isEmpty())
        ShowMetalMessage(QStringLiteral("Fehler"), error, true);
    if (!reopenError.isEmpty())
        ShowMetalMessage(QStringLiteral("Datenbank-Fehler"), reopenError, true);
    return ok;
}

void ExecBackupRestore()
{
    const bool open = databaseOpen();
    QString source = open ? withoutSeparator(DBBase) : QString();
    if (lastFolder.isEmpty() || !QFileInfo(lastFolder).isDir())
        lastFolder = QDir::homePath();
    TDBackupRestore dlg(open, lastFolder);
    const TModalResult r = ExecMetalModal(dlg);
    if (r != mrYes && r != mrNo)
        return;
    lastFolder = dlg.CurrentFolder();
    QString target;
    if (r == mrYes) {
        if (!open)
            return;
        target = QDir(dlg.CurrentFolder()).filePath(QFileInfo(source).fileName());
    } else {
        const QString file = dlg.SelectedFile();
        if (file.isEmpty())
            return;
        source = file.left(file.size() - 6);
        target = withoutSeparator(ExpandDBPath(QFileInfo(source).fileName()));
        if (kit::messageBox(QStringLiteral("Die gewählte Datenbank wird in den Tarvo-Datenbank-Standardordner "
                                           "zurückgespielt.\rExakter Zielpfad ist: ")
                                + target,
                            QStringLiteral("Bestätigen!"), kit::MsgButtons::OkCancel, kit::BoxIcon::Warning)
            != mrOk)
            return;
    }
    const QString refusal = BackupTargetRefusal(source, target);
    if (!refusal.isEmpty()) {
        ShowMetalMessage(QStringLiteral("Fehler"), refusal, true);
        return;
    }
    if (BackupIsOlder(source, target)
        && kit::messageBox(QStringLiteral("Im Zielverzeichnis existiert bereits eine gleichnamige Datenbank welche "
                                          "NEUERE Daten enthält! Durch ein Zurückspielen der Sicherung würden diese "
                                          "hiermit ÜBERSCHRIEBEN!! Wollen Sie das wirklich?"),
                           QStringLiteral("WARNUNG!"), kit::MsgButtons::YesNo, kit::BoxIcon::Warning)
               != mrYes)
        return;
    if (kit::messageBox(QStringLiteral("Kopiert werden soll:\r") + source + QStringLiteral("\rnach:\r") + target,
                        QStringLiteral("Kopiervorgang bestätigen"), kit::MsgButtons::OkCancel)
        != mrOk)
        return;
    bool declined = false;
    if (BackupDatabase(source, target, &declined))
        ShowMetalMessage(QStringLiteral("Backup abgeschlossen"),
                         QStringLiteral("Alle vorhandenen Dateien wurden erfolgreich kopiert.\\lb\\lbZur Probe können "
                                        "Sie die gesicherte Datei in Tarvo öffnen (per \"Datei / Öffnen\" oder per "
                                        "Doppelklick im Dateimanager)."));
    else if (!declined)
        kit::messageBox(QStringLiteral("Die Dateien konnten nicht fehlerfrei kopiert werden!"), QStringLiteral("Fehler"),
                        kit::MsgButtons::Ok, kit::BoxIcon::Error);
}
