#include "windows/queries/dsqlparam.h"

#include "engine/query.h"
#include "kit/help.h"
#include "kit/ozocheck.h"
#include "kit/presenter.h"
#include "query/storedquery.h"
#include "windows/dialogs/dialogbuttons.h"
#include "windows/dialogs/dialogparts.h"

#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QSpinBox>

#include <limits>
#include <memory>

namespace {
constexpr int hcSqlParam = 62;

QWidget *typePanel(QWidget *parent, const char *name, const QString &label, QWidget *control, QLabel **out)
{
    auto *p = new QWidget(parent);
    p->setObjectName(QLatin1String(name));
    p->setGeometry(12, 150, 396, 56);
    QLabel *l = MakeDialogLabel(p, QStringLiteral("Label") + QLatin1String(name), label, QRect(0, 0, 396, 18));
    if (control) {
        control->setParent(p);
        control->setGeometry(0, 22, 396, 24);
        l->setBuddy(control);
    }
    if (out)
        *out = l;
    return p;
}
} // namespace

TDSQLParam::TDSQLParam(QWidget *parent) : tOzoFormMetal(parent)
{
    setObjectName(QStringLiteral("DSQLParam"));
    BorderStyle = bsDialog;
    BorderIcons = biSystemMenu;
    resize(420, 260);
    auto *text = MakeDialogLabel(this, QStringLiteral("Label1"),
                                 QStringLiteral("Bitte geben Sie den Typ und einen entsprechenden Suchbegriff zu "
                                                "folgendem Parameter (\"Platzhalter\") ein:"),
                                 QRect(12, 8, 396, 34));
    text->setWordWrap(true);
    LabelParamName = MakeDialogLabel(this, QStringLiteral("LabelParamName"), QString(), QRect(12, 46, 396, 20));
    QFont bold = LabelParamName->font();
    bold.setBold(true);
    LabelParamName->setFont(bold);
    RadioString = MakeDialogCheck(this, QStringLiteral("RadioString"), QStringLiteral("&String (Zeichenkette)"),
                                  QRect(24, 72, 380, 20), 1);
    RadioInteger = MakeDialogCheck(this, QStringLiteral("RadioInteger"), QStringLiteral("&Integer (ganze Zahl)"),
                                   QRect(24, 96, 380, 20), 1);
    RadioBoolean = MakeDialogCheck(this, QStringLiteral("RadioBoolean"), QStringLiteral("&Boolean (Wahr/Falsch)"),
                                   QRect(24, 120, 380, 20), 1);
    RadioString->SetChecked(true);

    EditString = new QLineEdit;
    EditString->setObjectName(QStringLiteral("EditString"));
    PanelString = typePanel(this, "PanelString", QStringLiteral("S&uchbegriff:"), EditString, nullptr);
    SpinInteger = new QSpinBox;
    SpinInteger->setObjectName(QStringLiteral("SpinInteger"));
    SpinInteger->setRange(std::numeric_limits<int>::min(), std::numeric_limits<int>::max());
    SpinInteger->installEventFilter(this);
    PanelInteger = typePanel(this, "PanelInteger", QStringLiteral("Such&wert:"), SpinInteger, nullptr);
    QLabel *boolLabel = nullptr;
    PanelBoolean = typePanel(this, "PanelBoolean", QStringLiteral("&Wahrheitswert:"), nullptr, &boolLabel);
    RadioJa = MakeDialogCheck(PanelBoolean, QStringLiteral("RadioJa"), QStringLiteral("&Ja / Wahr"),
                              QRect(0, 22, 180, 20), 2);
    RadioNein = MakeDialogCheck(PanelBoolean, QStringLiteral("RadioNein"), QStringLiteral("&Nein / Falsch"),
                                QRect(190, 22, 180, 20), 2);
    RadioJa->SetChecked(true);
    boolLabel->setBuddy(RadioJa);
    const TDialogButtons row = MakeHelpOkCancel(this, hcSqlParam, 220, 408, 100);
    BitBtnHelp = row.help;
    BitBtnOK = row.ok;
    BitBtnCancel = row.cancel;
    for (TOzoCheck *r : {RadioString, RadioInteger, RadioBoolean})
        r->OnStateChange = [this](QObject *) { ShowTypePanel(); };
    Create();
    SetCaption(QStringLiteral("Suchbegriff eingeben"));
    ShowTypePanel();
}

void TDSQLParam::ShowTypePanel()
{
    PanelString->setVisible(RadioString->Checked());
    PanelInteger->setVisible(RadioInteger->Checked());
    PanelBoolean->setVisible(RadioBoolean->Checked());
    if (!isVisible())
        return;
    if (RadioString->Checked())
        EditString->setFocus();
    else if (RadioInteger->Checked())
        SpinInteger->setFocus();
    else
        RadioJa->setFocus();
}

bool TDSQLParam::eventFilter(QObject *watched, QEvent *event)
{
    // Enter in the number closes the dialog with OK.
    if (watched == SpinInteger && event->type() == QEvent::KeyPress) {
        const int key = static_cast<QKeyEvent *>(event)->key();
        if (key == Qt::Key_Return || key == Qt::Key_Enter) {
            done(mrOk);
            return true;
        }
    }
    return tOzoFormMetal::eventFilter(watched, event);
}

bool AskQueryParam(TDSQLParam &dialog, engine::Param &param)
{
    if (param.dataType() != engine::ParamType::Unknown)
        return true;
    dialog.LabelParamName->setText(param.name());
    if (const auto kind = query::ParamKindFromName(param.name())) {
        switch (*kind) {
        case query::ParamKind::String: dialog.RadioString->SetChecked(true); break;
        case query::ParamKind::Integer: dialog.RadioInteger->SetChecked(true); break;
        case query::ParamKind::Boolean: dialog.RadioBoolean->SetChecked(true); break;
        }
    }
    dialog.ShowTypePanel();
    if (ExecMetalModal(dialog) != mrOk)
        return false;
    if (dialog.RadioInteger->Checked())
        param.setAsInteger(dialog.SpinInteger->value());
    else if (dialog.RadioBoolean->Checked())
        param.setAsBoolean(dialog.RadioJa->Checked());
    else
        param.setAsString(dialog.EditString->text());
    return true;
}

bool AskQueryParams(engine::Query &query, QWidget *owner)
{
    std::unique_ptr<TDSQLParam> dialog;
    for (int i = 0; i < query.paramCount(); ++i) {
        engine::Param &p = query.param(i);
        if (p.dataType() != engine::ParamType::Unknown)
            continue;
        if (!dialog)
            dialog.reset(CreateForm<TDSQLParam>(owner ? owner->window() : nullptr));
        if (!AskQueryParam(*dialog, p))
            return false;
    }
    return true;
}
