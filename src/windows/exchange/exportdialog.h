// The frame the three export dialogs share: the introduction, the target
// file row ("Zieldatei", a read-only box and the button that opens the save
// dialog), the character set group and the Help, OK and Cancel buttons. OK
// stays disabled until a file was chosen.
#pragma once

#include "kit/oberformmetal.h"

class QGroupBox;
class QLabel;
class QLineEdit;
class TOzoCheck;
class TOzoNewButton;
class TPZLabel;

class TExportDialog : public tOzoFormMetal
{
    Q_OBJECT
public:
    // Takes a chosen file: the box shows it and OK is enabled.
    void SetFileName(const QString &fileName);
    QString FileName() const { return FFileName; }
    bool DosCharset() const;

    TPZLabel *PZLabel1;     // the introduction
    QLabel *LabelFile;
    QLineEdit *EditFile;    // "Zieldatei", read-only
    TOzoNewButton *ButtonFile;
    QGroupBox *GroupCharset;
    TOzoCheck *RadioAnsi, *RadioDos;
    TOzoNewButton *BitBtnHelp, *BitBtnOK, *BitBtnCancel;

protected:
    struct Layout {
        const char *name;
        int helpTag;
        QSize size;
        QString intro;
        QString emptyFile;  // the box's text before a file is chosen
        QString filter;     // of the save dialog
        QString suffix;     // its default extension
        int charsetWidth;
    };
    TExportDialog(QWidget *parent, const Layout &layout);
    // The chosen file changed (after the box and OK were updated).
    virtual void FileChanged() {}

private:
    QString FFileName;
    QString FEmptyFile, FFilter, FSuffix;
};

// Runs an export dialog modally; true when it was closed with OK and a file.
bool ExecExportDialog(TExportDialog &dialog);

// The user's documents folder, where the save dialog starts (the program
// folder may be read-only).
QString ExportStartFolder();
