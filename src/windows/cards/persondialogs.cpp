#include "windows/cards/persondialogs.h"

#include "app/settings.h"
#include "data/freefieldlabels.h"
#include "data/persons.h"
#include "engine/engineerror.h"
#include "engine/table.h"
#include "kit/msgboxmetal.h"
#include "kit/ozocheck.h"
#include "kit/presenter.h"
#include "windows/dialogs/dialogparts.h"
#include "windows/cards/freefieldcaptions.h"

#include <QComboBox>
#include <QFileInfo>
#include <QLabel>
#include <QLineEdit>
#include <QTimer>

#include <memory>

namespace {
const QString kPersFilter = QStringLiteral("Personen-Datenbankdatei (*.Pers.DB)");
}

// ---- TDPersKartei -------------------------------------------------------------------------

TDPersKartei::TDPersKartei(QWidget *parent) : tOzoFormMetal(parent)
{
    setObjectName(QStringLiteral("DPersKartei"));
    BorderStyle = bsDialog;
    BorderIcons = biSystemMenu;
    resize(560, 170);
    RadOwn = MakeDialogCheck(this, QStringLiteral("RadOwn"),
                             QStringLiteral("Zu jeder Film-/Medien-Kartei die jeweils eigene Personenkartei verwenden"),
                             QRect(12, 12, 536, 20), 1);
    RadShared = MakeDialogCheck(this, QStringLiteral("RadShared"),
                                QStringLiteral("Immer folgende Personenkartei verwenden (für diesen Benutzer) :"),
                                QRect(12, 40, 536, 20), 1);
    EditFile = new QLineEdit(this);
    EditFile->setObjectName(QStringLiteral("EditFile"));
    EditFile->setGeometry(32, 66, 440, 23);
    ButtBrowse = MakeDialogButton(this, "ButtBrowse", ibkPPP, QRect(478, 66, 40, 23));
    BitBtnOK = MakeDialogButton(this, "BitBtnOK", ibkOK, QRect(340, 120, 100, 25));
    BitBtnCancel = MakeDialogButton(this, "BitBtnCancel", ibkCancel, QRect(448, 120, 100, 25),
                                    QStringLiteral("Abbruch"));
    for (TOzoCheck *r : {RadOwn, RadShared})
        r->OnStateChange = [this](QObject *) { UpdateEnabled(); };
    connect(ButtBrowse, &QPushButton::clicked, this, [this] {
        kit::FileRequest req;
        req.caption = QStringLiteral("Personenkartei auswählen");
        req.fileName = EditFile->text();
        req.filter = kPersFilter;
        req.parent = this;
        const QString f = kit::chooseFile(req);
        if (f.isEmpty())
            return;
        EditFile->setText(f);
        RadShared->SetChecked(true);
        UpdateEnabled();
    });
    connect(BitBtnOK, &QPushButton::clicked, this, [this] { done(mrOk); });
    connect(BitBtnCancel, &QPushButton::clicked, this, [this] { done(mrCancel); });
    Create();
    SetCaption(QStringLiteral("Personenkartei Auswahl"));
}

void TDPersKartei::UpdateEnabled()
{
    EditFile->setEnabled(RadShared->Checked());
    ButtBrowse->setEnabled(RadShared->Checked());
}

bool ExecPersonFileDialog(engine::Table &persons, QWidget *)
{
    auto dlg = std::unique_ptr<TDPersKartei>(CreateForm<TDPersKartei>());
    if (!PersDBFile.isEmpty()) {
        dlg->EditFile->setText(PersDBFile + QStringLiteral(".DB"));
        dlg->RadShared->SetChecked(true);
    } else {
        dlg->RadOwn->SetChecked(true);
    }
    dlg->UpdateEnabled();
    if (ExecMetalModal(*dlg) != mrOk)
        return false;
    QString setting = PersDBFile;
    if (!ApplyPersonFileChoice(dlg->RadOwn->Checked(), dlg->EditFile->text(), setting))
        return false;
    PersDBFile = setting;
    SaveSettings();
    const bool ok = ReopenPersonTable(persons);
    LoadFreeFieldLabelsNow(); // the captions file lies beside the person table
    return ok;
}

// ---- TDPersImport -------------------------------------------------------------------------

