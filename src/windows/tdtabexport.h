// "Tabelle exportieren": the target file and the options of the table
// export. The option groups follow the format of the chosen file name.
#pragma once

#include "exchange/tableexport.h"
#include "kit/oberformmetal.h"

class QGroupBox;
class QLabel;
class QLineEdit;
class TOzoCheck;
class TOzoNewButton;
class TPZLabel;

class TDTabExport : public tOzoFormMetal
{
    Q_OBJECT
public:
    explicit TDTabExport(QWidget *parent = nullptr);

    // The XML option of one file for media and films, for the media grid.
    void SetCombinedAllowed(bool on);
    // The web-search column needs the configured search sites.
    void SetWebSearchAvailable(bool on);
    // Takes a chosen file: the box shows it, OK and the groups follow its format.
    void SetFileName(const QString &fileName);

    QString FileName() const { return FFileName; }
    bool DosCharset() const;
    bool UseFieldNames() const;
    int BoolStyle() const;
    QChar Separator() const;
    bool HtmlEmptyBr() const;
    bool DifBoolAsText() const;
    bool XmlCombined() const;
    bool XmlMemos() const;
    bool HtmlWebSearch() const;
    TableExportOptions Options() const;

    TPZLabel *PZLabel1;     // the introduction
    QLabel *LabelFile;
    QLineEdit *EditFile;    // "Zieldatei", read-only
    TOzoNewButton *ButtonFile;
    QGroupBox *GroupCharset;
    TOzoCheck *RadioAnsi, *RadioDos;
    QGroupBox *GroupSeparator;
    TOzoCheck *RadioTab, *RadioOther;
    QLineEdit *EditSeparator;
    QGroupBox *GroupLabels;
    TOzoCheck *RadioCaptions, *RadioFieldNames;
    QGroupBox *GroupBool;
    TOzoCheck *RadioBool0, *RadioBool1, *RadioBool2, *RadioBool3;
    TOzoCheck *CheckHtmlBr, *CheckDifText, *CheckXmlCombined, *CheckXmlMemos, *CheckWebSearch;
    TOzoNewButton *BitBtnHelp, *BitBtnOK, *BitBtnCancel;

private:
    void ButtonFileClick();
    void BoolStyleChange();
    void DifTextChange();
    void EnableGroups();

    QString FFileName;
    bool FCombinedAllowed = false;
    bool FWebSearchAvailable = false;
};

// Runs the dialog; true when it was closed with OK.
bool ExecTabExportDialog(TDTabExport &dialog, bool combinedAllowed);
