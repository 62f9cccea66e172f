// "Tabelle exportieren": the target file and the options of the table
// export. The option groups follow the format of the chosen file name.
#pragma once

#include "exchange/tableexport.h"
#include "windows/exchange/exportdialog.h"

class TDTabExport : public TExportDialog
{
    Q_OBJECT
public:
    explicit TDTabExport(QWidget *parent = nullptr);

    // The XML option of one file for media and films, for the media grid.
    void SetCombinedAllowed(bool on);
    // The web-search column needs the configured search sites.
    void SetWebSearchAvailable(bool on);
    bool UseFieldNames() const;
    int BoolStyle() const;
    QChar Separator() const;
    bool HtmlEmptyBr() const;
    bool DifBoolAsText() const;
    bool XmlCombined() const;
    bool XmlMemos() const;
    bool HtmlWebSearch() const;
    TableExportOptions Options() const;

    QGroupBox *GroupSeparator;
    TOzoCheck *RadioTab, *RadioOther;
    QLineEdit *EditSeparator;
    QGroupBox *GroupLabels;
    TOzoCheck *RadioCaptions, *RadioFieldNames;
    QGroupBox *GroupBool;
    TOzoCheck *RadioBool0, *RadioBool1, *RadioBool2, *RadioBool3;
    TOzoCheck *CheckHtmlBr, *CheckDifText, *CheckXmlCombined, *CheckXmlMemos, *CheckWebSearch;

protected:
    // The option groups follow the format of the chosen name.
    void FileChanged() override { EnableGroups(); }

private:
    void BoolStyleChange();
    void DifTextChange();
    void EnableGroups();

    bool FCombinedAllowed = false;
    bool FWebSearchAvailable = false;
};

// Runs the dialog; true when it was closed with OK.
bool ExecTabExportDialog(TDTabExport &dialog, bool combinedAllowed);