TDPersImport::TDPersImport(QWidget *parent) : tOzoFormMetal(parent)
{
    setObjectName(QStringLiteral("DPersImport"));
    BorderStyle = bsDialog;
    BorderIcons = biSystemMenu;
    resize(600, 494);
    MakeDialogLabel(this, QStringLiteral("LabelSource"), QStringLiteral("Quelldatei:"), QRect(12, 12, 100, 18));
    EditSource = new QLineEdit(this);
    EditSource->setObjectName(QStringLiteral("EditSource"));
    EditSource->setGeometry(12, 32, 520, 23);
    ButtBrowse = MakeDialogButton(this, "ButtBrowse", ibkOther, QRect(538, 32, 50, 23), QStringLiteral("•••"));
    TimerCheck = new QTimer(this);
    TimerCheck->setObjectName(QStringLiteral("TimerCheck"));
    TimerCheck->setInterval(300);
    TimerCheck->setSingleShot(true);
    GroupFields = new QWidget(this);
    GroupFields->setObjectName(QStringLiteral("GroupFields"));
    GroupFields->setGeometry(12, 64, 576, 270);
    MakeDialogLabel(GroupFields, QStringLiteral("LabelTarget"), QStringLiteral("importieren nach:"),
                    QRect(330, 0, 240, 18));
    for (int i = 0; i < 7; ++i) {
        const int y = 22 + i * 30;
        CheckRow[size_t(i)] = MakeDialogCheck(GroupFields, QStringLiteral("CheckRow%1").arg(i + 1),
                                              QStringLiteral("Free%1: ").arg(i + 1), QRect(0, y, 320, 20));
        ComboTarget[size_t(i)] = new QComboBox(GroupFields);
        ComboTarget[size_t(i)]->setObjectName(QStringLiteral("ComboTarget%1").arg(i + 1));
        ComboTarget[size_t(i)]->setGeometry(330, y - 2, 240, 24);
        for (int m = 1; m <= PersonFreeCount; ++m)
            ComboTarget[size_t(i)]->addItem(StripAmpersands(GetPersonFreeLabel(m)));
        ComboTarget[size_t(i)]->addItem(QStringLiteral("Memo"));
        ComboTarget[size_t(i)]->setCurrentIndex(i);
        CheckRow[size_t(i)]->OnStateChange = [this](QObject *) { UpdateEnabled(); };
        connect(ComboTarget[size_t(i)], QOverload<int>::of(&QComboBox::currentIndexChanged), this,
                [this] { UpdateEnabled(); });
    }
    CheckMemo = MakeDialogCheck(GroupFields, QStringLiteral("CheckMemo"), QStringLiteral("Memo"), QRect(0, 236, 150, 20));
    CheckGrafik = MakeDialogCheck(GroupFields, QStringLiteral("CheckGrafik"), QStringLiteral("Grafik"),
                                  QRect(160, 236, 150, 20));
    CheckMemo->SetChecked(true);
    CheckGrafik->SetChecked(true);
    MakeDialogLabel(this, QStringLiteral("LabelExisting"),
                    QStringLiteral("Falls eine zu importierende Person in der Zieldatei bereits existiert..."),
                    QRect(12, 342, 576, 18));
    RadSkip = MakeDialogCheck(this, QStringLiteral("RadSkip"), QStringLiteral("... diese Person nicht importieren"),
                              QRect(24, 364, 560, 20), 1);
    RadOverwrite = MakeDialogCheck(this, QStringLiteral("RadOverwrite"),
                                   QStringLiteral("... den existierenden Datensatz überschreiben"), QRect(24, 386, 560, 20), 1);
    RadComplete = MakeDialogCheck(this, QStringLiteral("RadComplete"),
                                  QStringLiteral("... den existierenden Datensatz ergänzen"), QRect(24, 408, 560, 20), 1);
    RadComplete->SetChecked(true);
    BitBtnOK = MakeDialogButton(this, "BitBtnOK", ibkOK, QRect(380, 436, 100, 25));
    BitBtnCancel = MakeDialogButton(this, "BitBtnCancel", ibkCancel, QRect(488, 436, 100, 25),
                                    QStringLiteral("Abbruch"));
    connect(EditSource, &QLineEdit::textChanged, TimerCheck, [this] { TimerCheck->start(); });
    connect(TimerCheck, &QTimer::timeout, this, [this] { CheckSource(); });
    connect(ButtBrowse, &QPushButton::clicked, this, [this] {
        kit::FileRequest req;
        req.caption = QStringLiteral("Quelldatei auswählen");
        req.fileName = EditSource->text();
        req.filter = QStringLiteral("Personen-Datenbankdatei V6.x (Pers.DB);;Personen-Datenbankdatei V5.x (*.Pers.DB)");
        req.parent = this;
        const QString f = kit::chooseFile(req);
        if (!f.isEmpty())
            EditSource->setText(f);
    });
    connect(BitBtnOK, &QPushButton::clicked, this, [this] { done(mrOk); });
    connect(BitBtnCancel, &QPushButton::clicked, this, [this] { done(mrCancel); });
    Create();
    SetCaption(QStringLiteral("Personen aus anderer Personenkartei importieren"));
    UpdateEnabled();
}

