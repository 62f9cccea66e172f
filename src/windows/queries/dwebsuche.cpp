#include "windows/queries/dwebsuche.h"

#include "app/apppaths.h"
#include "kit/enterexitbutton.h"
#include "kit/framewidgets.h"
#include "kit/help.h"
#include "kit/presenter.h"
#include "kit/pzspeedbutton.h"
#include "platform/inifile.h"
#include "windows/dialogs/dialogparts.h"
#include "windows/queries/dwebsucheeinst.h"
#include "windows/main/mainform.h"
#include "windows/main/mainmenus.h"

#include <QComboBox>
#include <QDesktopServices>
#include <QFileInfo>
#include <QLabel>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QUrl>

#include <memory>

namespace {

constexpr int hcWebSearch = 80;


} // namespace

void ShowWebSearchError(const TWebSearchError &error)
{
    kit::messageBox(error.text, error.caption, kit::MsgButtons::Ok, kit::BoxIcon::Error);
}

bool OpenWebSearchAddress(const QString &address)
{
    if (QDesktopServices::openUrl(QUrl(address, QUrl::TolerantMode)))
        return true;
    kit::messageBox(QStringLiteral("Die Seite konnte nicht geöffnet werden: Es ließ sich kein Browser starten.\r"
                                   "Sie können die Adresse selbst in einen Browser übernehmen:\r\r")
                        + address,
                    QStringLiteral("Internet-Suche"), kit::MsgButtons::Ok, kit::BoxIcon::Warning);
    return false;
}

TDWebSuche::TDWebSuche(QWidget *parent) : tOzoFormMetal(parent)
{
    setObjectName(QStringLiteral("DWebSuche"));
    BorderStyle = bsDialog;
    BorderIcons = biSystemMenu;
    resize(460, 330);
    Label1 = MakeDialogLabel(this, "Label1",
                   QStringLiteral("Hier können Sie im Internet nach Informationen zu Filmen, DVDs oder "
                                  "Schauspielern/Personen suchen. Es wird die ausgewählte Website in Ihrem Browser "
                                  "geöffnet."),
                   QRect(12, 8, 436, 48));
    Label1->setWordWrap(true);
    LabelSite = MakeDialogLabel(this, "LabelSite", QStringLiteral("Zu durchsuchende &Website"), QRect(12, 62, 436, 18));
    CBSite = new QComboBox(this);
    CBSite->setObjectName(QStringLiteral("CBSite"));
    CBSite->setGeometry(12, 82, 436, 24);
    LabelSite->setBuddy(CBSite);
    Memo1 = new QPlainTextEdit(this);
    Memo1->setObjectName(QStringLiteral("Memo1"));
    Memo1->setReadOnly(true);
    Memo1->setGeometry(12, 112, 436, 70);
    LabelStart = MakeDialogLabel(this, "LabelStart", QStringLiteral("Startseite:"), QRect(12, 190, 70, 18));
    WebLinkStart = MakeDialogLabel(this, "WebLinkStart", QString(), QRect(84, 190, 364, 18));
    WebLinkStart->setCursor(Qt::PointingHandCursor);
    WebLinkStart->setTextFormat(Qt::RichText);
    connect(WebLinkStart, &QLabel::linkActivated, this, [](const QString &href) { OpenWebSearchAddress(href); });
    KeinHome = MakeDialogLabel(this, "KeinHome", QStringLiteral("Keine Homepage bekannt."), QRect(12, 190, 436, 18));
    WebLinkFind = MakeDialogLabel(this, "WebLinkFind", QString(), QRect(12, 190, 10, 10));
    WebLinkFind->hide();
    LabelSuchbegr = MakeDialogLabel(this, "LabelSuchbegr", QStringLiteral("&Suchbegriff:"), QRect(12, 218, 436, 18));
    EditSuchbegr = new QLineEdit(this);
    EditSuchbegr->setObjectName(QStringLiteral("EditSuchbegr"));
    EditSuchbegr->setGeometry(12, 238, 436, 24);
    LabelSuchbegr->setBuddy(EditSuchbegr);
    HelpButt = MakeDialogButton(this, "HelpButt", ibkHelp, QRect(12, 282, 100, 25), QStringLiteral("Hilfe"));
    SetupButt = MakeDialogButton(this, "SetupButt", ibkOther, QRect(118, 282, 110, 25), QStringLiteral("Einstellungen..."));
    OKButt = MakeDialogButton(this, "OKButt", ibkOK, QRect(240, 282, 100, 25), QStringLiteral("Suchen"));
    OKButt->setDefault(true);
    CancelButt = MakeDialogButton(this, "CancelButt", ibkCancel, QRect(348, 282, 100, 25), QStringLiteral("Abbruch"));
    connect(CBSite, &QComboBox::currentIndexChanged, this, [this] { CBSiteChange(); });
    connect(EditSuchbegr, &QLineEdit::textChanged, this, [this] { EditSuchbegrChange(); });
    connect(OKButt, &QPushButton::clicked, this, [this] { OKButtClick(); });
    connect(SetupButt, &QPushButton::clicked, this, [] { ExecWebSearchSettings(); });
    connect(HelpButt, &QPushButton::clicked, this, [] { kit::showHelp(hcWebSearch); });
    connect(CancelButt, &QPushButton::clicked, this, [this] { done(mrCancel); });
    Create();
    SetCaption(QStringLiteral("Internet-Suche"));
    // The frame's icon is the glyph of the main window's web-search button.
    if (ImgSysM && Mainform && Mainform->Menus && !Mainform->Menus->SpBWeb->GetGlyph().isNull())
        ImgSysM->SetPicture(QPixmap::fromImage(Mainform->Menus->SpBWeb->GetGlyph()));
    EditSuchbegrChange();
}

