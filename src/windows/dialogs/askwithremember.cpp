#include "windows/dialogs/askwithremember.h"

#include "kit/enterexitbutton.h"
#include "kit/msgboxmetal.h"
#include "kit/presenter.h"
#include "kit/pzlabel.h"

#include <QLabel>
#include <memory>

TDAsk::TDAsk(QWidget *parent) : tOzoFormMetal(parent)
{
    setObjectName(QStringLiteral("DAsk"));
    BorderStyle = bsDialog;
    BorderIcons = biSystemMenu;
    resize(452, 196);
    PZLabel1 = new TPZLabel(this);
    PZLabel1->setObjectName(QStringLiteral("PZLabel1"));
    PZLabel1->setGeometry(12, 10, 428, 84);
    auto button = [this](const char *name, const QString &caption, int x, int result) {
        auto *b = new TOzoNewButton(this);
        b->setObjectName(QLatin1String(name));
        b->SetKind(ibkOther);
        b->setText(caption);
        b->setGeometry(x, 104, 100, 25);
        connect(b, &QPushButton::clicked, this, [this, result] { done(result); });
        return b;
    };
    ButtJa = button("ButtJa", QStringLiteral("&Ja"), 12, mrAskYes);
    ButtNein = button("ButtNein", QStringLiteral("&Nein"), 118, mrAskNo);
    ButtImmer = button("ButtImmer", QStringLiteral("&Immer"), 234, mrAskAlways);
    ButtNie = button("ButtNie", QStringLiteral("Ni&e"), 340, mrAskNever);
    ButtJa->setDefault(true);
    auto note = [this](const char *name, const QString &text, int x) {
        auto *l = new QLabel(text, this);
        l->setObjectName(QLatin1String(name));
        l->setGeometry(x, 134, 206, 18);
        l->setAlignment(Qt::AlignCenter);
        QFont f = l->font();
        f.setPointSizeF(f.pointSizeF() * 0.85);
        l->setFont(f);
        return l;
    };
    LabelOnce = note("LabelOnce", QStringLiteral("(Jedesmal wieder nachfragen)"), 12);
    LabelForGood = note("LabelForGood", QStringLiteral("(In Zukunft nicht mehr nachfragen)"), 234);
    Create();
}

int AskWithRemember(const QString &caption, const QString &text, bool showNever, bool showAlways)
{
    auto dlg = std::unique_ptr<TDAsk>(CreateForm<TDAsk>());
    dlg->SetCaption(caption);
    dlg->PZLabel1->SetCaption(text);
    dlg->ButtNie->setVisible(showNever);
    dlg->ButtImmer->setVisible(showAlways);
    dlg->LabelForGood->setVisible(showNever || showAlways);
    kit::BoxInfo info = kit::describeDialog(*dlg);
    info.caption = caption;
    info.text = text;
    info.defaultResult = TModalResult(mrAskNo);
    const int r = ExecMetalModal(*dlg, info);
    switch (r) {
    case mrAskYes:
    case mrAskAlways:
    case mrAskNever:
        return r;
    default:
        return mrAskNo;
    }
}

void ShowRememberedAnswerInfo()
{
    ShowMetalMessage(QStringLiteral("Information"),
                     QStringLiteral("In Ordnung, in Zukunft wird Ihnen diese Frage nicht mehr gestellt. "
                                    "Sie können diese Einstellung aber jederzeit unter \"Einstellungen|"
                                    "Verwaltung des 'Etikett gedruckt'-Feldes\" wieder ändern."));
}