void TDPersImport::CheckSource()
{
    TimerCheck->stop();
    const QString source = EditSource->text().trimmed();
    m_valid = PersonImportSourceValid(source, CurrentTable);
    if (m_valid) {
        const QString labPath = PersonImportCaptionsPath(source);
        QStringList captions = ReadPersonCaptions(labPath);
        if (captions.isEmpty()) {
            kit::messageBox(MissingCaptionsMessage(labPath), QStringLiteral("Fehler"), kit::MsgButtons::Ok,
                            kit::BoxIcon::Warning);
            for (int n = 1; n <= 7; ++n)
                captions << StripAmpersands(DefaultFreeCaption(n));
        }
        for (int i = 0; i < 7; ++i) {
            SourceCaption[size_t(i)] = StripAmpersands(captions.value(i));
            CheckRow[size_t(i)]->SetCaption(QStringLiteral("Free%1: ").arg(i + 1) + captions.value(i));
            CheckRow[size_t(i)]->SetChecked(PersonImportRowChecked(captions.value(i)));
        }
    }
    UpdateEnabled();
}

void TDPersImport::UpdateEnabled()
{
    GroupFields->setEnabled(m_valid);
    bool allChosen = true;
    for (int i = 0; i < 7; ++i) {
        const bool on = CheckRow[size_t(i)]->Checked();
        ComboTarget[size_t(i)]->setEnabled(on);
        if (on && ComboTarget[size_t(i)]->currentIndex() < 0)
            allChosen = false;
    }
    BitBtnOK->setEnabled(m_valid && allChosen);
}

bool ExecPersonImport(engine::Table &persons, const std::function<void()> &showCard, QWidget *)
{
    auto dlg = std::unique_ptr<TDPersImport>(CreateForm<TDPersImport>());
    dlg->CurrentTable = persons.tableName();
    for (;;) {
        if (ExecMetalModal(*dlg) != mrOk)
            return false;
        dlg->CheckSource(); // the timer may not have run yet
        if (!dlg->SourceValid())
            continue;
        engine::Table source(&persons.session());
        source.setTableName(dlg->EditSource->text().trimmed());
        source.setReadOnly(true);
        try {
            source.open();
        } catch (const engine::EngineError &) {
            ShowMetalMessage(QStringLiteral("Fehler"), QStringLiteral("Die Quelldatei läßt sich nicht öffnen!"));
            continue;
        }
        PersonImportOptions o;
        o.mode = dlg->RadSkip->Checked()        ? PersonImportMode::Skip
            : dlg->RadOverwrite->Checked() ? PersonImportMode::Overwrite
                                           : PersonImportMode::Complete;
        o.memo = dlg->CheckMemo->Checked();
        o.grafik = dlg->CheckGrafik->Checked();
        for (int i = 0; i < 7; ++i) {
            o.rowOn[size_t(i)] = dlg->CheckRow[size_t(i)]->Checked();
            o.target[size_t(i)] = dlg->ComboTarget[size_t(i)]->currentIndex();
            o.caption[size_t(i)] = dlg->SourceCaption[size_t(i)];
        }
        if (showCard)
            showCard();
        try {
            ImportPersons(source, persons, o);
        } catch (const engine::EngineError &e) {
            ShowMetalMessage(QStringLiteral("Datenbank-Fehler"), e.message(), true);
            return false;
        }
        return true;
    }
}