bool TDWebSuche::ReadSites(const QString &kind, const engine::DataSet *record)
{
    TWebSearchError error;
    if (!ReadWebSearchSites(Sites, kind, record, &error)) {
        ShowWebSearchError(error);
        return false;
    }
    const QSignalBlocker block(CBSite);
    CBSite->clear();
    for (const TWebSearchSite &s : Sites.sites)
        CBSite->addItem(s.name);
    CBSite->setCurrentIndex(Sites.selected);
    EditSuchbegr->setText(Sites.term);
    CBSiteChange();
    return true;
}

void TDWebSuche::FormShow()
{
    tOzoFormMetal::FormShow();
    CBSiteChange();
}

void TDWebSuche::CBSiteChange()
{
    const int i = CBSite->currentIndex();
    if (i < 0 || i >= Sites.sites.size())
        return;
    Sites.selected = i;
    const TWebSearchSite &s = Sites.sites.at(i);
    Memo1->setPlainText(s.description);
    Memo1->moveCursor(QTextCursor::Start);
    // Secure start pages count as web addresses too.
    const bool home = IsWebAddress(s.home);
    WebLinkStart->setText(QStringLiteral("<a href=\"%1\">%2</a>").arg(s.home.toHtmlEscaped(), s.home.toHtmlEscaped()));
    WebLinkStart->setVisible(home);
    LabelStart->setVisible(home);
    KeinHome->setVisible(!home);
}

void TDWebSuche::EditSuchbegrChange()
{
    OKButt->setEnabled(!EditSuchbegr->text().isEmpty());
}

void TDWebSuche::OKButtClick()
{
    Sites.term = EditSuchbegr->text();
    const QString address = WebSearchUrl(Sites);
    WebLinkFind->setText(address);
    OpenWebSearchAddress(address);
    if (QFileInfo(Sites.fileName).isFile()) {
        platform::IniFile ini(Sites.fileName);
        if (ini.load()) {
            ini.writeInteger(QStringLiteral("Setup"), QStringLiteral("Default"), CBSite->currentIndex() + 1);
            ini.save();
        }
    }
}

void ExecWebSearch(const QString &kind, const engine::DataSet *record)
{
    auto dlg = std::unique_ptr<TDWebSuche>(CreateForm<TDWebSuche>());
    if (!dlg->ReadSites(kind, record))
        return;
    DeactivateMetalForm();
    kit::execDialog(*dlg);
    ReactivateMetalForm();
}
