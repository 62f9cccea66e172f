// The web search dialog ("Internet-Suche"): the sites of "search.ini", the
// proposed term, and the search opened in the browser.
#pragma once

#include "kit/oberformmetal.h"
#include "online/websearch.h"

class QComboBox;
class QLabel;
class QLineEdit;
class QPlainTextEdit;
class TOzoNewButton;

namespace engine {
class DataSet;
}

class TDWebSuche : public tOzoFormMetal
{
    Q_OBJECT
public:
    explicit TDWebSuche(QWidget *parent = nullptr);

    QLabel *Label1, *LabelSite, *LabelSuchbegr, *LabelStart, *KeinHome;
    QComboBox *CBSite;
    QPlainTextEdit *Memo1;
    QLabel *WebLinkStart; // the site's start page, a link
    QLabel *WebLinkFind;  // hidden: the search address
    QLineEdit *EditSuchbegr;
    TOzoNewButton *OKButt, *SetupButt, *HelpButt, *CancelButt;

    TWebSearchSites Sites;

    // Reads the sites and the term of the record; false (after its message)
    // when there are none.
    bool ReadSites(const QString &kind, const engine::DataSet *record);

    void CBSiteChange();
    void EditSuchbegrChange();
    void OKButtClick();

protected:
    void FormShow() override;
};

// The dialog for a record kind ("Med", "Film", "Pers" or "-") and its data
// set; shown only when "search.ini" offers sites.
void ExecWebSearch(const QString &kind, const engine::DataSet *record);

// The error box for a "search.ini" that cannot be used.
void ShowWebSearchError(const TWebSearchError &error);
// Opens a web address in the browser; when none can be started, says so and
// shows the address, so that the user can take it over by hand. False then.
bool OpenWebSearchAddress(const QString &address);
