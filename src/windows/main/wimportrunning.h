// "Import läuft...": the borderless notice that stays on top in the middle
// of the desktop while an older database is transferred record by record.
#pragma once

#include <QWidget>

class TPZLabel;

class TWImportRunning : public QWidget
{
    Q_OBJECT
public:
    explicit TWImportRunning(QWidget *parent = nullptr);

    QWidget *Panel1 = nullptr;
    TPZLabel *PZLabel1 = nullptr; // "Import läuft..."
    TPZLabel *PZLabel2 = nullptr; // "Bitte haben Sie etwas Geduld!"
};

extern TWImportRunning *WImportRunning;

// Fills the import's door (exchange/importrunning.h): the window shows while
// an old database is imported.
void InstallOldDatabaseImport();
