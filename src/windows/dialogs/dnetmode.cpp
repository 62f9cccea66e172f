#include "windows/dialogs/dnetmode.h"

#include "app/settings.h"
#include "engine/engineerror.h"
#include "engine/session.h"
#include "engine/table.h"
#include "kit/enterexitbutton.h"
#include "kit/msgboxmetal.h"
#include "kit/pzlabel.h"
#include "kit/pzspeedbutton.h"
#include "windows/dialogs/dialogparts.h"
#include "windows/main/mainform.h"

#include <QLabel>
#include <QSpinBox>
#include <QTimer>
#include <QToolButton>

TDNetMode::TDNetMode(QWidget *parent) : tOzoFormMetal(parent)
{
    setObjectName(QStringLiteral("DNetMode"));
    BorderStyle = bsDialog;
    BorderIcons = biSystemMenu;
    resize(440, 290);
    LabelInfo = new TPZLabel(this);
    LabelInfo->setObjectName(QStringLiteral("LabelInfo"));
    LabelInfo->setGeometry(12, 12, 416, 60);
    LabelInfo->SetCaption(QStringLiteral("\\BTarvo wurde im Netzwerkmodus gestartet.\\b\\lb\\lbEingestelltes "
                                         "Verzeichnis für die Netzwerk-Steuerdatei:"));
    LabelDir = MakeDialogLabel(this, QStringLiteral("LabelDir"), QString(), QRect(24, 74, 404, 20));
    QFont bold = LabelDir->font();
    bold.setBold(true);
    LabelDir->setFont(bold);
    MakeDialogLabel(this, QStringLiteral("LabelSame"),
                    QStringLiteral("(Dieses Verzeichnis muss für alle Clients identisch eingestellt sein!)"),
                    QRect(24, 96, 404, 20));
    LabelRefresh = new TPZLabel(this);
    LabelRefresh->setObjectName(QStringLiteral("LabelRefresh"));
    LabelRefresh->setGeometry(12, 124, 416, 60);
    LabelRefresh->SetCaption(QStringLiteral("Änderungen, die andere Clients an den Daten vornehmen, werden erst "
                                            "nach einer Aktualisierung sichtbar. Aktualisieren Sie von Hand mit "
                                            "diesem Knopf oder lassen Sie automatisch aktualisieren:"));
    NavRefresh = new QToolButton(this);
    NavRefresh->setObjectName(QStringLiteral("NavRefresh"));
    NavRefresh->setGeometry(12, 192, 28, 24);
    NavRefresh->setText(QStringLiteral("⟳"));
    NavRefresh->setToolTip(QStringLiteral("Aktualisieren"));
    connect(NavRefresh, &QToolButton::clicked, this, [this] { NavRefreshClick(); });
    LabelAlle = MakeDialogLabel(this, QStringLiteral("LabelAlle"), QStringLiteral("alle"), QRect(60, 194, 30, 20));
    SpinEdit1 = new QSpinBox(this);
    SpinEdit1->setObjectName(QStringLiteral("SpinEdit1"));
    SpinEdit1->setGeometry(92, 192, 70, 24);
    SpinEdit1->setRange(5, 900);
    LabelSekunden = MakeDialogLabel(this, QStringLiteral("LabelSekunden"), QStringLiteral("Sekunden."),
                                    QRect(168, 194, 100, 20));
    BitBtn1 = MakeDialogButton(this, "BitBtn1", ibkOK, QRect(328, 250, 100, 25));
    BitBtn1->setDefault(true);
    Create();
    SetCaption(QStringLiteral("Netzwerkmodus"));
}

void TDNetMode::NavRefreshClick()
{
    if (!Mainform)
        return;
    try {
        for (engine::Table *t : {Mainform->Table2.get(), Mainform->Table11.get(), Mainform->FilmTable.get(),
                                 Mainform->PersTable.get()})
            if (t && t->active())
                t->refresh();
    } catch (const engine::EngineError &e) {
        ShowMetalMessage(QStringLiteral("Datenbank-Fehler"), e.message(), true);
    }
}

void ExecNetModeDialog()
{
    if (!Mainform)
        return;
    auto *refresh = Mainform->Component<QTimer>(QStringLiteral("NetRefresh"));
    TDNetMode dlg;
    dlg.LabelDir->setText(Mainform->Table1->session().netFileDir());
    const int before = refresh->interval() / 1000;
    dlg.SpinEdit1->setValue(before);
    ExecMetalModal(dlg);
    const int now = dlg.SpinEdit1->value();
    if (now == before)
        return;
    NetRefreshInterval = now * 1000;
    refresh->setInterval(NetRefreshInterval);
    SaveSettings();
}

TPZSpeedButton *AddNetModeButton(QLabel *status, bool networkMode)
{
    auto *b = new TPZSpeedButton(status->parentWidget());
    b->setObjectName(QStringLiteral("SpBNetmode"));
    b->SetCaption(QStringLiteral("⇄"));
    b->setToolTip(QStringLiteral("Netzwerkmodus: Steuerverzeichnis und Aktualisierung"));
    const QRect s = status->geometry();
    const int w = s.height() + 4;
    b->setGeometry(s.right() + 1 - w, s.y(), w, s.height());
    QObject::connect(b, &TPZSpeedButton::Click, b, [] { ExecNetModeDialog(); });
    b->setVisible(networkMode);
    if (networkMode)
        status->setGeometry(s.x(), s.y(), s.width() - w - 2, s.height());
    return b;
}
