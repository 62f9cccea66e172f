// "Datensicherung / Rücksicherung": copying the open database to a chosen
// folder, or a backup back into the default database folder.
#pragma once

#include "kit/oberformmetal.h"

class QFileSystemModel;
class QLabel;
class QListWidget;
class QTreeView;
class TOzoNewButton;

class TDBackupRestore : public tOzoFormMetal
{
    Q_OBJECT
public:
    // databaseOpen enables the backup buttons; startFolder is shown first.
    TDBackupRestore(bool databaseOpen, const QString &startFolder, QWidget *parent = nullptr);

    // The folder chosen in the tree.
    QString CurrentFolder() const { return m_folder; }
    void SetCurrentFolder(const QString &folder);
    // The backup chosen in the file list (its full path), empty when none.
    QString SelectedFile() const;
    // "Neuer Ordner...": asks the name and makes the folder in the current one.
    void NewFolderClick();

    QLabel *Label1, *Label2, *LabelFolder;
    QTreeView *DirectoryListBox1;
    QListWidget *FileListBox1;
    TOzoNewButton *OzoNewButton3, *ButtBackup, *ButtRestore, *OzoNewButton1, *OzoNewButton2;

private:
    void refreshFiles();
    void showFolderInTree();
    void selectionChanged();

    QFileSystemModel *m_model;
    QString m_folder;
};

// The whole command: dialog, questions, copy, the tables closed meanwhile
// and reopened afterwards.
void ExecBackupRestore();

// Copies the database at source to target (both bases without ".tarvo"):
// the tables are closed meanwhile, the free space is checked first, the
// user told to wait. True when everything was copied; *declined tells that
// the user chose not to copy.
bool BackupDatabase(const QString &source, const QString &target, bool *declined = nullptr);
